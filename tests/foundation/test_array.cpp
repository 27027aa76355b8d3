#include <gtest/gtest.h>

#include "foundation/array.h"
#include "foundation/string.h"
#include "foundation/string_map.h"

TEST(Array, GrowthFollowsTheEngineRules)
{
    Array<int> values;
    values.Add(1);
    EXPECT_EQ(values.GetCapacity(), 32);  // a new block reserves 32 slots
    for (int i = 2; i <= 33; ++i) values.Add(i);
    EXPECT_EQ(values.GetCapacity(), 64);  // a full array doubles
    for (int i = 0; i < 33; ++i) EXPECT_EQ(values[i], i + 1);
    while (values.GetCount() > 0) values.DeleteAt(values.GetCount() - 1);
    EXPECT_EQ(values.GetCapacity(), 64);  // without the shrink flag removal keeps the block
}

TEST(Array, FullOneElementArrayGrowsToEight)
{
    // Shrink an array down to a one-slot block through removals first.
    Array<int> values;
    values.SetShrinkOnRemove(true);
    for (int i = 0; i < 2; ++i) values.Add(i);
    EXPECT_EQ(values.GetCapacity(), 32);
    values.DeleteAt(0);  // count 1 <= 32 / 4: halves to 16
    EXPECT_EQ(values.GetCapacity(), 16);
    values.DeleteAt(0);  // count 0: halves to 8
    EXPECT_EQ(values.GetCapacity(), 8);
    values.Add(1);
    values.DeleteAt(0);  // 4
    values.Add(1);
    values.DeleteAt(0);  // 2
    values.Add(1);
    values.DeleteAt(0);  // 1
    EXPECT_EQ(values.GetCapacity(), 1);
    values.Add(7);
    values.Add(8);  // full one-element array
    EXPECT_EQ(values.GetCapacity(), 8);
    EXPECT_EQ(values[0], 7);
    EXPECT_EQ(values[1], 8);
}

TEST(Array, ShrinkHalvesOnlyOnceTheCountIsAQuarterOfTheCapacity)
{
    Array<int> values;
    values.SetShrinkOnRemove(true);
    for (int i = 0; i < 10; ++i) values.Add(i);
    values.DeleteAt(0);  // 9 of 32: more than a quarter
    EXPECT_EQ(values.GetCapacity(), 32);
    values.DeleteAt(0);  // 8 of 32: a quarter
    EXPECT_EQ(values.GetCapacity(), 16);
    values.DeleteAt(0);  // 7 of 16
    EXPECT_EQ(values.GetCapacity(), 16);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(values[i], i + 3);
}

TEST(Array, AddingAnElementOfItselfSurvivesGrowth)
{
    Array<String> names;
    for (int i = 0; i < 32; ++i) names.Add(String::Formatted("a rather long name number %d", i));
    names.Add(names[0]);  // the source lives in the block that growth releases
    EXPECT_STREQ(names[32].GetText(), "a rather long name number 0");
}

TEST(Array, DeleteAtAndInsertAtKeepOrder)
{
    Array<int> values;
    for (int i = 0; i < 5; ++i) values.Add(i);
    values.DeleteAt(1);
    values.InsertAt(0, 9);
    const int expected[] = {9, 0, 2, 3, 4};
    ASSERT_EQ(values.GetCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(values[i], expected[i]);
    values.DeleteAt(7);  // out of range: ignored
    values.Clear();
    EXPECT_EQ(values.GetCount(), 0);
    EXPECT_EQ(values.GetCapacity(), 32);  // the block is kept
}

TEST(StringMap, KeepsInsertionOrderAndZeroValues)
{
    StringMap<int> map;
    map.GetOrAdd("zeta") = 1;
    map.GetOrAdd("alpha") = 2;
    EXPECT_EQ(map.GetOrAdd("new"), 0);
    EXPECT_EQ(map.GetOrAdd("zeta"), 1);
    ASSERT_EQ(map.GetCount(), 3);
    EXPECT_STREQ(map.GetEntry(0).key.GetText(), "zeta");
    EXPECT_STREQ(map.GetEntry(1).key.GetText(), "alpha");
    EXPECT_FALSE(map.Contains(nullptr));
    EXPECT_FALSE(map.Contains("alph"));
    map.DeleteAt(0);
    EXPECT_STREQ(map.GetEntry(0).key.GetText(), "alpha");
    EXPECT_EQ(map.Find("zeta"), nullptr);
    EXPECT_EQ(map.Find("alpha")->value, 2);
}

TEST(StringMap, ANullKeyIsAddedOnceAsTheEmptyKey)
{
    StringMap<int> map;
    map.GetOrAdd(nullptr) = 5;
    EXPECT_EQ(map.GetOrAdd(nullptr), 5);
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_EQ(map.Find("")->value, 5);
}
