#include <gtest/gtest.h>

#include <string>

#include "core/log_format.h"

TEST(LogFormat, InfoLineHasNumberTimeAndTextOnly)
{
    EXPECT_STREQ("0001: [00:00.00] hello", HVI_FormatLogLine(1, 0, nullptr, 0, "hello").GetText());
}

TEST(LogFormat, TimeIsHoursMinutesSecondsOfEngineTime)
{
    // 2 h 3 min 4.9 s
    const uint32_t elapsed = (2 * 3600 + 3 * 60 + 4) * 1000 + 900;
    EXPECT_STREQ("0042: [02:03.04] x", HVI_FormatLogLine(42, elapsed, nullptr, 0, "x").GetText());
}

TEST(LogFormat, NumbersAboveFourDigitsAreWrittenWhole)
{
    EXPECT_STREQ("12345: [00:00.01] x", HVI_FormatLogLine(12345, 1000, nullptr, 0, "x").GetText());
}

TEST(LogFormat, LevelsOtherThanInfoNameTheirLevel)
{
    EXPECT_STREQ("0001: [00:00.00] [WARNING] w", HVI_FormatLogLine(1, 0, nullptr, 1, "w").GetText());
    EXPECT_STREQ("0001: [00:00.00] [ERROR] e", HVI_FormatLogLine(1, 0, nullptr, 2, "e").GetText());
    EXPECT_STREQ("0001: [00:00.00] [SYSTEM] s", HVI_FormatLogLine(1, 0, nullptr, 3, "s").GetText());
}

TEST(LogFormat, LevelsOutsideTheFourAreWrittenAsError)
{
    EXPECT_STREQ("0001: [00:00.00] [ERROR] big", HVI_FormatLogLine(1, 0, nullptr, 8, "big").GetText());
    EXPECT_STREQ("0001: [00:00.00] [ERROR] neg", HVI_FormatLogLine(1, 0, nullptr, -1, "neg").GetText());
    EXPECT_EQ(2, HVI_EffectiveLogLevel(1000));
    EXPECT_EQ(3, HVI_EffectiveLogLevel(3));
}

TEST(LogFormat, OtherThreadsAreNamedBeforeTheLevel)
{
    EXPECT_STREQ("0007: [00:01.00] [Loader]> [WARNING] slow",
                 HVI_FormatLogLine(7, 60000, "Loader", 1, "slow").GetText());
    EXPECT_STREQ("0007: [00:01.00] [Loader]> fine", HVI_FormatLogLine(7, 60000, "Loader", 0, "fine").GetText());
}

TEST(LogFormat, TextWithPercentSignsIsKeptAsIs)
{
    EXPECT_STREQ("0001: [00:00.00] 100% %s", HVI_FormatLogLine(1, 0, nullptr, 0, "100% %s").GetText());
}

TEST(LogFormat, BannerNamesApiCoreAndBuildThenA64DashRule)
{
    const std::string banner = HVI_FormatLogBanner("Dec  6 2026", "12:00:00").GetText();
    EXPECT_EQ("Pelkor HV (API 15.30.00 + core 2326, built Dec  6 2026 12:00:00)\n" + std::string(64, '-') + "\n",
              banner);
}
