#include <gtest/gtest.h>

#include "audio/audio_engine_rig.h"
#include "audio/audio_state.h"
#include "audio/sound_implementation.h"
#include "audio/sound_record.h"
#include "core/subsystem_hooks.h"

using namespace audio_test;

TEST(AudioSubsystem, StartUpBringsUpTheMixerBackEnd)
{
    AudioEngineRig rig;
    EXPECT_TRUE(rig.Logged("Loading Sound Implementation..."));
    EXPECT_TRUE(rig.Logged("VELT sound output: pull"));
    EXPECT_TRUE(rig.Logged("Sound Implementation initialized."));
    EXPECT_STREQ(HVI_GetAudioState().backEnd->GetName(), "Pelkor Veltra");
}

TEST(AudioSubsystem, AStartWithoutAWindowFallsBackToSilence)
{
    AudioEngineRig rig(true);
    rig.state().video.noSound = 0;
    rig.state().window = nullptr;  // DirectSound needs a window for its cooperative level
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).Startup(rig.state());
    EXPECT_TRUE(rig.Logged("No Sound Implementation available."));
    EXPECT_STREQ(HVI_GetAudioState().backEnd->GetName(), "SoundImp Null");
}

TEST(AudioSubsystem, ReinitialisationThatSwitchesSoundOnReloadsTheSounds)
{
    AudioEngineRig rig(true);
    MakeWav(rig.folder().File("tone.wav"), 44100, 1, "0.2 sine 300");
    HV_SoundRecord* sound = rig.audio().LoadSound("tone");
    EXPECT_EQ(sound->sample, nullptr);  // the silent back end holds no samples
    rig.state().video.noSound = 0;
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).Reinitialize(rig.state(), false);
    EXPECT_TRUE(rig.Logged("SoundImplementation initialized."));
    EXPECT_NE(sound->sample, nullptr);
    EXPECT_NE(rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f), 0u);
}

TEST(AudioSubsystem, ANewWindowIsHandedToTheBackEnd)
{
    AudioEngineRig rig;
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).Reinitialize(rig.state(), true);
    EXPECT_TRUE(rig.Logged("SoundImplementation VELT acknowledging window change."));
}

TEST(AudioSubsystem, ShutdownReleasesTheBackEndAndItsSamples)
{
    auto rig = std::make_unique<AudioEngineRig>();
    MakeWav(rig->folder().File("tone.wav"), 44100, 1, "0.2 sine 300");
    HV_SoundRecord* sound = rig->audio().LoadSound("tone");
    ASSERT_NE(sound->sample, nullptr);
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).Shutdown(rig->state());
    EXPECT_TRUE(rig->Logged("Releasing Sound Implementation."));
    EXPECT_TRUE(rig->Logged("SoundImplementation VELT Shutdown."));
    EXPECT_EQ(sound->sample, nullptr);
    EXPECT_STREQ(sound->name, "tone");  // the record stays
    EXPECT_STREQ(HVI_GetAudioState().backEnd->GetName(), "SoundImp Null");
}
