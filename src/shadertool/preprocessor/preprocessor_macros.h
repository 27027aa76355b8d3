#pragma once

#include <cstdint>

#include "shadertool/basic/targets.h"

// Fixed macros of the preprocessor.
namespace ShaderTool {

// A global macro: a name with an integer or a text value.
struct GlobalMacroRow {
    const char* name;
    const char* text;  // null for an integer macro
    int32_t integer;
};

// Defined once for every run, in this order; an earlier name hides a later one.
constexpr GlobalMacroRow kGlobalMacros[] = {
    {"_HALF_PI", "1.5707963268f", 0}, {"_PI", "3.1415926536f", 0},    {"_TWO_PI", "6.2831853072f", 0},
    {"_TARGET_ESSL20", nullptr, 1},   {"_TARGET_ESSL30", nullptr, 2}, {"_TARGET_GLSL21", nullptr, 4},
    {"_TARGET_GLSL31", nullptr, 8},   {"_TARGET_HLSL9", nullptr, 16}, {"_TARGET_HLSL11", nullptr, 32},
    {"_TARGET_HLSL12", nullptr, 64},  {"_TARGET_PSSL", nullptr, 128}, {"_TARGET_SPIRV", nullptr, 256},
    {"_TARGET_ESSL", nullptr, 1},     {"_TARGET_GLSL", nullptr, 2},   {"_TARGET_HLSL", nullptr, 4},
    {"_TARGET_PSSL", nullptr, 8},     {"_TARGET_SPIRV", nullptr, 16},
};
static_assert(sizeof(kGlobalMacros) / sizeof(kGlobalMacros[0]) == 17);

// The group each target belongs to, as _TARGET_GROUP names it.
struct TargetGroupRow {
    Target target;
    const char* group;
};

constexpr TargetGroupRow kTargetGroups[] = {
    {TARGET_ESSL20, "ESSL"}, {TARGET_ESSL30, "ESSL"}, {TARGET_GLSL21, "GLSL"},
    {TARGET_GLSL31, "GLSL"}, {TARGET_HLSL9, "HLSL"},  {TARGET_HLSL11, "HLSL"},
    {TARGET_HLSL12, "HLSL"}, {TARGET_PSSL, "PSSL"},   {TARGET_SPIRV, "SPIRV"},
};
static_assert(sizeof(kTargetGroups) / sizeof(kTargetGroups[0]) == TARGET_COUNT);

// The description arrays that _IS_ARRAY_NODE_DEFINED may name.
constexpr const char* kDescriptionArrayNames[] = {
    "buffers",        "constants",        "definitions",  "pixel_constants", "pixel_output",
    "pixel_textures", "vertex_constants", "vertex_input", "vertex_output",
};
static_assert(sizeof(kDescriptionArrayNames) / sizeof(kDescriptionArrayNames[0]) == 9);

// An integer name that the preprocessor predefines for some stages.
struct RayFlagConstant {
    const char* name;
    int32_t value;
};

// Integer names that the preprocessor predefines for the rchit and rgen stages, in order: name, value.
constexpr RayFlagConstant RayFlagConstants[] = {
    {"RAY_FLAGS_NONE", 0},
    {"RAY_FLAGS_OPAQUE", 1},
    {"RAY_FLAGS_NO_OPAQUE", 2},
    {"RAY_FLAGS_TERMINATE_ON_FIRST_HIT", 4},
    {"RAY_FLAGS_SKIP_CLOSEST_HIT_SHADER", 8},
    {"RAY_FLAGS_CULL_BACK_FACING_TRIANGLES", 16},
    {"RAY_FLAGS_CULL_FRONT_FACING_TRIANGLES", 32},
    {"RAY_FLAGS_CULL_OPAQUE", 64},
    {"RAY_FLAGS_CULL_NO_OPAQUE", 128},
};
static_assert(sizeof(RayFlagConstants) / sizeof(RayFlagConstants[0]) == 9);

// Whether the preprocessor predefines the ray-flag constants for a stage.
constexpr bool StageHasRayFlagConstants(int32_t stage) { return stage == STAGE_RCHIT || stage == STAGE_RGEN; }

}  // namespace ShaderTool
