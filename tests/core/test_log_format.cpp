#include <gtest/gtest.h>

#include <string>

#include "core/log_format.h"

namespace {
struct LineCase {
    int number;
    uint32_t elapsedMs;
    const char* thread;
    int level;
    const char* text;
    const char* expected;
};

// Number, engine time as hours:minutes.seconds, thread, level and text, in that order.
constexpr LineCase kLineCases[] = {
    {1, 0, nullptr, 0, "hello", "0001: [00:00.00] hello"},                              // info has no level
    {42, (2 * 3600 + 3 * 60 + 4) * 1000 + 900, nullptr, 0, "x", "0042: [02:03.04] x"},  // 2 h 3 min 4.9 s
    {12345, 1000, nullptr, 0, "x", "12345: [00:00.01] x"},                              // wide numbers whole
    {1, 0, nullptr, 1, "w", "0001: [00:00.00] [WARNING] w"},                            //
    {1, 0, nullptr, 2, "e", "0001: [00:00.00] [ERROR] e"},                              //
    {1, 0, nullptr, 3, "s", "0001: [00:00.00] [SYSTEM] s"},                             //
    {1, 0, nullptr, 8, "big", "0001: [00:00.00] [ERROR] big"},                          // unknown levels
    {1, 0, nullptr, -1, "neg", "0001: [00:00.00] [ERROR] neg"},                         //
    {7, 60000, "Loader", 1, "slow", "0007: [00:01.00] [Loader]> [WARNING] slow"},       // thread before level
    {7, 60000, "Loader", 0, "fine", "0007: [00:01.00] [Loader]> fine"},                 //
    {1, 0, nullptr, 0, "100% %s", "0001: [00:00.00] 100% %s"},                          // not a format string
};
}  // namespace

TEST(LogFormat, LinesCarryNumberTimeThreadLevelAndText)
{
    for (const LineCase& c : kLineCases) {
        EXPECT_STREQ(c.expected, HVI_FormatLogLine(c.number, c.elapsedMs, c.thread, c.level, c.text).GetText());
    }
}

TEST(LogFormat, BannerNamesApiCoreAndBuildThenA64DashRule)
{
    const std::string banner = HVI_FormatLogBanner("Dec  6 2026", "12:00:00").GetText();
    EXPECT_EQ("Pelkor HV (API 15.30.00 + core 2326, built Dec  6 2026 12:00:00)\n" + std::string(64, '-') + "\n",
              banner);
}
