#include "audio/audio_channel_operations.h"

#include "audio/audio_state.h"
#include "audio/music.h"
#include "audio/sound_channels.h"
#include "audio/sound_implementation.h"
#include "core/engine_time.h"
#include "core/logging.h"

namespace {

// Delays are cut to this many seconds.
constexpr float kMaxDelaySeconds = 15.0f;
// A slide to below this volume is a fade-out.
constexpr float kSilentTarget = 0.0001f;

bool CanPlay(const HV_SoundRecord* sound)
{
    return sound && sound->name && sound->name[0] != '!' && !HVI_IsAudioDisabled() && sound->sample;
}

// Sets a setting of the handle's channel and, once the channel has started,
// of its voice in the back end.
template <typename Value>
void SetChannelSetting(HV_PlayHandle handle, Value HV_SoundChannel::*setting,
                       void (SoundImplementation::*setVoiceSetting)(uint32_t, Value), Value value)
{
    if (handle == 0 || HVI_IsAudioDisabled()) {
        return;
    }
    const int index = HVI_FindSoundChannel(handle);
    if (index < 0) {
        return;
    }
    HV_SoundChannel& channel = HVI_GetAudioState().channels[index];
    SoundImplementation* backEnd = HVI_GetAudioState().backEnd;
    channel.*setting = value;
    if (channel.started && backEnd) {
        (backEnd->*setVoiceSetting)(channel.voice, value);
    }
}

}  // namespace

HV_SoundRecord* HV_Audio_GetChannelSound(HV_PlayHandle handle)
{
    if (handle == 0 || HVI_IsAudioDisabled() || !HVI_IsSoundChannelAlive(handle)) {
        return nullptr;
    }
    return HVI_GetAudioState().channels[HVI_FindSoundChannel(handle)].sound;
}

bool HV_Audio_IsSoundPlaying(HV_PlayHandle handle)
{
    return handle != 0 && !HVI_IsAudioDisabled() && HVI_IsSoundChannelAlive(handle);
}

HV_PlayHandle HV_Audio_PlaySound(HV_SoundRecord* sound, float volume, float pan, float pitch)
{
    return HV_Audio_PlaySoundWithDelay(sound, volume, pan, pitch, false, 0.0f);
}

HV_PlayHandle HV_Audio_PlaySoundWithDelay(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop,
                                          float delay)
{
    if (!CanPlay(sound)) {
        return 0;
    }
    const int index = HVI_AllocateSoundChannel();
    if (delay <= 0.0f) {
        return HVI_StartSoundChannel(index, sound, volume, pan, pitch, loop);
    }
    if (delay > kMaxDelaySeconds) {
        HV_Popup(HV_LOG_WARNING, "Trying to play sound '%s' with too long delay %.1fs (warning triggers at %.0fs)",
                 sound->name, double(delay), double(kMaxDelaySeconds));
        delay = kMaxDelaySeconds;
    }
    if (index < 0) {
        return 0;
    }
    HV_SoundChannel& channel = HVI_GetAudioState().channels[index];
    channel.sound = sound;
    channel.volume = volume;
    channel.pan = pan;
    channel.pitch = pitch;
    channel.looping = loop;
    channel.startTime = int32_t(HV_GetTimeMs()) + int32_t(delay * 1000.0f);
    channel.started = false;
    channel.paused = false;
    channel.sliding = false;
    channel.stopAtEnd = false;
    return channel.handle;
}

void HV_Audio_SetChannelFrequency(HV_PlayHandle handle, float pitch)
{
    SetChannelSetting(handle, &HV_SoundChannel::pitch, &SoundImplementation::SetVoiceFrequency, pitch);
}

void HV_Audio_SetChannelLooping(HV_PlayHandle handle, bool loop)
{
    SetChannelSetting(handle, &HV_SoundChannel::looping, &SoundImplementation::SetVoiceLooping, loop);
}

void HV_Audio_SetChannelPan(HV_PlayHandle handle, float pan)
{
    SetChannelSetting(handle, &HV_SoundChannel::pan, &SoundImplementation::SetVoicePan, pan);
}

void HV_Audio_SetChannelPaused(HV_PlayHandle handle, bool paused)
{
    SetChannelSetting(handle, &HV_SoundChannel::paused, &SoundImplementation::SetVoicePaused, paused);
}

void HV_Audio_SetChannelVolume(HV_PlayHandle handle, float volume)
{
    if (handle != 0 && !HVI_IsAudioDisabled()) {
        HVI_SetSoundChannelVolume(handle, volume);
    }
}

void HV_Audio_SetMasterVolume(float volume)
{
    if (HVI_IsAudioDisabled()) {
        return;
    }
    HV_AudioState& audio = HVI_GetAudioState();
    volume = HVI_SnapVolume(volume);
    if (volume != audio.masterVolume) {
        audio.masterVolume = volume;
        if (audio.backEnd) {
            audio.backEnd->SetMasterVolume(volume);
        }
    }
}

void HV_Audio_SlideChannelVolume(HV_PlayHandle handle, float target, float time)
{
    if (handle == 0 || HVI_IsAudioDisabled()) {
        return;
    }
    if (target < kSilentTarget) {
        HV_Audio_StopChannelWithFade(handle, time);
        return;
    }
    HVI_SlideSoundChannelVolume(handle, target, time);
}

void HV_Audio_StopChannel(HV_PlayHandle handle)
{
    if (handle == 0 || HVI_IsAudioDisabled()) {
        return;
    }
    const int index = HVI_FindSoundChannel(handle);
    if (index < 0) {
        return;
    }
    HV_AudioState& audio = HVI_GetAudioState();
    if (audio.channels[index].started && audio.backEnd) {
        audio.backEnd->StopVoice(audio.channels[index].voice);
    }
    HVI_FreeSoundChannel(index);
}

void HV_Audio_StopChannelWithFade(HV_PlayHandle handle, float fadeTime)
{
    if (handle != 0 && !HVI_IsAudioDisabled()) {
        HVI_FadeOutSoundChannel(handle, fadeTime);
    }
}

void HVI_UpdateAudio()
{
    HV_MusicState& music = HVI_GetAudioState().music;
    const int32_t now = int32_t(HV_GetTimeMs());
    float dt = float(now - music.lastUpdateTime) * 0.001f;
    dt = dt < 0.0f ? 0.0f : dt;
    music.lastUpdateTime = now;
    if (dt > 0.0f) {
        HVI_UpdateSoundChannels(dt);
    }
    HVI_UpdateMusic(dt);
}
