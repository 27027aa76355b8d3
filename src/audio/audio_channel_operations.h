#pragma once

#include "halvo/audio.h"

// The audio table's operations on play handles: argument checks here, the
// work in the channel layer (sound_channels.h). They do nothing while sound
// is switched off.
HV_SoundRecord* HV_Audio_GetChannelSound(HV_PlayHandle channel);
bool HV_Audio_IsSoundPlaying(HV_PlayHandle channel);
HV_PlayHandle HV_Audio_PlaySound(HV_SoundRecord* sound, float volume, float pan, float pitch);
HV_PlayHandle HV_Audio_PlaySoundWithDelay(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop,
                                          float delay);
void HV_Audio_SetChannelFrequency(HV_PlayHandle channel, float pitch);
void HV_Audio_SetChannelLooping(HV_PlayHandle channel, bool loop);
void HV_Audio_SetChannelPan(HV_PlayHandle channel, float pan);
void HV_Audio_SetChannelPaused(HV_PlayHandle channel, bool paused);
void HV_Audio_SetChannelVolume(HV_PlayHandle channel, float volume);
void HV_Audio_SetMasterVolume(float volume);
void HV_Audio_SlideChannelVolume(HV_PlayHandle channel, float targetVolume, float time);
void HV_Audio_StopChannel(HV_PlayHandle channel);
void HV_Audio_StopChannelWithFade(HV_PlayHandle channel, float fadeTime);

// The per-frame step of channels and music (after the back end's Update).
void HVI_UpdateAudio();
