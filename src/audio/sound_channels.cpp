#include "audio/sound_channels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/sound_implementation.h"
#include "core/engine_time.h"

namespace {

// A sound started again within this many milliseconds is refused.
constexpr int32_t kRepeatGuardMs = 24;
// At most this many live channels may play one sound.
constexpr int kMaxChannelsPerSound = 20;
// A started channel's voice is first asked about this long before the sound's end.
constexpr int32_t kEndCheckLeadMs = 100;
// Volume changes smaller than this are ignored.
constexpr float kVolumeEpsilon = 0.0001f;

int32_t Now() { return int32_t(HV_GetTimeMs()); }

SoundImplementation* BackEnd() { return HVI_GetAudioState().backEnd; }

}  // namespace

void HVI_ClearSoundChannels()
{
    HV_AudioState& audio = HVI_GetAudioState();
    memset(audio.channels, 0, sizeof(audio.channels));
    audio.channelCount = 0;
}

int HVI_FindSoundChannel(HV_PlayHandle handle)
{
    HV_AudioState& audio = HVI_GetAudioState();
    if (handle == 0) {
        return -1;
    }
    for (int i = 0; i < audio.channelCount; ++i) {
        if (audio.channels[i].handle == handle) {
            return i;
        }
    }
    return -1;
}

void HVI_FreeSoundChannel(int index)
{
    HV_AudioState& audio = HVI_GetAudioState();
    audio.channels[index].handle = 0;
    audio.channels[index].voice = 0;
    const int last = audio.channelCount - 1;
    if (index != last) {
        std::swap(audio.channels[index], audio.channels[last]);
    }
    --audio.channelCount;
}

bool HVI_UpdateSoundChannel(HV_SoundChannel& channel, int32_t now)
{
    HV_AudioState& audio = HVI_GetAudioState();
    if (channel.handle == 0) {
        return false;
    }
    const int index = int(&channel - audio.channels);
    if (!channel.sound) {
        HVI_FreeSoundChannel(index);
        return true;
    }
    if (channel.started) {
        const int32_t lengthMs = int32_t(channel.sound->length * 1000.0f);
        if (now - channel.startTime >= lengthMs - kEndCheckLeadMs &&
            !(BackEnd() && BackEnd()->IsVoicePlaying(channel.voice))) {
            HVI_FreeSoundChannel(index);
            return true;
        }
    }
    return false;
}

int HVI_AllocateSoundChannel()
{
    HV_AudioState& audio = HVI_GetAudioState();
    int index = -1;
    for (int i = 0; i < audio.channelCount && index < 0; ++i) {
        if (audio.channels[i].handle == 0) {
            index = i;
        }
    }
    if (index < 0) {
        const int32_t now = Now();
        for (int i = 0; i < audio.channelCount;) {
            // A freed entry takes the last one in; that one is examined in turn.
            if (!HVI_UpdateSoundChannel(audio.channels[i], now)) {
                ++i;
            }
        }
        for (int i = 0; i < HV_SOUND_CHANNEL_COUNT && index < 0; ++i) {
            if (audio.channels[i].handle == 0) {
                index = i;
            }
        }
        if (index < 0) {
            return -1;
        }
    }
    HV_SoundChannel& channel = audio.channels[index];
    channel.sound = nullptr;
    channel.started = false;
    channel.paused = false;
    channel.handle = audio.nextHandle++;
    if (audio.nextHandle == 0) {
        audio.nextHandle = 1;  // 0 stands for no channel
    }
    audio.channelCount = std::min(std::max(audio.channelCount, index + 1), HV_SOUND_CHANNEL_COUNT);
    return index;
}

HV_PlayHandle HVI_StartSoundChannel(int index, HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop)
{
    HV_AudioState& audio = HVI_GetAudioState();
    if (index < 0 || !sound || !sound->sample || !BackEnd()) {
        return 0;
    }
    volume = HVI_SnapVolume(volume);
    const int32_t now = Now();
    if (sound->lastPlayTime != 0 && now - sound->lastPlayTime <= kRepeatGuardMs) {
        return 0;
    }
    const HV_PlayHandle handle = audio.channels[index].handle;
    int instances = 0;
    for (int i = 0; i < audio.channelCount;) {
        HV_SoundChannel& other = audio.channels[i];
        if (other.handle != 0 && other.sound == sound) {
            if (HVI_UpdateSoundChannel(other, now)) {
                continue;  // the entry now holds the former last one: look at it again
            }
            ++instances;
        }
        ++i;
    }
    if (instances >= kMaxChannelsPerSound) {
        return 0;
    }
    sound->lastPlayTime = now;
    // Freeing other channels may have moved this one; it is found by its handle.
    HV_SoundChannel& channel = audio.channels[HVI_FindSoundChannel(handle)];
    channel.voice = BackEnd()->PlaySampleLooped(sound, volume, pan, pitch, loop);
    channel.pan = pan;
    channel.volume = volume;
    channel.pitch = pitch;
    channel.startTime = now;
    channel.sound = sound;
    channel.sliding = false;
    channel.stopAtEnd = false;
    channel.looping = loop;
    channel.started = true;
    channel.paused = false;
    return channel.handle;
}

