// Voices: starting, ending and the setters and getters of the mixer table.
// Every voice is looked up and changed with the mixer lock held, so that a
// voice the mixer thread has just ended cannot be changed under its old id.
#include "audio/mixer/mixer_voices.h"

#include <algorithm>
#include <cstdint>

#include "audio/decoders/mixer_sample.h"
#include "audio/mixer/mixer_interface.h"
#include "audio/mixer/mixer_state.h"
#include "audio/mixer/segment_transitions.h"
#include "audio/mixer/volume_curves.h"
#include "foundation/engine_log.h"

namespace {

// The rates a voice plays at; the platform takes up to DSBFREQUENCY_MAX.
constexpr float kMinVoiceFrequency = 100.0f;
constexpr float kMaxVoiceFrequency = 100000.0f;
// Below this a voice counts as silent: there is nothing to fade.
constexpr float kAudibleVolume = 0.001f;

DWORD VoiceFrequency(const HV_MixerVoice& voice)
{
    // A play list without a rate of its own plays at the output rate.
    const int32_t rate = voice.sample->sampleRate > 0 ? voice.sample->sampleRate : HVI_GetMixerState().outputRate;
    return DWORD(std::clamp(float(rate) * voice.pitch, kMinVoiceFrequency, kMaxVoiceFrequency));
}

float EffectiveVolume(const HV_MixerVoice& voice)
{
    return std::clamp(HVI_GetMixerState().masterVolume * voice.volume, 0.0f, 1.0f);
}

// Runs the operation on the voice with that id, or on every voice in use for -1.
template <class Operation>
void ForVoices(int32_t id, Operation operation)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    if (!mixer.initialised) {
        return;
    }
    if (id != HV_MIXER_ALL_VOICES) {
        if (HV_MixerVoice* voice = HVI_FindMixerVoice(id)) {
            operation(*voice);
        }
        return;
    }
    for (int i = 0; i < mixer.voiceCount; ++i) {
        if (mixer.voices[i].id != 0) {
            operation(mixer.voices[i]);
        }
    }
}

// Reads a value of one voice; `none` when the mixer is down or there is no such voice.
template <class Result, class Reader>
Result ReadVoice(int32_t id, Result none, Reader reader)
{
    HVI_MixerLockScope hold;
    if (!HVI_GetMixerState().initialised) {
        return none;
    }
    const HV_MixerVoice* voice = HVI_FindMixerVoice(id);
    return voice ? reader(*voice) : none;
}

// Starts a fade towards the target at the rate (volume per second), or
// resumes it from a volume set meanwhile; a volume already at or past the
// target ends the fade on the next step.
void StartFade(HV_MixerVoice& voice, float target, float rate)
{
    voice.fadeTarget = target;
    voice.fadeRate = rate;
    voice.fadeLeft = rate > 0.0f ? target - voice.volume : voice.volume - target;
}

void SetLooping(HV_MixerVoice& voice, bool loop)
{
    if (voice.loop == loop) {
        return;
    }
    voice.loop = loop;
    if (voice.sample->kind == HV_MIXER_SAMPLE_PLAY_LIST) {
        return;  // a play list plays on regardless
    }
    if (loop) {
        voice.bytesLeft = -1;
        HVI_RepeatMixerVoiceIntoItsSilence(voice);
        return;
    }
    // What is left of the current pass.
    const int64_t pass = HVI_GetMixerSamplePcmBytes(voice.sample);
    voice.bytesLeft = pass > 0 ? pass - voice.bytesPlayed % pass : 0;
}

}  // namespace

HV_MixerVoice* HVI_FindMixerVoice(int32_t id)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    if (id <= 0) {
        return nullptr;
    }
    for (int i = 0; i < mixer.voiceCount; ++i) {
        if (mixer.voices[i].id == uint32_t(id)) {
            return &mixer.voices[i];
        }
    }
    return nullptr;
}

void HVI_ApplyMixerVoiceVolume(HV_MixerVoice& voice)
{
    voice.buffer->SetVolume(HVI_AttenuationFromVolume(EffectiveVolume(voice)));
}

void HVI_ApplyMixerVoiceFadeVolume(HV_MixerVoice& voice)
{
    voice.buffer->SetVolume(HVI_FadeAttenuationFromVolume(EffectiveVolume(voice)));
}

void HVI_EndMixerVoice(HV_MixerVoice& voice)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    HVI_CloseSampleCursor(voice.cursor);
    if (voice.sample) {
        --voice.sample->useCount;
    }
    if (voice.playing) {
        voice.playing = false;
        --mixer.voicesPlaying;
        if (mixer.voicesPlaying == 0 && mixer.keepAlive) {
            mixer.keepAlive->Play(0, 0, DSBPLAY_LOOPING);
        }
    }
    if (voice.buffer) {
        voice.buffer->Stop();
    }
    voice.id = 0;
    voice.sample = nullptr;
    voice.cursor.entry = nullptr;
}

