#pragma once

#include <cstdint>

#include <windows.h>

// The mixer table's Init, Shutdown and SetWindow (see mixer_interface.h).
// Init fails, with everything it created released again, when DirectSound
// cannot be loaded or set up; a mixer already initialised is shut down first.
bool HVI_MixerInit(int32_t outputRate, int32_t voiceCount, HWND window, int32_t reserved);
// Stops and joins the mixer thread, ends every voice (closing its decoder)
// and releases the buffers, DirectSound and its library.
void HVI_MixerShutdown();
void HVI_MixerSetWindow(HWND window);
