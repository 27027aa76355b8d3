#include "audio/decoders/ogg_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"

using namespace audio_test;

namespace {

// Hands a copy of the bytes to the reader, which takes ownership of it.
bool Read(HV_MixerSample* sample, const std::vector<uint8_t>& file)
{
    auto* block = static_cast<uint8_t*>(malloc(file.size() + 1));
    memcpy(block, file.data(), file.size());
    return HVI_ReadOggSample(sample, sample->name, block, static_cast<int64_t>(file.size()));
}

SamplePtr Load(const std::string& path, int32_t flags = 0)
{
    SamplePtr sample(HVI_CreateMixerSample(path.c_str(), flags));
    EXPECT_TRUE(Read(sample.get(), ReadBytes(path)));
    return sample;
}

}  // namespace

TEST(OggReader, DecodesShortSoundWholeAsOggdecDoes)
{
    TemporaryFolder folder;
    const auto path = folder.File("short.ogg");
    MakeOgg(path, 44100, 2, "0.5 sine 441");
    auto sample = Load(path);
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_PCM);
    EXPECT_EQ(sample->channels, 2);
    EXPECT_EQ(sample->bitsPerSample, 16);
    EXPECT_EQ(sample->sampleRate, 44100);
    const auto expected = DecodeOggWithOggdec(path);
    ASSERT_EQ(sample->dataBytes, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(memcmp(sample->data, expected.data(), expected.size()), 0);
}

TEST(OggReader, DecodesExactlyTheLimitWhole)
{
    TemporaryFolder folder;
    const auto path = folder.File("limit.ogg");
    MakeOgg(path, 44100, 2, "64000s sine 441");  // 64000 frames x 4 bytes = 256000
    auto sample = Load(path);
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_PCM);
    EXPECT_EQ(sample->dataBytes, 256000);
}

TEST(OggReader, StreamsOneFrameBeyondTheLimit)
{
    TemporaryFolder folder;
    const auto path = folder.File("over.ogg");
    MakeOgg(path, 44100, 2, "64001s sine 441");
    const auto file = ReadBytes(path);
    auto sample = Load(path);
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_OGG_STREAM);
    EXPECT_EQ(sample->streamBytes, 256004);
    ASSERT_EQ(sample->dataBytes, static_cast<int32_t>(file.size()));
    EXPECT_EQ(memcmp(sample->data, file.data(), file.size()), 0);
}

TEST(OggReader, StreamsShortSoundForPlayLists)
{
    TemporaryFolder folder;
    const auto path = folder.File("entry.ogg");
    MakeOgg(path, 22050, 1, "0.2 sine 441");
    auto sample = Load(path, HV_MIXER_LOAD_ALWAYS_STREAM);
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_OGG_STREAM);
    EXPECT_EQ(sample->channels, 1);
    EXPECT_EQ(sample->sampleRate, 22050);
    EXPECT_EQ(sample->streamBytes, 4410 * 2);
}
