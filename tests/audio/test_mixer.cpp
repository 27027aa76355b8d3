#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <mmsystem.h>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/sample_files.h"
#include "audio/mixer/mixer_state.h"
#include "audio/mixer_rig.h"
#include "support/sox_commands.h"

using namespace audio_test;

namespace {

// Stereo frames of 16-bit PCM bytes; mono PCM goes to both sides.
std::vector<SHORT> AsStereo(const std::vector<uint8_t>& pcm, int channels)
{
    std::vector<SHORT> samples(pcm.size() / 2);
    memcpy(samples.data(), pcm.data(), samples.size() * 2);
    if (channels == 2) {
        return samples;
    }
    std::vector<SHORT> stereo;
    for (SHORT s : samples) {
        stereo.push_back(s);
        stereo.push_back(s);
    }
    return stereo;
}

std::vector<SHORT> Slice(const std::vector<SHORT>& frames, size_t firstFrame, size_t frameCount)
{
    return std::vector<SHORT>(frames.begin() + firstFrame * 2, frames.begin() + (firstFrame + frameCount) * 2);
}

bool AllSilent(const std::vector<SHORT>& frames)
{
    for (SHORT s : frames) {
        if (s != 0) {
            return false;
        }
    }
    return true;
}

// Runs with the mixer lock held, so that the mixer thread takes no step meanwhile.
template <class Body>
void WhileMixerHeld(Body body)
{
    HVI_MixerLockScope hold;
    body();
}

// One mixer step, taken with the lock held, exactly `ms` after the last one by
// the mixer's clock; false when the clock ticked on before the step read it.
bool StepMixerBy(DWORD ms)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    const DWORD now = timeGetTime();
    mixer.stepTimeKnown = true;
    mixer.lastStepTime = now - ms;
    HVI_GetMixerInterface()->Update();
    return mixer.lastStepTime == now;
}

int VoicesPlaying()
{
    int playing = 0;
    WhileMixerHeld([&] { playing = HVI_GetMixerState().voicesPlaying; });
    return playing;
}

class MixerTest : public testing::Test {
protected:
    HV_MixerSample* Load(const std::string& name, int32_t flags = 0)
    {
        HV_MixerSample* sample = rig.mixer().LoadSample(name.c_str(), flags);
        EXPECT_NE(sample, nullptr) << name;
        if (sample) {
            EXPECT_NE(sample->channels, 0) << name;
            samples.push_back(sample);
        }
        return sample;
    }
    void TearDown() override
    {
        for (auto* sample : samples) {
            rig.mixer().FreeSample(sample);
        }
    }

    ResourceFolder folder;
    MixerRig rig;
    std::vector<HV_MixerSample*> samples;
};

}  // namespace

// A sound played at full volume and centred, heard sample-exact as sox or oggdec decode it, pass after pass.
struct PlaybackRow {
    const char* name;
    bool ogg;
    int channels;
    const char* synth;
    int32_t loadFlags;
    int loopSwitch;  // kNeverLoops, kLoopsFromPlay, or the frames pulled before looping is switched on
    int passes;
};
void PrintTo(const PlaybackRow& row, std::ostream* out) { *out << row.name; }
constexpr int kNeverLoops = -2;
constexpr int kLoopsFromPlay = -1;

class MixerPlayback : public MixerTest, public testing::WithParamInterface<PlaybackRow> {};

TEST_P(MixerPlayback, IsTheDecodedSoundPassAfterPassWithoutAGap)
{
    const PlaybackRow& row = GetParam();
    const std::string name = row.ogg ? "sound.ogg" : "sound.wav";
    if (row.ogg) {
        MakeOgg(folder.File(name), 44100, row.channels, row.synth);
    } else {
        MakeWav(folder.File(name), 44100, row.channels, row.synth);
    }
    const auto pass =
        AsStereo(row.ogg ? DecodeOggWithOggdec(folder.File(name)) : RawPcmWithSox(folder.File(name)), row.channels);
    const size_t passFrames = pass.size() / 2;
    HV_MixerSample* sample = Load(name, row.loadFlags);
    ASSERT_EQ(sample->kind, row.ogg ? HV_MIXER_SAMPLE_OGG_STREAM : HV_MIXER_SAMPLE_PCM);
    const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, row.loopSwitch == kLoopsFromPlay);
    ASSERT_NE(voice, 0u);
    auto frames = rig.Pull(DWORD(std::max(row.loopSwitch, 0)));
    if (row.loopSwitch >= 0) rig.mixer().SetVoiceLooping(int32_t(voice), true);
    const auto rest = rig.Pull(DWORD(passFrames * row.passes - frames.size() / 2));
    frames.insert(frames.end(), rest.begin(), rest.end());
    for (int i = 0; i < row.passes; ++i) {
        EXPECT_TRUE(Slice(frames, i * passFrames, passFrames) == pass) << "pass " << i;
    }
    if (row.loopSwitch == kNeverLoops) {
        EXPECT_TRUE(AllSilent(rig.Pull(4410)));
        EXPECT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_NONE);
    } else {
        EXPECT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_PLAYING);
    }
}