uint32_t HVI_MixerPlay(HV_MixerSample* sample, float volume, float pan, float pitch, bool loop)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    if (!mixer.initialised || !sample) {
        return 0;
    }
    HV_MixerVoice* voice = nullptr;
    for (int i = 0; i < mixer.voiceCount && !voice; ++i) {
        HV_MixerVoice& candidate = mixer.voices[i];
        if (candidate.id == 0 && candidate.buffer && candidate.channels == sample->channels) {
            voice = &candidate;
        }
    }
    if (!voice) {
        HVI_Log(HV_LOG_INFO, "VELT out of free sound channels, not playing '%s'..", sample->name);
        return 0;
    }
    // Ids stay positive as 32-bit signed values, where -1 stands for every voice.
    mixer.lastVoiceId = mixer.lastVoiceId >= uint32_t(INT32_MAX) ? 1 : mixer.lastVoiceId + 1;
    voice->id = mixer.lastVoiceId;
    voice->fadeRate = 0.0f;
    voice->fadeTarget = 1.0f;
    voice->fadeLeft = 0.0f;
    voice->nextHalf = 0;
    voice->silenceFrom = -1;
    voice->lastPlayCursor = 0;
    voice->playing = false;
    voice->paused = false;
    voice->bytesPlayed = 0;
    voice->sample = sample;
    voice->pitch = pitch;
    voice->pan = std::clamp(pan, -1.0f, 1.0f);
    voice->volume = volume;
    voice->loop = loop;
    voice->bytesLeft = loop || sample->kind == HV_MIXER_SAMPLE_PLAY_LIST ? -1 : HVI_GetMixerSamplePcmBytes(sample);
    HVI_StartSampleCursor(voice->cursor, mixer.playListStartIndex);
    HVI_FillMixerVoice(*voice);
    HVI_ApplyMixerVoiceVolume(*voice);
    voice->buffer->SetCurrentPosition(0);
    voice->buffer->SetFrequency(VoiceFrequency(*voice));
    voice->buffer->SetPan(LONG(voice->pan * 10000.0f));
    voice->buffer->Play(0, 0, DSBPLAY_LOOPING);
    ++mixer.voicesPlaying;
    voice->playing = true;
    ++sample->useCount;
    if (mixer.keepAlive) {
        mixer.keepAlive->Stop();
    }
    return voice->id;
}

void HVI_MixerStopVoice(int32_t id)
{
    ForVoices(id, [](HV_MixerVoice& voice) { HVI_EndMixerVoice(voice); });
}

void HVI_MixerSetVoiceVolume(int32_t id, float volume)
{
    ForVoices(id, [volume](HV_MixerVoice& voice) {
        voice.volume = volume;
        if (voice.fadeRate != 0.0f) {
            StartFade(voice, voice.fadeTarget, voice.fadeRate);
        }
        HVI_ApplyMixerVoiceVolume(voice);
    });
}

void HVI_MixerSetVoicePan(int32_t id, float pan)
{
    ForVoices(id, [pan](HV_MixerVoice& voice) {
        voice.pan = std::clamp(pan, -1.0f, 1.0f);
        voice.buffer->SetPan(LONG(voice.pan * 10000.0f));
    });
}

void HVI_MixerSetVoiceFrequency(int32_t id, float pitch)
{
    ForVoices(id, [pitch](HV_MixerVoice& voice) {
        voice.pitch = pitch;
        voice.buffer->SetFrequency(VoiceFrequency(voice));
    });
}

void HVI_MixerSetVoiceLooping(int32_t id, bool loop)
{
    ForVoices(id, [loop](HV_MixerVoice& voice) { SetLooping(voice, loop); });
}

void HVI_MixerSetVoicePaused(int32_t id, bool paused)
{
    ForVoices(id, [paused](HV_MixerVoice& voice) {
        if (voice.paused == paused) {
            return;
        }
        voice.paused = paused;
        if (paused) {
            voice.buffer->Stop();
        } else {
            voice.buffer->Play(0, 0, DSBPLAY_LOOPING);
        }
    });
}

void HVI_MixerSetMasterVolume(float volume)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    mixer.masterVolume = std::clamp(volume, 0.0f, 1.0f);
    ForVoices(HV_MIXER_ALL_VOICES, [](HV_MixerVoice& voice) { HVI_ApplyMixerVoiceVolume(voice); });
}

float HVI_MixerGetMasterVolume()
{
    HVI_MixerLockScope hold;
    return HVI_GetMixerState().masterVolume;
}

float HVI_MixerGetVoiceFrequency(int32_t id)
{
    HVI_MixerLockScope hold;
    if (!HVI_GetMixerState().initialised) {
        return 1.0f;
    }
    return ReadVoice(id, 0.0f, [](const HV_MixerVoice& voice) { return voice.pitch; });
}

