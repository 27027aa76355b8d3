#include "core/renderer_restart.h"

#include "core/engine_state.h"
#include "core/subsystem_hooks.h"

void HVI_ApplyVideoParameters(HV_VideoParameters& target, const HV_VideoParameters& source)
{
    const char* commandLine = target.commandLine;
    const uint8_t quitRequested = target.quitRequested;
    target = source;
    target.commandLine = commandLine;
    target.quitRequested = quitRequested;
}

bool HVI_RestartRendererWithNewWindow(HVI_EngineState& state)
{
    const HVI_SubsystemHooks& renderer = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER);
    const HVI_SubsystemHooks& platform = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_PLATFORM);
    if (renderer.Shutdown) {
        renderer.Shutdown(state);
    }
    if (platform.Shutdown) {
        platform.Shutdown(state);
    }
    if (platform.Startup && !platform.Startup(state)) {
        return false;
    }
    return !renderer.Startup || renderer.Startup(state);
}