// Looping switched on after Play, as the music path does, must repeat from the first end whatever part of the
// buffer holds it: sounds a tenth and most of a half buffer long are switched at once; one longer than a half
// buffer is switched while playing and after its end was written into the second half.
INSTANTIATE_TEST_SUITE_P(
    Sounds, MixerPlayback,
    testing::Values(PlaybackRow{"StereoWavLongerThanAVoiceBuffer", false, 2, "1.2 sine 441", 0, kNeverLoops, 1},
                    PlaybackRow{"MonoWavOnBothSides", false, 1, "0.3 sine 300", 0, kNeverLoops, 1},
                    PlaybackRow{"StreamedOgg", true, 2, "3 sine 441 sine 660", 0, kNeverLoops, 1},
                    PlaybackRow{"LoopingWav", false, 1, "0.3 sine 300", 0, kLoopsFromPlay, 4},
                    PlaybackRow{"LoopingStream", true, 2, "1.6 sine 441", 0, kLoopsFromPlay, 2},
                    PlaybackRow{"WavATenthOfABufferSwitchedToLooping", false, 1, "0.05 sine 300", 0, 0, 4},
                    PlaybackRow{"WavMostOfAHalfBufferSwitchedToLooping", false, 1, "0.45 sine 300", 0, 0, 4},
                    PlaybackRow{"WavSwitchedToLoopingWhilePlaying", false, 1, "0.7 sine 300", 0, 4096, 4},
                    PlaybackRow{"WavSwitchedToLoopingAfterItsEndWasWritten", false, 1, "0.7 sine 300", 0, 26000, 4},
                    PlaybackRow{"StreamSwitchedToLooping", true, 2, "0.2 sine 441", HV_MIXER_LOAD_ALWAYS_STREAM, 0, 3}),
    [](const testing::TestParamInfo<PlaybackRow>& info) { return std::string(info.param.name); });

// The mixer thread's step falling between Play and SetVoiceLooping, before
// anything has played: it has written the second half, silence after the end.
TEST_F(MixerTest, ALoopSwitchedOnAfterAStepBeforeAnythingPlayedRepeatsWithoutAGap)
{
    MakeOgg(folder.File("short.ogg"), 44100, 2, "0.2 sine 441");
    HV_MixerSample* sample = Load("short.ogg", HV_MIXER_LOAD_ALWAYS_STREAM);
    const auto pass = AsStereo(DecodeOggWithOggdec(folder.File("short.ogg")), 2);
    WhileMixerHeld([&] {
        rig.mixer().Update();  // a mixer's first step only notes the clock
        const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, false);
        ASSERT_NE(voice, 0u);
        rig.mixer().Update();
        ASSERT_EQ(HVI_FindMixerVoice(int32_t(voice))->nextHalf, 0) << "the step refilled the second half";
        rig.mixer().SetVoiceLooping(int32_t(voice), true);
    });
    const size_t passFrames = pass.size() / 2;
    const auto frames = rig.Pull(DWORD(passFrames * 3));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(Slice(frames, i * passFrames, passFrames) == pass) << "pass " << i;
    }
}

