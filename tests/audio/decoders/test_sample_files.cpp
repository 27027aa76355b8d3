#include "audio/decoders/sample_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"

using namespace audio_test;

namespace {

struct SampleDeleter {
    void operator()(HV_MixerSample* sample) const { HVI_DestroyMixerSample(sample); }
};
using SamplePtr = std::unique_ptr<HV_MixerSample, SampleDeleter>;

bool HoldsPcm(const HV_MixerSample& sample, const std::vector<uint8_t>& expected)
{
    return sample.kind == HV_MIXER_SAMPLE_PCM && sample.dataBytes == int32_t(expected.size()) &&
           memcmp(sample.data, expected.data(), expected.size()) == 0;
}

}  // namespace

TEST(SampleFiles, AnOggPathInCapitalLettersIsReadAsOgg)
{
    ResourceFolder folder;
    MakeOgg(folder.File("LOUD.OGG"), 44100, 1, "0.2 sine 300");
    SamplePtr sample(HVI_ReadSampleFile("LOUD.OGG", 0));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->channels, 1);
    EXPECT_TRUE(HoldsPcm(*sample, DecodeOggWithOggdec(folder.File("LOUD.OGG"))));
}

TEST(SampleFiles, APathEndingInOggWavIsReadAsWav)
{
    ResourceFolder folder;
    MakeWav(folder.File("tone.ogg.wav"), 44100, 2, "0.2 sine 300");
    SamplePtr sample(HVI_ReadSampleFile("tone.ogg.wav", 0));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->channels, 2);
    EXPECT_TRUE(HoldsPcm(*sample, RawPcmWithSox(folder.File("tone.ogg.wav"))));
}

TEST(SampleFiles, AMissingFileGivesNoSample)
{
    ResourceFolder folder;
    EXPECT_EQ(HVI_ReadSampleFile("absent.wav", 0), nullptr);
}

TEST(SampleFiles, AnUnreadableFileGivesASampleWithoutChannels)
{
    ResourceFolder folder;
    WriteText(folder.File("short.wav"), "RIFF");
    LogCapture log;
    SamplePtr sample(HVI_ReadSampleFile("short.wav", 0));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->channels, 0);
    EXPECT_EQ(sample->data, nullptr);
    EXPECT_TRUE(log.AnyContains("Bad format VELT LoadSampleWAV 'short.wav'")) << log.Text();
}

// A stereo OGG with one byte of its setup header changed: a codebook's
// codeword lengths no longer form a code, the decoder's failed set-up leaves
// that book empty, and decoding then divides by its dimension count.
class DamagedSetupHeader : public ::testing::TestWithParam<int32_t> {};

TEST_P(DamagedSetupHeader, FailsToLoadWithALogLine)
{
    ResourceFolder folder;
    WriteBytes(folder.File("damaged.ogg"), ReadBytes(HALVO_TEST_DATA_DIR "/audio/damaged-setup-header.ogg"));
    LogCapture log;
    SamplePtr sample(HVI_ReadSampleFile("damaged.ogg", GetParam()));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->channels, 0);
    EXPECT_EQ(sample->data, nullptr);
    EXPECT_TRUE(
        log.AnyContains("Bad format VELT LoadSampleOGG 'damaged.ogg': its Vorbis headers are damaged: a codebook's "
                        "codeword lengths do not form a complete code."))
        << log.Text();
}

// Whole-file decoding and streaming (the mixer thread's decoder) both stop at loading.
INSTANTIATE_TEST_SUITE_P(WholeAndStreamed, DamagedSetupHeader, ::testing::Values(0, HV_MIXER_LOAD_ALWAYS_STREAM));
