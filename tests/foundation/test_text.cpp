#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/text.h"

TEST(Text, PathPartsEndingsAndParentSteps)
{
    EXPECT_TRUE(HVI_EndsWith("sound.ogg", ".ogg"));
    EXPECT_TRUE(HVI_EndsWith("x", ""));
    EXPECT_FALSE(HVI_EndsWith("ogg", ".ogg"));
    EXPECT_FALSE(HVI_EndsWith(nullptr, "a"));
    EXPECT_STREQ(HVI_GetDirectoryPart("res://shaders/a.xml").GetText(), "res://shaders");
    EXPECT_STREQ(HVI_GetDirectoryPart("a.xml").GetText(), "");
    // A segment goes with the parent step after it; steps with nothing before them stay.
    EXPECT_STREQ(HVI_NormalizePath("a/b/../c").GetText(), "a/c");
    EXPECT_STREQ(HVI_NormalizePath("a/b/../../c").GetText(), "c");
    EXPECT_STREQ(HVI_NormalizePath("res://x/y/../z.txt").GetText(), "res://x/z.txt");
    EXPECT_STREQ(HVI_NormalizePath("../../a").GetText(), "../../a");
    EXPECT_STREQ(HVI_NormalizePath("a/b/..").GetText(), "a/b/..");
}

TEST(Text, GetTokenFindsFieldsAndRefusesWhatDoesNotFit)
{
    char buffer[8];
    EXPECT_STREQ(HVI_GetToken("a,bb,ccc", ',', 1, buffer, sizeof buffer), "bb");
    EXPECT_STREQ(HVI_GetToken("a,bb,", ',', 2, buffer, sizeof buffer), "");
    EXPECT_STREQ(HVI_GetToken("a,bb,", ',', 3, buffer, sizeof buffer), "");
    EXPECT_STREQ(HVI_GetToken("a,", ',', 5, buffer, sizeof buffer), "");
    EXPECT_EQ(HVI_GetToken("", ',', 1, buffer, sizeof buffer), nullptr);
    EXPECT_EQ(HVI_GetToken("a,bb", ',', 2, buffer, sizeof buffer), nullptr);
    EXPECT_EQ(HVI_GetToken("a,12345678", ',', 1, buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(HVI_GetToken("a,1234567", ',', 1, buffer, sizeof buffer), "1234567");
    EXPECT_EQ(HVI_GetToken(nullptr, ',', 0, buffer, sizeof buffer), nullptr);
}

TEST(Text, StrDupCopiesAndNullGivesEmpty)
{
    char* copy = HVI_StrDup(nullptr);
    EXPECT_STREQ(copy, "");
    std::free(copy);
    copy = HVI_StrDup("abc");
    EXPECT_STREQ(copy, "abc");
    std::free(copy);
}

TEST(Text, NameHashIsThirtySevenFoldOverUnsignedBytes)
{
    EXPECT_EQ(HVI_HashName(""), 0u);
    EXPECT_EQ(HVI_HashName("a"), 97u);
    EXPECT_EQ(HVI_HashName("ab"), 97u * 37 + 98);
    EXPECT_EQ(HVI_HashName("\xff"), 255u);  // bytes are unsigned
    uint32_t expected = 0;
    for (const char* p = "a long name that wraps around"; *p; ++p) expected = expected * 37u + uint8_t(*p);
    EXPECT_EQ(HVI_HashName("a long name that wraps around"), expected);
}
