// What the engine does when the main window asks to close or changes activity.
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/events.h"
#include "core/subsystem_hooks.h"

bool HVI_HandleCloseRequest()
{
    HV_ProgramInterface* program = HVI_GetEngineState().program;
    if (program && program->OnEvent) {
        HV_Event event;
        HV_InitializeEvent(&event, HV_EVENT_QUIT_REQUEST);
        if (program->OnEvent(&event) == HV_EVENT_RESULT_KEEP_RUNNING) {
            return false;
        }
    }
    HVI_RequestQuit();
    return true;
}

void HVI_HandleActivation(bool active)
{
    HVI_EngineRunState& run = HVI_GetRunState();
    HVI_EngineState& state = HVI_GetEngineState();
    run.active = active;
    if (const HVI_SubsystemHooks& renderer = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER); renderer.SetActive) {
        renderer.SetActive(state, active);
    }
    HV_Event event;
    HV_InitializeEvent(&event, HV_EVENT_WINDOW_ACTIVATION);
    event.activation.active = active ? 1 : 0;
    HVI_QueueEvent(&event);
}

bool HVI_IsMainWindowActive() { return HVI_GetRunState().active; }
