#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/string.h"

TEST(String, EmptyUntilAssignedAndNullAssignsEmpty)
{
    String text;
    EXPECT_STREQ(text.GetText(), "");
    EXPECT_EQ(text.GetLength(), 0);
    text.Assign(nullptr);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(text == "");
    text.Assign("abc", -1);  // a negative length copies nothing
    EXPECT_TRUE(text.IsEmpty());
}

TEST(String, AppendGrowsAcrossTheInlineLimit)
{
    String text("abc");
    for (int i = 0; i < 20; ++i) text.AppendChar(char('a' + i));
    text.AppendChar('\0');
    EXPECT_EQ(text.GetLength(), 23);
    EXPECT_STREQ(text.GetText(), "abcabcdefghijklmnopqrst");
    text.Append(text.GetText());  // appending itself must read before the old block goes
    EXPECT_EQ(text.GetLength(), 46);
    EXPECT_EQ(std::string(text.GetText()), std::string("abcabcdefghijklmnopqrst") + "abcabcdefghijklmnopqrst");
}

TEST(String, AssignedTextLivesInABlockOfExactlyItsLengthPlusOne)
{
    String text("abc");
    EXPECT_EQ(text.GetCapacity(), 16);  // the inline buffer
    text.Assign("fifteen chars!!");
    EXPECT_EQ(text.GetCapacity(), 16);
    String copy(text);
    EXPECT_EQ(copy.GetCapacity(), 16);
    text = String::Formatted("%s", std::string(5000, 'f').c_str());
    EXPECT_EQ(text.GetCapacity(), 5001);
    text.Assign("short again");
    EXPECT_EQ(text.GetCapacity(), 16);  // back inline, the block released
}

TEST(String, AppendingGrowsTheBlockWithRoomToSpare)
{
    String text;
    std::string expected;
    int blocks = 0;
    const char* block = nullptr;
    for (int i = 0; i < 100000; ++i) {
        text.AppendChar(char('a' + i % 26));
        expected += char('a' + i % 26);
        ASSERT_GT(text.GetCapacity(), text.GetLength());
        if (text.GetText() != block) {
            block = text.GetText();
            ++blocks;
        }
    }
    EXPECT_EQ(std::string(text.GetText()), expected);
    // Inline, then 32 bytes doubling up to 131072: a new block only when the old one is full.
    EXPECT_EQ(blocks, 14);
    const String copy(text);
    EXPECT_EQ(copy.GetCapacity(), 100001);  // a copy takes exactly what it needs
}

TEST(String, MovesHandOverTheBlockAndLeaveTheSourceEmpty)
{
    String longText("a text longer than the inline buffer");
    const char* block = longText.GetText();
    String moved(static_cast<String&&>(longText));
    EXPECT_EQ(moved.GetText(), block);
    EXPECT_STREQ(longText.GetText(), "");
    EXPECT_EQ(longText.GetLength(), 0);
    String shortText("short");
    moved = static_cast<String&&>(shortText);
    EXPECT_STREQ(moved.GetText(), "short");
    EXPECT_EQ(moved.GetLength(), 5);
    EXPECT_STREQ(shortText.GetText(), "");
    moved.Append(" and now longer than fourteen");
    EXPECT_STREQ(moved.GetText(), "short and now longer than fourteen");
}

TEST(String, FormattedTextHasNoLengthLimit)
{
    const std::string longText(10000, 'x');
    String text;
    text = String::Formatted("<%s>", longText.c_str());
    EXPECT_EQ(text.GetLength(), 10002);
    text.AppendFormat("%d-%s", 42, "y");
    EXPECT_EQ(std::string(text.GetText()), "<" + longText + ">42-y");
    EXPECT_STREQ(String::Formatted("%.4d", 7).GetText(), "0007");
}

// The C library's snprintf judges the text, whichever way a format is written.
TEST(String, FormattedTextIsWhatSnprintfWrites)
{
    char expected[128];
    std::snprintf(expected, sizeof expected, "%s(%i, %d) %c%% [%i]", "mul", -2147483647 - 1, 2147483647, 'x', 0);
    EXPECT_STREQ(String::Formatted("%s(%i, %d) %c%% [%i]", "mul", -2147483647 - 1, 2147483647, 'x', 0).GetText(),
                 expected);
    std::snprintf(expected, sizeof expected, "%5.2f|%-4s|%x|%u", 1.5, "ab", 255u, 7u);
    EXPECT_STREQ(String::Formatted("%5.2f|%-4s|%x|%u", 1.5, "ab", 255u, 7u).GetText(), expected);
    // A text of its own, appended to itself, and one longer than the first buffer.
    String text("self");
    text.AppendFormat("+%s+%s", text.GetText(), text.GetText());
    EXPECT_STREQ(text.GetText(), "self+self+self");
    const std::string longText(5000, 'y');
    EXPECT_EQ(std::string(String::Formatted("%s%i", longText.c_str(), 9).GetText()), longText + "9");
}

TEST(String, EqualityNeedsSameLengthAndBytes)
{
    EXPECT_TRUE(String("abc") == String("abc"));
    EXPECT_FALSE(String("abc") == String("abcd"));
    EXPECT_FALSE(String("abd") == "abc");
}
