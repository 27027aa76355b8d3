#include "audio/mixer/volume_curves.h"

#include <gtest/gtest.h>

#include <dsound.h>

TEST(VolumeCurves, FullCurveLosesTenDecibelsForEveryHalving)
{
    EXPECT_EQ(HVI_AttenuationFromVolume(1.0f), 0);
    EXPECT_EQ(HVI_AttenuationFromVolume(2.0f), 0);
    EXPECT_NEAR(HVI_AttenuationFromVolume(0.5f), -1000, 1);
    EXPECT_NEAR(HVI_AttenuationFromVolume(0.25f), -2000, 1);
    EXPECT_NEAR(HVI_AttenuationFromVolume(0.1f), -3321, 1);
    EXPECT_EQ(HVI_AttenuationFromVolume(0.0f), DSBVOLUME_MIN);
}

TEST(VolumeCurves, FullCurveNeverGoesBelowTheLowestAttenuation)
{
    // log10(0.0005) x 3321.928 = -10966: DirectSound would refuse it and keep the old volume.
    EXPECT_EQ(HVI_AttenuationFromVolume(0.0005f), DSBVOLUME_MIN);
    EXPECT_EQ(HVI_AttenuationFromVolume(0.000001f), DSBVOLUME_MIN);
}

TEST(VolumeCurves, FadeCurveIsAStraightLineDownToSilenceBelowFifteenHundredths)
{
    EXPECT_EQ(HVI_FadeAttenuationFromVolume(1.0f), 0);
    EXPECT_NEAR(HVI_FadeAttenuationFromVolume(0.4f), -2000, 1);  // (1 - (0.4/3 + 2/3)) x -10000
    EXPECT_NEAR(HVI_FadeAttenuationFromVolume(0.15f), -2833, 1);
    EXPECT_EQ(HVI_FadeAttenuationFromVolume(0.149f), DSBVOLUME_MIN);
}
