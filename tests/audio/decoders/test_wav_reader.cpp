#include "audio/decoders/wav_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"

using namespace audio_test;

namespace {

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

}  // namespace

TEST(WavReader, ReadsPcmAsSoxDecodesItWithItsRateAndChannels)
{
    TemporaryFolder folder;
    const struct {
        int rate, channels;
        const char* synth;
        int32_t bytes;
    } rows[] = {{44100, 2, "0.25 sine 441", 11025 * 4}, {22050, 1, "0.1 sine 300", 2205 * 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rate);
        const auto path = folder.File("tone" + std::to_string(row.channels) + ".wav");
        MakeWav(path, row.rate, row.channels, row.synth);
        auto sample = NewSample(path);
        ASSERT_TRUE(Read(sample.get(), ReadBytes(path)));
        EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_PCM);
        EXPECT_EQ(sample->channels, row.channels);
        EXPECT_EQ(sample->bitsPerSample, 16);
        EXPECT_EQ(sample->sampleRate, row.rate);
        const auto expected = RawPcmWithSox(path);
        ASSERT_EQ(sample->dataBytes, row.bytes);
        ASSERT_EQ(expected.size(), size_t(row.bytes));
        EXPECT_EQ(memcmp(sample->data, expected.data(), expected.size()), 0);
    }
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
