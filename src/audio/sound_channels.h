#pragma once

#include "audio/audio_state.h"

// The channel layer between the audio table and the back end: every sound
// the program plays gets a channel with a play handle, which may wait for a
// delayed start, slide its volume, fade out, and is freed once its voice has
// finished. Main thread only.

// Frees every channel (a new back end is set up).
void HVI_ClearSoundChannels();
// An entry index for a new channel, or -1 when all are in use.
int HVI_AllocateSoundChannel();
// Starts the entry's voice; the play handle, or 0 when the start is refused.
HV_PlayHandle HVI_StartSoundChannel(int index, HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop);
void HVI_SetSoundChannelVolume(HV_PlayHandle handle, float volume);
bool HVI_IsSoundChannelAlive(HV_PlayHandle handle);
// Checks one entry against the time; true when it freed the channel.
bool HVI_UpdateSoundChannel(HV_SoundChannel& channel, int32_t now);
void HVI_FadeOutSoundChannel(HV_PlayHandle handle, float fadeTime);
void HVI_FreeSoundChannel(int index);
// Starts due delayed channels and steps the volume slides by dt seconds.
void HVI_UpdateSoundChannels(float dt);
// The entry index of the channel with that handle, or -1.
int HVI_FindSoundChannel(HV_PlayHandle handle);
// The volume slide rule: to the target over `time` seconds.
void HVI_SlideSoundChannelVolume(HV_PlayHandle handle, float target, float time);
