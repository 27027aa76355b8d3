#include <gtest/gtest.h>

#include <string>

#include "data/dm_pairs.h"

TEST(DMPairList, KeepsManyPairsInFirstSetOrderThroughReplacements)
{
    DMPairList pairs;
    for (int i = 0; i < 100; ++i)
        pairs.SetValue(("key" + std::to_string(i)).c_str(), std::string(size_t(i % 7), char('a' + i % 26)).c_str());
    // Shorter, equal and longer values; the longer ones need more room than the list has.
    for (int i = 0; i < 100; i += 3)
        pairs.SetValue(("key" + std::to_string(i)).c_str(), std::string(size_t(i), 'z').c_str());
    ASSERT_EQ(pairs.GetCount(), 100);
    for (int i = 0; i < 100; ++i) {
        const std::string key = "key" + std::to_string(i);
        const std::string value =
            i % 3 == 0 ? std::string(size_t(i), 'z') : std::string(size_t(i % 7), char('a' + i % 26));
        const DMPair pair = pairs.GetPair(i);
        EXPECT_EQ(std::string(pair.key.GetText()), key);
        EXPECT_EQ(pair.key.GetLength(), int(key.size()));
        EXPECT_EQ(std::string(pair.value.GetText()), value);
        EXPECT_EQ(pair.value.GetLength(), int(value.size()));
        EXPECT_EQ(std::string(pairs.GetValue(key.c_str())), value);
    }
    EXPECT_EQ(pairs.GetValue("key100"), nullptr);
    EXPECT_EQ(pairs.GetValue(nullptr), nullptr);
}

TEST(DMPairList, AValueReadFromTheSameListSurvivesItsBlockMoving)
{
    DMPairList pairs;
    pairs.SetValue("first", "a value long enough to notice when it is torn");
    // Each new key outgrows the block, whose old texts are still being read.
    for (int i = 0; i < 20; ++i) pairs.SetValue(("copy" + std::to_string(i)).c_str(), pairs.GetValue("first"));
    EXPECT_STREQ(pairs.GetValue("copy19"), "a value long enough to notice when it is torn");
    // Shorter: a tail of its own text, overlapping where it is written.
    pairs.SetValue("first", pairs.GetValue("first") + 8);
    EXPECT_STREQ(pairs.GetValue("first"), "long enough to notice when it is torn");
    // Longer: its old value and more.
    pairs.SetValue("copy0", (std::string(pairs.GetValue("copy0")) + "!").c_str());
    EXPECT_STREQ(pairs.GetValue("copy0"), "a value long enough to notice when it is torn!");
    pairs.SetValue("copy1", pairs.GetValue("copy0"));
    EXPECT_STREQ(pairs.GetValue("copy1"), "a value long enough to notice when it is torn!");
}

TEST(DMPairList, ReservingKeepsThePairsAndANullValueIsTheEmptyText)
{
    DMPairList pairs;
    pairs.SetValue("kept", "1");
    pairs.Reserve(2, 20);
    pairs.SetValue("empty", nullptr);
    pairs.SetValue(nullptr, "ignored");
    pairs.SetValue("third", "33");
    pairs.SetValue("beyond", "what was reserved");
    ASSERT_EQ(pairs.GetCount(), 4);
    EXPECT_STREQ(pairs.GetValue("kept"), "1");
    EXPECT_STREQ(pairs.GetValue("empty"), "");
    EXPECT_EQ(pairs.GetPair(1).value.GetLength(), 0);
    EXPECT_STREQ(pairs.GetValue("beyond"), "what was reserved");
}

TEST(DMText, EqualWhenLengthsAndBytesAre)
{
    const DMText abc("abc", 3);
    EXPECT_TRUE(abc == DMText("abc", 3));
    EXPECT_FALSE(abc == DMText("abcd", 4));
    EXPECT_TRUE(abc == "abc");
    EXPECT_FALSE(abc == "abd");
    EXPECT_TRUE(DMText("", 0) == nullptr);
}
