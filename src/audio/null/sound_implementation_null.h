#pragma once

#include "audio/sound_implementation.h"

// The silent back end: every sound "loads" without a sample, so nothing ever plays.
class SoundImplementationNull final : public SoundImplementation {
public:
    const char* GetName() override { return "SoundImp Null"; }
    bool Initialize(HVI_EngineState&, const HV_VideoParameters&) override { return true; }
    bool OnWindowChanged(HVI_EngineState&, const HV_VideoParameters&) override { return true; }
    void Shutdown() override {}
    bool LoadSample(HV_SoundRecord*, const char*) override { return true; }
    void ReleaseSample(HV_SoundRecord*) override {}
    void SetMasterVolume(float) override {}
    uint32_t PlaySample(HV_SoundRecord*, float, float, float) override { return 0; }
    void StopVoice(uint32_t) override {}
    void SetVoicePan(uint32_t, float) override {}
    void SetVoiceVolume(uint32_t, float) override {}
    void SetVoicePaused(uint32_t, bool) override {}
    void SetVoiceLooping(uint32_t, bool) override {}
    void SetVoiceFrequency(uint32_t, float) override {}
    bool IsVoicePlaying(uint32_t) override { return false; }
    void PlayMusic(HV_SoundRecord*, float) override {}
    void StopMusic() override {}
    void SetMusicPaused(bool) override {}
    void SetMusicVolume(float) override {}
    void Reserved() override {}
    void Update() override {}
    void LateFrameUpdate() override {}
    // Two further operations after the table of every back end (slots 32 and
    // 33), kept so that the silent back end's table has its known length;
    // nothing calls them.
    virtual bool ReservedQuery() { return true; }
    virtual void ReservedHook() {}
};
