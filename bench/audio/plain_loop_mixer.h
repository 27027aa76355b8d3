#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "voice_sounds.h"

// The reference a mixer is measured against: each voice's int16 samples times
// a 16.16 gain per side summed into int32, then clipped to int16. No
// resampling, no interpolation, no locking.
class PlainLoopMixer {
public:
    PlainLoopMixer();
    void Mix(int16_t* frames);  // kBlockFrames stereo frames

private:
    struct Voice {
        const voice_bench::VoiceSound* sound;
        int32_t left;
        int32_t right;
        size_t position;  // in frames
    };
    std::vector<Voice> m_voices;
    std::vector<int32_t> m_sum;
};
