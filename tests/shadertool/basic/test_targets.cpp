#include "shadertool/basic/targets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "shadertool/basic/targets_tables.h"

namespace ShaderTool {
namespace {

// Group names give the union of their targets; any other text, in another
// case or with a space, gives none.
TEST(Targets, MasksOfNamesAndNamesOfBits)
{
    EXPECT_EQ(GetTargetMask("ALL"), 511u);
    EXPECT_EQ(GetTargetMask("HLSL"), 16u | 32u | 64u);
    EXPECT_EQ(GetTargetMask("GLSL"), 12u);
    EXPECT_EQ(GetTargetMask("ESSL"), 3u);
    EXPECT_EQ(GetTargetMask(nullptr), 0u);
    for (const char* text : {"", "glsl21", "Hlsl11", "HLSL11 ", " HLSL11", "HLSL1", "SPIRV2"}) {
        EXPECT_EQ(GetTargetMask(text), 0u) << "'" << text << "'";
    }
    for (const TargetInfo& row : kTargetTable) {
        EXPECT_EQ(GetTargetMask(row.name), static_cast<uint32_t>(row.bit)) << row.name;
    }
    EXPECT_STREQ(GetTargetName(TARGET_ESSL20), "ESSL20");
    EXPECT_STREQ(GetTargetName(TARGET_HLSL11), "HLSL11");
    EXPECT_STREQ(GetTargetName(TARGET_SPIRV), "SPIRV");
    for (const uint32_t bits : {0u, uint32_t(TARGET_HLSL11 | TARGET_HLSL12), 512u}) {
        EXPECT_STREQ(GetTargetName(bits), "") << bits;
    }
    for (const uint32_t bits : {0u, 3u, 256u, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_STREQ(GetFeatureLevelName(bits), "") << bits;
    }
}

// Only single known bits have a name.
// Stage names and back, by exact name only; the names themselves are those
// the Shader XML corpus documents give their sources.
TEST(Stages, NamesAndBack)
{
    for (const int32_t stage : {STAGE_VERTEX, STAGE_PIXEL, STAGE_RCHIT, STAGE_RGEN, STAGE_RMISS}) {
        EXPECT_EQ(FindStageByName(GetStageName(stage)), stage) << GetStageName(stage);
    }
    for (const int32_t stage : {int32_t(STAGE_INVALID), -1, 5}) EXPECT_STREQ(GetStageName(stage), "") << stage;
    for (const char* name : {"Pixel", "fragment", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(FindStageByName(name), STAGE_INVALID) << (name ? name : "null");
    }
}

}  // namespace
}  // namespace ShaderTool