bool HVI_IsSoundChannelAlive(HV_PlayHandle handle)
{
    const int index = HVI_FindSoundChannel(handle);
    if (index < 0) {
        return false;
    }
    HV_SoundChannel& channel = HVI_GetAudioState().channels[index];
    if (!channel.started || channel.looping) {
        return true;
    }
    if (BackEnd() && BackEnd()->IsVoicePlaying(channel.voice)) {
        return true;
    }
    HVI_FreeSoundChannel(index);
    return false;
}

void HVI_SetSoundChannelVolume(HV_PlayHandle handle, float volume)
{
    volume = HVI_SnapVolume(volume);
    const int index = HVI_FindSoundChannel(handle);
    if (index < 0) {
        return;
    }
    HV_SoundChannel& channel = HVI_GetAudioState().channels[index];
    if (std::fabs(channel.volume - volume) < kVolumeEpsilon) {
        return;
    }
    channel.volume = volume;
    if (channel.started && BackEnd()) {
        BackEnd()->SetVoiceVolume(channel.voice, volume);
    }
}

void HVI_SlideSoundChannelVolume(HV_PlayHandle handle, float target, float time)
{
    const int index = HVI_FindSoundChannel(handle);
    if (index < 0) {
        return;
    }
    HV_SoundChannel& channel = HVI_GetAudioState().channels[index];
    target = HVI_SnapVolume(target);
    if (std::fabs(target - channel.volume) < kVolumeEpsilon || (channel.sliding && channel.stopAtEnd)) {
        return;
    }
    if (!channel.started) {
        channel.volume = target;
        return;
    }
    channel.slideStart = channel.volume;
    channel.slideTarget = target;
    channel.slideTime = time;
    channel.slideElapsed = 0.0f;
    channel.sliding = true;
    channel.stopAtEnd = false;
}

void HVI_FadeOutSoundChannel(HV_PlayHandle handle, float fadeTime)
{
    const int index = HVI_FindSoundChannel(handle);
    if (index < 0) {
        return;
    }
    HV_SoundChannel& channel = HVI_GetAudioState().channels[index];
    if (!channel.started) {
        HVI_FreeSoundChannel(index);
        return;
    }
    channel.slideStart = channel.volume;
    channel.slideTarget = 0.0f;
    channel.slideTime = fadeTime;
    channel.slideElapsed = 0.0f;
    channel.sliding = true;
    channel.stopAtEnd = true;
}

void HVI_UpdateSoundChannels(float dt)
{
    HV_AudioState& audio = HVI_GetAudioState();
    const int32_t now = Now();
    for (int i = 0; i < audio.channelCount;) {
        HV_SoundChannel& channel = audio.channels[i];
        if (channel.handle == 0 || !channel.sound) {
            ++i;
            continue;
        }
        if (!channel.started) {
            if (channel.paused) {
                channel.startTime += int32_t(dt * 1000.0f);  // a delay does not run while paused
            } else if (channel.startTime < now) {
                HVI_StartSoundChannel(i, channel.sound, channel.volume, channel.pan, channel.pitch, channel.looping);
            }
            ++i;
            continue;
        }
        if (channel.sliding) {
            channel.slideElapsed += dt;
            if (channel.slideElapsed < channel.slideTime) {
                const float t = std::clamp(channel.slideElapsed / channel.slideTime, 0.0f, 1.0f);
                HVI_SetSoundChannelVolume(channel.handle, (1.0f - t) * channel.slideStart + t * channel.slideTarget);
            } else {
                channel.sliding = false;
                if (channel.stopAtEnd) {
                    if (BackEnd()) {
                        BackEnd()->StopVoice(channel.voice);
                    }
                    HVI_FreeSoundChannel(i);
                    continue;  // the entry now holds the former last one
                }
                HVI_SetSoundChannelVolume(channel.handle, channel.slideTarget);
            }
        }
        ++i;
    }
}
