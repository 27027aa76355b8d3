#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/sox_commands.h"
#include "support/temporary_folder.h"
#include "winapi/dsound/dsound_library.h"

namespace {

class SoftwareMixTest : public testing::Test {
protected:
    void SetUp() override
    {
        sound = library.CreateSoundObject("pull");
        ASSERT_NE(sound, nullptr);
    }
    void TearDown() override
    {
        for (auto* buffer : buffers) {
            buffer->Release();
        }
        if (sound) {
            sound->Release();
        }
    }
    IDirectSoundBuffer* Buffer(WORD channels, DWORD rate, const std::vector<SHORT>& samples)
    {
        IDirectSoundBuffer* buffer = library.CreateBuffer(sound, channels, rate, DWORD(samples.size() * 2));
        buffers.push_back(buffer);
        WriteSamples(buffer, 0, samples);
        return buffer;
    }

    DSoundLibrary library;
    IDirectSound* sound = nullptr;
    std::vector<IDirectSoundBuffer*> buffers;
};

std::vector<SHORT> Constant(size_t count, SHORT value) { return std::vector<SHORT>(count, value); }

}  // namespace

TEST_F(SoftwareMixTest, PlaysStereoSampleExactMonoOnBothSidesAndLoopsFromTheStartWithoutAGap)
{
    std::vector<SHORT> samples;
    for (int i = 0; i < 2000; ++i) {
        samples.push_back(SHORT(i * 31 - 30000));
    }
    IDirectSoundBuffer* buffer = Buffer(2, 44100, samples);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(library.Pull(1000), samples);
    // Played once: silence after the end.
    EXPECT_EQ(library.Pull(10), Constant(20, 0));
    IDirectSoundBuffer* once = Buffer(1, 44100, {100, -200, 300});
    ASSERT_EQ(once->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(library.Pull(3), (std::vector<SHORT>{100, 100, -200, -200, 300, 300}));
    IDirectSoundBuffer* looping = Buffer(1, 44100, {1, 2, 3});
    ASSERT_EQ(looping->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(library.Pull(7), (std::vector<SHORT>{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 1, 1}));
}

TEST_F(SoftwareMixTest, VolumeAndPanFollowTheDecibelLaw)
{
    IDirectSoundBuffer* buffer = Buffer(1, 44100, Constant(100, 10000));
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);  // -6 dB: 10^(-600/2000) = 0.50119
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(library.Pull(2), (std::vector<SHORT>{5012, 5012, 5012, 5012}));
    ASSERT_EQ(buffer->SetVolume(-2000), DS_OK);  // -20 dB: a tenth
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{1000, 1000}));
    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{0, 0}));
    // Pan attenuates the opposite side only.
    ASSERT_EQ(buffer->SetVolume(DSBVOLUME_MAX), DS_OK);
    ASSERT_EQ(buffer->SetPan(600), DS_OK);
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{5012, 10000}));
    ASSERT_EQ(buffer->SetPan(-2000), DS_OK);
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{10000, 1000}));
    ASSERT_EQ(buffer->SetPan(DSBPAN_LEFT), DS_OK);
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{10000, 0}));
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);
    ASSERT_EQ(buffer->SetPan(-600), DS_OK);  // both laws together: -6 dB and -12 dB
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{5012, 2512}));
}

TEST_F(SoftwareMixTest, HalfRateInterpolatesBetweenFramesAndDoubleFrequencySkipsEveryOtherFrame)
{
    IDirectSoundBuffer* half = Buffer(1, 22050, {0, 100, 200, 300, 400});
    ASSERT_EQ(half->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(library.Pull(6), (std::vector<SHORT>{0, 0, 50, 50, 100, 100, 150, 150, 200, 200, 250, 250}));
    DWORD play = 0;
    ASSERT_EQ(half->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 6u);
    ASSERT_EQ(half->Stop(), DS_OK);
    IDirectSoundBuffer* doubled = Buffer(1, 44100, {0, 1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(doubled->SetFrequency(88200), DS_OK);
    ASSERT_EQ(doubled->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(library.Pull(5), (std::vector<SHORT>{0, 0, 2, 2, 4, 4, 6, 6, 0, 0}));
}

TEST_F(SoftwareMixTest, SumsBuffersClipsTo16BitsAndABufferEndingInsideABlockLeavesTheOthersPlaying)
{
    IDirectSoundBuffer* loud = Buffer(1, 44100, {30000, -30000, 1000});
    IDirectSoundBuffer* louder = Buffer(1, 44100, {30000, -30000, -3000});
    ASSERT_EQ(loud->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(louder->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(library.Pull(3), (std::vector<SHORT>{32767, 32767, -32768, -32768, -2000, -2000}));
    IDirectSoundBuffer* once = Buffer(1, 44100, {1000, 2000});
    IDirectSoundBuffer* looping = Buffer(2, 44100, {10, 20, 30, 40});
    ASSERT_EQ(once->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(looping->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(library.Pull(5), (std::vector<SHORT>{1010, 1020, 2030, 2040, 10, 20, 30, 40, 10, 20}));
    DWORD status = 0;
    ASSERT_EQ(once->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
}

TEST_F(SoftwareMixTest, AGainIsTheSameAloneAndBesideOtherBuffers)
{
    IDirectSoundBuffer* buffer = Buffer(1, 44100, Constant(4, 10000));
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);
    ASSERT_EQ(buffer->SetPan(300), DS_OK);  // left 10^(-900/2000) = 0.35481, right 10^(-600/2000) = 0.50119
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(library.Pull(1), (std::vector<SHORT>{3548, 5012}));
    IDirectSoundBuffer* silent = Buffer(2, 44100, Constant(8, 0));
    ASSERT_EQ(silent->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(library.Pull(2), (std::vector<SHORT>{3548, 5012, 3548, 5012}));
}

TEST_F(SoftwareMixTest, BackAtTheOutputRateBetweenFramesItStillInterpolates)
{
    IDirectSoundBuffer* buffer = Buffer(1, 44100, {0, 100, 200, 300, 400, 500, 600, 700});
    ASSERT_EQ(buffer->SetFrequency(66150), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(library.Pull(3), (std::vector<SHORT>{0, 0, 150, 150, 300, 300}));
    // The cursor stands halfway between frames 4 and 5.
    ASSERT_EQ(buffer->SetFrequency(44100), DS_OK);
    EXPECT_EQ(library.Pull(3), (std::vector<SHORT>{450, 450, 550, 550, 650, 650}));
}

TEST_F(SoftwareMixTest, FrequencyChangeGivesThePitchSoxMeasures)
{
    // One second of a 441 Hz sine at 44100 Hz, played at twice its rate: 882 Hz.
    std::vector<SHORT> sine(44100);
    for (size_t i = 0; i < sine.size(); ++i) {
        sine[i] = SHORT(std::lrint(16000 * std::sin(2 * M_PI * 441 * double(i) / 44100)));
    }
    IDirectSoundBuffer* buffer = Buffer(1, 44100, sine);
    ASSERT_EQ(buffer->SetFrequency(88200), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const auto frames = library.Pull(44100);
    const TemporaryFolder folder("halvo-dsound-pitch");
    const std::string raw = (folder.Path() / "mix.raw").string();
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char*>(frames.data()), std::streamsize(frames.size() * 2));
    const std::string report = LeftChannelStat(raw);
    EXPECT_NEAR(RoughFrequency(report), 882.0, 5.0) << report;
}