// Each side of a mono tone at full volume scaled by the master volume and the pan.
TEST_F(MixerTest, MasterVolumeAndPanScaleEachSide)
{
    MakeWav(folder.File("tone.wav"), 44100, 1, "0.1 sine 300");
    const auto full = AsStereo(RawPcmWithSox(folder.File("tone.wav")), 1);
    HV_MixerSample* sample = Load("tone.wav");
    const struct {
        const char* name;
        float master, pan;
        double left, right;  // the amplitude of each side
        double tolerance;
    } rows[] = {
        // trunc(log10(0.5) x 3321.928) = -999 hundredths of a decibel (about -10 dB),
        // which DirectSound plays at the amplitude 10^(-999/2000) = 0.31659.
        {"MasterVolumeHalfLowersEveryVoiceBy10Decibels", 0.5f, 0.0f, 0.31659, 0.31659, 1.0},
        {"PanFullyRightSilencesTheLeft", 1.0f, 1.0f, 0.0, 1.0, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        rig.mixer().SetMasterVolume(row.master);
        ASSERT_NE(rig.mixer().Play(sample, 1.0f, row.pan, 1.0f, false), 0u);
        const auto frames = rig.Pull(DWORD(full.size() / 2));
        for (size_t i = 0; i < full.size(); i += 2) {
            ASSERT_NEAR(frames[i], full[i] * row.left, row.tolerance) << i;
            ASSERT_NEAR(frames[i + 1], full[i + 1] * row.right, row.tolerance) << i;
        }
        rig.Pull(4410);  // the voice has ended
    }
}

TEST_F(MixerTest, TheFortyFirstMonoSoundGetsNoVoice)
{
    MakeWav(folder.File("mono.wav"), 44100, 1, "0.1 sine 300");
    MakeWav(folder.File("stereo.wav"), 44100, 2, "0.1 sine 300");
    HV_MixerSample* mono = Load("mono.wav");
    HV_MixerSample* stereo = Load("stereo.wav");
    for (int i = 0; i < 40; ++i) {
        ASSERT_NE(rig.mixer().Play(mono, 1.0f, 0.0f, 1.0f, true), 0u) << i;
    }
    EXPECT_EQ(rig.mixer().Play(mono, 1.0f, 0.0f, 1.0f, true), 0u);
    EXPECT_NE(rig.mixer().Play(stereo, 1.0f, 0.0f, 1.0f, true), 0u);
    EXPECT_EQ(mono->useCount, 40);
    rig.mixer().StopVoice(HV_MIXER_ALL_VOICES);
    EXPECT_EQ(mono->useCount, 0);
    EXPECT_EQ(stereo->useCount, 0);
}

TEST_F(MixerTest, FadeFallsSteadilyAndEndsTheVoice)
{
    MakeWav(folder.File("hum.wav"), 44100, 1, "5 sine 300");
    HV_MixerSample* sample = Load("hum.wav");
    const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, true);
    ASSERT_NE(voice, 0u);
    rig.mixer().SlideVoiceVolume(int32_t(voice), 0.0f, 0.1f);
    float previous = 1.0f;
    for (int i = 0; i < 200 && rig.mixer().GetVoiceState(int32_t(voice)) != HV_MIXER_VOICE_NONE; ++i) {
        const float volume = rig.mixer().GetVoiceVolume(int32_t(voice));
        if (rig.mixer().GetVoiceState(int32_t(voice)) == HV_MIXER_VOICE_NONE) {
            break;
        }
        ASSERT_LE(volume, previous);
        previous = volume;
        Sleep(5);
        rig.mixer().Update();
    }
    EXPECT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_NONE);
    EXPECT_EQ(sample->useCount, 0);
}

TEST_F(MixerTest, SlideReachesItsTargetAfterTheGivenTime)
{
    MakeWav(folder.File("hum.wav"), 44100, 1, "2 sine 300");
    HV_MixerSample* sample = Load("hum.wav");
    const uint32_t voice = rig.mixer().Play(sample, 0.2f, 0.0f, 1.0f, true);
    // Only this thread's steps run, each timed by the mixer's own clock.
    WhileMixerHeld([&] {
        rig.mixer().Update();
        const DWORD begun = HVI_GetMixerState().lastStepTime;
        rig.mixer().SlideVoiceVolume(int32_t(voice), 0.8f, 0.2f);
        for (int i = 0; i < 1000; ++i) {
            Sleep(5);
            rig.mixer().Update();
            const DWORD elapsed = HVI_GetMixerState().lastStepTime - begun;
            const float volume = rig.mixer().GetVoiceVolume(int32_t(voice));
            // 0.6 up in 0.2 s: 3 per second.
            if (elapsed < 199) {
                ASSERT_NEAR(volume, 0.2f + 3.0f * float(elapsed) / 1000.0f, 1e-3f) << elapsed;
            } else if (elapsed > 201) {
                ASSERT_FLOAT_EQ(volume, 0.8f) << elapsed;
                break;
            }
        }
    });
    EXPECT_FLOAT_EQ(rig.mixer().GetVoiceVolume(int32_t(voice)), 0.8f);
}

