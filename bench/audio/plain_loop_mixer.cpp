#include "plain_loop_mixer.h"

#include <algorithm>
#include <cmath>

using namespace voice_bench;

PlainLoopMixer::PlainLoopMixer() : m_sum(size_t(kBlockFrames) * 2)
{
    for (const VoiceSound& sound : Voices()) {
        m_voices.push_back(
            {&sound, int32_t(std::lrint(sound.left * 65536.0f)), int32_t(std::lrint(sound.right * 65536.0f)), 0});
    }
}

void PlainLoopMixer::Mix(int16_t* frames)
{
    std::fill(m_sum.begin(), m_sum.end(), 0);
    for (Voice& voice : m_voices) {
        const int16_t* samples = voice.sound->samples.data();
        const size_t length = voice.sound->samples.size() / size_t(voice.sound->channels);
        for (size_t done = 0; done < size_t(kBlockFrames);) {
            const size_t count = std::min(size_t(kBlockFrames) - done, length - voice.position);
            int32_t* out = m_sum.data() + done * 2;
            if (voice.sound->channels == 1) {
                const int16_t* in = samples + voice.position;
                for (size_t i = 0; i < count; ++i) {
                    out[2 * i] += (in[i] * voice.left) >> 16;
                    out[2 * i + 1] += (in[i] * voice.right) >> 16;
                }
            } else {
                const int16_t* in = samples + voice.position * 2;
                for (size_t i = 0; i < count; ++i) {
                    out[2 * i] += (in[2 * i] * voice.left) >> 16;
                    out[2 * i + 1] += (in[2 * i + 1] * voice.right) >> 16;
                }
            }
            done += count;
            voice.position = (voice.position + count) % length;
        }
    }
    for (size_t i = 0; i < m_sum.size(); ++i) {
        frames[i] = int16_t(std::clamp(m_sum[i], -32768, 32767));
    }
}
