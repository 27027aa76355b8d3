#pragma once

// What the life-cycle steps share while the engine runs. Main thread only,
// except the quit flag.

#include <atomic>
#include <cstdint>

#include "core/engine_lifecycle.h"
#include "core/program_binding.h"
#include "core/subsystem_hooks.h"
#include "foundation/string.h"

struct HVI_EngineRunState {
    HVI_ProgramLibrary library;
    std::atomic<bool> quitRequested{false};  // any thread may ask to quit
    bool active = true;                      // the main window is active
    bool frameClockStarted = false;
    bool resetStep = true;  // the next frame's step is 0
    uint32_t lastFrameMs = 0;
    HANDLE instanceMutex = nullptr;
    bool broughtUp[HVI_SUBSYSTEM_ROLE_COUNT] = {};  // a Preinitialize or Startup hook ran
    String commandLine;
};

HVI_EngineRunState& HVI_GetRunState();
// Puts the run state back to its initial values (pre-initialisation, tests);
// the program library must be unbound first.
void HVI_ResetRunState();

// The installed frame clock.
uint32_t HVI_FrameClockNow();
void HVI_FrameClockSleep(uint32_t milliseconds);

// Applies the re-initialisation asked for since the last frame, if any; at
// the start of a frame, main thread.
void HVI_ApplyPendingReinitialization();
// Forgets a re-initialisation asked for and not yet applied.
void HVI_CancelPendingReinitialization();
