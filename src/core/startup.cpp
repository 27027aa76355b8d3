// Start-up: the window, the renderer, input and sound; the program's Init
// follows on the first frame.
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/features.h"
#include "core/lifecycle_texts.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"

bool HVI_Startup()
{
    HVI_EngineState& state = HVI_GetEngineState();
    const HVI_SubsystemHooks& platform = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_PLATFORM);
    if (platform.Startup && !platform.Startup(state)) {
        return false;
    }
    const HVI_SubsystemHooks& renderer = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER);
    if (renderer.Startup && !renderer.Startup(state)) {
        return false;
    }
    if (const HVI_SubsystemHooks& input = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_INPUT); input.Startup) {
        input.Startup(state);
    }
    const bool soundWanted = !HV_HasFeature("NO_SOUND") && !state.video.noSound;
    if (const HVI_SubsystemHooks& sound = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND); sound.Startup && soundWanted) {
        sound.Startup(state);
    }
    if (const HVI_SubsystemHooks& extensions = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS); extensions.Startup) {
        extensions.Startup(state);
    }
    state.started = true;
    HVI_GetRunState().resetStep = true;
    HV_Log(HV_LOG_SYSTEM, "%s", kStartupCompleteText);
    return true;
}
