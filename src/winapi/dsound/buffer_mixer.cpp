#include "buffer_mixer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "gain_laws.h"

namespace {

static_assert(std::endian::native == std::endian::little, "buffers hold little-endian samples");

constexpr uint64_t kOne = uint64_t(1) << 32;
constexpr int kGainBits = 16;
constexpr int32_t kGainHalf = 1 << (kGainBits - 1);
// Interpolation weights keep 15 bits, so that a difference of two samples times a weight fits 32 bits.
constexpr int kWeightBits = 15;

// A sample times a 16.16 gain of at most 1, rounded: it stays within 16 bits.
inline int32_t Scale(int32_t sample, int32_t gain) { return (sample * gain + kGainHalf) >> kGainBits; }

inline int32_t Load16(const uint8_t* at)
{
    int16_t sample;
    memcpy(&sample, at, sizeof(sample));
    return sample;
}

// Where mixed samples go: added to the 32-bit sums, or, for a lone buffer,
// stored as the output frames themselves.
struct AddTo {
    int32_t* out;
    void Put(size_t index, int32_t value) const { out[index] += value; }
};
struct StoreTo {
    SHORT* out;
    void Put(size_t index, int32_t value) const { out[index] = SHORT(value); }
};

// The straight runs: a 16-bit buffer at the output rate, `count` frames from
// `in` to frames `first`.. of the sink.
template <class Sink>
void MixMonoRun(const uint8_t* __restrict in, Sink sink, size_t first, size_t count, int32_t left, int32_t right)
{
    for (size_t i = 0; i < count; ++i) {
        const int32_t sample = Load16(in + 2 * i);
        sink.Put(2 * (first + i), Scale(sample, left));
        sink.Put(2 * (first + i) + 1, Scale(sample, right));
    }
}

template <class Sink>
void MixStereoRun(const uint8_t* __restrict in, Sink sink, size_t first, size_t count, int32_t left, int32_t right)
{
    for (size_t i = 0; i < count; ++i) {
        sink.Put(2 * (first + i), Scale(Load16(in + 4 * i), left));
        sink.Put(2 * (first + i) + 1, Scale(Load16(in + 4 * i + 2), right));
    }
}

// One side of one frame of any buffer format, as a 16-bit value.
int32_t ReadSample(const BufferVoice& voice, DWORD frame, int side)
{
    const int channel = voice.channels == 1 ? 0 : side;
    const uint8_t* at = voice.memory.data() + size_t(frame) * voice.blockAlign;
    if (voice.bitsPerSample == 8) {
        return (int32_t(at[channel]) - 128) * 256;
    }
    return Load16(at + channel * 2);
}

void UpdateGains(BufferVoice& voice)
{
    if (voice.gainVolume == voice.volume && voice.gainPan == voice.pan) {
        return;
    }
    const StereoGain gain = GainFromVolumeAndPan(voice.volume, voice.pan);
    voice.gainLeft = int32_t(std::lrint(gain.left * float(1 << kGainBits)));
    voice.gainRight = int32_t(std::lrint(gain.right * float(1 << kGainBits)));
    voice.gainVolume = voice.volume;
    voice.gainPan = voice.pan;
}

// Moves the cursor over the buffer's end: back to the start, or, played once,
// to a stop at the start. False when the buffer stopped.
bool PassEnd(BufferVoice& voice, uint64_t end)
{
    if (voice.position < end) {
        return true;
    }
    if (!voice.looping) {
        voice.playing = false;
        voice.position = 0;
        return false;
    }
    voice.position %= end;
    return true;
}

// Any rate and format: one frame at a time, interpolating between frames.
template <class Sink>
DWORD MixResampled(BufferVoice& voice, Sink sink, DWORD frameCount, uint64_t step)
{
    const uint64_t end = uint64_t(voice.frameCount) << 32;
    for (DWORD i = 0; i < frameCount; ++i) {
        const DWORD frame = DWORD(voice.position >> 32);
        const uint32_t fraction = uint32_t(voice.position);
        int32_t left = ReadSample(voice, frame, 0);
        int32_t right = ReadSample(voice, frame, 1);
        if (fraction != 0) {
            // The next frame is read only between frames, so that a buffer played
            // at its own rate never touches memory beyond its play cursor.
            const DWORD next = frame + 1 < voice.frameCount ? frame + 1 : (voice.looping ? 0 : frame);
            const int32_t weight = int32_t(fraction >> (32 - kWeightBits));
            left += ((ReadSample(voice, next, 0) - left) * weight) >> kWeightBits;
            right += ((ReadSample(voice, next, 1) - right) * weight) >> kWeightBits;
        }
        sink.Put(size_t(i) * 2, Scale(left, voice.gainLeft));
        sink.Put(size_t(i) * 2 + 1, Scale(right, voice.gainRight));
        voice.position += step;
        if (!PassEnd(voice, end)) {
            return i + 1;
        }
    }
    return frameCount;
}

// Mixes up to `frameCount` frames of the voice into the sink; returns how many
// it mixed (fewer when a buffer played once came to its end).
template <class Sink>
DWORD MixVoice(BufferVoice& voice, Sink sink, DWORD frameCount, DWORD outputRate)
{
    UpdateGains(voice);
    const uint64_t step = (uint64_t(voice.frequency) << 32) / outputRate;
    if (step != kOne || uint32_t(voice.position) != 0 || voice.bitsPerSample != 16) {
        return MixResampled(voice, sink, frameCount, step);
    }
    const uint64_t end = uint64_t(voice.frameCount) << 32;
    DWORD done = 0;
    while (done < frameCount) {
        const DWORD frame = DWORD(voice.position >> 32);
        const DWORD count = std::min(frameCount - done, voice.frameCount - frame);
        const uint8_t* in = voice.memory.data() + size_t(frame) * voice.blockAlign;
        if (voice.channels == 1) {
            MixMonoRun(in, sink, done, count, voice.gainLeft, voice.gainRight);
        } else {
            MixStereoRun(in, sink, done, count, voice.gainLeft, voice.gainRight);
        }
        done += count;
        voice.position += uint64_t(count) << 32;
        if (!PassEnd(voice, end)) {
            break;
        }
    }
    return done;
}

}  // namespace

