#pragma once

#include <cstdint>

#include <windows.h>

struct HV_MixerSample;

// Voice id -1 in a voice operation means every voice in use.
constexpr int32_t HV_MIXER_ALL_VOICES = -1;

// GetVoiceState answers.
enum HV_MixerVoiceState : int32_t {
    HV_MIXER_VOICE_NONE = 0,
    HV_MIXER_VOICE_PLAYING = 1,
    HV_MIXER_VOICE_PAUSED = 2,
};

// The engine's own mixer over DirectSound, reached only through this table.
// Voice operations do nothing (or answer 0) while the mixer is not initialised.
struct HV_MixerInterface {
    uint32_t version;  // 1
    bool (*Init)(int32_t outputRate, int32_t voiceCount, HWND window, int32_t reserved);
    void (*Shutdown)();
    void (*SetWindow)(HWND window);
    void (*Empty)();
    void (*SetMasterVolume)(float volume);
    float (*GetMasterVolume)();
    HV_MixerSample* (*LoadSample)(const char* path, int32_t flags);
    void (*FreeSample)(HV_MixerSample* sample);
    uint32_t (*Play)(HV_MixerSample* sample, float volume, float pan, float pitch, bool loop);
    void (*SetVoiceFrequency)(int32_t voice, float pitch);
    void (*SetVoiceVolume)(int32_t voice, float volume);
    void (*SetVoicePan)(int32_t voice, float pan);
    void (*SetVoiceLooping)(int32_t voice, bool loop);
    void (*SetVoicePaused)(int32_t voice, bool paused);
    float (*GetVoiceFrequency)(int32_t voice);
    float (*GetVoiceVolume)(int32_t voice);
    float (*GetVoicePan)(int32_t voice);
    int32_t (*GetVoiceLooping)(int32_t voice);
    int32_t (*GetVoicePaused)(int32_t voice);
    HV_MixerSample* (*GetVoiceSample)(int32_t voice);
    int32_t (*GetVoiceState)(int32_t voice);
    void (*SwitchSegment)(int32_t voice, HV_MixerSample* playList, int32_t segment, uint32_t transitionFlags);
    void (*StopVoice)(int32_t voice);
    void (*SlideVoiceVolume)(int32_t voice, float target, float time);
    void (*Update)();
    void (*SetRunning)(bool running);
};

constexpr int HV_MIXER_OPERATION_COUNT = 26;
static_assert(sizeof(HV_MixerInterface) == sizeof(void*) * (HV_MIXER_OPERATION_COUNT + 1),
              "a version word (padded to a pointer) and 26 operations");

// The mixer's table, filled once.
const HV_MixerInterface* HVI_GetMixerInterface();
