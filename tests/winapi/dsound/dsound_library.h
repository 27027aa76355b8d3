#pragma once

#include <dsound.h>
#include <dsound_output.h>

#include <string>
#include <vector>

// The DirectSound library as the engine reaches it: "DSOUND.DLL" loaded
// through the kernel layer, its entry points found by name. The output is
// chosen through HALVO_AUDIO_OUTPUT before each sound object is created.
class DSoundLibrary {
public:
    DSoundLibrary();
    ~DSoundLibrary();

    // A sound object with the given output setting and the priority level set; null on failure.
    IDirectSound* CreateSoundObject(const char* output);
    // A secondary buffer of 16-bit PCM with frequency, pan and volume control.
    IDirectSoundBuffer* CreateBuffer(IDirectSound* sound, WORD channels, DWORD rate, DWORD bytes);

    std::vector<SHORT> Pull(DWORD frames);
    const char* OutputName() const { return m_outputName(); }

    LPDIRECTSOUNDCREATE create = nullptr;

private:
    HMODULE m_module = nullptr;
    LPHALVODSOUNDPULLFRAMES m_pull = nullptr;
    LPHALVODSOUNDGETOUTPUTNAME m_outputName = nullptr;
};

// A window handle for SetCooperativeLevel; our layer only requires it to be set.
HWND TestWindow();

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate);

// Writes 16-bit samples into the buffer at the offset through Lock and Unlock.
void WriteSamples(IDirectSoundBuffer* buffer, DWORD offset, const std::vector<SHORT>& samples);
