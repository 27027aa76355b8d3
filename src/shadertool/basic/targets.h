#pragma once

#include <cstdint>

// The languages a shader is written for, the stages of a source and the
// compile profiles. Renderer back ends, Shader XML descriptions and the
// translation driver all name them through these three enumerations.
namespace ShaderTool {

// Target languages as bit flags; a target mask is an OR of them.
enum Target : uint32_t {
    TARGET_ESSL20 = 1,
    TARGET_ESSL30 = 2,
    TARGET_GLSL21 = 4,
    TARGET_GLSL31 = 8,
    TARGET_HLSL9 = 16,
    TARGET_HLSL11 = 32,
    TARGET_HLSL12 = 64,
    TARGET_PSSL = 128,
    TARGET_SPIRV = 256,
};

constexpr int TARGET_COUNT = 9;
constexpr uint32_t TARGET_MASK_ALL = 511;

// Stages of a source; their names are the Shader XML source types and the
// extensions of the translated files. Stage flags are 1 << stage.
enum Stage : int32_t {
    STAGE_VERTEX = 0,
    STAGE_PIXEL = 1,
    STAGE_RCHIT = 2,
    STAGE_RGEN = 3,
    STAGE_RMISS = 4,
    STAGE_INVALID = 6,  // a source record whose type named no stage
};

constexpr int STAGE_COUNT = 5;

// Compile profiles as bit flags; a renderer reports one of them.
enum FeatureLevel : uint32_t {
    FEATURE_LEVEL_NONE = 0,
    FEATURE_LEVEL_HLSL11_DEFAULT = 1,
    FEATURE_LEVEL_HLSL11_LOW = 2,
    FEATURE_LEVEL_HLSL11_XBOX = 4,
    FEATURE_LEVEL_HLSL12_DEFAULT = 8,
    FEATURE_LEVEL_HLSL12_XBOX_ONE = 16,
    FEATURE_LEVEL_HLSL12_XBOX_SX = 32,
    FEATURE_LEVEL_PSSL_GNM = 64,
    FEATURE_LEVEL_PSSL_AGC = 128,
};

constexpr int FEATURE_LEVEL_COUNT = 8;

// Which compiler family a target's translated text goes to.
enum CompilerGroup : uint32_t {
    COMPILER_GROUP_GLSL,
    COMPILER_GROUP_HLSL,
    COMPILER_GROUP_HLSL12,
    COMPILER_GROUP_PSSL,
};

// What a target's language can express; one byte per flag.
struct TargetCapabilities {
    uint8_t buffers;
    uint8_t multiplePixelOutputs;
    uint8_t rayTracing;
    uint8_t textures3D;
    uint8_t textureArrays;
};

struct TargetInfo {
    Target bit;
    const char* name;  // the name used in Shader XML and in messages
    CompilerGroup compilerGroup;
    bool compilesAtTranslation;
    TargetCapabilities capabilities;
};

struct FeatureLevelInfo {
    FeatureLevel bit;
    const char* name;
    Target target;
    const char* hlslProfileSuffix;  // null where the target has no HLSL profile
};

// Mask of a target name or group name ("GLSL", "ALL"), compared byte for
// byte; 0 for null and for any other text.
uint32_t GetTargetMask(const char* name);

// Name of one feature-level bit; "" for 0, for several bits and for anything else.
const char* GetFeatureLevelName(uint32_t featureLevel);

// Row of one target bit; null for 0, for several bits and for unknown bits.
const TargetInfo* FindTargetInfo(uint32_t targetBit);

// Name of one target bit; "" for anything that is not exactly one target.
const char* GetTargetName(uint32_t targetBit);

// Row of one feature-level bit; null for anything else.
const FeatureLevelInfo* FindFeatureLevelInfo(uint32_t featureLevel);

// HLSL profile suffix of a feature level: "3_0" for no feature level, the
// row's suffix for an HLSL11 level, null for every other value.
const char* GetHLSLProfileSuffix(uint32_t featureLevel);

// Source type and file extension of a stage; "" for an invalid stage.
const char* GetStageName(int32_t stage);

// Stage whose name this is; STAGE_INVALID for any other text.
Stage FindStageByName(const char* name);

}  // namespace ShaderTool
