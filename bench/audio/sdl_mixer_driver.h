#pragma once

#include <cstdint>

// SDL2_mixer doing the voice-mixing job, driven through its own mixing
// callback one block at a time instead of by an audio device.
class SdlMixerDriver {
public:
    SdlMixerDriver();
    ~SdlMixerDriver();
    bool IsReady() const { return m_ready; }
    void Mix(int16_t* frames);  // kBlockFrames stereo frames

private:
    bool m_ready = false;
};
