#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include <windows.h>

// One secondary buffer as the mixer sees it. Every member is guarded by the
// lock of the BufferMixer it belongs to, except the bytes of `memory`, which
// the application writes between Lock and Unlock (both of which take that
// lock, so that its writes are ordered against the mixer's reads).
struct BufferVoice {
    std::vector<uint8_t> memory;  // sized at creation, never resized
    WORD channels = 0;
    WORD bitsPerSample = 0;
    WORD blockAlign = 0;
    DWORD frameCount = 0;
    DWORD originalFrequency = 0;
    DWORD frequency = 0;
    LONG volume = 0;
    LONG pan = 0;
    bool playing = false;
    bool looping = false;
    uint64_t position = 0;  // the play cursor in frames, 32.32 fixed point
    // The gains of each side in 16.16 fixed point, worked out by the mixer for
    // the volume and pan named here (1 is no volume, so the first mix works them out).
    LONG gainVolume = 1;
    LONG gainPan = 0;
    int32_t gainLeft = 0;
    int32_t gainRight = 0;
};

// Mixes the playing buffers of one sound object into 16-bit stereo frames at
// the output rate: each buffer is resampled from its frequency by linear
// interpolation, scaled by its volume and pan, summed in 32 bits and clipped.
// All of it is integer arithmetic: samples times 16.16 gains, positions in
// 32.32. A buffer at the output rate is mixed in straight runs that the
// compiler vectorises; a lone buffer is written straight into the frames.
class BufferMixer {
public:
    explicit BufferMixer(DWORD outputRate) : m_outputRate(outputRate) {}

    std::mutex& GetLock() { return m_lock; }

    // Both take the lock.
    void AddVoice(BufferVoice* voice);
    void RemoveVoice(BufferVoice* voice);

    DWORD GetOutputRate();
    void SetOutputRate(DWORD rate);

    // Writes `frameCount` interleaved stereo frames and advances the play
    // cursors of the playing buffers; takes the lock.
    void Mix(SHORT* frames, DWORD frameCount);

private:
    std::mutex m_lock;
    std::vector<BufferVoice*> m_voices;  // guarded by m_lock
    DWORD m_outputRate;                  // guarded by m_lock
    std::vector<int32_t> m_sum;          // guarded by m_lock
};
