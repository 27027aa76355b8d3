#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

FILETIME FromTicks(ULONGLONG ticks)
{
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

TEST(SystemTime, UnixEpochIsAThursdayIn1970)
{
    SYSTEMTIME time{};
    const FILETIME epoch = FromTicks(116444736000000000ull);
    ASSERT_TRUE(FileTimeToSystemTime(&epoch, &time));
    EXPECT_EQ(time.wYear, 1970);
    EXPECT_EQ(time.wMonth, 1);
    EXPECT_EQ(time.wDay, 1);
    EXPECT_EQ(time.wDayOfWeek, 4);
    EXPECT_EQ(time.wHour, 0);
}

TEST(SystemTime, LeapDayConvertsBothWays)
{
    // 2000-02-29 12:34:56.789 UTC is Unix time 951827696.789, a Tuesday.
    const ULONGLONG expected = 116444736000000000ull + 951827696ull * 10000000ull + 7890000ull;
    const SYSTEMTIME time{2000, 2, 0, 29, 12, 34, 56, 789};
    FILETIME converted;
    ASSERT_TRUE(SystemTimeToFileTime(&time, &converted));
    EXPECT_EQ(Ticks(converted), expected);
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&converted, &back));
    EXPECT_EQ(back.wYear, 2000);
    EXPECT_EQ(back.wMonth, 2);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wDayOfWeek, 2);
    EXPECT_EQ(back.wHour, 12);
    EXPECT_EQ(back.wMinute, 34);
    EXPECT_EQ(back.wSecond, 56);
    EXPECT_EQ(back.wMilliseconds, 789);
}

TEST(SystemTime, InvalidDateIsRefused)
{
    const SYSTEMTIME time{2001, 2, 0, 29, 0, 0, 0, 0};
    FILETIME converted;
    EXPECT_FALSE(SystemTimeToFileTime(&time, &converted));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(SystemTime, SystemTimeAgreesWithFileTime)
{
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

TEST(SystemTime, PerformanceCounterAdvancesAtItsFrequency)
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
}

TEST(SystemTime, TimerPeriodsMustBeBegunBeforeEnded)
{
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO));
    EXPECT_EQ(timeBeginPeriod(0), static_cast<MMRESULT>(TIMERR_NOCANDO));
}

}  // namespace
