// Start-up: the window, the renderer, input and sound; the program's Init
// follows on the first frame.
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/features.h"
#include "core/lifecycle_texts.h"
#include "core/logging.h"
#include "core/renderer_restart.h"
#include "core/subsystem_hooks.h"

namespace {

// Runs the role's Startup hook, if any; false only when it answered false.
bool StartRole(HVI_SubsystemRole role, HVI_EngineState& state)
{
    const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(role);
    if (!hooks.Startup) {
        return true;
    }
    HVI_GetRunState().broughtUp[role] = true;
    return hooks.Startup(state);
}

// A renderer that did not initialise gets one more try on a new window, with
// the video parameters rolled back to the safest mode: the same size,
// windowed, on the first display.
bool RetryRendererWithRolledBackVideo(HVI_EngineState& state)
{
    if (!state.program) {
        return false;
    }
    HV_VideoParameters rolledBack = state.program->video;
    HV_Log(HV_LOG_WARNING, kRendererRetryText, rolledBack.width, rolledBack.height,
           rolledBack.windowed ? "windowed" : "fullscreen", rolledBack.displayIndex);
    rolledBack.windowed = 1;
    rolledBack.displayIndex = 0;
    HVI_ApplyVideoParameters(state.program->video, rolledBack);
    state.video = state.program->video;
    return HVI_RestartRendererWithNewWindow(state);
}

}  // namespace

bool HVI_Startup()
{
    HVI_EngineState& state = HVI_GetEngineState();
    if (!StartRole(HVI_SUBSYSTEM_PLATFORM, state)) {
        return false;
    }
    if (!StartRole(HVI_SUBSYSTEM_RENDERER, state) && !RetryRendererWithRolledBackVideo(state)) {
        return false;
    }
    StartRole(HVI_SUBSYSTEM_INPUT, state);
    if (!HV_HasFeature("NO_SOUND") && !state.video.noSound) {
        StartRole(HVI_SUBSYSTEM_SOUND, state);
    }
    StartRole(HVI_SUBSYSTEM_EXTENSIONS, state);
    state.started = true;
    HVI_GetRunState().resetStep = true;
    HV_Log(HV_LOG_SYSTEM, "%s", kStartupCompleteText);
    return true;
}
