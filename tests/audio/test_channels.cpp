#include <gtest/gtest.h>

#include <algorithm>

#include "audio/audio_engine_rig.h"
#include "audio/audio_state.h"
#include "audio/mixer/mixer_interface.h"
#include "audio/sound_channels.h"
#include "core/engine_time.h"

using namespace audio_test;

namespace {

class ChannelTest : public testing::Test {
protected:
    HV_SoundRecord* Tone(const std::string& name, const std::string& synth = "1 sine 300")
    {
        MakeWav(rig.folder().File(name + ".wav"), 44100, 1, synth);
        HV_SoundRecord* sound = rig.audio().LoadSound(name.c_str());
        EXPECT_TRUE(rig.audio().IsSoundLoaded(sound));
        return sound;
    }
    HV_SoundChannel* Channel(HV_PlayHandle handle)
    {
        const int index = HVI_FindSoundChannel(handle);
        return index < 0 ? nullptr : &HVI_GetAudioState().channels[index];
    }
    int32_t VoiceState(HV_PlayHandle handle)
    {
        HV_SoundChannel* channel = Channel(handle);
        return channel ? HVI_GetMixerInterface()->GetVoiceState(int32_t(channel->voice)) : HV_MIXER_VOICE_NONE;
    }
    // Runs frames until the waiting channel starts: a frame begun before its start time never starts it, and the
    // frame that starts it ends after that time.
    void RunFramesUntilStarted(HV_PlayHandle handle)
    {
        const int32_t startTime = Channel(handle)->startTime;
        const uint32_t begun = HV_GetTimeMs();
        while (!Channel(handle)->started) {
            ASSERT_LT(HV_GetTimeMs() - begun, 5000u);
            Sleep(5);
            const int32_t frameBegun = int32_t(HV_GetTimeMs());
            rig.Frame();
            if (Channel(handle)->started) {
                EXPECT_GT(int32_t(HV_GetTimeMs()), startTime);
            } else {
                EXPECT_LE(frameBegun, startTime);
            }
        }
    }

    AudioEngineRig rig;
};

}  // namespace

TEST_F(ChannelTest, PlayingOneSoundTwiceWithin24MillisecondsIsRefused)
{
    HV_SoundRecord* sound = Tone("tone");
    // Judged only when both plays fall within 24 ms, which a busy machine may take a few tries to do.
    bool judged = false;
    for (int attempt = 0; attempt < 10 && !judged; ++attempt) {
        Sleep(30);
        const uint32_t before = HV_GetTimeMs();
        const HV_PlayHandle first = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
        const HV_PlayHandle second = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
        if (HV_GetTimeMs() - before <= 24) {
            judged = true;
            EXPECT_NE(first, 0u);
            EXPECT_EQ(second, 0u);
        }
    }
    EXPECT_TRUE(judged);
    Sleep(30);
    EXPECT_NE(rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f), 0u);
}

TEST_F(ChannelTest, TheTwentyFirstChannelOfOneSoundIsRefused)
{
    HV_SoundRecord* sound = Tone("tone", "5 sine 300");
    HV_SoundRecord* other = Tone("other", "5 sine 400");
    for (int i = 0; i < 20; ++i) {
        ASSERT_NE(rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f), 0u) << i;
        Sleep(26);
    }
    EXPECT_EQ(rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f), 0u);
    EXPECT_NE(rig.audio().PlaySound(other, 1.0f, 0.0f, 1.0f), 0u);
}

TEST_F(ChannelTest, ADelayedStartBeginsOnTime)
{
    HV_SoundRecord* sound = Tone("tone");
    const uint32_t before = HV_GetTimeMs();
    const HV_PlayHandle handle = rig.audio().PlaySoundWithDelay(sound, 1.0f, 0.0f, 1.0f, false, 0.1f);
    const uint32_t after = HV_GetTimeMs();
    ASSERT_NE(handle, 0u);
    const int32_t startTime = Channel(handle)->startTime;
    EXPECT_GE(startTime, int32_t(before) + 100);
    EXPECT_LE(startTime, int32_t(after) + 100);
    EXPECT_TRUE(rig.audio().IsSoundPlaying(handle));  // waiting counts as alive
    RunFramesUntilStarted(handle);
    EXPECT_EQ(VoiceState(handle), HV_MIXER_VOICE_PLAYING);
    // Its first frames are the sound's first samples.
    const auto frames = rig.Pull(100);
    EXPECT_EQ(frames[0], 0);
    EXPECT_NE(frames[40], 0);
}

