#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "core/engine_time.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

TEST(EngineTime, MillisecondsAndNanosecondsCountFromTheEnginesStartAndNeverGoBack)
{
    const Clock::time_point before = Clock::now();
    HVI_ResetEngineTime();
    const uint32_t first = HV_GetTimeMs();
    uint64_t previous = 0;
    for (int i = 0; i < 1000; ++i) {
        const uint64_t now = HV_GetTimeNs();
        EXPECT_GE(now, previous);
        previous = now;
    }
    const uint32_t second = HV_GetTimeMs();
    const int64_t bound = MillisecondsSince(before) + 1;
    EXPECT_LE(first, second);
    EXPECT_LE(static_cast<int64_t>(second), bound);
    EXPECT_LE(previous, static_cast<uint64_t>(bound) * 1000000u);
}

TEST(EngineTime, TimestampIsCalendarSecondsSince1970AndLocalTimeHasCalendarYearMonthFromOneAndDay)
{
    // Read between two readings of the C library's time, so that a minute
    // that turns meanwhile matches one of them.
    const std::time_t before = std::time(nullptr);
    const int64_t timestamp = HV_GetTimestamp();
    const HV_DateTime now = HV_GetLocalTime();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(timestamp, static_cast<int64_t>(before));
    EXPECT_LE(timestamp, static_cast<int64_t>(after));
    bool matched = false;
    for (const std::time_t when : {before, after}) {
        const std::tm local = *std::localtime(&when);
        matched = matched || (now.year == local.tm_year + 1900 && now.month == local.tm_mon + 1 &&
                              now.day == local.tm_mday && now.hour == local.tm_hour && now.minute == local.tm_min);
    }
    EXPECT_TRUE(matched) << now.year << "-" << now.month << "-" << now.day << " " << now.hour << ":" << now.minute;
    EXPECT_GE(now.second, 0);
    EXPECT_LE(now.second, 60);
    EXPECT_GE(now.dayOfWeek, 0);
    EXPECT_LE(now.dayOfWeek, 6);
}
