#include "shadertool/basic/targets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shadertool/basic/targets_tables.h"

namespace ShaderTool {
namespace {

TEST(Targets, SingleTargetNamesGiveTheirBit)
{
    EXPECT_EQ(GetTargetMask("ESSL20"), 1u);
    EXPECT_EQ(GetTargetMask("ESSL30"), 2u);
    EXPECT_EQ(GetTargetMask("GLSL21"), 4u);
    EXPECT_EQ(GetTargetMask("GLSL31"), 8u);
    EXPECT_EQ(GetTargetMask("HLSL9"), 16u);
    EXPECT_EQ(GetTargetMask("HLSL11"), 32u);
    EXPECT_EQ(GetTargetMask("HLSL12"), 64u);
    EXPECT_EQ(GetTargetMask("PSSL"), 128u);
    EXPECT_EQ(GetTargetMask("SPIRV"), 256u);
}

TEST(Targets, GroupNamesGiveTheUnionOfTheirTargets)
{
    EXPECT_EQ(GetTargetMask("ALL"), 511u);
    EXPECT_EQ(GetTargetMask("HLSL"), 16u | 32u | 64u);
    EXPECT_EQ(GetTargetMask("GLSL"), 12u);
    EXPECT_EQ(GetTargetMask("ESSL"), 3u);
}

TEST(Targets, OtherTextGivesNoTarget)
{
    EXPECT_EQ(GetTargetMask(nullptr), 0u);
    EXPECT_EQ(GetTargetMask(""), 0u);
    EXPECT_EQ(GetTargetMask("glsl21"), 0u);
    EXPECT_EQ(GetTargetMask("Hlsl11"), 0u);
    EXPECT_EQ(GetTargetMask("HLSL11 "), 0u);
    EXPECT_EQ(GetTargetMask(" HLSL11"), 0u);
    EXPECT_EQ(GetTargetMask("HLSL1"), 0u);
    EXPECT_EQ(GetTargetMask("SPIRV2"), 0u);
}

TEST(Targets, TargetNamesOfSingleBits)
{
    EXPECT_STREQ(GetTargetName(TARGET_ESSL20), "ESSL20");
    EXPECT_STREQ(GetTargetName(TARGET_HLSL11), "HLSL11");
    EXPECT_STREQ(GetTargetName(TARGET_SPIRV), "SPIRV");
    EXPECT_STREQ(GetTargetName(0), "");
    EXPECT_STREQ(GetTargetName(TARGET_HLSL11 | TARGET_HLSL12), "");
    EXPECT_STREQ(GetTargetName(512), "");
}

TEST(Targets, EveryTargetNameMapsBackToItsBit)
{
    for (const TargetInfo& row : kTargetTable) {
        EXPECT_EQ(GetTargetMask(row.name), static_cast<uint32_t>(row.bit)) << row.name;
    }
}

TEST(Targets, OnlyHlsl12AndSpirvHaveBuffersRayTracingAndTextureArrays)
{
    for (const TargetInfo& row : kTargetTable) {
        bool full = row.bit == TARGET_HLSL12 || row.bit == TARGET_SPIRV;
        EXPECT_EQ(row.capabilities.buffers != 0, full) << row.name;
        EXPECT_EQ(row.capabilities.rayTracing != 0, full) << row.name;
        EXPECT_EQ(row.capabilities.textureArrays != 0, full) << row.name;
    }
}

TEST(Targets, Essl20AndGlsl21HaveNoMultiplePixelOutputs)
{
    for (const TargetInfo& row : kTargetTable) {
        bool single = row.bit == TARGET_ESSL20 || row.bit == TARGET_GLSL21;
        EXPECT_EQ(row.capabilities.multiplePixelOutputs == 0, single) << row.name;
    }
}

TEST(Targets, OnlyEssl20LacksThreeDimensionalTextures)
{
    for (const TargetInfo& row : kTargetTable) {
        EXPECT_EQ(row.capabilities.textures3D == 0, row.bit == TARGET_ESSL20) << row.name;
    }
}

TEST(Targets, CompiledTargetsAndCompilerGroups)
{
    EXPECT_FALSE(FindTargetInfo(TARGET_HLSL9)->compilesAtTranslation);
    EXPECT_TRUE(FindTargetInfo(TARGET_HLSL11)->compilesAtTranslation);
    EXPECT_TRUE(FindTargetInfo(TARGET_SPIRV)->compilesAtTranslation);
    EXPECT_FALSE(FindTargetInfo(TARGET_GLSL31)->compilesAtTranslation);
    EXPECT_EQ(FindTargetInfo(TARGET_SPIRV)->compilerGroup, COMPILER_GROUP_GLSL);
    EXPECT_EQ(FindTargetInfo(TARGET_HLSL9)->compilerGroup, COMPILER_GROUP_HLSL);
    EXPECT_EQ(FindTargetInfo(TARGET_HLSL12)->compilerGroup, COMPILER_GROUP_HLSL12);
    EXPECT_EQ(FindTargetInfo(TARGET_PSSL)->compilerGroup, COMPILER_GROUP_PSSL);
    EXPECT_EQ(FindTargetInfo(3), nullptr);
}

TEST(FeatureLevels, NamesOfSingleBits)
{
    EXPECT_STREQ(GetFeatureLevelName(1), "HLSL11_DEFAULT");
    EXPECT_STREQ(GetFeatureLevelName(2), "HLSL11_LOW");
    EXPECT_STREQ(GetFeatureLevelName(4), "HLSL11_XBOX");
    EXPECT_STREQ(GetFeatureLevelName(8), "HLSL12_DEFAULT");
    EXPECT_STREQ(GetFeatureLevelName(16), "HLSL12_XBOX_ONE");
    EXPECT_STREQ(GetFeatureLevelName(32), "HLSL12_XBOX_SX");
    EXPECT_STREQ(GetFeatureLevelName(64), "PSSL_GNM");
    EXPECT_STREQ(GetFeatureLevelName(128), "PSSL_AGC");
}

TEST(FeatureLevels, CombinationsZeroAndUnknownBitsHaveNoName)
{
    EXPECT_STREQ(GetFeatureLevelName(0), "");
    EXPECT_STREQ(GetFeatureLevelName(3), "");
    EXPECT_STREQ(GetFeatureLevelName(256), "");
    EXPECT_STREQ(GetFeatureLevelName(0x80000000u), "");
    EXPECT_STREQ(GetFeatureLevelName(0xFFFFFFFFu), "");
}

TEST(FeatureLevels, HlslProfileSuffixes)
{
    EXPECT_STREQ(GetHLSLProfileSuffix(0), "3_0");
    EXPECT_STREQ(GetHLSLProfileSuffix(FEATURE_LEVEL_HLSL11_DEFAULT), "4_0");
    EXPECT_STREQ(GetHLSLProfileSuffix(FEATURE_LEVEL_HLSL11_LOW), "4_0_level_9_1");
    EXPECT_STREQ(GetHLSLProfileSuffix(FEATURE_LEVEL_HLSL11_XBOX), "5_0");
    EXPECT_EQ(GetHLSLProfileSuffix(FEATURE_LEVEL_HLSL12_DEFAULT), nullptr);
    EXPECT_EQ(GetHLSLProfileSuffix(FEATURE_LEVEL_PSSL_AGC), nullptr);
    EXPECT_EQ(GetHLSLProfileSuffix(3), nullptr);
}

TEST(FeatureLevels, EachLevelBelongsToItsTarget)
{
    EXPECT_EQ(FindFeatureLevelInfo(FEATURE_LEVEL_HLSL11_LOW)->target, TARGET_HLSL11);
    EXPECT_EQ(FindFeatureLevelInfo(FEATURE_LEVEL_HLSL12_XBOX_SX)->target, TARGET_HLSL12);
    EXPECT_EQ(FindFeatureLevelInfo(FEATURE_LEVEL_PSSL_GNM)->target, TARGET_PSSL);
}

TEST(Stages, NamesAndFlags)
{
    EXPECT_STREQ(GetStageName(STAGE_VERTEX), "vertex");
    EXPECT_STREQ(GetStageName(STAGE_PIXEL), "pixel");
    EXPECT_STREQ(GetStageName(STAGE_RCHIT), "rchit");
    EXPECT_STREQ(GetStageName(STAGE_RGEN), "rgen");
    EXPECT_STREQ(GetStageName(STAGE_RMISS), "rmiss");
    EXPECT_STREQ(GetStageName(STAGE_INVALID), "");
    EXPECT_STREQ(GetStageName(-1), "");
    EXPECT_STREQ(GetStageName(5), "");
    EXPECT_EQ(STAGE_INVALID, 6);
}

TEST(Stages, FoundByExactName)
{
    EXPECT_EQ(FindStageByName("vertex"), STAGE_VERTEX);
    EXPECT_EQ(FindStageByName("rmiss"), STAGE_RMISS);
    EXPECT_EQ(FindStageByName("Pixel"), STAGE_INVALID);
    EXPECT_EQ(FindStageByName("fragment"), STAGE_INVALID);
    EXPECT_EQ(FindStageByName(nullptr), STAGE_INVALID);
}

}  // namespace
}  // namespace ShaderTool
