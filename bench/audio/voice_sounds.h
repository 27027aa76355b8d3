#pragma once

#include <cstdint>
#include <vector>

// The job every voice-mixing benchmark does: 64 looping in-memory voices,
// 40 mono and 24 stereo, each at its own volume and pan, 16-bit at 44100 Hz,
// mixed into 16-bit stereo blocks of kBlockFrames frames.
namespace voice_bench {

constexpr int kRate = 44100;
constexpr int kBlockFrames = 1024;
constexpr int kMonoVoices = 40;
constexpr int kStereoVoices = 24;
constexpr int kVoices = kMonoVoices + kStereoVoices;

struct VoiceSound {
    int channels;
    std::vector<int16_t> samples;  // interleaved when stereo; lengths differ from voice to voice
    int32_t volume;                // hundredths of a decibel, 0 to -1500
    int32_t pan;                   // hundredths of a decibel, -2000 to 2000
    float left;                    // the amplitudes those give each side
    float right;
};

// The 64 voices, the same on every call.
const std::vector<VoiceSound>& Voices();

}  // namespace voice_bench
