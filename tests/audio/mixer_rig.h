#pragma once

#include <windows.h>

#include <vector>

#include "audio/mixer/mixer_interface.h"

// The frames of our DirectSound layer's pull output, taken one block at a
// time with a mixer step after every block, as the mixer thread would run
// while a device plays.
class PulledOutput {
public:
    PulledOutput();
    ~PulledOutput();
    // Interleaved stereo frames at 44100 Hz.
    std::vector<SHORT> Pull(DWORD frames);

private:
    HMODULE m_library = nullptr;
    DWORD(WINAPI* m_pull)(SHORT*, DWORD) = nullptr;
};

// The mixer initialised over our DirectSound layer with the pull output, so
// that a test hears exactly the frames it pulls.
class MixerRig {
public:
    MixerRig();
    ~MixerRig();
    const HV_MixerInterface& mixer() const { return *HVI_GetMixerInterface(); }
    std::vector<SHORT> Pull(DWORD frames) { return m_output.Pull(frames); }

private:
    PulledOutput m_output;
};

// A window handle for the mixer's cooperative level.
HWND TestWindow();
