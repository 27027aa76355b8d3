#pragma once

#include <cstdint>

#include "shadertool/basic/type.h"

// Fixed tables of the Shader XML format.
namespace ShaderTool {

struct XmlVertexInputSemantic {
    const char* name;
    uint32_t bit;  // the HV_VertexFormat bit
    BaseType baseType;
    int32_t vectorSize;
};

// One row per vertex input semantic: "semantic" text, format bit, implied const type.
constexpr XmlVertexInputSemantic kXmlVertexInputSemantics[] = {
    {"POSITION", 1, BaseType::FLOAT, 4},
    {"COLOR", 2, BaseType::FLOAT, 4},
    {"TEXTURE_COORDINATE_0", 4, BaseType::FLOAT, 2},
    {"NORMAL", 8, BaseType::FLOAT, 3},
    {"TEXTURE_COORDINATE_1", 16, BaseType::FLOAT, 2},
    {"TANGENT", 32, BaseType::FLOAT, 3},
    {"BITANGENT", 64, BaseType::FLOAT, 3},
    {"4_BONE_INDICES", 128, BaseType::INT, 4},
    {"4_BONE_WEIGHTS", 256, BaseType::FLOAT, 4},
};
static_assert(sizeof(kXmlVertexInputSemantics) / sizeof(kXmlVertexInputSemantics[0]) == 9);

constexpr int kXmlMaxVertexInputs = 9;
constexpr int kXmlMaxPixelTextures = 8;

// The vertex formats a Shader XML's vertex inputs may form, one mask per row.
constexpr uint32_t kXmlVertexFormats[] = {
    1, 7, 15, 47, 111, 385, 399, 495,
};
static_assert(sizeof(kXmlVertexFormats) / sizeof(kXmlVertexFormats[0]) == 8);

struct XmlNamedValue {
    const char* name;
    uint32_t value;
};

// Constant semantics: "semantic" text, value (1 when none is given, 0 for unknown text).
constexpr uint32_t kXmlConstantSemanticNone = 1;
constexpr XmlNamedValue kXmlConstantSemantics[] = {
    {"WORLD_TRANSFORM", 2}, {"WORLD_VIEW_TRANSFORM", 3},      {"WORLD_VIEW_PROJECTION_TRANSFORM", 4},
    {"VIEW_TRANSFORM", 5},  {"VIEW_PROJECTION_TRANSFORM", 6},
};
static_assert(sizeof(kXmlConstantSemantics) / sizeof(kXmlConstantSemantics[0]) == 5);

// Vertex output semantics: "semantic" text, value; anything else is a texture coordinate.
constexpr XmlNamedValue kXmlVertexOutputSemantics[] = {
    {"COLOR", 0},
    {"POSITION", 1},
    {"TEXTURE_COORDINATE", 2},
};
static_assert(sizeof(kXmlVertexOutputSemantics) / sizeof(kXmlVertexOutputSemantics[0]) == 3);

// Address modes (0 when none is given).
constexpr XmlNamedValue kXmlAddressModes[] = {
    {"CLAMP", 1},
    {"WRAP", 2},
    {"MIRROR", 3},
};
static_assert(sizeof(kXmlAddressModes) / sizeof(kXmlAddressModes[0]) == 3);

// Filter modes (0 when none is given).
constexpr XmlNamedValue kXmlFilterModes[] = {
    {"POINT", 1},
    {"LINEAR", 2},
    {"ANISOTROPIC", 3},
};
static_assert(sizeof(kXmlFilterModes) / sizeof(kXmlFilterModes[0]) == 3);

struct XmlVariableTypeName {
    const char* name;
    BaseType baseType;
    int32_t vectorSize;  // 0 for matrices
    int32_t matrixSize;
};

// Variable type names: text, base kind, components, matrix size.
constexpr XmlVariableTypeName kXmlVariableTypes[] = {
    {"BOOL", BaseType::BOOL, 1, 0},      {"FLOAT", BaseType::FLOAT, 1, 0},    {"FLOAT2", BaseType::FLOAT, 2, 0},
    {"FLOAT3", BaseType::FLOAT, 3, 0},   {"FLOAT4", BaseType::FLOAT, 4, 0},   {"FLOAT2X2", BaseType::FLOAT, 0, 2},
    {"FLOAT3X3", BaseType::FLOAT, 0, 3}, {"FLOAT4X4", BaseType::FLOAT, 0, 4}, {"INT", BaseType::INT, 1, 0},
    {"INT2", BaseType::INT, 2, 0},       {"INT3", BaseType::INT, 3, 0},       {"INT4", BaseType::INT, 4, 0},
};
static_assert(sizeof(kXmlVariableTypes) / sizeof(kXmlVariableTypes[0]) == 12);

// Unsigned type names of buffers and ray payloads: text, components.
constexpr XmlNamedValue kXmlUnsignedTypes[] = {
    {"UINT", 1},
    {"UINT2", 2},
    {"UINT3", 3},
    {"UINT4", 4},
};
static_assert(sizeof(kXmlUnsignedTypes) / sizeof(kXmlUnsignedTypes[0]) == 4);

// Pixel texture dimensions: text before an optional "[]", dimension.
constexpr XmlNamedValue kXmlTextureDimensions[] = {
    {"2D", TEXTURE_2D},
    {"3D", TEXTURE_3D},
    {"CUBE", TEXTURE_CUBE},
};
static_assert(sizeof(kXmlTextureDimensions) / sizeof(kXmlTextureDimensions[0]) == 3);

// Target masks of the info array's "feature_level" 1, 2 and 3, one row each.
constexpr uint32_t kXmlFeatureLevelTargets[] = {
    511,
    506,
    320,
};
static_assert(sizeof(kXmlFeatureLevelTargets) / sizeof(kXmlFeatureLevelTargets[0]) == 3);

constexpr uint32_t kXmlMinimumVersion = 0x20002;      // 2.2
constexpr uint32_t kXmlDefinitionsVersion = 0x20004;  // 2.4: "definitions" and shared "constants"

}  // namespace ShaderTool
