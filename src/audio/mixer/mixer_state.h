#pragma once

#include <cstdint>

#include <dsound.h>

#include "audio/decoders/sample_frames.h"
#include "foundation/lock_scope.h"

struct HV_MixerSample;

constexpr int HV_MIXER_MAX_VOICES = 256;
// The last voices of the table are stereo, all earlier ones mono.
constexpr int HV_MIXER_STEREO_VOICES = 24;

// One voice: a DirectSound buffer refilled half by half from its sample.
struct HV_MixerVoice {
    uint32_t id;                 // 0 = free
    int32_t channels;            // 1 or 2, fixed when the buffer is made
    IDirectSoundBuffer* buffer;  // null when its creation failed: never used
    int32_t bufferBytes;
    int32_t nextHalf;     // the half to fill next: 0 first, 1 second
    int32_t silenceFrom;  // buffer offset of the silence written after the sample's end, -1 for none
    DWORD lastPlayCursor;
    bool playing;
    HV_MixerSample* sample;
    bool loop;
    bool paused;
    float volume;
    float pan;
    float pitch;
    float fadeRate;  // volume per second, 0 = no fade
    float fadeTarget;
    // The volume still to go before the fade reaches its target, counted down
    // step by step: the two voices of a cross-fade start the same distance from
    // their targets and so reach them on the same step, whatever the rounding.
    float fadeLeft;
    int64_t bytesLeft;  // -1 = endless
    int64_t bytesPlayed;
    HV_SampleCursor cursor;  // where the voice reads its sample
};

// The mixer. Every member is guarded by `lock` (a critical section, which the
// owning thread may enter again), except where said otherwise. The lock lives
// as long as the process, so that no call can meet it deleted.
struct HV_MixerState {
    CRITICAL_SECTION lock;
    bool initialised;
    bool running;
    int32_t requestedVoiceCount;
    int32_t voiceCount;
    int32_t outputRate;
    int32_t bitsPerSample;
    int32_t primaryChannels;
    int32_t bytesPerBuffer;
    float masterVolume;
    int32_t voicesPlaying;
    HMODULE library;  // main thread only
    IDirectSound* directSound;
    IDirectSoundBuffer* keepAlive;
    HANDLE thread;       // main thread only
    volatile LONG stop;  // set by Shutdown, read by the mixer thread (interlocked)
    uint32_t lastVoiceId;
    DWORD lastStepTime;
    bool stepTimeKnown;
    int32_t reserved;            // Init's fourth argument, kept
    int32_t playListStartIndex;  // the entry a play list starts at: 0 except inside SwitchSegment
    HV_MixerVoice voices[HV_MIXER_MAX_VOICES];
};

// The one mixer of the process.
HV_MixerState& HVI_GetMixerState();

// Takes and leaves the mixer lock.
void HVI_EnterMixerLock();
void HVI_LeaveMixerLock();
using HVI_MixerLockScope = LockScope<HVI_EnterMixerLock, HVI_LeaveMixerLock>;

// Reports a failed DirectSound call of the step ("CreateSoundBuffer") as the
// mixer's trace line "VELT DirectSound error: '<step>: <text>'".
void HVI_TraceDirectSoundError(const char* step, HRESULT result);

// Voice operations used across the mixer's files; all are called with the lock held.
HV_MixerVoice* HVI_FindMixerVoice(int32_t id);
void HVI_FillMixerVoice(HV_MixerVoice& voice);
// A voice that has just begun to loop: the silence written after the end of
// its sample and not yet played becomes the sample again, from its start.
void HVI_RepeatMixerVoiceIntoItsSilence(HV_MixerVoice& voice);
void HVI_EndMixerVoice(HV_MixerVoice& voice);
void HVI_ApplyMixerVoiceVolume(HV_MixerVoice& voice);
