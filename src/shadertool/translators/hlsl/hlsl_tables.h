#pragma once

#include <cstdint>

// Fixed tables of the HLSL family of translators.
namespace ShaderTool {

struct HLSLVertexInputSemantic {
    uint32_t bit;  // the vertex input's HV_VertexFormat bit
    const char* word;
};

// One row per vertex input semantic bit: bit, HLSL semantic word.
constexpr HLSLVertexInputSemantic kHLSLVertexInputSemantics[] = {
    {1, "POSITION"}, {2, "COLOR"},     {4, "TEXCOORD0"},      {8, "NORMAL"},        {16, "TEXCOORD1"},
    {32, "TANGENT"}, {64, "BINORMAL"}, {128, "BLENDINDICES"}, {256, "BLENDWEIGHT"},
};
static_assert(sizeof(kHLSLVertexInputSemantics) / sizeof(kHLSLVertexInputSemantics[0]) == 9);

// The vertex input bit whose HLSL type is uint4 whatever the source type.
constexpr uint32_t kHLSLBlendIndicesBit = 128;
constexpr const char* kHLSLBlendIndicesType = "uint4";

// Members of the stage input that no HLSL9 stage can read.
constexpr const char* kHLSLRayTracingInputs[] = {
    "dispatch_id",  "dispatch_size", "hit_attribute", "instance_custom_id",  "instance_id",
    "primitive_id", "ray_length",    "vertex_id",     "world_ray_direction", "world_ray_origin",
};
static_assert(sizeof(kHLSLRayTracingInputs) / sizeof(kHLSLRayTracingInputs[0]) == 10);

}  // namespace ShaderTool