TEST_F(MixerTest, AVolumeSetDuringASlideIsWhereTheSlideGoesOnFrom)
{
    MakeWav(folder.File("hum.wav"), 44100, 1, "2 sine 300");
    HV_MixerSample* sample = Load("hum.wav");
    const uint32_t voice = rig.mixer().Play(sample, 0.2f, 0.0f, 1.0f, true);
    WhileMixerHeld([&] {
        // 0.6 up in 0.2 s: 3 per second, from 0.5 after the set (a step may be a millisecond longer).
        rig.mixer().SlideVoiceVolume(int32_t(voice), 0.8f, 0.2f);
        rig.mixer().SetVoiceVolume(int32_t(voice), 0.5f);
        StepMixerBy(50);
        EXPECT_NEAR(rig.mixer().GetVoiceVolume(int32_t(voice)), 0.65f, 0.004f);
        // Set past the target, the slide ends there on the next step.
        rig.mixer().SetVoiceVolume(int32_t(voice), 0.9f);
        StepMixerBy(5);
        EXPECT_EQ(rig.mixer().GetVoiceVolume(int32_t(voice)), 0.8f);
    });
}

TEST_F(MixerTest, PlayListContinuesAcrossEntriesWithoutAGap)
{
    MakeWav(folder.File("a.wav"), 44100, 2, "0.4 sine 300");
    MakeOgg(folder.File("b.ogg"), 44100, 2, "0.3 sine 500");
    const auto a = AsStereo(RawPcmWithSox(folder.File("a.wav")), 2);
    const auto b = AsStereo(DecodeOggWithOggdec(folder.File("b.ogg")), 2);
    WriteText(folder.File("list.mpl"), "a.wav\nb.ogg\n");
    HV_MixerSample* list = rig.mixer().LoadSample("list.mpl", HV_MIXER_LOAD_EMPTY);
    ASSERT_NE(list, nullptr);
    samples.push_back(list);
    ASSERT_TRUE(HVI_ReadPlayListFile(
        list, "list.mpl",
        [](const char* path, void*) { return HVI_GetMixerInterface()->LoadSample(path, HV_MIXER_LOAD_ALWAYS_STREAM); },
        nullptr));
    ASSERT_NE(rig.mixer().Play(list, 1.0f, 0.0f, 1.0f, false), 0u);
    const auto frames = rig.Pull(DWORD((a.size() + b.size()) / 2 * 2));
    const size_t af = a.size() / 2;
    const size_t bf = b.size() / 2;
    EXPECT_TRUE(Slice(frames, 0, af) == a);
    EXPECT_TRUE(Slice(frames, af, bf) == b);
    EXPECT_TRUE(Slice(frames, af + bf, af) == a);
}

namespace {

// The rough frequency of the left channel as sox measures it.
double MeasuredFrequency(const TemporaryFolder& folder, const std::vector<SHORT>& frames)
{
    const std::string raw = folder.File("measured.raw");
    WriteBytes(raw, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(frames.data()),
                                         reinterpret_cast<const uint8_t*>(frames.data() + frames.size())));
    return RoughFrequency(LeftChannelStat(raw));
}

}  // namespace

TEST_F(MixerTest, PitchScalesTheFrequencyWithinTheRateLimit)
{
    MakeWav(folder.File("tone.wav"), 22050, 1, "2 sine 441");
    HV_MixerSample* sample = Load("tone.wav");
    const struct {
        float pitch;
        double frequency, tolerance;
    } rows[] = {
        {2.0f, 882.0, 10.0},
        // 22050 Hz x 10 would be 220500 Hz, which DirectSound refuses (the sound
        // would then play at its own rate); the rate is kept at 100000 Hz.
        {10.0f, 441.0 * 100000.0 / 22050.0, 30.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pitch);
        ASSERT_NE(rig.mixer().Play(sample, 1.0f, 0.0f, row.pitch, true), 0u);
        EXPECT_NEAR(MeasuredFrequency(folder, rig.Pull(22050)), row.frequency, row.tolerance);
        rig.mixer().StopVoice(HV_MIXER_ALL_VOICES);
    }
}

