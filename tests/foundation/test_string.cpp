#include <gtest/gtest.h>

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

TEST(String, ShortAndLongTextKeepTheirBytes)
{
    String inlineText("fourteen chars");  // the longest text kept inline
    EXPECT_EQ(inlineText.GetLength(), 14);
    String heapText("fifteen chars!!");
    EXPECT_EQ(heapText.GetLength(), 15);
    String copy = heapText;
    EXPECT_TRUE(copy == heapText);
    String moved(static_cast<String&&>(copy));
    EXPECT_STREQ(moved.GetText(), "fifteen chars!!");
    String movedInline(static_cast<String&&>(inlineText));
    EXPECT_STREQ(movedInline.GetText(), "fourteen chars");
}

TEST(String, AppendGrowsAcrossTheInlineLimit)
{
    String text("abc");
    for (int i = 0; i < 20; ++i)
        text.AppendChar(char('a' + i));
    text.AppendChar('\0');
    EXPECT_EQ(text.GetLength(), 23);
    EXPECT_STREQ(text.GetText(), "abcabcdefghijklmnopqrst");
    text.Append(text.GetText());  // appending itself must read before the old block goes
    EXPECT_EQ(text.GetLength(), 46);
    EXPECT_EQ(std::string(text.GetText()), std::string("abcabcdefghijklmnopqrst") + "abcabcdefghijklmnopqrst");
}

TEST(String, LongTextLivesInABlockOfExactlyItsLengthPlusOne)
{
    String text("abc");
    EXPECT_EQ(text.GetCapacity(), 16);  // the inline buffer
    std::string expected = "abc";
    for (int i = 0; i < 40; ++i) {
        const char* before = text.GetText();
        text.AppendChar('x');
        expected += 'x';
        if (text.GetLength() > 14) {
            EXPECT_EQ(text.GetCapacity(), text.GetLength() + 1);
            EXPECT_NE(text.GetText(), before);  // every append moves into a new block
        }
    }
    EXPECT_EQ(std::string(text.GetText()), expected);
    text.Format("%s", std::string(5000, 'f').c_str());
    EXPECT_EQ(text.GetCapacity(), 5001);
}

TEST(String, FormattedTextHasNoLengthLimit)
{
    const std::string longText(10000, 'x');
    String text;
    text.Format("<%s>", longText.c_str());
    EXPECT_EQ(text.GetLength(), 10002);
    text.AppendFormat("%d-%s", 42, "y");
    EXPECT_EQ(std::string(text.GetText()), "<" + longText + ">42-y");
    EXPECT_STREQ(String::Formatted("%.4d", 7).GetText(), "0007");
}

TEST(String, EqualityNeedsSameLengthAndBytes)
{
    EXPECT_TRUE(String("abc") == String("abc"));
    EXPECT_FALSE(String("abc") == String("abcd"));
    EXPECT_FALSE(String("abd") == "abc");
}
