// Conversions between FILETIME counts (100-nanosecond intervals since
// 1 January 1601 UTC), POSIX times and calendar dates.
#pragma once

#include <windows.h>

#include <cstdint>

namespace halvo::kernel {

// 100-nanosecond intervals from 1601-01-01 to 1970-01-01.
constexpr int64_t kFileTimeOfUnixEpoch = 116444736000000000LL;
constexpr int64_t kFileTimeTicksPerSecond = 10000000LL;

FILETIME FileTimeFromTicks(uint64_t ticks);
uint64_t TicksFromFileTime(const FILETIME& time);
FILETIME FileTimeFromUnix(int64_t seconds, int64_t nanoseconds);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day);

}  // namespace halvo::kernel
