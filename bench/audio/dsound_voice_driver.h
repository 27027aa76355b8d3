#pragma once

#include <windows.h>

#include <dsound.h>
#include <dsound_output.h>

#include <cstdint>
#include <vector>

// Our DirectSound layer doing the voice-mixing job: one looping secondary
// buffer per voice at its volume and pan, mixed through the pull output.
class DSoundVoiceDriver {
public:
    DSoundVoiceDriver();
    ~DSoundVoiceDriver();
    bool IsReady() const { return m_ready; }
    void Mix(int16_t* frames);  // kBlockFrames stereo frames

private:
    HMODULE m_library = nullptr;
    LPHALVODSOUNDPULLFRAMES m_pull = nullptr;
    IDirectSound* m_sound = nullptr;
    std::vector<IDirectSoundBuffer*> m_buffers;
    bool m_ready = false;
};

// Loads "DSOUND.DLL" from the build's module folder unless HALVO_LIBRARY_PATH says otherwise.
HMODULE LoadDSoundForBench();
