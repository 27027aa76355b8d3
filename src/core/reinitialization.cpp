// Changing the video parameters: noted when asked, announced to the program
// as an event, and applied at the start of the next frame.
#include <cstring>

#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/events.h"
#include "core/lifecycle_texts.h"
#include "core/logging.h"
#include "core/renderer_restart.h"
#include "core/subsystem_hooks.h"
#include "foundation/critical_section.h"

namespace {

// A request may come from any thread; the main thread applies it.
struct PendingRequest {
    CriticalSection lock;
    bool pending = false;           // guarded by lock
    HV_VideoParameters video = {};  // guarded by lock
};

PendingRequest& Pending()
{
    static PendingRequest request;
    return request;
}

// Takes the request out; false when there is none.
bool TakePending(HV_VideoParameters& video)
{
    PendingRequest& request = Pending();
    CriticalSectionScope scope(request.lock);
    if (!request.pending) {
        return false;
    }
    request.pending = false;
    video = request.video;
    return true;
}

}  // namespace

bool HV_ReinitializeWithParameters(const HV_VideoParameters* parameters)
{
    if (!parameters) {
        HV_Log(HV_LOG_ERROR, "HV_ReinitializeWithParameters: parameters are null.");
        return false;
    }
    if (parameters->width <= 0 || parameters->height <= 0 || parameters->displayIndex < 0) {
        HV_Log(HV_LOG_ERROR, "HV_ReinitializeWithParameters: invalid size %dx%d or display %d.", parameters->width,
               parameters->height, parameters->displayIndex);
        return false;
    }
    {
        PendingRequest& request = Pending();
        CriticalSectionScope scope(request.lock);
        request.video = *parameters;
        request.pending = true;
    }
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_VIDEO_REINITIALIZATION);
    event.video.width = parameters->width;
    event.video.height = parameters->height;
    event.video.displayIndex = parameters->displayIndex;
    event.video.windowed = parameters->windowed;
    HVI_QueueEvent(&event);
    return true;
}

void HVI_CancelPendingReinitialization()
{
    HV_VideoParameters ignored;
    TakePending(ignored);
}

void HVI_ApplyPendingReinitialization()
{
    HV_VideoParameters requested;
    if (!TakePending(requested)) {
        return;
    }
    HVI_EngineState& state = HVI_GetEngineState();
    HVI_GetRunState().resetStep = true;
    if (!state.program) {
        return;
    }
    const HV_VideoParameters previous = state.program->video;
    HVI_ApplyVideoParameters(state.program->video, requested);
    state.video = state.program->video;

    const HVI_SubsystemHooks& renderer = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER);
    bool windowRecreated = false;
    if (renderer.QuickReinitialize && !renderer.QuickReinitialize(state, requested)) {
        windowRecreated = true;
        if (!HVI_RestartRendererWithNewWindow(state)) {
            HVI_ApplyVideoParameters(state.program->video, previous);
            state.video = state.program->video;
            if (!HVI_RestartRendererWithNewWindow(state)) {
                HV_Popup(HV_LOG_ERROR, "%s", kReinitializationFailedText);
                HVI_RequestQuit();
                return;
            }
        }
    }
    for (HVI_SubsystemRole role : {HVI_SUBSYSTEM_INPUT, HVI_SUBSYSTEM_SOUND}) {
        if (const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(role); hooks.Reinitialize) {
            hooks.Reinitialize(state, windowRecreated);
        }
    }
}