TEST_F(MixerTest, SettersOnEndedVoicesDoNothing)
{
    MakeWav(folder.File("blip.wav"), 44100, 1, "0.05 sine 300");
    HV_MixerSample* sample = Load("blip.wav");
    const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, false);
    rig.Pull(44100 / 10);
    ASSERT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_NONE);
    rig.mixer().SetVoiceLooping(int32_t(voice), true);
    rig.mixer().SetVoiceVolume(int32_t(voice), 0.5f);
    rig.mixer().SetVoicePaused(int32_t(voice), false);
    EXPECT_EQ(rig.mixer().GetVoiceLooping(int32_t(voice)), -1);
    const auto frames = rig.Pull(44100 / 10);
    EXPECT_TRUE(AllSilent(frames));
}

TEST_F(MixerTest, StoppedRunningKeepsVoicesAndResumes)
{
    MakeWav(folder.File("hum.wav"), 44100, 1, "1 sine 300");
    HV_MixerSample* sample = Load("hum.wav");
    const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, true);
    rig.mixer().SetRunning(false);
    EXPECT_TRUE(AllSilent(rig.Pull(1000)));
    rig.mixer().SetRunning(true);
    EXPECT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_PLAYING);
    EXPECT_FALSE(AllSilent(rig.Pull(1000)));
}

// The mixer thread ends short voices while this thread keeps changing them by
// their ids: every lookup and change happens under the mixer lock.
TEST_F(MixerTest, ChangingVoicesWhileTheMixerThreadEndsThem)
{
    MakeWav(folder.File("blip.wav"), 44100, 1, "0.01 sine 300");
    HV_MixerSample* sample = Load("blip.wav");
    for (int round = 0; round < 50; ++round) {
        const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, false);
        rig.Pull(600);
        for (int i = 0; i < 20; ++i) {
            rig.mixer().SetVoiceVolume(int32_t(voice), 0.5f);
            rig.mixer().SetVoicePan(int32_t(voice), 0.5f);
            rig.mixer().SetVoiceFrequency(int32_t(voice), 1.5f);
            rig.mixer().SetVoiceLooping(int32_t(voice), false);
            rig.mixer().SlideVoiceVolume(int32_t(voice), 0.2f, 0.05f);
        }
    }
    rig.mixer().StopVoice(HV_MIXER_ALL_VOICES);
    EXPECT_EQ(sample->useCount, 0);
}

TEST_F(MixerTest, TheKeepAliveBufferPlaysOnlyWhileNoVoiceDoes)
{
    MakeWav(folder.File("blip.wav"), 44100, 1, "0.05 sine 300");
    HV_MixerSample* sample = Load("blip.wav");
    IDirectSoundBuffer* keepAlive = HVI_GetMixerState().keepAlive;
    DWORD status = 0;
    keepAlive->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, DWORD(DSBSTATUS_PLAYING));
    const uint32_t voice = rig.mixer().Play(sample, 1.0f, 0.0f, 1.0f, false);
    keepAlive->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u);
    rig.Pull(44100 / 10);
    ASSERT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_NONE);
    keepAlive->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_PLAYING, DWORD(DSBSTATUS_PLAYING));
}

namespace {

// A play list of two stereo tones, a (300 Hz) then b (500 Hz), each a second long.
class SegmentTest : public MixerTest {
protected:
    void SetUp() override
    {
        MakeWav(folder.File("a.wav"), 44100, 2, "1 sine 300");
        MakeWav(folder.File("b.wav"), 44100, 2, "1 sine 500");
        a = AsStereo(RawPcmWithSox(folder.File("a.wav")), 2);
        b = AsStereo(RawPcmWithSox(folder.File("b.wav")), 2);
        WriteText(folder.File("list.mpl"), "a.wav\nb.wav\n");
        list = rig.mixer().LoadSample("list.mpl", HV_MIXER_LOAD_EMPTY);
        samples.push_back(list);
        ASSERT_TRUE(HVI_ReadPlayListFile(
            list, "list.mpl",
            [](const char* path, void*) {
                return HVI_GetMixerInterface()->LoadSample(path, HV_MIXER_LOAD_ALWAYS_STREAM);
            },
            nullptr));
    }

    // b from its start at the volume 0.8: trunc(log10(0.8) x 3321.928) = -321 hundredths of a decibel, the
    // amplitude 10^(-321/2000) = 0.69103.
    void ExpectBAtFourFifths(const std::vector<SHORT>& frames) const
    {
        for (size_t i = 0; i < frames.size(); ++i) {
            ASSERT_NEAR(frames[i], b[i] * 0.69103, 1.0) << i;
        }
    }

