#include "audio/music.h"

#include <algorithm>
#include <cmath>

#include "audio/audio_state.h"
#include "audio/sound_implementation.h"
#include "core/features.h"
#include "core/logging.h"

namespace {

// A slide that ends in a stop runs to this, so that the volume reaches 0 before the stop.
constexpr float kStopTarget = -0.01f;
// The track being replaced fades out over this many seconds.
constexpr float kReplaceFadeSeconds = 1.0f;

HV_MusicState& Music() { return HVI_GetAudioState().music; }

void BeginSlide(float target, float time, bool stopAtEnd)
{
    HV_MusicState& music = Music();
    music.sliding = true;
    music.slideStart = music.volume;
    music.slideTarget = target;
    music.slideTime = time;
    music.slideElapsed = 0.0f;
    music.stopAtEnd = stopAtEnd;
}

bool IsFadingOutToStop()
{
    const HV_MusicState& music = Music();
    return music.sliding && music.stopAtEnd;
}

}  // namespace

HV_SoundRecord* HV_Audio_GetMusic()
{
    const HV_MusicState& music = Music();
    if (HVI_IsAudioDisabled()) {
        return nullptr;
    }
    if (music.pending) {
        return music.pending;
    }
    return IsFadingOutToStop() ? nullptr : music.current;
}

void HVI_StartMusic(HV_SoundRecord* record, float volume, float fadeInTime)
{
    if (!record || !record->sample) {
        return;
    }
    HV_MusicState& music = Music();
    if (music.current && !IsFadingOutToStop()) {
        BeginSlide(kStopTarget, kReplaceFadeSeconds, true);
    }
    music.pending = record;
    music.pendingFadeInTime = fadeInTime;
    music.pendingVolume = HVI_SnapVolume(volume);
    music.paused = false;
}

void HV_Audio_PlayMusic(HV_SoundRecord* record, float volume, float fadeInTime)
{
    if (!record || HVI_IsAudioDisabled()) {
        return;
    }
    if (HV_IsDeveloperMode()) {
        if (fadeInTime > 10.0f) {
            HV_Popup(HV_LOG_WARNING, "HV_Audio_PlayMusic: fade_in_time is suspiciously high (%g)", double(fadeInTime));
        }
        if (volume < 0.0f || volume > 1.0f) {
            HV_Popup(HV_LOG_WARNING, "HV_Audio_PlayMusic: volume is out of range 0..1 (%g)", double(volume));
        }
    }
    volume = std::clamp(volume, 0.0f, 1.0f);
    HV_MusicState& music = Music();
    if (music.started && HV_Audio_GetMusic() == record) {
        HV_Audio_SlideMusicVolume(volume, 1.0f);
        return;
    }
    HV_Audio_StopMusic(1.0f);
    if (record->name && record->name[0] == '!') {
        return;
    }
    if (std::fabs(volume) < 0.000001f) {
        fadeInTime = 0.0f;
    }
    HVI_StartMusic(record, volume, fadeInTime);
    music.started = true;
}

void HV_Audio_SlideMusicVolume(float target, float slideTime)
{
    if (HVI_IsAudioDisabled()) {
        return;
    }
    if (HV_IsDeveloperMode()) {
        if (slideTime > 10.0f) {
            HV_Popup(HV_LOG_WARNING, "HV_Audio_SlideMusicVolume: slide_time is suspiciously high (%g)",
                     double(slideTime));
        }
        if (target < 0.0f || target > 1.0f) {
            HV_Popup(HV_LOG_WARNING, "HV_Audio_SlideMusicVolume: target_volume is out of range 0..1 (%g)",
                     double(target));
        }
    }
    target = HVI_SnapVolume(std::clamp(target, 0.0f, 1.0f));
    HV_MusicState& music = Music();
    if (music.pending) {
        music.pendingVolume = target;
        return;
    }
    if (std::fabs(music.volume - target) < 0.01f && music.volume > 0.0f && target > 0.0f) {
        return;
    }
    BeginSlide(target, slideTime, music.stopAtEnd);
}

void HV_Audio_StopMusic(float fadeOutTime)
{
    HV_MusicState& music = Music();
    if (HVI_IsAudioDisabled() || !music.started) {
        return;
    }
    music.started = false;
    if (HV_IsDeveloperMode() && fadeOutTime > 7.0f) {
        HV_Popup(HV_LOG_WARNING, "HV_Audio_StopMusic: fade_out_time is suspiciously high (%g)", double(fadeOutTime));
    }
    music.pending = nullptr;
    if (music.current && !IsFadingOutToStop()) {
        BeginSlide(kStopTarget, fadeOutTime, true);
    }
}

void HV_Audio_SetMusicPaused(bool paused)
{
    if (HVI_IsAudioDisabled()) {
        return;
    }
    Music().paused = paused;
    if (SoundImplementation* backEnd = HVI_GetAudioState().backEnd) {
        backEnd->SetMusicPaused(paused);
    }
}

void HVI_UpdateMusic(float dt)
{
    HV_MusicState& music = Music();
    SoundImplementation* backEnd = HVI_GetAudioState().backEnd;
    if (music.paused) {
        return;
    }
    const float remembered = music.volume;
    if (music.sliding) {
        music.slideElapsed += dt;
        const float t = music.slideTime <= 0.0f ? 1.0f : std::clamp(music.slideElapsed / music.slideTime, 0.0f, 1.0f);
        music.volume = std::clamp((1.0f - t) * music.slideStart + t * music.slideTarget, 0.0f, 1.0f);
        if (music.slideElapsed >= music.slideTime) {
            music.sliding = false;
            if (music.stopAtEnd && music.current) {
                if (backEnd) {
                    backEnd->StopMusic();
                }
                music.current = nullptr;
            }
        }
    }
    if (!music.current) {
        if (!music.pending) {
            return;
        }
        music.current = music.pending;
        if (music.pendingFadeInTime > 0.0f) {
            music.volume = 0.0f;
            BeginSlide(music.pendingVolume, music.pendingFadeInTime, false);
        } else {
            music.volume = music.pendingVolume;
        }
        if (music.current->sample && backEnd) {
            backEnd->PlayMusic(music.current, music.volume);
        }
        music.stopAtEnd = false;
        music.pending = nullptr;
    }
    if (music.volume != remembered && backEnd) {
        backEnd->SetMusicVolume(music.volume);
    }
}
