#include "audio/decoders/wav_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"

using namespace audio_test;

namespace {

struct SampleDeleter {
    void operator()(HV_MixerSample* sample) const { HVI_DestroyMixerSample(sample); }
};
using SamplePtr = std::unique_ptr<HV_MixerSample, SampleDeleter>;

SamplePtr NewSample(const std::string& path) { return SamplePtr(HVI_CreateMixerSample(path.c_str(), 0)); }

bool Read(HV_MixerSample* sample, const std::vector<uint8_t>& file)
{
    return HVI_ReadWavSample(sample, sample->name, file.data(), static_cast<int64_t>(file.size()));
}

void PutU32(std::vector<uint8_t>& file, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        file[at + i] = (value >> (8 * i)) & 0xFF;
    }
}

void ExpectFailedAndCleared(const HV_MixerSample* sample)
{
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_EMPTY);
    EXPECT_EQ(sample->channels, 0);
    EXPECT_EQ(sample->data, nullptr);
    EXPECT_EQ(sample->dataBytes, 0);
}

}  // namespace

TEST(WavReader, ReadsStereoPcmAsSoxDecodesIt)
{
    TemporaryFolder folder;
    const auto path = folder.File("tone.wav");
    MakeWav(path, 44100, 2, "0.25 sine 441");
    auto sample = NewSample(path);
    ASSERT_TRUE(Read(sample.get(), ReadBytes(path)));
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_PCM);
    EXPECT_EQ(sample->channels, 2);
    EXPECT_EQ(sample->bitsPerSample, 16);
    EXPECT_EQ(sample->sampleRate, 44100);
    const auto expected = RawPcmWithSox(path);
    ASSERT_EQ(sample->dataBytes, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(memcmp(sample->data, expected.data(), expected.size()), 0);
}

TEST(WavReader, TakesTheRateOfAMonoFile)
{
    TemporaryFolder folder;
    const auto path = folder.File("mono.wav");
    MakeWav(path, 22050, 1, "0.1 sine 300");
    auto sample = NewSample(path);
    ASSERT_TRUE(Read(sample.get(), ReadBytes(path)));
    EXPECT_EQ(sample->channels, 1);
    EXPECT_EQ(sample->sampleRate, 22050);
    EXPECT_EQ(sample->dataBytes, 2205 * 2);
}

TEST(WavReader, RejectsFileShorterThanItsHeader)
{
    TemporaryFolder folder;
    const auto path = folder.File("short.wav");
    MakeWav(path, 44100, 2, "0.1 sine 441");
    auto file = ReadBytes(path);
    file.resize(30);
    LogCapture log;
    auto sample = NewSample(path);
    EXPECT_FALSE(Read(sample.get(), file));
    EXPECT_TRUE(log.AnyContains("Bad format VELT LoadSampleWAV '" + path +
                                "': file of 30 bytes is shorter than the 44-byte header."))
        << log.Text();
    ExpectFailedAndCleared(sample.get());
}

TEST(WavReader, RejectsEightBitSamplesNamingTheBits)
{
    TemporaryFolder folder;
    const auto path = folder.File("eight.wav");
    MakeWav(path, 22050, 1, "0.1 sine 441", 8);
    LogCapture log;
    auto sample = NewSample(path);
    EXPECT_FALSE(Read(sample.get(), ReadBytes(path)));
    EXPECT_TRUE(
        log.AnyContains("Bad format VELT LoadSampleWAV '" + path + "': Bits per sample 8 is not 16 as expected."))
        << log.Text();
    ExpectFailedAndCleared(sample.get());
}

// A stereo file with one header field overwritten: refused with the line naming that field, nothing kept.
struct DamagedHeaderRow {
    const char* name;
    size_t at;
    std::vector<uint8_t> bytes;  // written over the file at that offset
    const char* expected;
};

class WavReaderDamagedHeader : public testing::TestWithParam<DamagedHeaderRow> {};

TEST_P(WavReaderDamagedHeader, IsRefusedNamingTheField)
{
    const DamagedHeaderRow& row = GetParam();
    TemporaryFolder folder;
    const auto path = folder.File("damaged.wav");
    MakeWav(path, 44100, 2, "0.1 sine 441");
    auto file = ReadBytes(path);
    std::copy(row.bytes.begin(), row.bytes.end(), file.begin() + std::ptrdiff_t(row.at));
    LogCapture log;
    auto sample = NewSample(path);
    EXPECT_FALSE(Read(sample.get(), file));
    EXPECT_TRUE(log.AnyContains(row.expected)) << log.Text();
    ExpectFailedAndCleared(sample.get());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, WavReaderDamagedHeader,
    testing::Values(DamagedHeaderRow{"NotRiff", 0, {'R', 'I', 'F', 'X'}, "Header 'RIFX' is not RIFF as expected."},
                    DamagedHeaderRow{"ZeroChannels", 22, {0, 0}, "': 0 channels, only 1 or 2 are supported."},
                    DamagedHeaderRow{"SixChannels", 22, {6, 0}, "': 6 channels, only 1 or 2 are supported."},
                    DamagedHeaderRow{"DataPastTheEnd",
                                     40,
                                     {0xF0, 0xFF, 0xFF, 0xFF},
                                     "data size 4294967280 is past the end of the file"}),
    [](const testing::TestParamInfo<DamagedHeaderRow>& info) { return std::string(info.param.name); });

TEST(WavReader, RejectsLongerFmtChunkWithTheDataMessage)
{
    TemporaryFolder folder;
    const auto path = folder.File("extensible.wav");
    // Six channels make sox write the longer extensible fmt chunk.
    MakeWav(path, 44100, 6, "0.1 sine 441");
    LogCapture log;
    auto sample = NewSample(path);
    EXPECT_FALSE(Read(sample.get(), ReadBytes(path)));
    EXPECT_TRUE(log.AnyContains("is not 'DATA' or 'data' as expected.")) << log.Text();
}

TEST(WavReader, DropsATrailingPartialFrame)
{
    TemporaryFolder folder;
    const auto path = folder.File("odd.wav");
    MakeWav(path, 44100, 2, "10s sine 441");
    auto file = ReadBytes(path);
    ASSERT_EQ(file.size(), 44u + 40u);
    PutU32(file, 40, 39);
    auto sample = NewSample(path);
    ASSERT_TRUE(Read(sample.get(), file));
    EXPECT_EQ(sample->dataBytes, 36);
}