float HVI_MixerGetVoiceVolume(int32_t id)
{
    return ReadVoice(id, 0.0f, [](const HV_MixerVoice& voice) { return voice.volume; });
}

float HVI_MixerGetVoicePan(int32_t id)
{
    return ReadVoice(id, 0.0f, [](const HV_MixerVoice& voice) { return voice.pan; });
}

int32_t HVI_MixerGetVoiceLooping(int32_t id)
{
    return ReadVoice(id, -1, [](const HV_MixerVoice& voice) { return voice.loop ? 1 : 0; });
}

int32_t HVI_MixerGetVoicePaused(int32_t id)
{
    return ReadVoice(id, -1, [](const HV_MixerVoice& voice) { return voice.paused ? 1 : 0; });
}

HV_MixerSample* HVI_MixerGetVoiceSample(int32_t id)
{
    return ReadVoice(id, static_cast<HV_MixerSample*>(nullptr),
                     [](const HV_MixerVoice& voice) { return voice.sample; });
}

int32_t HVI_MixerGetVoiceState(int32_t id)
{
    return ReadVoice(id, int32_t(HV_MIXER_VOICE_NONE), [](const HV_MixerVoice& voice) {
        return int32_t(voice.paused ? HV_MIXER_VOICE_PAUSED : HV_MIXER_VOICE_PLAYING);
    });
}

void HVI_MixerSlideVoiceVolume(int32_t id, float target, float time)
{
    HVI_MixerLockScope hold;
    HV_MixerVoice* voice = HVI_GetMixerState().initialised ? HVI_FindMixerVoice(id) : nullptr;
    if (!voice || !voice->sample || (voice->volume < 0.001f && target == 0.0f)) {
        return;
    }
    if (time >= 0.001f) {
        if (target == voice->volume || (target > 0.001f && std::abs(target - voice->volume) < 0.01f)) {
            return;
        }
        // The rate that reaches the target once the time has passed.
        StartFade(*voice, target, (target - voice->volume) / time);
        return;
    }
    if (target >= 0.001f) {
        voice->volume = target;
        HVI_ApplyMixerVoiceVolume(*voice);
    } else {
        HVI_EndMixerVoice(*voice);
    }
}

void HVI_MixerSetRunning(bool running)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    if (!mixer.initialised || mixer.running == running) {
        return;
    }
    mixer.running = running;
    for (int i = 0; i < mixer.voiceCount; ++i) {
        HV_MixerVoice& voice = mixer.voices[i];
        if (!voice.buffer) {
            continue;
        }
        if (!running) {
            voice.buffer->Stop();
        } else if (voice.id != 0 && !voice.paused) {
            voice.buffer->Restore();
            voice.buffer->Play(0, 0, DSBPLAY_LOOPING);
            HVI_FillMixerVoice(voice);
        }
    }
}

void HVI_MixerSwitchSegment(int32_t id, HV_MixerSample* playList, int32_t segment, uint32_t transitionFlags)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    HV_MixerVoice* old = mixer.initialised ? HVI_FindMixerVoice(id) : nullptr;
    if (!old || old->sample->kind != HV_MIXER_SAMPLE_PLAY_LIST || !playList ||
        playList->kind != HV_MIXER_SAMPLE_PLAY_LIST || segment < 0 || segment >= playList->entryCount) {
        return;
    }
    const HV_SegmentTransition* transition = nullptr;
    for (const HV_SegmentTransition& row : HV_SEGMENT_TRANSITIONS) {
        if (row.flags == transitionFlags) {
            transition = &row;
        }
    }
    if (!transition) {
        HVI_Log(HV_LOG_INFO, "VELT SwitchSegment: unknown transition 0x%x.", transitionFlags);
        return;
    }
    const float volume = old->volume;
    const bool crossFade = transition->crossFadeSeconds > 0.0f && volume >= kAudibleVolume;
    mixer.playListStartIndex = segment;
    const uint32_t newId = HVI_MixerPlay(playList, crossFade ? 0.0f : volume, old->pan, old->pitch, old->loop);
    mixer.playListStartIndex = 0;
    HV_MixerVoice* fresh = HVI_FindMixerVoice(int32_t(newId));
    if (!fresh) {
        return;  // no free voice: the old one plays on
    }
    // The caller's id follows the new voice, which is paused when the old one was.
    fresh->id = old->id;
    old->id = newId;
    if (old->paused) {
        fresh->paused = true;
        fresh->buffer->Stop();
    }
    if (!crossFade) {
        HVI_EndMixerVoice(*old);
        return;
    }
    // Both start `volume` from their targets, so they end on the same step.
    StartFade(*fresh, volume, volume / transition->crossFadeSeconds);
    StartFade(*old, 0.0f, -volume / transition->crossFadeSeconds);
}
