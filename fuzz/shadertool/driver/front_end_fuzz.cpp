// Runs the input through the whole front end: preprocessing, stage structs,
// parsing and every check, then walks the tree it left. The first byte
// picks the stage, the second the Shader XML version; the rest
// is the source text. Included files cannot be opened.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shadertool/ast/tree_dump.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/preprocessor/preprocessor_files.h"

using namespace ShaderTool;

namespace {

void* OpenNothing(const char*, int64_t*)
{
    return nullptr;
}

int64_t ReadNothing(void*, int64_t, void*)
{
    return 0;
}

void CloseNothing(void*) {}

bool NoStamp(const char*, int32_t*)
{
    return false;
}

const IncludeFileAccess kNoFiles = {OpenNothing, ReadNothing, CloseNothing, NoStamp};

constexpr uint32_t kVersions[] = {0x20002, 0x20003, 0x20004};

Type Float(int size, uint32_t qualifiers = 0)
{
    return Type::MakeVector(BaseType::FLOAT, size, qualifiers);
}

// A sprite's interface for the vertex and pixel stages, a ray-traced scene's
// for the others: every kind of member the stage structs can hold.
ShaderDescription MakeDescription(uint32_t stage, uint32_t version)
{
    ShaderDescription description;
    description.version = version;
    description.vertexInput.Add({"position", 1, Float(4, QUALIFIER_CONST)});
    description.vertexInput.Add({"uv", 4, Float(2, QUALIFIER_CONST)});
    VertexOutputVariable position;
    position.name = "position";
    position.type = Float(4);
    position.semantic = VERTEX_OUTPUT_POSITION;
    description.vertexOutput.Add(position);
    VertexOutputVariable uv;
    uv.name = "uv";
    uv.type = Float(2);
    description.vertexOutput.Add(uv);
    description.pixelOutput.Add("color");
    PixelTextureVariable albedo;
    albedo.name = "albedo";
    albedo.type = Type::MakeTexture(TEXTURE_2D);
    albedo.slot = 0;
    description.pixelTextures.Add(albedo);
    ConstantVariable transform;
    transform.name = "transform";
    transform.type = Type::MakeMatrix(4, QUALIFIER_CONST);
    description.vertexConstants.variables.Add(transform);
    ConstantVariable tint;
    tint.name = "tint";
    tint.type = Float(4, QUALIFIER_CONST);
    description.pixelConstants.variables.Add(tint);
    if (stage < STAGE_RCHIT) {
        if (version >= 0x20004)
            description.constants.variables.Add(tint);
        return description;
    }
    BufferVariable indices;
    indices.name = "indices";
    indices.type = Type::MakeVector(BaseType::UINT, 3);
    indices.type.isBuffer = 1;
    indices.type.isIndexBuffer = 1;
    description.buffers.Add(indices);
    BufferVariable vertices;
    vertices.name = "vertices";
    vertices.type = Float(4);
    vertices.type.isBuffer = 1;
    vertices.type.arraySize = 2;
    description.buffers.Add(vertices);
    ImageVariable target;
    target.name = "target";
    target.type = Type::MakeImage2D();
    description.images.Add(target);
    RayPayloadVariable hit;
    hit.name = "hit";
    hit.type = Type::MakeStruct("HitInfo");
    hit.isInput = 1;
    description.rayPayloads.Add(hit);
    RayPayloadVariable shadow;
    shadow.name = "shadow";
    shadow.type = Float(1);
    description.rayPayloads.Add(shadow);
    return description;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FrontEnd* frontEnd = [] {
        SetIncludeFileAccess(&kNoFiles);
        return new FrontEnd;
    }();
    if (size < 2)
        return 0;
    const uint32_t stage = data[0] % STAGE_COUNT;
    const uint32_t version = kVersions[data[1] % 3];
    const ShaderDescription description = MakeDescription(stage, version);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    ShaderSource source;
    source.path = "fuzz/main.hvsl";
    source.text.Assign(text.c_str());
    source.firstLine = 1;
    source.targetMask = TARGET_MASK_ALL;
    source.stage = stage;
    frontEnd->stepLog.Clear();
    const Array<String> definitions;
    RunFrontEnd(*frontEnd, description, source, TARGET_HLSL12, definitions);
    // Every pointer of the tree must lead to a live node.
    const String dump = DumpTree(frontEnd->parse.root);
    return dump.GetLength() >= 0 ? 0 : 1;
}
