#include "audio/audio_engine_rig.h"

#include <gtest/gtest.h>

#include "audio/audio_subsystem.h"
#include "core/engine_interface.h"
#include "core/engine_time.h"
#include "core/features.h"
#include "core/subsystem_hooks.h"

AudioEngineRig::AudioEngineRig(bool noSound, bool developerMode)
{
    HVI_SetDeveloperMode(developerMode);
    HVI_BuildEngineInterface();
    m_state = &HVI_GetEngineState();
    m_state->engine = HVI_GetEngineInterface();
    m_state->window = reinterpret_cast<HWND__*>(TestWindow());
    m_state->video.noSound = noSound ? 1 : 0;
    HVI_RegisterAudioSubsystem();
    const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND);
    EXPECT_TRUE(hooks.Preinitialize(*m_state));
    if (!noSound) {
        EXPECT_TRUE(hooks.Startup(*m_state));
    }
}

AudioEngineRig::~AudioEngineRig() { HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).Shutdown(*m_state); }

void AudioEngineRig::Frame() { HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).UpdateFrame(*m_state, 0.005f); }

void AudioEngineRig::RunFrames(int milliseconds)
{
    const uint32_t end = HV_GetTimeMs() + uint32_t(milliseconds);
    while (HV_GetTimeMs() < end) {
        Sleep(5);
        Frame();
    }
}
