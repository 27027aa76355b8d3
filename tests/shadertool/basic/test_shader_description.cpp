#include <gtest/gtest.h>

#include "shadertool/basic/shader_description.h"

using namespace ShaderTool;

namespace {

void Fill(ShaderDescription& description)
{
    description.buffers.Add({"b", {}, 2});
    description.constants.variables.Add({"c", 1, 16, {}});
    description.constants.first = 5;
    description.definitions.Add({"D", "1", DEFINITION_VALUE_INT});
    description.pixelOutput.Add("color");
    description.sources.Add({"s.hvsl", "text", 3, 511, STAGE_PIXEL});
    description.tags = "tag";
    description.rayTracingGroup = 2;
    description.stageFlags = 2;
    description.targetMask = 32;
    description.stamp = 99;
    description.version = 0x20004;
}

TEST(ShaderDescription, ClearKeepsTargetMaskAndVersionAndCopiesAreIndependent)
{
    ShaderDescription description;
    Fill(description);
    description.Clear();
    EXPECT_EQ(description.buffers.GetCount(), 0);
    EXPECT_EQ(description.constants.variables.GetCount(), 0);
    EXPECT_EQ(description.constants.first, -1);
    EXPECT_EQ(description.definitions.GetCount(), 0);
    EXPECT_EQ(description.pixelOutput.GetCount(), 0);
    EXPECT_EQ(description.sources.GetCount(), 0);
    EXPECT_TRUE(description.tags.IsEmpty());
    EXPECT_EQ(description.rayTracingGroup, -1);
    EXPECT_EQ(description.stageFlags, 0u);
    EXPECT_EQ(description.stamp, 0u);
    EXPECT_EQ(description.targetMask, 32u);
    EXPECT_EQ(description.version, 0x20004u);
    ShaderDescription original;
    Fill(original);
    ShaderDescription copy = original;
    original.sources[0].text = "changed";
    original.definitions.Clear();
    EXPECT_STREQ(copy.sources[0].text.GetText(), "text");
    EXPECT_EQ(copy.sources[0].firstLine, 3);
    ASSERT_EQ(copy.definitions.GetCount(), 1);
    EXPECT_STREQ(copy.definitions[0].value.GetText(), "1");
    EXPECT_EQ(copy.constants.first, 5);
    EXPECT_EQ(copy.buffers[0].slot, 2);
}

}  // namespace
