#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/log_file_name.h"

namespace {

std::set<std::string> g_taken;
bool IsTaken(const char* path) { return g_taken.count(path) != 0; }

HV_DateTime March7()
{
    HV_DateTime time = {};
    time.year = 2026;
    time.month = 3;
    time.day = 7;
    time.hour = 9;
    time.minute = 5;
    return time;
}

}  // namespace

TEST(LogFileName, IsProgramIdInLogsWithSpacesAsDashes)
{
    EXPECT_STREQ("logs://my-fine-game.log",
                 HVI_MakeLogFileName("my fine game", false, false, March7(), IsTaken).GetText());
}

TEST(LogFileName, PathSeparatorsInTheProgramIdBecomeDashesSoTheLogStaysInItsFolder)
{
    EXPECT_STREQ("logs://..-..-etc-game.log",
                 HVI_MakeLogFileName("../../etc/game", false, false, March7(), IsTaken).GetText());
    EXPECT_STREQ("logs://a-b.log", HVI_MakeLogFileName("a\\b", false, false, March7(), IsTaken).GetText());
}

TEST(LogFileName, LogsInWorkingDirUseResScheme)
{
    EXPECT_STREQ("res://game.log", HVI_MakeLogFileName("game", false, true, March7(), IsTaken).GetText());
}

TEST(LogFileName, UndatedNameIsReusedEvenWhenTaken)
{
    g_taken = {"logs://game.log"};
    EXPECT_STREQ("logs://game.log", HVI_MakeLogFileName("game", false, false, March7(), IsTaken).GetText());
}

TEST(LogFileName, DatedNameCarriesYearMonthDayHourMinute)
{
    g_taken.clear();
    EXPECT_STREQ("logs://game-2026-03-07-09-05.log",
                 HVI_MakeLogFileName("game", true, false, March7(), IsTaken).GetText());
}

TEST(LogFileName, TakenDatedNameGetsTheFirstFreeNumber)
{
    g_taken = {"logs://game-2026-03-07-09-05.log", "logs://game-2026-03-07-09-05-1.log"};
    EXPECT_STREQ("logs://game-2026-03-07-09-05-2.log",
                 HVI_MakeLogFileName("game", true, false, March7(), IsTaken).GetText());
}

TEST(LogFileName, NumbersStopAt99)
{
    g_taken = {"logs://g-2026-03-07-09-05.log"};
    for (int i = 1; i <= 99; ++i) {
        g_taken.insert("logs://g-2026-03-07-09-05-" + std::to_string(i) + ".log");
    }
    EXPECT_STREQ("logs://g-2026-03-07-09-05-99.log",
                 HVI_MakeLogFileName("g", true, false, March7(), IsTaken).GetText());
}
