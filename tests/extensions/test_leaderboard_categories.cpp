#include "extension_test_environment.h"

namespace {

const char* const kCategories = R"(<?xml version="1.0" encoding="UTF-8"?>
<database>
  <array id="CATEGORIES">
    <node id="daily" sort="ASCENDING" title="Daily run"/>
    <node id="weekly" sort="LOWEST_SCORE_FIRST"/>
    <node id="alltime"/>
    <node id="lower" sort="ascending"/>
  </array>
</database>
)";

}  // namespace

class LeaderboardCategories : public ExtensionTest {
protected:
    HV_LeaderboardsInterface* Table() { return Engine()->leaderboards; }
};

TEST_F(LeaderboardCategories, AreReadFromTheCategoriesFileInFileOrder)
{
    WriteResFile("leaderboards/leaderboards.xml", kCategories);
    StartServices("");
    EXPECT_EQ(Table()->QueryCategoryCount(), 4);
    EXPECT_STREQ(Table()->QueryCategoryId(0), "daily");
    EXPECT_STREQ(Table()->QueryCategoryId(3), "lower");
    EXPECT_EQ(Table()->QueryCategoryId(-1), nullptr);
    EXPECT_EQ(Table()->QueryCategoryId(4), nullptr);
    EXPECT_EQ(Table()->QueryCategoryIndex("weekly"), 1);
    EXPECT_EQ(Table()->QueryCategoryIndex("monthly"), -1);
    EXPECT_EQ(Table()->QueryCategoryIndex(nullptr), -1);
    EXPECT_STREQ(Table()->QueryParameter("daily", "title"), "Daily run");
    EXPECT_EQ(Table()->QueryParameter("daily", "colour"), nullptr);
    EXPECT_EQ(Table()->QueryParameter("monthly", "title"), nullptr);
    // Only the two capital sort words make a category ascending.
    EXPECT_TRUE(Table()->QueryCategoryIsAscending("daily"));
    EXPECT_TRUE(Table()->QueryCategoryIsAscending("weekly"));
    EXPECT_FALSE(Table()->QueryCategoryIsAscending("alltime"));
    EXPECT_FALSE(Table()->QueryCategoryIsAscending("lower"));
    EXPECT_FALSE(Table()->QueryCategoryIsAscending("monthly"));
    EXPECT_FALSE(Table()->QueryCategoryIsAscending(nullptr));
}

TEST_F(LeaderboardCategories, AMissingFileOrArrayGivesNoCategories)
{
    StartServices("");
    EXPECT_EQ(Table()->QueryCategoryCount(), 0);
    EXPECT_EQ(Table()->QueryCategoryId(0), nullptr);
    EXPECT_EQ(Table()->QueryCategoryIndex("daily"), -1);
    EXPECT_FALSE(Table()->QueryCategoryIsAscending("daily"));
    EXPECT_EQ(Table()->QueryParameter("daily", "sort"), nullptr);
    StopServices();
    WriteResFile("leaderboards/leaderboards.xml", "<database><array id=\"OTHER\"><node id=\"x\"/></array></database>");
    StartServices("");
    EXPECT_EQ(Table()->QueryCategoryCount(), 0);
    EXPECT_EQ(Table()->QueryCategoryIndex("x"), -1);
}

class CategoryIdChecks : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        WriteResFile("leaderboards/leaderboards.xml", R"(<database><array id="CATEGORIES">
<node id="Good_1"/>
<node title="no id"/>
<node id="1bcdefghijklmnopqrstuvwxyz012345"/>
<node id="a-b-c"/>
</array></database>)");
        InstallModule("test-services-module.dll", "module-steam.dll");
    }
};

TEST_F(CategoryIdChecks, LoginInDeveloperModeReportsEveryBadId)
{
    StartServices("STEAM,LEADERBOARDS,NO_POPUPS", true);
    Engine()->leaderboards->Login(0);
    EXPECT_TRUE(Logged("Login for player 0"));
    EXPECT_TRUE(LoggedAsWarning("[POPUP] Leaderboard category with index 1 has no id. Id is required."));
    EXPECT_TRUE(
        LoggedAsWarning("[POPUP] Leaderboard category id '1bcdefghijklmnopqrstuvwxyz012345' is too long (can be max 31 "
                        "characters)."));
    EXPECT_TRUE(LoggedAsWarning(
        "[POPUP] Leaderboard category id '1bcdefghijklmnopqrstuvwxyz012345' has to start with an English alphabet."));
    EXPECT_EQ(CountLogged("[POPUP] Leaderboard category id '1bcdefghijklmnopqrstuvwxyz012345' can only contain English "
                          "alphabets, digits, and '_' character."),
              0);
    EXPECT_EQ(CountLogged("[POPUP] Leaderboard category id 'a-b-c' can only contain English alphabets, digits, and '_' "
                          "character."),
              2);
    for (const std::string& line : m_log.Lines()) EXPECT_FALSE(Contains(line, "'Good_1'")) << line;
}

TEST_F(CategoryIdChecks, LoginOutsideDeveloperModeChecksNothing)
{
    StartServices("STEAM,LEADERBOARDS");
    Engine()->leaderboards->Login(0);
    EXPECT_TRUE(Logged("Login for player 0"));
    for (const std::string& line : m_log.Lines()) EXPECT_FALSE(Contains(line, "Leaderboard category")) << line;
}

TEST_F(CategoryIdChecks, TheBuiltInImplementationsAreAlwaysLoggedIn)
{
    StartServices("LOCAL_LEADERBOARDS,LEADERBOARDS,NO_POPUPS", true);
    EXPECT_EQ(Engine()->leaderboards->LocalPlayerState(0), 2);
    Engine()->leaderboards->Login(0);
    EXPECT_FALSE(Logged("Login for player 0"));
    for (const std::string& line : m_log.Lines()) EXPECT_FALSE(Contains(line, "Leaderboard category")) << line;
}