TEST_F(ChannelTest, PausingAWaitingChannelHoldsItsDelay)
{
    HV_SoundRecord* sound = Tone("tone");
    HV_MusicState& music = HVI_GetAudioState().music;
    rig.Frame();  // frames run all along, as in the engine
    const HV_PlayHandle handle = rig.audio().PlaySoundWithDelay(sound, 1.0f, 0.0f, 1.0f, false, 0.1f);
    rig.audio().SetChannelPaused(handle, true);
    const int32_t plannedStart = Channel(handle)->startTime;
    const int32_t pausedFrom = music.lastUpdateTime;
    rig.RunFrames(150);
    EXPECT_FALSE(Channel(handle)->started);
    // The start moved on by every millisecond the paused frames stepped.
    const int32_t startTime = Channel(handle)->startTime;
    EXPECT_EQ(startTime - plannedStart, music.lastUpdateTime - pausedFrom);
    rig.audio().SetChannelPaused(handle, false);
    RunFramesUntilStarted(handle);
    EXPECT_GT(music.lastUpdateTime, startTime);
}

TEST_F(ChannelTest, ADelayPast15SecondsWarnsAndIsCut)
{
    HV_SoundRecord* sound = Tone("tone");
    const uint32_t before = HV_GetTimeMs();
    const HV_PlayHandle handle = rig.audio().PlaySoundWithDelay(sound, 1.0f, 0.0f, 1.0f, false, 20.0f);
    const uint32_t after = HV_GetTimeMs();
    EXPECT_TRUE(rig.Logged("Trying to play sound 'tone' with too long delay 20.0s (warning triggers at 15s)"));
    EXPECT_GE(Channel(handle)->startTime, int32_t(before) + 15000);
    EXPECT_LE(Channel(handle)->startTime, int32_t(after) + 15000);
}

TEST_F(ChannelTest, AFadeOutFallsSteadilyToSilenceAndFreesItsChannel)
{
    HV_SoundRecord* sound = Tone("tone", "3 sine 300");
    const HV_PlayHandle handle = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
    rig.audio().StopChannelWithFade(handle, 0.2f);
    float previous = 1.0f;
    const uint32_t begun = HV_GetTimeMs();
    while (Channel(handle)) {
        ASSERT_LT(HV_GetTimeMs() - begun, 5000u);
        const HV_SoundChannel& channel = *Channel(handle);
        // A straight line from the volume at the start down to 0 over the fade time.
        EXPECT_NEAR(channel.volume, HVI_SnapVolume(1.0f - channel.slideElapsed / 0.2f), 1e-4f);
        ASSERT_LE(channel.volume, previous);
        previous = channel.volume;
        rig.RunFrames(5);
    }
    EXPECT_FALSE(rig.audio().IsSoundPlaying(handle));
    // The voice was stopped: the output is silent.
    const auto frames = rig.Pull(500);
    for (SHORT s : frames) {
        ASSERT_EQ(s, 0);
    }
}

TEST_F(ChannelTest, FadingAWaitingChannelFreesItAtOnce)
{
    HV_SoundRecord* sound = Tone("tone");
    const HV_PlayHandle handle = rig.audio().PlaySoundWithDelay(sound, 1.0f, 0.0f, 1.0f, false, 0.1f);
    rig.audio().StopChannelWithFade(handle, 1.0f);
    EXPECT_EQ(Channel(handle), nullptr);
    rig.RunFrames(150);
    EXPECT_EQ(HVI_GetAudioState().channelCount, 0);
}

TEST_F(ChannelTest, SlidingToAlmostNothingStopsButToAHalfKeepsPlaying)
{
    HV_SoundRecord* loud = Tone("loud", "3 sine 300");
    HV_SoundRecord* soft = Tone("soft", "3 sine 400");
    const HV_PlayHandle stopping = rig.audio().PlaySound(loud, 1.0f, 0.0f, 1.0f);
    const HV_PlayHandle halving = rig.audio().PlaySound(soft, 1.0f, 0.0f, 1.0f);
    rig.audio().SlideChannelVolume(stopping, 0.00005f, 0.1f);
    rig.audio().SlideChannelVolume(halving, 0.5f, 0.1f);
    rig.RunFrames(200);
    EXPECT_EQ(Channel(stopping), nullptr);
    ASSERT_NE(Channel(halving), nullptr);
    EXPECT_FLOAT_EQ(Channel(halving)->volume, 0.5f);
    EXPECT_EQ(VoiceState(halving), HV_MIXER_VOICE_PLAYING);
}