void BufferMixer::AddVoice(BufferVoice* voice)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_voices.push_back(voice);
}

void BufferMixer::RemoveVoice(BufferVoice* voice)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

DWORD BufferMixer::GetOutputRate()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_outputRate;
}

void BufferMixer::SetOutputRate(DWORD rate)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_outputRate = rate;
}

void BufferMixer::Mix(SHORT* frames, DWORD frameCount)
{
    std::lock_guard<std::mutex> hold(m_lock);
    const size_t samples = size_t(frameCount) * 2;
    BufferVoice* lone = nullptr;
    size_t playing = 0;
    for (BufferVoice* voice : m_voices) {
        if (voice->playing) {
            lone = voice;
            ++playing;
        }
    }
    if (playing == 1) {
        // One buffer alone cannot leave the 16-bit range: no sums, no clipping.
        const DWORD mixed = MixVoice(*lone, StoreTo{frames}, frameCount, m_outputRate);
        std::fill(frames + size_t(mixed) * 2, frames + samples, SHORT(0));
        return;
    }
    if (playing == 0) {
        std::fill(frames, frames + samples, SHORT(0));
        return;
    }
    m_sum.assign(samples, 0);
    for (BufferVoice* voice : m_voices) {
        if (voice->playing) {
            MixVoice(*voice, AddTo{m_sum.data()}, frameCount, m_outputRate);
        }
    }
    const int32_t* sum = m_sum.data();
    for (size_t i = 0; i < samples; ++i) {
        frames[i] = SHORT(std::clamp(sum[i], -32768, 32767));
    }
}
