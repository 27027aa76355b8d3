#pragma once

// Bringing the renderer up again on a new window, shared by start-up (a
// renderer that failed to initialise) and re-initialisation (one that could
// not change its mode in place). Main thread.

#include <halvo/program.h>

struct HVI_EngineState;

// Copies the video parameters a re-initialisation may change; the command
// line and the quit flag stay the engine's.
void HVI_ApplyVideoParameters(HV_VideoParameters& target, const HV_VideoParameters& source);

// Shuts the renderer down, destroys and re-creates the main window and starts
// the renderer again with the program block's video parameters; false when
// the window or the renderer did not come up.
bool HVI_RestartRendererWithNewWindow(HVI_EngineState& state);
