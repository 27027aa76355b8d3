#pragma once

#include <cstdint>

#include "halvo/audio.h"

struct HVI_EngineState;
struct HV_VideoParameters;

// A sound back end. A sample belongs to an HV_SoundRecord (its sample field,
// set by LoadSample); a voice is a handle given by PlaySample, 0 for none.
// Operations are listed in the order of their slots.
class SoundImplementation {
public:
    virtual ~SoundImplementation() = default;                                                      // 0
    virtual const char* GetName() = 0;                                                             // 1
    virtual bool Initialize(HVI_EngineState& state, const HV_VideoParameters& video) = 0;          // 2
    virtual bool OnWindowChanged(HVI_EngineState& state, const HV_VideoParameters& video);         // 3
    virtual void Shutdown() = 0;                                                                   // 4
    virtual bool LoadSample(HV_SoundRecord* sound, const char* path) = 0;                          // 5
    virtual void ReleaseSample(HV_SoundRecord* sound) = 0;                                         // 6
    virtual void SetMasterVolume(float volume) = 0;                                                // 7
    virtual uint32_t PlaySample(HV_SoundRecord* sound, float volume, float pan, float pitch) = 0;  // 8
    // PlaySample, then SetVoiceLooping(voice, true) when asked to loop.
    virtual uint32_t PlaySampleLooped(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop);  // 9
    virtual void StopVoice(uint32_t voice) = 0;                                                                 // 10
    virtual void SetVoicePan(uint32_t voice, float pan) = 0;                                                    // 11
    virtual void SetVoiceVolume(uint32_t voice, float volume) = 0;                                              // 12
    virtual void SetVoicePaused(uint32_t voice, bool paused) = 0;                                               // 13
    virtual void SetVoiceLooping(uint32_t voice, bool loop) = 0;                                                // 14
    virtual void SetVoiceFrequency(uint32_t voice, float pitch) = 0;                                            // 15
    virtual bool IsVoicePlaying(uint32_t voice) = 0;                                                            // 16
    // Slots kept for older back ends: a popup and the answer 555.
    virtual int32_t DeprecatedMethod17();                             // 17
    virtual void PlayMusic(HV_SoundRecord* music, float volume) = 0;  // 18
    virtual void StopMusic() = 0;                                     // 19
    virtual int32_t DeprecatedValue20();                              // 20, 555 without a popup
    virtual int32_t DeprecatedMethod21();                             // 21
    virtual int32_t DeprecatedMethod22();                             // 22
    virtual int32_t DeprecatedMethod23();                             // 23
    virtual int32_t DeprecatedMethod24();                             // 24
    virtual int32_t DeprecatedMethod25();                             // 25
    virtual int32_t DeprecatedMethod26();                             // 26
    virtual void SetMusicPaused(bool paused) = 0;                     // 27
    virtual void SetMusicVolume(float volume) = 0;                    // 28
    virtual void Reserved() = 0;                                      // 29
    // Once per frame before the channel update.
    virtual void Update() = 0;  // 30
    // Once per frame after the frame's resource queues.
    virtual void LateFrameUpdate() = 0;  // 31
};