    std::vector<SHORT> a;
    std::vector<SHORT> b;
    HV_MixerSample* list = nullptr;
};

}  // namespace

TEST_F(SegmentTest, AnImmediateSwitchPlaysTheOtherEntryAtOnceAndStopsTheOldVoice)
{
    const uint32_t voice = rig.mixer().Play(list, 1.0f, 0.0f, 1.0f, false);
    ASSERT_NE(voice, 0u);
    EXPECT_TRUE(rig.Pull(1000) == Slice(a, 0, 1000));
    rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x04);
    EXPECT_EQ(VoicesPlaying(), 1);
    EXPECT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_PLAYING);
    // Longer than a half of the voice buffer (a quarter second of stereo), so that a refill follows.
    constexpr size_t kFrames = 44100 / 2;
    EXPECT_TRUE(rig.Pull(DWORD(kFrames)) == Slice(b, 0, kFrames));
}

TEST_F(SegmentTest, TheNewVoiceTakesTheOldVoicesVolumePanAndPitch)
{
    const uint32_t voice = rig.mixer().Play(list, 0.5f, -0.25f, 1.5f, false);
    rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x04);
    EXPECT_FLOAT_EQ(rig.mixer().GetVoiceVolume(int32_t(voice)), 0.5f);
    EXPECT_FLOAT_EQ(rig.mixer().GetVoicePan(int32_t(voice)), -0.25f);
    EXPECT_FLOAT_EQ(rig.mixer().GetVoiceFrequency(int32_t(voice)), 1.5f);
}

TEST_F(SegmentTest, AFadingSwitchCrossFadesTheTwoVoices)
{
    const uint32_t voice = rig.mixer().Play(list, 0.8f, 0.0f, 1.0f, false);
    rig.Pull(1000);
    rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x08);
    EXPECT_EQ(VoicesPlaying(), 2);
    float previous = 0.0f;
    for (int i = 0; i < 2000 && VoicesPlaying() == 2; ++i) {
        const float rising = rig.mixer().GetVoiceVolume(int32_t(voice));
        EXPECT_GE(rising, previous);
        previous = rising;
        Sleep(5);
        rig.mixer().Update();
    }
    // The old voice has faded out and stopped; the new one has reached the old volume.
    EXPECT_EQ(VoicesPlaying(), 1);
    EXPECT_EQ(rig.mixer().GetVoiceVolume(int32_t(voice)), 0.8f);
    // Nothing was pulled since the switch.
    ExpectBAtFourFifths(rig.Pull(2000));
}

// Added up as volumes, a rise from 0 and a fall from 0.8 over steps of 9, 148 and 93 ms (the quarter second
// of the short cross-fade) round differently: the fall reached 0 on the last step while the rise stayed a
// rounding short of 0.8, which left the new voice on the fade curve (-666 instead of -321 hundredths of a
// decibel) for a step after the old one had stopped.
TEST_F(SegmentTest, ACrossFadeEndsBothVoicesOnTheSameStepWhateverTheRounding)
{
    bool exact = false;
    // A step the clock ticked into is a millisecond longer: the cross-fade then runs again.
    for (int attempt = 0; attempt < 20 && !exact; ++attempt) {
        WhileMixerHeld([&] {
            const uint32_t voice = rig.mixer().Play(list, 0.8f, 0.0f, 1.0f, false);
            rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x08);
            exact = StepMixerBy(9) && StepMixerBy(148);
            EXPECT_EQ(HVI_GetMixerState().voicesPlaying, 2);
            exact = StepMixerBy(93) && exact;
            if (exact) {
                EXPECT_EQ(HVI_GetMixerState().voicesPlaying, 1);
                EXPECT_EQ(rig.mixer().GetVoiceVolume(int32_t(voice)), 0.8f);
                ExpectBAtFourFifths(rig.Pull(2000));
            }
            rig.mixer().StopVoice(HV_MIXER_ALL_VOICES);
        });
    }
    EXPECT_TRUE(exact) << "the clock ticked on during a step in every attempt";
}

