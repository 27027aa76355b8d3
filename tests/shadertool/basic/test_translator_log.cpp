#include <gtest/gtest.h>

#include <string>

#include "shadertool/basic/translator_log.h"

using namespace ShaderTool;

TEST(ShaderLog, LinesSetTheirFlagsAndSourceErrorsPastTheLimitOnlyTheFlags)
{
    Log log;
    log.WriteLine("a b");
    EXPECT_STREQ(log.text.GetText(), "a b\n");
    EXPECT_EQ(log.written, 1);
    EXPECT_EQ(log.error, 0);
    log.Clear();
    log.WriteError("bad");
    log.WriteSourceError("s.hvsl", 3, 7, "worse");
    EXPECT_STREQ(log.text.GetText(), "Error: bad\ns.hvsl(3:7) error: worse\n");
    EXPECT_EQ(log.written, 1);
    EXPECT_EQ(log.error, 1);
    log.Clear();
    EXPECT_STREQ(log.text.GetText(), "");
    EXPECT_EQ(log.written, 0);
    EXPECT_EQ(log.error, 0);
    std::string expected;
    for (int i = 1; i <= 250; ++i) {
        log.WriteSourceError("s", i, 1, "e");
        if (i <= 200) expected += "s(" + std::to_string(i) + ":1) error: e\n";
    }
    expected += "Error: too many errors, the rest are not shown (maximum is 200).\n";
    log.WriteError("after");
    expected += "Error: after\n";
    EXPECT_EQ(std::string(log.text.GetText()), expected);
    log.Clear();
    log.WriteSourceError("s", 1, 1, "e");
    EXPECT_STREQ(log.text.GetText(), "s(1:1) error: e\n");
}
