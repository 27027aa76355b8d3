#include <gtest/gtest.h>

#include <string>

#include "core/features.h"
#include "engine_test_support.h"

TEST(FeatureList, WordAtStartEndAndAlone)
{
    EXPECT_TRUE(HVI_FeatureListHasWord("NO_SOUND", "NO_SOUND"));
    EXPECT_TRUE(HVI_FeatureListHasWord("NO_SOUND,X", "NO_SOUND"));
    EXPECT_TRUE(HVI_FeatureListHasWord("X,NO_SOUND", "NO_SOUND"));
}

TEST(FeatureList, CommaSemicolonAndSpaceBoundWords)
{
    EXPECT_TRUE(HVI_FeatureListHasWord("A,NO_SOUND,B", "NO_SOUND"));
    EXPECT_TRUE(HVI_FeatureListHasWord("A;NO_SOUND;B", "NO_SOUND"));
    EXPECT_TRUE(HVI_FeatureListHasWord("A NO_SOUND B", "NO_SOUND"));
    EXPECT_TRUE(HVI_FeatureListHasWord("A, NO_SOUND ;B", "NO_SOUND"));
}

TEST(FeatureList, EachBoundaryCountsBeforeAndAfterTheWord)
{
    for (const char* boundary : {",", ";", " "}) {
        const std::string b = boundary;
        EXPECT_TRUE(HVI_FeatureListHasWord(("NO_SOUND" + b + "X").c_str(), "NO_SOUND")) << "'" << b << "'";
        EXPECT_TRUE(HVI_FeatureListHasWord(("X" + b + "NO_SOUND").c_str(), "NO_SOUND")) << "'" << b << "'";
        EXPECT_TRUE(HVI_FeatureListHasWord(("X" + b + "NO_SOUND" + b + "Y").c_str(), "NO_SOUND")) << "'" << b << "'";
        EXPECT_FALSE(HVI_FeatureListHasWord(("X" + b + "NO_SOUNDY").c_str(), "NO_SOUND")) << "'" << b << "'";
        EXPECT_FALSE(HVI_FeatureListHasWord(("XNO_SOUND" + b + "Y").c_str(), "NO_SOUND")) << "'" << b << "'";
    }
}

TEST(FeatureList, PartsOfLongerWordsDoNotCount)
{
    EXPECT_FALSE(HVI_FeatureListHasWord("NO_SOUNDS", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("XNO_SOUND", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("A,NO_SOUND_EVER", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("STEAM_DECK", "STEAM"));
}

TEST(FeatureList, OtherCharactersAreNotBoundaries)
{
    EXPECT_FALSE(HVI_FeatureListHasWord("A\tNO_SOUND", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("A|NO_SOUND", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("NO_SOUND.", "NO_SOUND"));
}

TEST(FeatureList, LaterOccurrenceCountsWhenAnEarlierOneIsPartOfAWord)
{
    EXPECT_TRUE(HVI_FeatureListHasWord("NO_SOUNDX,NO_SOUND", "NO_SOUND"));
    EXPECT_TRUE(HVI_FeatureListHasWord("XSTEAM STEAM", "STEAM"));
}

TEST(FeatureList, CaseMattersAndEmptyInputsAreNeverSet)
{
    EXPECT_FALSE(HVI_FeatureListHasWord("no_sound", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("", "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord(nullptr, "NO_SOUND"));
    EXPECT_FALSE(HVI_FeatureListHasWord("A,,B", ""));
    EXPECT_FALSE(HVI_FeatureListHasWord("A", nullptr));
}

using Features = ::testing::Test;

TEST_F(Features, EachOfTheThreeListsCounts)
{
    HVI_SetFeatureLists("FROM_COMMAND_LINE", "FROM_PROGRAM", "FROM_DEVELOPER");
    EXPECT_TRUE(HV_HasFeature("FROM_COMMAND_LINE"));
    EXPECT_TRUE(HV_HasFeature("FROM_PROGRAM"));
    EXPECT_TRUE(HV_HasFeature("FROM_DEVELOPER"));
    EXPECT_FALSE(HV_HasFeature("FROM"));
}

TEST_F(Features, DeveloperModeAddsDeveloperModeWord)
{
    EXPECT_FALSE(HV_HasFeature("DEVELOPER_MODE"));
    HVI_SetDeveloperMode(true);
    EXPECT_TRUE(HV_IsDeveloperMode());
    EXPECT_TRUE(HV_HasFeature("DEVELOPER_MODE"));
}

TEST(CommandLineFeatures, ListAfterTheOptionWithSpaceOrEquals)
{
    EXPECT_STREQ("NO_SOUND,FIXED_LOGNAME",
                 HVI_CommandLineFeatures("halvo --features NO_SOUND,FIXED_LOGNAME").GetText());
    EXPECT_STREQ("NO_SOUND", HVI_CommandLineFeatures("halvo --features=NO_SOUND -x").GetText());
}

TEST(CommandLineFeatures, SeveralOptionsAreJoinedAndLookalikesIgnored)
{
    EXPECT_STREQ("A,B", HVI_CommandLineFeatures("halvo --features A --features B").GetText());
    EXPECT_STREQ("", HVI_CommandLineFeatures("halvo --featuresX A x--features B").GetText());
    EXPECT_STREQ("", HVI_CommandLineFeatures(nullptr).GetText());
}
