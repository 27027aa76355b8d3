#pragma once

#include <windows.h>

#include <vector>

#include "audio/mixer/mixer_interface.h"

// The mixer initialised over our DirectSound layer with the pull output, so
// that a test hears exactly the frames it pulls. Pulling runs a mixer step
// after every block, as the mixer thread would while a device plays.
class MixerRig {
public:
    MixerRig();
    ~MixerRig();
    bool initialised() const { return m_initialised; }
    const HV_MixerInterface& mixer() const { return *HVI_GetMixerInterface(); }
    // Interleaved stereo frames at 44100 Hz.
    std::vector<SHORT> Pull(DWORD frames);

private:
    HMODULE m_library = nullptr;
    DWORD(WINAPI* m_pull)(SHORT*, DWORD) = nullptr;
    bool m_initialised = false;
};

// A window handle for the mixer's cooperative level.
HWND TestWindow();
