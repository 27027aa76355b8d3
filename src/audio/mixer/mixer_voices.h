#pragma once

#include <cstdint>

struct HV_MixerSample;
struct HV_MixerVoice;

// The voice operations of the mixer table (see mixer_interface.h).

// Takes the first free voice with the sample's channel count (0 when there is
// none), fills its first half and starts it at sample rate x pitch, kept
// within 100..100000 Hz.
uint32_t HVI_MixerPlay(HV_MixerSample* sample, float volume, float pan, float pitch, bool loop);
void HVI_MixerStopVoice(int32_t id);
void HVI_MixerSetVoiceVolume(int32_t id, float volume);
void HVI_MixerSetVoicePan(int32_t id, float pan);
void HVI_MixerSetVoiceFrequency(int32_t id, float pitch);
void HVI_MixerSetVoiceLooping(int32_t id, bool loop);
void HVI_MixerSetVoicePaused(int32_t id, bool paused);
void HVI_MixerSetMasterVolume(float volume);
float HVI_MixerGetMasterVolume();
float HVI_MixerGetVoiceFrequency(int32_t id);
float HVI_MixerGetVoiceVolume(int32_t id);
float HVI_MixerGetVoicePan(int32_t id);
int32_t HVI_MixerGetVoiceLooping(int32_t id);
int32_t HVI_MixerGetVoicePaused(int32_t id);
HV_MixerSample* HVI_MixerGetVoiceSample(int32_t id);
int32_t HVI_MixerGetVoiceState(int32_t id);
// Fades the voice to the target so that it arrives after `time` seconds; a
// fade to 0 ends the voice.
void HVI_MixerSlideVoiceVolume(int32_t id, float target, float time);
void HVI_MixerSetRunning(bool running);
// Starts a new voice on the play list at the entry `segment` in place of a
// voice playing a play list, at once or by a cross-fade of the two
// (segment_transitions.h); the id then names the new voice. Nothing happens
// for unknown flags or when no voice is free.
void HVI_MixerSwitchSegment(int32_t id, HV_MixerSample* playList, int32_t segment, uint32_t transitionFlags);

// The volume of the fade curve, used by the mixer step while a fade runs.
void HVI_ApplyMixerVoiceFadeVolume(HV_MixerVoice& voice);
