#include "core/engine_run_state.h"

#include <mmsystem.h>
#include <windows.h>

namespace {

HVI_EngineRunState g_runState;

uint32_t SystemNow(void*) { return timeGetTime(); }

// Steps of the wait for the next millisecond, in the timer's 100 ns units:
// short enough to end within a quarter of a millisecond of it.
constexpr LONGLONG kMillisecondWaitStep = 2500;

// Waits until timeGetTime moves on, in short steps on a high-resolution
// timer: a sleep of a millisecond may last nearly two, and yielding keeps a
// processor busy. Without a timer it yields.
void WaitForNextMillisecond()
{
    static const HANDLE timer =
        CreateWaitableTimerExA(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    const DWORD start = timeGetTime();
    LARGE_INTEGER step;
    step.QuadPart = -kMillisecondWaitStep;
    do {
        if (timer == nullptr || !SetWaitableTimer(timer, &step, 0, nullptr, nullptr, FALSE) ||
            WaitForSingleObject(timer, INFINITE) != WAIT_OBJECT_0) {
            Sleep(0);
            return;
        }
    } while (timeGetTime() == start);
}

void SystemSleep(void*, uint32_t milliseconds)
{
    if (milliseconds == 0)
        WaitForNextMillisecond();
    else
        Sleep(milliseconds);
}

HVI_FrameClock g_clock = {SystemNow, SystemSleep, nullptr};  // main thread only

}  // namespace

HVI_EngineRunState& HVI_GetRunState() { return g_runState; }

void HVI_ResetRunState()
{
    HVI_EngineRunState& state = g_runState;
    state.library = HVI_ProgramLibrary{};
    state.quitRequested = false;
    state.active = true;
    state.frameClockStarted = false;
    state.resetStep = true;
    state.lastFrameMs = 0;
    HVI_CancelPendingReinitialization();
    state.instanceMutex = nullptr;
    for (bool& broughtUp : state.broughtUp) {
        broughtUp = false;
    }
    state.commandLine.Clear();
}

void HVI_SetFrameClock(const HVI_FrameClock* clock)
{
    g_clock = clock ? *clock : HVI_FrameClock{SystemNow, SystemSleep, nullptr};
}

uint32_t HVI_FrameClockNow() { return g_clock.Now(g_clock.context); }

void HVI_FrameClockSleep(uint32_t milliseconds) { g_clock.Sleep(g_clock.context, milliseconds); }

bool HVI_IsQuitRequested() { return g_runState.quitRequested; }

void HVI_RequestQuit() { g_runState.quitRequested = true; }

void HV_Shutdown() { HVI_RequestQuit(); }

bool HV_IsShuttingDown() { return g_runState.quitRequested; }
