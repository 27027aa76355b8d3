// One frame of the main loop: pacing, the time step, the subsystems' updates,
// the program's callbacks and the renderer's frame.
#include <cmath>

#include "core/engine_locks.h"
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/events.h"
#include "core/lifecycle_texts.h"
#include "core/main_thread_tasks.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"

namespace {

void WaitForFrameTime(HVI_EngineRunState& run, int frameTimeMs)
{
    if (frameTimeMs <= 0 || !run.frameClockStarted) {
        return;
    }
    for (;;) {
        const int64_t passed = static_cast<int32_t>(HVI_FrameClockNow() - run.lastFrameMs);
        const int64_t remaining = frameTimeMs - passed;
        if (remaining <= 0) {
            return;
        }
        // Sleeps are too coarse for the last milliseconds: those are waited
        // out one clock tick at a time.
        HVI_FrameClockSleep(remaining > kPacingSleepAboveMs ? 1 : 0);
    }
}

float DetermineStep(HVI_EngineRunState& run)
{
    const uint32_t now = HVI_FrameClockNow();
    const int64_t elapsed = static_cast<int32_t>(now - run.lastFrameMs);
    const bool reset = run.resetStep || !run.frameClockStarted;
    run.lastFrameMs = now;
    run.frameClockStarted = true;
    run.resetStep = false;
    return HVI_DetermineFrameTimeDelta(elapsed, reset);
}

void DeliverToProgram(void* context, HV_Event* event)
{
    HV_ProgramInterface* program = static_cast<HV_ProgramInterface*>(context);
    if (program && program->OnEvent) {
        program->OnEvent(event);
    }
}

void UpdateSubsystems(HVI_EngineState& state, float& step)
{
    const HVI_SubsystemHooks& input = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_INPUT);
    const HVI_SubsystemHooks& sound = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND);
    const HVI_SubsystemHooks& extensions = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_EXTENSIONS);
    if (input.UpdateFrame) {
        input.UpdateFrame(state, step);
    }
    if (sound.UpdateFrame) {
        sound.UpdateFrame(state, step);
    }
    if (extensions.ShouldPauseGame && extensions.ShouldPauseGame(state)) {
        step = 0.0f;
    }
    if (extensions.UpdateFrame) {
        extensions.UpdateFrame(state, step);
    }
}

}  // namespace

float HVI_DetermineFrameTimeDelta(int64_t elapsedMs, bool reset)
{
    if (reset) {
        return 0.0f;
    }
    double step = static_cast<double>(elapsedMs) / 1000.0;
    if (step > kLongFrameMs / 1000.0) {
        step = kLongFrameStep;
    } else if (step < 0.0) {
        step = kNegativeFrameStep;
    }
    return static_cast<float>(std::floor(step * 1000.0 + 1e-9) / 1000.0);
}

void HVI_RunFrame()
{
    HVI_EngineRunState& run = HVI_GetRunState();
    HVI_EngineState& state = HVI_GetEngineState();
    HV_ProgramInterface* program = state.program;

    WaitForFrameTime(run, program ? program->video.frameTimeMs : 0);
    float step = DetermineStep(run);

    HVI_EnterEngineLock("MAIN_LOOP");
    UpdateSubsystems(state, step);
    HVI_ApplyPendingReinitialization();

    const HVI_SubsystemHooks& renderer = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER);
    const bool canDraw = renderer.BeginFrame ? renderer.BeginFrame(state) : true;
    if (program && !state.programInitialized) {
        state.programInitialized = true;
        if (program->Init && !program->Init()) {
            HV_Popup(HV_LOG_ERROR, "%s", kProgramInitializationFailedText);
        }
    }
    HVI_DeliverQueuedEvents(DeliverToProgram, program);
    if (program && program->Update && step > 0.0f) {
        program->Update(step);
    }
    if (program && program->Draw && canDraw) {
        program->Draw(step);
    }
    if (renderer.RunResourceQueues) {
        renderer.RunResourceQueues(state);
    }
    for (HVI_SubsystemRole role : {HVI_SUBSYSTEM_RENDERER, HVI_SUBSYSTEM_INPUT, HVI_SUBSYSTEM_SOUND,
                                   HVI_SUBSYSTEM_EXTENSIONS, HVI_SUBSYSTEM_PLATFORM}) {
        if (const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(role); hooks.LateFrame) {
            hooks.LateFrame(state);
        }
    }
    if (renderer.EndFrame) {
        renderer.EndFrame(state);
    }
    if (program && program->video.quitRequested) {
        HVI_RequestQuit();
    }
    // Other threads get MAIN_LOOP for a moment between frames.
    HVI_LeaveEngineLock("MAIN_LOOP");
    HVI_FrameClockSleep(kEndOfFrameSleepMs);
    HVI_EnterEngineLock("MAIN_LOOP");
    HVI_RunMainThreadTasks();
    HVI_LeaveEngineLock("MAIN_LOOP");
    HVI_ShowQueuedPopups();
}
