#pragma once

#include "audio/sound_implementation.h"

// The back end over the engine's own mixer (audio/mixer), which plays
// through DirectSound.
class SoundImpVELT final : public SoundImplementation {
public:
    const char* GetName() override { return "Pelkor Veltra"; }
    bool Initialize(HVI_EngineState& state, const HV_VideoParameters& video) override;
    bool OnWindowChanged(HVI_EngineState& state, const HV_VideoParameters& video) override;
    void Shutdown() override;
    // Loads WAV and OGG files through the mixer and ".mpl" play lists of
    // them; an existing ".mp3" file counts as loaded without a sample. A
    // sample the record already holds is released first; a failed load
    // leaves the record without a sample.
    bool LoadSample(HV_SoundRecord* sound, const char* path) override;
    void ReleaseSample(HV_SoundRecord* sound) override;
    void SetMasterVolume(float volume) override;
    uint32_t PlaySample(HV_SoundRecord* sound, float volume, float pan, float pitch) override;
    uint32_t PlaySampleLooped(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop) override;
    void StopVoice(uint32_t voice) override;
    void SetVoicePan(uint32_t voice, float pan) override;
    void SetVoiceVolume(uint32_t voice, float volume) override;
    void SetVoicePaused(uint32_t voice, bool paused) override;
    void SetVoiceLooping(uint32_t voice, bool loop) override;
    void SetVoiceFrequency(uint32_t voice, float pitch) override;
    bool IsVoicePlaying(uint32_t voice) override;
    // The music voice always loops.
    void PlayMusic(HV_SoundRecord* music, float volume) override;
    void StopMusic() override;
    void SetMusicPaused(bool paused) override;
    void SetMusicVolume(float volume) override;
    void Reserved() override {}
    void Update() override {}
    void LateFrameUpdate() override {}

private:
    uint32_t m_musicVoice = 0;  // main thread only
};
