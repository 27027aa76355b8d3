// Shutdown in the engine's fixed order, ending with the log summary.
#include <windows.h>

#include "core/configuration.h"
#include "core/engine_locks.h"
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/events.h"
#include "core/lifecycle_texts.h"
#include "core/logging.h"
#include "core/main_thread_tasks.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"

namespace {

// Shuts the role down and unloads it when it was brought up, or when it has
// nothing that brings it up and so is up from its registration.
void ShutDownRole(HVI_SubsystemRole role, HVI_EngineState& state)
{
    const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(role);
    const bool upFromRegistration = !hooks.Preinitialize && !hooks.Startup;
    if (!HVI_GetRunState().broughtUp[role] && !upFromRegistration) {
        return;
    }
    if (hooks.Shutdown) {
        hooks.Shutdown(state);
    }
    if (hooks.Unload) {
        hooks.Unload(state);
    }
}

}  // namespace

void HVI_Shutdown()
{
    HVI_EngineRunState& run = HVI_GetRunState();
    HVI_EngineState& state = HVI_GetEngineState();
    HV_Log(HV_LOG_SYSTEM, "%s", kShutdownText);
    run.quitRequested = true;
    if (state.program) {
        state.program->video.quitRequested = 1;
    }
    HVI_WaitForProgramThreads();
    HVI_RunMainThreadTasks();
    if (state.program && state.programInitialized && state.program->Deinit) {
        state.program->Deinit();
    }
    ShutDownRole(HVI_SUBSYSTEM_SOUND, state);
    ShutDownRole(HVI_SUBSYSTEM_INPUT, state);
    ShutDownRole(HVI_SUBSYSTEM_RENDERER, state);
    ShutDownRole(HVI_SUBSYSTEM_PLATFORM, state);
    ShutDownRole(HVI_SUBSYSTEM_EXTENSIONS, state);
    HVI_DiscardQueuedEvents();
    HVI_GetConfiguration().Unload();
    HVI_ResetFileSystem();
    if (run.instanceMutex) {
        CloseHandle(run.instanceMutex);
        run.instanceMutex = nullptr;
    }
    state.program = nullptr;
    HVI_UnbindProgram(run.library);
    HVI_WriteLogSummary();
    HVI_DeleteEngineLocks();
    state.started = false;
}
