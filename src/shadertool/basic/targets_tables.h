#pragma once

#include "shadertool/basic/targets.h"

// Fixed tables of the targets, target groups, feature levels and stages.
namespace ShaderTool {

constexpr uint8_t kNo = 0;
constexpr uint8_t kYes = 1;

// One row per target in bit order: bit, name, compiler group, compiled at
// translation, then buffers, multiple pixel outputs, ray tracing, 3D textures, texture arrays.
constexpr TargetInfo kTargetTable[] = {
    {TARGET_ESSL20, "ESSL20", COMPILER_GROUP_GLSL, false, {kNo, kNo, kNo, kNo, kNo}},
    {TARGET_ESSL30, "ESSL30", COMPILER_GROUP_GLSL, false, {kNo, kYes, kNo, kYes, kNo}},
    {TARGET_GLSL21, "GLSL21", COMPILER_GROUP_GLSL, false, {kNo, kNo, kNo, kYes, kNo}},
    {TARGET_GLSL31, "GLSL31", COMPILER_GROUP_GLSL, false, {kNo, kYes, kNo, kYes, kNo}},
    {TARGET_HLSL9, "HLSL9", COMPILER_GROUP_HLSL, false, {kNo, kYes, kNo, kYes, kNo}},
    {TARGET_HLSL11, "HLSL11", COMPILER_GROUP_HLSL, true, {kNo, kYes, kNo, kYes, kNo}},
    {TARGET_HLSL12, "HLSL12", COMPILER_GROUP_HLSL12, true, {kYes, kYes, kYes, kYes, kYes}},
    {TARGET_PSSL, "PSSL", COMPILER_GROUP_PSSL, true, {kNo, kYes, kNo, kYes, kNo}},
    {TARGET_SPIRV, "SPIRV", COMPILER_GROUP_GLSL, true, {kYes, kYes, kYes, kYes, kYes}},
};
static_assert(sizeof(kTargetTable) / sizeof(kTargetTable[0]) == TARGET_COUNT);

struct TargetMaskName {
    const char* name;
    uint32_t mask;
};

// One row per name that a Shader XML may give for its targets: name, mask.
constexpr TargetMaskName kTargetMaskNames[] = {
    {"ESSL", 3},   {"ESSL20", 1},  {"ESSL30", 2},  {"GLSL", 12},  {"GLSL21", 4},  {"GLSL31", 8}, {"HLSL", 112},
    {"HLSL9", 16}, {"HLSL11", 32}, {"HLSL12", 64}, {"PSSL", 128}, {"SPIRV", 256}, {"ALL", 511},
};
static_assert(sizeof(kTargetMaskNames) / sizeof(kTargetMaskNames[0]) == 13);

// One row per feature level in bit order: bit, name, target, HLSL profile suffix.
constexpr FeatureLevelInfo kFeatureLevelTable[] = {
    {FEATURE_LEVEL_HLSL11_DEFAULT, "HLSL11_DEFAULT", TARGET_HLSL11, "4_0"},
    {FEATURE_LEVEL_HLSL11_LOW, "HLSL11_LOW", TARGET_HLSL11, "4_0_level_9_1"},
    {FEATURE_LEVEL_HLSL11_XBOX, "HLSL11_XBOX", TARGET_HLSL11, "5_0"},
    {FEATURE_LEVEL_HLSL12_DEFAULT, "HLSL12_DEFAULT", TARGET_HLSL12, nullptr},
    {FEATURE_LEVEL_HLSL12_XBOX_ONE, "HLSL12_XBOX_ONE", TARGET_HLSL12, nullptr},
    {FEATURE_LEVEL_HLSL12_XBOX_SX, "HLSL12_XBOX_SX", TARGET_HLSL12, nullptr},
    {FEATURE_LEVEL_PSSL_GNM, "PSSL_GNM", TARGET_PSSL, nullptr},
    {FEATURE_LEVEL_PSSL_AGC, "PSSL_AGC", TARGET_PSSL, nullptr},
};
static_assert(sizeof(kFeatureLevelTable) / sizeof(kFeatureLevelTable[0]) == FEATURE_LEVEL_COUNT);

// HLSL profile suffix when no feature level is given.
constexpr const char* kDefaultHLSLProfileSuffix = "3_0";

// Stage names in stage order.
constexpr const char* kStageNames[] = {
    "vertex", "pixel", "rchit", "rgen", "rmiss",
};
static_assert(sizeof(kStageNames) / sizeof(kStageNames[0]) == STAGE_COUNT);

}  // namespace ShaderTool
