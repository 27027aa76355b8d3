#pragma once

#include "halvo/audio.h"

// One music track at a time, through the back end's music operations: a
// fade-in, a one-second fade-out of the track it replaces, slides and pausing.
// Main thread only.

HV_SoundRecord* HV_Audio_GetMusic();
void HV_Audio_PlayMusic(HV_SoundRecord* music, float volume, float fadeInTime);
void HV_Audio_SlideMusicVolume(float targetVolume, float slideTime);
void HV_Audio_StopMusic(float fadeOutTime);
void HV_Audio_SetMusicPaused(bool paused);

// Makes the record the pending track; the current one fades out over a second first.
void HVI_StartMusic(HV_SoundRecord* music, float volume, float fadeInTime);
// The music part of the per-frame update, dt seconds after the last one.
void HVI_UpdateMusic(float dt);
