#include "buffer_mixer.h"

#include <algorithm>
#include <cmath>

#include "gain_laws.h"

namespace {

constexpr uint64_t kOne = uint64_t(1) << 32;

float ReadSample(const BufferVoice& voice, DWORD frame, int side) {
  const int channel = voice.channels == 1 ? 0 : side;
  const uint8_t* at = voice.memory.data() + size_t(frame) * voice.blockAlign;
  if (voice.bitsPerSample == 8) {
    return float((int(at[channel]) - 128) * 256);
  }
  at += channel * 2;
  return float(int16_t(uint16_t(at[0] | (at[1] << 8))));
}

}  // namespace

void BufferMixer::AddVoice(BufferVoice* voice) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_voices.push_back(voice);
}

void BufferMixer::RemoveVoice(BufferVoice* voice) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

DWORD BufferMixer::GetOutputRate() {
  std::lock_guard<std::mutex> hold(m_lock);
  return m_outputRate;
}

void BufferMixer::SetOutputRate(DWORD rate) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_outputRate = rate;
}

void BufferMixer::Mix(SHORT* frames, DWORD frameCount) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_sum.assign(size_t(frameCount) * 2, 0);
  for (BufferVoice* voice : m_voices) {
    if (voice->playing) {
      MixVoice(*voice, frameCount);
    }
  }
  for (size_t i = 0; i < m_sum.size(); ++i) {
    frames[i] = SHORT(std::clamp(m_sum[i], -32768, 32767));
  }
}

void BufferMixer::MixVoice(BufferVoice& voice, DWORD frameCount) {
  const StereoGain gain = GainFromVolumeAndPan(voice.volume, voice.pan);
  const uint64_t step = (uint64_t(voice.frequency) << 32) / m_outputRate;
  const uint64_t end = uint64_t(voice.frameCount) << 32;
  // The cursor always lies within the buffer: it wraps (or the buffer stops)
  // as soon as it reaches the end.
  for (DWORD i = 0; i < frameCount; ++i) {
    const DWORD frame = DWORD(voice.position >> 32);
    const uint32_t fraction = uint32_t(voice.position);
    float left = ReadSample(voice, frame, 0);
    float right = ReadSample(voice, frame, 1);
    if (fraction != 0) {
      // The next frame is read only between frames, so that a buffer played
      // at its own rate never touches memory beyond its play cursor.
      const DWORD next = frame + 1 < voice.frameCount ? frame + 1 : (voice.looping ? 0 : frame);
      const float weight = float(fraction) / float(kOne);
      left += (ReadSample(voice, next, 0) - left) * weight;
      right += (ReadSample(voice, next, 1) - right) * weight;
    }
    m_sum[size_t(i) * 2] += int32_t(std::lrint(left * gain.left));
    m_sum[size_t(i) * 2 + 1] += int32_t(std::lrint(right * gain.right));
    voice.position += step;
    if (voice.position >= end) {
      if (!voice.looping) {
        // A buffer played once stops at its end with its cursor back at the start.
        voice.playing = false;
        voice.position = 0;
        return;
      }
      voice.position %= end;
    }
  }
}