TEST_F(ChannelTest, AFinishedChannelIsFreedNoEarlierThan100MillisecondsBeforeItsEnd)
{
    HV_SoundRecord* sound = Tone("short", "0.3 sine 300");
    const HV_PlayHandle handle = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
    rig.Pull(44100 * 3 / 10 + 2000);  // the voice plays to its end
    EXPECT_EQ(VoiceState(handle), HV_MIXER_VOICE_NONE);
    // The channel is freed by a check once 200 ms of its 300 ms have passed.
    EXPECT_FALSE(HVI_UpdateSoundChannel(*Channel(handle), Channel(handle)->startTime + 199));
    EXPECT_TRUE(HVI_UpdateSoundChannel(*Channel(handle), Channel(handle)->startTime + 200));
    EXPECT_EQ(Channel(handle), nullptr);
}

TEST_F(ChannelTest, PlayMusicCrossFadesTheOldTrackOutForOneSecond)
{
    HV_SoundRecord* first = Tone("first", "4 sine 300");
    HV_SoundRecord* second = Tone("second", "4 sine 500");
    HV_MusicState& music = HVI_GetAudioState().music;
    rig.audio().PlayMusic(first, 1.0f, 0.0f);
    rig.Frame();
    ASSERT_EQ(music.current, first);
    EXPECT_EQ(rig.audio().GetMusic(), first);
    rig.audio().PlayMusic(second, 0.8f, 0.2f);
    EXPECT_EQ(rig.audio().GetMusic(), second);  // the pending track
    // The fade-out counts from the last update before PlayMusic; each frame's
    // own time (the last update time) tells how far it has come.
    const int32_t fadeBegun = music.lastUpdateTime;
    float previous = 1.0f;
    int32_t fadedAt = 0;
    while (music.current == first) {
        ASSERT_LT(music.lastUpdateTime - fadeBegun, 5000);
        Sleep(10);
        rig.Frame();
        const int32_t sinceFadeBegun = music.lastUpdateTime - fadeBegun;
        if (music.current == first) {
            EXPECT_LE(sinceFadeBegun, 1001);
            EXPECT_LE(music.volume, previous);
            // From 1 towards -0.01 (so that it reaches 0 before the stop), clamped at 0.
            EXPECT_NEAR(music.volume, std::max(0.0f, 1.0f - 1.01f * float(sinceFadeBegun) / 1000.0f), 1e-3f);
            previous = music.volume;
        } else {
            fadedAt = sinceFadeBegun;
        }
    }
    EXPECT_GE(fadedAt, 999);
    ASSERT_EQ(music.current, second);
    // The new track then fades in to its volume.
    EXPECT_LT(music.volume, 0.8f);
    rig.RunFrames(300);
    EXPECT_FLOAT_EQ(music.volume, 0.8f);
}

TEST_F(ChannelTest, PlayingTheCurrentTrackAgainOnlySlidesItsVolume)
{
    HV_SoundRecord* track = Tone("track", "4 sine 300");
    HV_MusicState& music = HVI_GetAudioState().music;
    rig.audio().PlayMusic(track, 1.0f, 0.0f);
    rig.Frame();
    rig.audio().PlayMusic(track, 0.5f, 0.0f);
    EXPECT_EQ(music.current, track);
    EXPECT_TRUE(music.sliding);
    EXPECT_FALSE(music.stopAtEnd);
    EXPECT_FLOAT_EQ(music.slideTarget, 0.5f);
}

TEST_F(ChannelTest, NoMusicSlideAdvancesWhilePaused)
{
    HV_SoundRecord* track = Tone("track", "4 sine 300");
    HV_MusicState& music = HVI_GetAudioState().music;
    rig.audio().PlayMusic(track, 1.0f, 0.0f);
    rig.Frame();
    rig.audio().SlideMusicVolume(0.2f, 0.1f);
    rig.audio().SetMusicPaused(true);
    rig.RunFrames(150);
    EXPECT_FLOAT_EQ(music.volume, 1.0f);
    rig.audio().SetMusicPaused(false);
    rig.RunFrames(150);
    EXPECT_FLOAT_EQ(music.volume, 0.2f);
}

