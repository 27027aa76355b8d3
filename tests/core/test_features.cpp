#include <gtest/gtest.h>

#include <string>

#include "core/features.h"
#include "engine_test_support.h"

namespace {
struct WordCase {
    const char* list;
    const char* word;
    bool found;
};

// A word counts only whole, bounded by the list's ends, commas, semicolons or spaces.
constexpr WordCase kWordCases[] = {
    {"NO_SOUND", "NO_SOUND", true},            // alone
    {"NO_SOUND,X", "NO_SOUND", true},          // at the start
    {"X,NO_SOUND", "NO_SOUND", true},          // at the end
    {"A,NO_SOUND,B", "NO_SOUND", true},        // each boundary, both sides
    {"A;NO_SOUND;B", "NO_SOUND", true},        //
    {"A NO_SOUND B", "NO_SOUND", true},        //
    {"A, NO_SOUND ;B", "NO_SOUND", true},      //
    {"NO_SOUND;X", "NO_SOUND", true},          //
    {"X NO_SOUND", "NO_SOUND", true},          //
    {"X;NO_SOUNDY", "NO_SOUND", false},        // boundary before but not after
    {"XNO_SOUND Y", "NO_SOUND", false},        // boundary after but not before
    {"NO_SOUNDS", "NO_SOUND", false},          // parts of longer words
    {"XNO_SOUND", "NO_SOUND", false},          //
    {"A,NO_SOUND_EVER", "NO_SOUND", false},    //
    {"STEAM_DECK", "STEAM", false},            //
    {"A\tNO_SOUND", "NO_SOUND", false},        // other characters are not boundaries
    {"A|NO_SOUND", "NO_SOUND", false},         //
    {"NO_SOUND.", "NO_SOUND", false},          //
    {"NO_SOUNDX,NO_SOUND", "NO_SOUND", true},  // a later whole occurrence still counts
    {"XSTEAM STEAM", "STEAM", true},           //
    {"no_sound", "NO_SOUND", false},           // case matters
    {"", "NO_SOUND", false},                   // empty inputs are never set
    {nullptr, "NO_SOUND", false},              //
    {"A,,B", "", false},                       //
    {"A", nullptr, false},                     //
};
}  // namespace

TEST(FeatureList, WordsCountOnlyWholeAndBounded)
{
    for (const WordCase& c : kWordCases) {
        EXPECT_EQ(c.found, HVI_FeatureListHasWord(c.list, c.word))
            << "'" << (c.list ? c.list : "(null)") << "' / '" << (c.word ? c.word : "(null)") << "'";
    }
}

using Features = ::testing::Test;

TEST_F(Features, EachOfTheThreeListsCountsAndDeveloperModeAddsItsWord)
{
    HVI_SetFeatureLists("FROM_COMMAND_LINE", "FROM_PROGRAM", "FROM_DEVELOPER");
    EXPECT_TRUE(HV_HasFeature("FROM_COMMAND_LINE"));
    EXPECT_TRUE(HV_HasFeature("FROM_PROGRAM"));
    EXPECT_TRUE(HV_HasFeature("FROM_DEVELOPER"));
    EXPECT_FALSE(HV_HasFeature("FROM"));
    EXPECT_FALSE(HV_HasFeature("DEVELOPER_MODE"));
    HVI_SetDeveloperMode(true);
    EXPECT_TRUE(HV_IsDeveloperMode());
    EXPECT_TRUE(HV_HasFeature("DEVELOPER_MODE"));
}

TEST(CommandLineFeatures, ListsAfterTheOptionWithSpaceOrEqualsAreJoinedAndLookalikesIgnored)
{
    EXPECT_STREQ("NO_SOUND,FIXED_LOGNAME",
                 HVI_CommandLineFeatures("halvo --features NO_SOUND,FIXED_LOGNAME").GetText());
    EXPECT_STREQ("NO_SOUND", HVI_CommandLineFeatures("halvo --features=NO_SOUND -x").GetText());
    EXPECT_STREQ("A,B", HVI_CommandLineFeatures("halvo --features A --features B").GetText());
    EXPECT_STREQ("", HVI_CommandLineFeatures("halvo --featuresX A x--features B").GetText());
    EXPECT_STREQ("", HVI_CommandLineFeatures(nullptr).GetText());
}
