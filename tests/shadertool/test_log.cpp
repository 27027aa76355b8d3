#include <gtest/gtest.h>

#include "shadertool/log.h"

using namespace ShaderTool;

TEST(ShaderLog, PlainLinesSetOnlyTheWrittenFlag)
{
    Log log;
    log.WriteLine("a b");
    EXPECT_STREQ(log.text.GetText(), "a b\n");
    EXPECT_EQ(log.written, 1);
    EXPECT_EQ(log.error, 0);
}

TEST(ShaderLog, ErrorLinesSetBothFlags)
{
    Log log;
    log.WriteError("bad");
    log.WriteSourceError("s.hvsl", 3, 7, "worse");
    EXPECT_STREQ(log.text.GetText(), "Error: bad\ns.hvsl(3:7) error: worse\n");
    EXPECT_EQ(log.written, 1);
    EXPECT_EQ(log.error, 1);
    log.Clear();
    EXPECT_STREQ(log.text.GetText(), "");
    EXPECT_EQ(log.written, 0);
    EXPECT_EQ(log.error, 0);
}
