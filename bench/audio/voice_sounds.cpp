#include "voice_sounds.h"

#include <cmath>

namespace voice_bench {

namespace {

// The platform's laws: an attenuation of v hundredths of a decibel gives 10^(v / 2000);
// a pan attenuates the opposite side only.
float Amplitude(int32_t attenuation) { return float(std::pow(10.0, attenuation / 2000.0)); }

std::vector<VoiceSound> MakeVoices()
{
    std::vector<VoiceSound> voices;
    for (int i = 0; i < kVoices; ++i) {
        VoiceSound voice;
        voice.channels = i < kMonoVoices ? 1 : 2;
        // Between a quarter and three quarters of a second, so that voices loop at different moments.
        const int frames = kRate / 4 + i * 331;
        const double frequency = 110.0 + 17.0 * i;
        for (int f = 0; f < frames; ++f) {
            for (int c = 0; c < voice.channels; ++c) {
                const double phase = 2.0 * M_PI * frequency * (c + 1) * f / kRate;
                voice.samples.push_back(int16_t(std::lrint(9000.0 * std::sin(phase))));
            }
        }
        voice.volume = -(i * 23 % 1500);
        voice.pan = (i * 137 % 4001) - 2000;
        voice.left = Amplitude(voice.volume) * (voice.pan > 0 ? Amplitude(-voice.pan) : 1.0f);
        voice.right = Amplitude(voice.volume) * (voice.pan < 0 ? Amplitude(voice.pan) : 1.0f);
        voices.push_back(std::move(voice));
    }
    return voices;
}

}  // namespace

const std::vector<VoiceSound>& Voices()
{
    static const std::vector<VoiceSound> voices = MakeVoices();
    return voices;
}

}  // namespace voice_bench
