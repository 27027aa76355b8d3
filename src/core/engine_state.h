#pragma once

// The engine state: what the core hands to back ends (renderer, sound) at
// initialisation and when the window changes. Main thread only.

#include <halvo/engine.h>

struct HWND__;
struct tagRECT;
class ImageLoaderImp;

struct HVI_EngineState {
    HV_EngineInterface* engine = nullptr;  // the interface handed to the program
    HWND__* window = nullptr;              // the main window (HWND), null until start-up
    // The platform's window-style setter (HVI_SetWindowStyle), set with the
    // window; the renderer calls it when it switches between windowed and
    // fullscreen.
    void (*setWindowStyle)(HWND__* window, const tagRECT& desktop, int width, int height, bool windowed) = nullptr;
    HV_ProgramInterface* program = nullptr;  // the bound program block
    // 0 when DISABLE_VSYNC is set at pre-initialisation, else 1; later what
    // the graphics table sets.
    int presentInterval = 1;
    ImageLoaderImp* imageLoader = nullptr;
    // The running video parameters; noSound is the copy the audio table reads.
    HV_VideoParameters video = {};
    bool started = false;             // start-up completed
    bool programInitialized = false;  // Init was called on the first frame
};

// The one engine state of the process.
HVI_EngineState& HVI_GetEngineState();
// Puts the state back to its initial values (pre-initialisation, tests).
void HVI_ResetEngineState();
