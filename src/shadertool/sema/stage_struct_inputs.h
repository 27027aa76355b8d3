#pragma once

#include <cstdint>

#include "shadertool/basic/type.h"

// The members of "_Input" that each stage has whatever its Shader XML says.
namespace ShaderTool::StageStructInputs {

struct NamedType {
    const char* name;
    BaseType baseType;
    int32_t vectorSize;
};

// The "_Input" members that each stage adds after (or instead of) the
// description's variables: name, base type, vector size.
constexpr NamedType kVertexInputs[] = {
    {"instance_id", BaseType::INT, 1},
    {"vertex_id", BaseType::INT, 1},
};
constexpr NamedType kPixelInputs[] = {
    {"face_direction", BaseType::FLOAT, 1},
    {"is_front_facing", BaseType::BOOL, 1},
};
constexpr NamedType kClosestHitInputs[] = {
    {"hit_attribute", BaseType::FLOAT, 2},       {"instance_custom_id", BaseType::UINT, 1},
    {"primitive_id", BaseType::UINT, 1},         {"ray_length", BaseType::FLOAT, 1},
    {"world_ray_direction", BaseType::FLOAT, 3}, {"world_ray_origin", BaseType::FLOAT, 3},
};
constexpr NamedType kRayGenerationInputs[] = {
    {"dispatch_id", BaseType::UINT, 3},
    {"dispatch_size", BaseType::UINT, 3},
};
constexpr NamedType kMissInputs[] = {
    {"ray_length", BaseType::FLOAT, 1},
    {"world_ray_direction", BaseType::FLOAT, 3},
    {"world_ray_origin", BaseType::FLOAT, 3},
};
static_assert(sizeof(kVertexInputs) / sizeof(kVertexInputs[0]) == 2);
static_assert(sizeof(kPixelInputs) / sizeof(kPixelInputs[0]) == 2);
static_assert(sizeof(kClosestHitInputs) / sizeof(kClosestHitInputs[0]) == 6);
static_assert(sizeof(kRayGenerationInputs) / sizeof(kRayGenerationInputs[0]) == 2);
static_assert(sizeof(kMissInputs) / sizeof(kMissInputs[0]) == 3);

}  // namespace ShaderTool::StageStructInputs
