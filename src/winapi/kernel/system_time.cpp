// Calendar time, tick counts and the performance counter.
#include <time.h>

#include <windows.h>

#include "winapi/kernel/civil_time.h"

using namespace halvo::kernel;

namespace {

// The performance counter counts 100-nanosecond ticks of the monotonic clock,
// the frequency most machines of the platform report.
constexpr LONGLONG kPerformanceFrequency = 10000000;

timespec ClockNow(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return now;
}

void FillSystemTime(const tm& fields, long nanoseconds, LPSYSTEMTIME out)
{
    out->wYear = static_cast<WORD>(fields.tm_year + 1900);
    out->wMonth = static_cast<WORD>(fields.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    out->wDay = static_cast<WORD>(fields.tm_mday);
    out->wHour = static_cast<WORD>(fields.tm_hour);
    out->wMinute = static_cast<WORD>(fields.tm_min);
    out->wSecond = static_cast<WORD>(fields.tm_sec > 59 ? 59 : fields.tm_sec);
    out->wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
}

}  // namespace

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    const timespec now = ClockNow(CLOCK_REALTIME);
    tm fields;
    gmtime_r(&now.tv_sec, &fields);
    FillSystemTime(fields, now.tv_nsec, lpSystemTime);
}

void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    const timespec now = ClockNow(CLOCK_REALTIME);
    tm fields;
    localtime_r(&now.tv_sec, &fields);
    FillSystemTime(fields, now.tv_nsec, lpSystemTime);
}

void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime)
{
    const timespec now = ClockNow(CLOCK_REALTIME);
    *lpSystemTimeAsFileTime = FileTimeFromUnix(now.tv_sec, now.tv_nsec);
}

ULONGLONG WINAPI GetTickCount64(void)
{
    const timespec now = ClockNow(CLOCK_MONOTONIC);
    return static_cast<ULONGLONG>(now.tv_sec) * 1000u + static_cast<ULONGLONG>(now.tv_nsec) / 1000000u;
}

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(GetTickCount64()); }

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency)
{
    if (lpFrequency == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    lpFrequency->QuadPart = kPerformanceFrequency;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount)
{
    if (lpPerformanceCount == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    const timespec now = ClockNow(CLOCK_MONOTONIC);
    lpPerformanceCount->QuadPart = static_cast<LONGLONG>(now.tv_sec) * kPerformanceFrequency + now.tv_nsec / 100;
    return TRUE;
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (lpFileTime == nullptr || lpSystemTime == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    const uint64_t ticks = TicksFromFileTime(*lpFileTime);
    if (ticks >= 0x8000000000000000ULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int64_t secondsSince1601 = static_cast<int64_t>(ticks / kFileTimeTicksPerSecond);
    const int64_t days = secondsSince1601 / 86400 - kFileTimeOfUnixEpoch / kFileTimeTicksPerSecond / 86400;
    const int64_t secondOfDay = secondsSince1601 % 86400;
    int64_t year;
    unsigned month, day;
    CivilFromDays(days, &year, &month, &day);
    lpSystemTime->wYear = static_cast<WORD>(year);
    lpSystemTime->wMonth = static_cast<WORD>(month);
    lpSystemTime->wDay = static_cast<WORD>(day);
    // 1970-01-01 was a Thursday (4).
    lpSystemTime->wDayOfWeek = static_cast<WORD>(((days % 7) + 7 + 4) % 7);
    lpSystemTime->wHour = static_cast<WORD>(secondOfDay / 3600);
    lpSystemTime->wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
    lpSystemTime->wSecond = static_cast<WORD>(secondOfDay % 60);
    lpSystemTime->wMilliseconds = static_cast<WORD>(ticks % kFileTimeTicksPerSecond / 10000);
    return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    if (lpSystemTime == nullptr || lpFileTime == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    const SYSTEMTIME& t = *lpSystemTime;
    static constexpr unsigned kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
    const bool valid = t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
                       t.wDay <= kDaysInMonth[t.wMonth - 1] + (t.wMonth == 2 && leap ? 1 : 0) && t.wHour < 24 &&
                       t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay);
    const int64_t seconds = days * 86400 + t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
    *lpFileTime = FileTimeFromUnix(seconds, static_cast<int64_t>(t.wMilliseconds) * 1000000);
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2)
{
    const uint64_t first = TicksFromFileTime(*lpFileTime1);
    const uint64_t second = TicksFromFileTime(*lpFileTime2);
    return first < second ? -1 : (first > second ? 1 : 0);
}
