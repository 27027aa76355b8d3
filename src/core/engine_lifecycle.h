#pragma once

// The engine's life cycle as the process entry drives it: pre-initialisation,
// start-up, one frame at a time, re-initialisation and shutdown.

#include <halvo/program.h>

#include <cstdint>

// Runs pre-initialisation with the process command line; false when it fails
// (the entry then shows the fatal text and ends with a code of its own).
bool HVI_Preinitialize(const char* commandLine);
// Runs start-up; false when it fails (fatal text, exit code 1).
bool HVI_Startup();
// Runs one frame.
void HVI_RunFrame();
// Runs shutdown; ends with the log summary line and deletes the locks.
void HVI_Shutdown();

// The quit flag of the main loop: set by the shutdown signal, a failed
// re-initialisation or a close request the program does not refuse.
bool HVI_IsQuitRequested();
void HVI_RequestQuit();
// HV_EngineInterface.Shutdown and IsShuttingDown.
void HV_Shutdown();
bool HV_IsShuttingDown();

// A close request of the main window: reaches OnEvent at once as a quit
// request; an answer of HV_EVENT_RESULT_KEEP_RUNNING keeps the program running.
// Returns whether the program is to quit.
bool HVI_HandleCloseRequest();
// The main window's activity changed: tells the renderer and queues the event.
void HVI_HandleActivation(bool active);

// Notes new video parameters, announces them with an event, and applies them
// at the start of the next frame.
bool HV_ReinitializeWithParameters(const HV_VideoParameters* parameters);  // any thread

// The frame clock: time in milliseconds and sleeping on the main thread, for
// frame pacing and the wait for program threads at shutdown. A sleep of 0
// lasts until Now moves on to its next millisecond. Tests install their own.
struct HVI_FrameClock {
    uint32_t (*Now)(void* context);
    void (*Sleep)(void* context, uint32_t milliseconds);
    void* context;
};
// Installs a clock; null restores the system clock (timeGetTime, Sleep, and
// a high-resolution waitable timer for the rest of a millisecond).
void HVI_SetFrameClock(const HVI_FrameClock* clock);

// The step of a frame from the milliseconds since the last one: 0 after a
// reset, 1/33 s above 0.2 s, 0.001 s when negative, then truncated to whole
// milliseconds.
float HVI_DetermineFrameTimeDelta(int64_t elapsedMs, bool reset);

// Whether the main window is active (the main loop sleeps 15 ms after each
// frame while it is not).
bool HVI_IsMainWindowActive();
