#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

FILETIME FromTicks(ULONGLONG ticks)
{
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

TEST(SystemTime, ConvertsBothWaysWithTheDayOfTheWeekRefusesInvalidDatesAndAgreesWithTheFileTime)
{
    // The Unix epoch, a Thursday; 2000-02-29 12:34:56.789 UTC, Unix time 951827696.789, a Tuesday.
    const ULONGLONG epoch = 116444736000000000ull;
    const struct {
        ULONGLONG ticks;
        SYSTEMTIME time;
    } moments[] = {
        {epoch, {1970, 1, 4, 1, 0, 0, 0, 0}},
        {epoch + 951827696ull * 10000000ull + 7890000ull, {2000, 2, 2, 29, 12, 34, 56, 789}},
    };
    for (const auto& moment : moments) {
        SCOPED_TRACE(moment.time.wYear);
        SYSTEMTIME given = moment.time;
        given.wDayOfWeek = 0;  // ignored on the way in
        FILETIME converted;
        ASSERT_TRUE(SystemTimeToFileTime(&given, &converted));
        EXPECT_EQ(Ticks(converted), moment.ticks);
        SYSTEMTIME back{};
        const FILETIME ticks = FromTicks(moment.ticks);
        ASSERT_TRUE(FileTimeToSystemTime(&ticks, &back));
        EXPECT_EQ(std::memcmp(&back, &moment.time, sizeof back), 0)
            << back.wYear << "-" << back.wMonth << "-" << back.wDay << " day " << back.wDayOfWeek << " " << back.wHour
            << ":" << back.wMinute << ":" << back.wSecond << "." << back.wMilliseconds;
    }
    const SYSTEMTIME invalid{2001, 2, 0, 29, 0, 0, 0, 0};
    FILETIME converted;
    EXPECT_FALSE(SystemTimeToFileTime(&invalid, &converted));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SYSTEMTIME fromFileTime;
    ASSERT_TRUE(FileTimeToSystemTime(&now, &fromFileTime));
    SYSTEMTIME direct;
    GetSystemTime(&direct);
    EXPECT_EQ(direct.wYear, fromFileTime.wYear);
    EXPECT_GE(direct.wYear, 2024);
    SYSTEMTIME local;
    GetLocalTime(&local);
    EXPECT_GE(local.wMonth, 1);
    EXPECT_LE(local.wMonth, 12);
}

TEST(SystemTime, PerformanceCounterAdvancesAtItsFrequencyAndTimerPeriodsMustBeBegunBeforeEnded)
{
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_GT(frequency.QuadPart, 0);
    LARGE_INTEGER start, end;
    ASSERT_TRUE(QueryPerformanceCounter(&start));
    const DWORD startMs = timeGetTime();
    Sleep(20);
    ASSERT_TRUE(QueryPerformanceCounter(&end));
    EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 20);
    EXPECT_GE(timeGetTime() - startMs, 20u);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO));
    EXPECT_EQ(timeBeginPeriod(0), static_cast<MMRESULT>(TIMERR_NOCANDO));
}

}  // namespace
