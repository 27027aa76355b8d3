#include <gtest/gtest.h>

#include "data/dm_database.h"
#include "support/log_capture.h"

TEST(DMDatabase, FindArrayComparesIdsExactly)
{
    DMDatabase database("test");
    DMArray* first = database.AddArray("CATEGORIES");
    DMArray* second = database.AddArray("categories");
    EXPECT_EQ(database.FindArray("CATEGORIES"), first);
    EXPECT_EQ(database.FindArray("categories"), second);
    EXPECT_EQ(database.FindArray("CATEGORIE"), nullptr);
    EXPECT_EQ(database.FindArray(nullptr), nullptr);
    EXPECT_EQ(first->GetOwner(), &database);
    EXPECT_EQ(database.GetArrayCount(), 2);
}

TEST(DMArray, FindNodeFindsTheFirstNodeWithTheIdAndNeverANodeWithoutOne)
{
    DMDatabase database("test");
    DMArray* array = database.AddArray("a");
    DMNode* unnamed = array->AddNode(nullptr);
    DMNode* first = array->AddNode("x");
    array->AddNode("x");
    DMNode* empty = array->AddNode("");
    EXPECT_EQ(array->FindNode("x"), first);
    EXPECT_EQ(array->FindNode(""), empty);
    EXPECT_EQ(array->FindNode(nullptr), nullptr);
    EXPECT_EQ(unnamed->GetId(), nullptr);
    EXPECT_EQ(first->GetOwner(), array);
}

TEST(DMArray, FindNodeComparesInFullWhenHashesCollide)
{
    // "aK" and "b&": 97 * 37 + 75 = 3664 = 98 * 37 + 38, so both hash to 3664.
    DMDatabase database("test");
    DMArray* array = database.AddArray("a");
    DMNode* first = array->AddNode("aK");
    DMNode* second = array->AddNode("b&");
    ASSERT_EQ(first->GetIdHash(), second->GetIdHash());
    EXPECT_EQ(array->FindNode("b&"), second);
    EXPECT_EQ(array->FindNode("aK"), first);
}

TEST(DMArray, DeletingANodeMovesTheLaterOnesUp)
{
    DMDatabase database("test");
    DMArray* array = database.AddArray("a");
    array->AddNode("0");
    array->AddNode("1");
    array->AddNode("2");
    array->DeleteNodeAt(1);
    ASSERT_EQ(array->GetNodeCount(), 2);
    EXPECT_STREQ(array->GetNode(0)->GetId(), "0");
    EXPECT_STREQ(array->GetNode(1)->GetId(), "2");
    EXPECT_EQ(array->GetNode(2), nullptr);
    EXPECT_EQ(array->GetNode(-1), nullptr);
    EXPECT_EQ(array->FindNode("1"), nullptr);
}

TEST(DMNode, TheKeyIdIsTheNodesOwnId)
{
    DMDatabase database("test");
    DMArray* array = database.AddArray("a");
    DMNode* node = array->AddNode(nullptr);
    EXPECT_EQ(node->GetValue("id"), nullptr);
    node->SetValue("id", "found");
    EXPECT_STREQ(node->GetId(), "found");
    EXPECT_STREQ(node->GetValue("id"), "found");
    EXPECT_EQ(array->FindNode("found"), node);
    EXPECT_EQ(node->GetPairs().GetCount(), 0);
    node->SetId(nullptr);
    EXPECT_EQ(array->FindNode("found"), nullptr);
}

TEST(DMNode, ANullKeyIsRefusedWithALogLine)
{
    LogCapture log;
    DMDatabase database("test");
    DMNode* node = database.AddArray("a")->AddNode("n");
    node->SetValue(nullptr, "v");
    EXPECT_EQ(node->GetPairs().GetCount(), 0);
    const auto lines = log.Entries();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "DMNode::SetValue: key is null, nothing was set.");
    EXPECT_EQ(lines[0].level, HV_LOG_ERROR);
}

TEST(DMArray, AttributesAreKeptBesideTheId)
{
    DMDatabase database("test");
    DMArray* array = database.AddArray("a");
    array->SetValue("version", "2");
    EXPECT_STREQ(array->GetValue("version"), "2");
    EXPECT_STREQ(array->GetValue("id"), "a");
    array->SetValue("id", "b");
    EXPECT_EQ(database.FindArray("b"), array);
    EXPECT_EQ(database.FindArray("a"), nullptr);
}
