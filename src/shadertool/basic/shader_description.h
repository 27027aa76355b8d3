#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/basic/targets.h"
#include "shadertool/basic/type.h"

namespace ShaderTool {

// Value kinds of a definition: the kind of the value text's first token.
enum DefinitionValueKind : uint32_t {
    DEFINITION_VALUE_BOOL = 0,
    DEFINITION_VALUE_FLOAT = 1,
    DEFINITION_VALUE_INT = 3,
    DEFINITION_VALUE_TEXT = 4,
    DEFINITION_VALUE_UNKNOWN = 8,  // no value known
};

struct DefinitionVariable {
    String name;
    String value;
    uint32_t valueKind = DEFINITION_VALUE_UNKNOWN;
};

struct VertexInputVariable {
    String name;
    uint32_t semantic = 0;  // the HV_VertexFormat bit
    Type type;
};

struct ConstantVariable {
    String name;
    uint32_t semantic = 0;
    uint32_t byteSize = 0;
    Type type;
};

// Semantics of vertex outputs.
enum VertexOutputSemantic : uint32_t {
    VERTEX_OUTPUT_COLOR = 0,
    VERTEX_OUTPUT_POSITION = 1,
    VERTEX_OUTPUT_TEXTURE_COORDINATE = 2,
};

struct VertexOutputVariable {
    String name;
    Type type;
    uint32_t semantic = VERTEX_OUTPUT_TEXTURE_COORDINATE;
    uint32_t semanticIndex = 0;  // earlier vertex outputs with the same semantic
};

struct PixelTextureVariable {
    String name;
    void* sourceBitmap = nullptr;  // bitmap handle named by "source", holding a reference
    Type type;
    uint32_t addressU = 0;
    uint32_t addressV = 0;
    uint32_t addressW = 0;
    uint32_t filterMag = 0;
    uint32_t filterMin = 0;
    uint32_t filterMip = 0;
    int32_t slot = -1;
};

struct BufferVariable {
    String name;
    Type type;
    int32_t slot = -1;
};

struct ImageVariable {
    String name;
    Type type;
};

struct RayPayloadVariable {
    String name;
    Type type;
    int32_t slot = -1;
    uint8_t isInput = 0;
};

// One source of a shader: where it came from, its text and what it serves.
struct ShaderSource {
    String path;
    String text;
    int32_t firstLine = 1;
    uint32_t targetMask = 0;
    uint32_t stage = STAGE_INVALID;
};

// A list of constants with the two integers kept after it (-1 and 0 at
// first); they are copied with the description and otherwise unused here.
struct ConstantList {
    Array<ConstantVariable> variables;
    int32_t first = -1;
    int32_t second = 0;
};

// The in-memory form of one Shader XML description.
struct ShaderDescription {
    Array<BufferVariable> buffers;
    ConstantList constants;  // shared by all stages
    Array<DefinitionVariable> definitions;
    Array<ImageVariable> images;
    ConstantList pixelConstants;
    Array<String> pixelOutput;
    Array<PixelTextureVariable> pixelTextures;
    Array<RayPayloadVariable> rayPayloads;
    Array<ShaderSource> sources;
    String tags;
    ConstantList vertexConstants;
    Array<VertexInputVariable> vertexInput;
    Array<VertexOutputVariable> vertexOutput;
    int32_t rayTracingGroup = -1;
    uint32_t stageFlags = 0;
    uint32_t targetMask = 0;
    uint32_t stamp = 0;    // last modification of the Shader XML file, seconds since 1970
    uint32_t version = 0;  // version << 16 | revision

    // Back to the empty state; the target mask and the version stay.
    void Clear();
};

}  // namespace ShaderTool
