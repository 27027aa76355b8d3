#pragma once

// The engine's main window: created at start-up with the program's client
// size, re-created by a full re-initialisation, destroyed at shutdown.

#include <windows.h>

struct HVI_EngineState;

// Registers "HalvoWindowClass" once and creates the window with the program
// block's client size and mode; stores it in the engine state.
bool HVI_CreateMainWindow(HVI_EngineState& state);
// Destroys the window of the engine state, if any.
void HVI_DestroyMainWindow(HVI_EngineState& state);

// Sets the style and extended style for the mode, then moves and shows the
// window: at the rectangle's top-left corner in fullscreen, centred in it
// when windowed (the outer size derived from the client size). In developer
// mode the window also accepts dropped files.
void HVI_SetWindowStyle(HWND window, const RECT& desktop, int width, int height, bool windowed);
