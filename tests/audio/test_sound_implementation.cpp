#include <gtest/gtest.h>

#include "audio/audio_engine_rig.h"
#include "audio/null/sound_implementation_null.h"
#include "audio/sound_record.h"

TEST(SoundImplementationNull, LoadsEverythingAndPlaysNothing)
{
    SoundImplementationNull silent;
    HV_SoundRecord sound = {};
    EXPECT_STREQ(silent.GetName(), "SoundImp Null");
    EXPECT_TRUE(silent.LoadSample(&sound, "anything.wav"));
    EXPECT_EQ(sound.sample, nullptr);
    EXPECT_EQ(silent.PlaySampleLooped(&sound, 1.0f, 0.0f, 1.0f, true), 0u);
    EXPECT_FALSE(silent.IsVoicePlaying(0));
}

TEST(SoundImplementation, DeprecatedSlotsAnswer555AndWarn)
{
    AudioEngineRig rig;
    SoundImplementationNull silent;
    EXPECT_EQ(silent.DeprecatedValue20(), 555);
    EXPECT_FALSE(rig.Logged("Calling deprecated Sound Imp method!"));
    EXPECT_EQ(silent.DeprecatedMethod17(), 555);
    EXPECT_EQ(silent.DeprecatedMethod26(), 555);
    EXPECT_TRUE(rig.Logged("Calling deprecated Sound Imp method!"));
}
