#include "shadertool/basic/targets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shadertool/basic/targets_tables.h"

namespace ShaderTool {
namespace {

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

TEST(FeatureLevels, CombinationsZeroAndUnknownBitsHaveNoName)
{
    EXPECT_STREQ(GetFeatureLevelName(0), "");
    EXPECT_STREQ(GetFeatureLevelName(3), "");
    EXPECT_STREQ(GetFeatureLevelName(256), "");
    EXPECT_STREQ(GetFeatureLevelName(0x80000000u), "");
    EXPECT_STREQ(GetFeatureLevelName(0xFFFFFFFFu), "");
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
