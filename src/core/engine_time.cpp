#include "core/engine_time.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <ctime>

namespace {

// Written at pre-initialisation (main thread), read by any thread.
std::atomic<DWORD> g_startMs{0};
std::atomic<LONGLONG> g_startCounter{0};

LONGLONG ReadCounter()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

}  // namespace

void HVI_ResetEngineTime()
{
    g_startMs = timeGetTime();
    g_startCounter = ReadCounter();
}

uint32_t HV_GetTimeMs() { return static_cast<uint32_t>(timeGetTime() - g_startMs); }

uint64_t HV_GetTimeNs()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    if (frequency.QuadPart <= 0) {
        return static_cast<uint64_t>(HV_GetTimeMs()) * 1000000u;
    }
    const uint64_t ticks = static_cast<uint64_t>(ReadCounter() - g_startCounter);
    const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
    // Split to keep ticks * 1e9 from overflowing.
    return ticks / perSecond * 1000000000u + ticks % perSecond * 1000000000u / perSecond;
}

int64_t HV_GetTimestamp() { return static_cast<int64_t>(std::time(nullptr)); }

HV_DateTime HV_GetLocalTime()
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    HV_DateTime result;
    result.year = local.wYear;
    result.month = local.wMonth;
    result.day = local.wDay;
    result.hour = local.wHour;
    result.minute = local.wMinute;
    result.second = local.wSecond;
    result.millisecond = local.wMilliseconds;
    result.dayOfWeek = local.wDayOfWeek;
    return result;
}
