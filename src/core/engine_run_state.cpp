#include "core/engine_run_state.h"

#include <mmsystem.h>

namespace {

HVI_EngineRunState g_runState;

uint32_t SystemNow(void*)
{
    return timeGetTime();
}

void SystemSleep(void*, uint32_t milliseconds)
{
    Sleep(milliseconds);
}

HVI_FrameClock g_clock = {SystemNow, SystemSleep, nullptr};  // main thread only

}  // namespace

HVI_EngineRunState& HVI_GetRunState()
{
    return g_runState;
}

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

uint32_t HVI_FrameClockNow()
{
    return g_clock.Now(g_clock.context);
}

void HVI_FrameClockSleep(uint32_t milliseconds)
{
    g_clock.Sleep(g_clock.context, milliseconds);
}

bool HVI_IsQuitRequested()
{
    return g_runState.quitRequested;
}

void HVI_RequestQuit()
{
    g_runState.quitRequested = true;
}

void HV_Shutdown()
{
    HVI_RequestQuit();
}

bool HV_IsShuttingDown()
{
    return g_runState.quitRequested;
}
