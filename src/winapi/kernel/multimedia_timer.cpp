// The multimedia timer: timeGetTime counts milliseconds of the monotonic
// clock. Timer periods are counted so that every timeEndPeriod must match a
// timeBeginPeriod; the monotonic clock already has millisecond resolution.
#include <map>
#include <mutex>

#include <mmsystem.h>

namespace {

std::mutex periodsLock;
std::map<UINT, int> beganPeriods;  // guarded by periodsLock

}  // namespace

DWORD WINAPI timeGetTime(void) { return static_cast<DWORD>(GetTickCount64()); }

MMRESULT WINAPI timeBeginPeriod(UINT uPeriod)
{
    if (uPeriod == 0) return TIMERR_NOCANDO;
    std::lock_guard guard(periodsLock);
    ++beganPeriods[uPeriod];
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT uPeriod)
{
    std::lock_guard guard(periodsLock);
    auto found = beganPeriods.find(uPeriod);
    if (found == beganPeriods.end()) return TIMERR_NOCANDO;
    if (--found->second == 0) beganPeriods.erase(found);
    return TIMERR_NOERROR;
}