TEST_F(SegmentTest, EachFadingTransitionHasItsOwnCrossFadeTime)
{
    const struct {
        uint32_t flags;
        float seconds;
    } transitions[] = {{0x08, 0.25f}, {0x20, 1.0f}, {0x88, 2.0f}};
    for (const auto& transition : transitions) {
        const uint32_t voice = rig.mixer().Play(list, 1.0f, 0.0f, 1.0f, true);
        WhileMixerHeld([&] {
            rig.mixer().SwitchSegment(int32_t(voice), list, 1, transition.flags);
            const HV_MixerVoice* fresh = HVI_FindMixerVoice(int32_t(voice));
            ASSERT_NE(fresh, nullptr);
            EXPECT_EQ(fresh->cursor.entryIndex, 1);
            EXPECT_FLOAT_EQ(fresh->volume, 0.0f);
            EXPECT_FLOAT_EQ(fresh->fadeRate, 1.0f / transition.seconds) << transition.flags;
            int fadingOut = 0;
            for (const HV_MixerVoice& other : HVI_GetMixerState().voices) {
                if (other.id != 0 && &other != fresh) {
                    ++fadingOut;
                    EXPECT_FLOAT_EQ(other.fadeRate, -1.0f / transition.seconds) << transition.flags;
                    EXPECT_FLOAT_EQ(other.fadeTarget, 0.0f);
                }
            }
            EXPECT_EQ(fadingOut, 1);
        });
        rig.mixer().StopVoice(HV_MIXER_ALL_VOICES);
    }
}

TEST_F(SegmentTest, APausedVoiceStaysPausedOnTheNewEntry)
{
    const uint32_t voice = rig.mixer().Play(list, 1.0f, 0.0f, 1.0f, false);
    rig.mixer().SetVoicePaused(int32_t(voice), true);
    rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x04);
    EXPECT_EQ(rig.mixer().GetVoiceState(int32_t(voice)), HV_MIXER_VOICE_PAUSED);
    EXPECT_TRUE(AllSilent(rig.Pull(1000)));
    rig.mixer().SetVoicePaused(int32_t(voice), false);
    EXPECT_TRUE(rig.Pull(1000) == Slice(b, 0, 1000));
}

TEST_F(SegmentTest, UnknownFlagsOrNoFreeVoiceLeaveTheOldVoicePlaying)
{
    const uint32_t voice = rig.mixer().Play(list, 1.0f, 0.0f, 1.0f, false);
    rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x10);
    EXPECT_EQ(VoicesPlaying(), 1);
    // The 24 stereo voices all busy: no voice for the new entry.
    for (int i = 1; i < 24; ++i) {
        ASSERT_NE(rig.mixer().Play(list, 1.0f, 0.0f, 1.0f, false), 0u) << i;
    }
    rig.mixer().SwitchSegment(int32_t(voice), list, 1, 0x04);
    EXPECT_EQ(VoicesPlaying(), 24);
    WhileMixerHeld([&] { EXPECT_EQ(HVI_FindMixerVoice(int32_t(voice))->cursor.entryIndex, 0); });
}

TEST(MixerLifecycle, ShutdownRightAfterInitJoinsTheThread)
{
    PulledOutput output;
    const HV_MixerInterface& mixer = *HVI_GetMixerInterface();
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(mixer.Init(44100, 64, TestWindow(), 0));
        mixer.Shutdown();
    }
}

TEST(MixerLifecycle, FailedInitReleasesEverythingAndCanBeRetried)
{
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "pull");
    const HV_MixerInterface& mixer = *HVI_GetMixerInterface();
    EXPECT_FALSE(mixer.Init(44100, 64, nullptr, 0));  // no window: no cooperative level
    EXPECT_EQ(mixer.Play(nullptr, 1.0f, 0.0f, 1.0f, false), 0u);
    EXPECT_EQ(mixer.GetVoiceState(1), HV_MIXER_VOICE_NONE);
    EXPECT_FLOAT_EQ(mixer.GetVoiceFrequency(1), 1.0f);
    EXPECT_TRUE(mixer.Init(44100, 64, TestWindow(), 0));
    mixer.Shutdown();
    mixer.Shutdown();
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", nullptr);
}

TEST(MixerLifecycle, LoadSampleWhileDownGivesAnEmptySample)
{
    HV_MixerSample* sample = HVI_GetMixerInterface()->LoadSample("anything.wav", 0);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_EMPTY);
    EXPECT_EQ(sample->channels, 0);
    HVI_GetMixerInterface()->FreeSample(sample);
}
