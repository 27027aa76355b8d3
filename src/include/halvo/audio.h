#ifndef HALVO_AUDIO_H
#define HALVO_AUDIO_H

/* The audio part of the engine interface: sound handles, play handles, cache
   modes and the audio table. Usable from C and C++. */

#include "halvo/core.h"

/* A sound as the program holds it: a pointer to the engine's record of that
   sound name, valid for the whole run. */
typedef struct HV_SoundRecord HV_SoundRecord;

/* One playing (or waiting) sound channel; 0 stands for none. */
typedef uint32_t HV_PlayHandle;

/* Cache modes of GetSoundWithCacheMode. */
#define HV_SOUND_CACHE_NOTHING 0 /* find or create the record; no reference, no loading */
#define HV_SOUND_CACHE_LOAD 4    /* count a reference and load (GetSound, LoadSound) */
#define HV_SOUND_CACHE_LOOKUP 16 /* only look the name up */

/* The audio table; operations in alphabetical order. Volumes are 0..1, pans
   -1 (left) to 1 (right), pitch a playback-rate factor (1 = the sample's own
   rate), times in seconds. While sound is switched off (the program block's
   no-sound flag) the channel and music operations do nothing. */
typedef struct HV_AudioInterface {
    HV_SoundRecord* (*GetChannelSound)(HV_PlayHandle channel);
    HV_SoundRecord* (*GetMusic)(void);
    HV_SoundRecord* (*GetSound)(const char* name);
    HV_SoundRecord* (*GetSoundWithCacheMode)(const char* name, int32_t cacheMode);
    void (*IncreaseSoundReferenceCount)(HV_SoundRecord* sound, const int32_t* count);
    bool (*IsSoundLoaded)(HV_SoundRecord* sound);
    bool (*IsSoundPlaying)(HV_PlayHandle channel);
    HV_SoundRecord* (*LoadSound)(const char* name);
    void (*PlayMusic)(HV_SoundRecord* music, float volume, float fadeInTime);
    HV_PlayHandle (*PlaySound)(HV_SoundRecord* sound, float volume, float pan, float pitch);
    HV_PlayHandle (*PlaySoundWithDelay)(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop,
                                        float delay);
    void (*ReleaseSound)(HV_SoundRecord* sound);
    void (*SetChannelFrequency)(HV_PlayHandle channel, float pitch);
    void (*SetChannelLooping)(HV_PlayHandle channel, bool loop);
    void (*SetChannelPan)(HV_PlayHandle channel, float pan);
    void (*SetChannelPaused)(HV_PlayHandle channel, bool paused);
    void (*SetChannelVolume)(HV_PlayHandle channel, float volume);
    void (*SetMasterVolume)(float volume);
    void (*SetMusicPaused)(bool paused);
    void (*SlideChannelVolume)(HV_PlayHandle channel, float targetVolume, float time);
    void (*SlideMusicVolume)(float targetVolume, float slideTime);
    bool (*SoundExists)(const char* name);
    void (*StopChannel)(HV_PlayHandle channel);
    void (*StopChannelWithFade)(HV_PlayHandle channel, float fadeTime);
    void (*StopMusic)(float fadeOutTime);
} HV_AudioInterface;

#define HV_AUDIO_OPERATION_COUNT 25
HV_STATIC_ASSERT(sizeof(HV_AudioInterface) == HV_AUDIO_OPERATION_COUNT * sizeof(void*), "25 audio operations");

#endif