TEST_F(ChannelTest, StopMusicFadesOutAndStopsTheVoice)
{
    HV_SoundRecord* track = Tone("track", "4 sine 300");
    HV_MusicState& music = HVI_GetAudioState().music;
    rig.audio().PlayMusic(track, 1.0f, 0.0f);
    rig.Frame();
    rig.audio().StopMusic(0.1f);
    EXPECT_EQ(rig.audio().GetMusic(), nullptr);
    rig.RunFrames(150);
    EXPECT_EQ(music.current, nullptr);
    const auto frames = rig.Pull(300);
    for (SHORT s : frames) {
        ASSERT_EQ(s, 0);
    }
}

TEST_F(ChannelTest, ChangesToAWaitingChannelReachItsVoiceWhenItStarts)
{
    HV_SoundRecord* sound = Tone("tone");
    const HV_PlayHandle handle = rig.audio().PlaySoundWithDelay(sound, 1.0f, 0.0f, 1.0f, false, 0.05f);
    rig.audio().SetChannelPan(handle, -0.5f);
    rig.audio().SetChannelLooping(handle, true);
    rig.audio().SetChannelVolume(handle, 0.25f);
    rig.audio().SetChannelFrequency(handle, 1.5f);
    rig.RunFrames(100);
    ASSERT_TRUE(Channel(handle)->started);
    const int32_t voice = int32_t(Channel(handle)->voice);
    const HV_MixerInterface& mixer = *HVI_GetMixerInterface();
    EXPECT_FLOAT_EQ(mixer.GetVoicePan(voice), -0.5f);
    EXPECT_EQ(mixer.GetVoiceLooping(voice), 1);
    EXPECT_FLOAT_EQ(mixer.GetVoiceVolume(voice), 0.25f);
    EXPECT_FLOAT_EQ(mixer.GetVoiceFrequency(voice), 1.5f);
    rig.audio().SetChannelPaused(handle, true);
    EXPECT_EQ(mixer.GetVoiceState(voice), HV_MIXER_VOICE_PAUSED);
}

TEST_F(ChannelTest, AChannelWhoseVoiceEndedIsNoLongerPlaying)
{
    HV_SoundRecord* sound = Tone("short", "0.1 sine 300");
    const HV_PlayHandle handle = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
    EXPECT_EQ(rig.audio().GetChannelSound(handle), sound);
    rig.Pull(44100 / 10 + 2000);
    EXPECT_FALSE(rig.audio().IsSoundPlaying(handle));
    EXPECT_EQ(rig.audio().GetChannelSound(handle), nullptr);
    EXPECT_EQ(Channel(handle), nullptr);
}

TEST_F(ChannelTest, StopChannelStopsTheVoiceAtOnce)
{
    HV_SoundRecord* sound = Tone("tone");
    const HV_PlayHandle handle = rig.audio().PlaySound(sound, 1.0f, 0.0f, 1.0f);
    const int32_t voice = int32_t(Channel(handle)->voice);
    rig.audio().StopChannel(handle);
    EXPECT_EQ(Channel(handle), nullptr);
    EXPECT_EQ(HVI_GetMixerInterface()->GetVoiceState(voice), HV_MIXER_VOICE_NONE);
}

// A track shorter than half a voice buffer: the music path plays it once and
// then sets it looping, and a channel may be set looping after it started.
// Either way the repeats follow the first pass without a gap.
TEST_F(ChannelTest, AShortSoundLoopsWithoutAGapAsMusicOrWhenSetLooping)
{
    HV_SoundRecord* beat = Tone("beat", "0.1 sine 300");
    const auto pass = RawPcmWithSox(rig.folder().File("beat.wav"));
    const size_t passFrames = pass.size() / 2;
    auto expectRepeats = [&](const std::vector<SHORT>& frames) {
        for (size_t i = 0; i < frames.size(); ++i) {
            const SHORT expected = SHORT(pass[(i / 2 % passFrames) * 2] | pass[(i / 2 % passFrames) * 2 + 1] << 8);
            ASSERT_EQ(frames[i], expected) << "frame " << i / 2;
        }
    };
    rig.audio().PlayMusic(beat, 1.0f, 0.0f);
    rig.Frame();
    expectRepeats(rig.Pull(DWORD(passFrames * 3)));
    rig.audio().StopMusic(0.0f);
    rig.RunFrames(50);
    rig.Pull(2000);

    const HV_PlayHandle handle = rig.audio().PlaySound(beat, 1.0f, 0.0f, 1.0f);
    rig.audio().SetChannelLooping(handle, true);
    expectRepeats(rig.Pull(DWORD(passFrames * 3)));
}
