#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "shadertool/basic/shader_description.h"

// Shader XML descriptions of a few real shaders, as the reader would make
// them: vertex inputs and constants are const, constants are 4-component or
// matrix types, shared constants exist from version 2.4 on.
namespace ShaderInterfaces {

using ShaderTool::BaseType;
using ShaderTool::Type;

inline Type Const(Type type)
{
    type.qualifiers |= ShaderTool::QUALIFIER_CONST;
    return type;
}

inline Type Float(int size) { return Type::MakeVector(BaseType::FLOAT, size); }

inline void AddInput(ShaderTool::ShaderDescription& description, const char* name, uint32_t semantic, Type type)
{
    description.vertexInput.Add({name, semantic, Const(type)});
}

// Four bone indices: an int4 of the language that the input layout feeds as unsigned bytes.
inline void AddBoneIndices(ShaderTool::ShaderDescription& description)
{
    AddInput(description, "bones", 128, Type::MakeVector(BaseType::INT, 4));
}

inline void AddOutput(ShaderTool::ShaderDescription& description, const char* name, Type type, uint32_t semantic)
{
    ShaderTool::VertexOutputVariable output;
    output.name = name;
    output.type = type;
    output.semantic = semantic;
    description.vertexOutput.Add(output);
}

inline void AddConstant(ShaderTool::ConstantList& list, const char* name, Type type, uint32_t semantic = 1)
{
    ShaderTool::ConstantVariable constant;
    constant.name = name;
    constant.type = Const(type);
    constant.semantic = semantic;
    list.variables.Add(constant);
}

inline void AddTexture(ShaderTool::ShaderDescription& description, const char* name,
                       ShaderTool::TextureDimension dimension, int32_t slot = -1)
{
    ShaderTool::PixelTextureVariable texture;
    texture.name = name;
    texture.type = Type::MakeTexture(dimension);
    texture.slot = slot;
    description.pixelTextures.Add(texture);
}

inline ShaderTool::BufferVariable& AddBuffer(ShaderTool::ShaderDescription& description, const char* name, Type type,
                                             int32_t slot)
{
    ShaderTool::BufferVariable buffer;
    buffer.name = name;
    buffer.type = type;
    buffer.type.isBuffer = 1;
    buffer.slot = slot;
    description.buffers.Add(buffer);
    return description.buffers[description.buffers.GetCount() - 1];
}

inline void AddPayload(ShaderTool::ShaderDescription& description, const char* name, Type type, int32_t slot,
                       bool input)
{
    ShaderTool::RayPayloadVariable payload;
    payload.name = name;
    payload.type = type;
    payload.slot = slot;
    payload.isInput = input ? 1 : 0;
    description.rayPayloads.Add(payload);
}

// A textured, tinted sprite: position, uv and color in and out, one texture.
inline ShaderTool::ShaderDescription MakeSprite(uint32_t version)
{
    ShaderTool::ShaderDescription description;
    description.version = version;
    AddInput(description, "position", 1, Float(4));
    AddInput(description, "color", 2, Float(4));
    AddInput(description, "uv", 4, Float(2));
    AddOutput(description, "position", Float(4), ShaderTool::VERTEX_OUTPUT_POSITION);
    AddOutput(description, "uv", Float(2), ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
    AddOutput(description, "color", Float(4), ShaderTool::VERTEX_OUTPUT_COLOR);
    description.pixelOutput.Add("color");
    AddTexture(description, "albedo", ShaderTool::TEXTURE_2D);
    AddConstant(description.vertexConstants, "transform", Type::MakeMatrix(4), 4);
    AddConstant(description.pixelConstants, "tint", Float(4));
    if (version >= 0x20004) AddConstant(description.constants, "time", Float(4));
    return description;
}

// A lit, normal-mapped mesh with an environment map and two pixel outputs.
inline ShaderTool::ShaderDescription MakeLitMesh(uint32_t version)
{
    ShaderTool::ShaderDescription description;
    description.version = version;
    AddInput(description, "position", 1, Float(4));
    AddInput(description, "color", 2, Float(4));
    AddInput(description, "uv", 4, Float(2));
    AddInput(description, "normal", 8, Float(3));
    AddInput(description, "uv2", 16, Float(2));
    AddInput(description, "tangent", 32, Float(3));
    AddInput(description, "bitangent", 64, Float(3));
    AddOutput(description, "position", Float(4), ShaderTool::VERTEX_OUTPUT_POSITION);
    AddOutput(description, "uv", Float(2), ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
    AddOutput(description, "world_position", Float(3), ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
    AddOutput(description, "world_normal", Float(3), ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
    AddOutput(description, "world_tangent", Float(3), ShaderTool::VERTEX_OUTPUT_TEXTURE_COORDINATE);
    AddOutput(description, "color", Float(4), ShaderTool::VERTEX_OUTPUT_COLOR);
    description.pixelOutput.Add("color");
    description.pixelOutput.Add("emission");
    AddTexture(description, "albedo", ShaderTool::TEXTURE_2D);
    AddTexture(description, "normal_map", ShaderTool::TEXTURE_2D);
    AddTexture(description, "environment", ShaderTool::TEXTURE_CUBE);
    AddTexture(description, "noise", ShaderTool::TEXTURE_3D);
    AddTexture(description, "shadow_map", ShaderTool::TEXTURE_2D);
    AddConstant(description.vertexConstants, "world_view_projection", Type::MakeMatrix(4), 4);
    AddConstant(description.vertexConstants, "world", Type::MakeMatrix(4), 2);
    AddConstant(description.vertexConstants, "bones", Type::MakeMatrix(4, 0, 4));
    AddConstant(description.pixelConstants, "light_direction", Float(4));
    AddConstant(description.pixelConstants, "light_color", Float(4));
    AddConstant(description.pixelConstants, "camera_position", Float(4));
    if (version >= 0x20004) {
        AddConstant(description.constants, "fog_color", Float(4));
        AddConstant(description.constants, "fog_range", Float(4));
    }
    return description;
}

// A ray-traced scene: geometry buffers (an index buffer and a plain uint3
// buffer among them), an output image, a sky texture and
// a struct payload named HitInfo that the sources declare.
inline ShaderTool::ShaderDescription MakeRayTracing(uint32_t version)
{
    ShaderTool::ShaderDescription description;
    description.version = version;
    description.rayTracingGroup = 1;
    AddBuffer(description, "vertices", Float(4), 0);
    AddBuffer(description, "indices", Type::MakeVector(BaseType::UINT, 3), 1).type.isIndexBuffer = 1;
    AddBuffer(description, "triangles", Type::MakeVector(BaseType::UINT, 3), 2);
    ShaderTool::ImageVariable target;
    target.name = "target";
    target.type = Type::MakeImage2D();
    description.images.Add(target);
    AddTexture(description, "sky", ShaderTool::TEXTURE_CUBE, 0);
    AddTexture(description, "albedo", ShaderTool::TEXTURE_2D, 1);
    AddPayload(description, "hit", Type::MakeStruct("HitInfo"), 0, true);
    AddPayload(description, "shadow", Type::MakeVector(BaseType::FLOAT, 1), 1, false);
    return description;
}

// The description an interface name stands for; the sprite for any other name.
inline ShaderTool::ShaderDescription MakeInterface(const std::string& name, uint32_t version)
{
    if (name == "lit") return MakeLitMesh(version);
    if (name == "raytracing") return MakeRayTracing(version);
    if (name == "sprite_with_matrices") {
        // Constants after smaller matrices and in an array of them, whose
        // slots in the engine's block are 64 bytes each all the same.
        ShaderTool::ShaderDescription description = MakeSprite(version);
        AddConstant(description.pixelConstants, "basis", Type::MakeMatrix(3));
        AddConstant(description.pixelConstants, "after", Float(4));
        AddConstant(description.pixelConstants, "pairs", Type::MakeMatrix(2, 0, 2));
        AddConstant(description.pixelConstants, "last", Type::MakeVector(BaseType::INT, 4));
        return description;
    }
    if (name == "sprite_without_output") {
        ShaderTool::ShaderDescription description = MakeSprite(version);
        description.pixelOutput.Clear();
        return description;
    }
    return MakeSprite(version);
}

// The first line of a source of tests/data/shaders names its stage, Shader
// XML version and interface:
//   // corpus: stage=pixel version=2.4 interface=sprite
struct CorpusHeader {
    uint32_t stage = ShaderTool::STAGE_INVALID;
    uint32_t version = 0;
    std::string interfaceName;
};

inline bool ReadCorpusHeader(const std::string& text, CorpusHeader& header)
{
    char stage[16] = {};
    char interfaceName[32] = {};
    unsigned major = 0;
    unsigned minor = 0;
    if (std::sscanf(text.c_str(), "// corpus: stage=%15s version=%u.%u interface=%31s", stage, &major, &minor,
                    interfaceName) != 4)
        return false;
    const char* const stages[] = {"vertex", "pixel", "rchit", "rgen", "rmiss"};
    for (uint32_t index = 0; index < 5; ++index) {
        if (std::string(stage) == stages[index]) header.stage = index;
    }
    header.version = major << 16 | minor;
    header.interfaceName = interfaceName;
    return header.stage != ShaderTool::STAGE_INVALID;
}

}  // namespace ShaderInterfaces
