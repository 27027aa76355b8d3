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

struct NameCase {
    const char* programId;
    bool dated;
    bool inWorkingDir;
    std::set<std::string> taken;
    const char* expected;
};

TEST(LogFileName, ComesFromProgramIdFolderDateAndTheNamesTaken)
{
    const NameCase cases[] = {
        {"my fine game", false, false, {}, "logs://my-fine-game.log"},      // spaces become dashes
        {"../../etc/game", false, false, {}, "logs://..-..-etc-game.log"},  // separators too, so the log
        {"a\\b", false, false, {}, "logs://a-b.log"},                       // stays in its folder
        {"game", false, true, {}, "res://game.log"},                        // logs in the working folder
        {"game", false, false, {"logs://game.log"}, "logs://game.log"},     // undated names are reused
        {"game", true, false, {}, "logs://game-2026-03-07-09-05.log"},      // year month day hour minute
        {"game",
         true,
         false,
         {"logs://game-2026-03-07-09-05.log", "logs://game-2026-03-07-09-05-1.log"},
         "logs://game-2026-03-07-09-05-2.log"},  // first free number
    };
    for (const NameCase& c : cases) {
        g_taken = c.taken;
        EXPECT_STREQ(c.expected,
                     HVI_MakeLogFileName(c.programId, c.dated, c.inWorkingDir, March7(), IsTaken).GetText());
    }
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
