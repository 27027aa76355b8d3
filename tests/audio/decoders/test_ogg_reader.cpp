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

}  // namespace

// Sounds up to 256000 PCM bytes are decoded whole, as oggdec decodes them; longer ones, and any sound of a play
// list, are kept as the file for the mixer thread to stream.
TEST(OggReader, DecodesShortSoundsWholeAndStreamsTheRest)
{
    const struct {
        const char* name;
        int rate, channels;
        const char* synth;
        int32_t flags;
        bool streamed;
        int32_t pcmBytes;
    } rows[] = {
        {"ShortSound", 44100, 2, "0.5 sine 441", 0, false, 88200},
        {"ExactlyTheLimit", 44100, 2, "64000s sine 441", 0, false, 256000},  // 64000 frames x 4 bytes
        {"OneFrameBeyondTheLimit", 44100, 2, "64001s sine 441", 0, true, 256004},
        {"ShortSoundForAPlayList", 22050, 1, "0.2 sine 441", HV_MIXER_LOAD_ALWAYS_STREAM, true, 4410 * 2},
    };
    TemporaryFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto path = folder.File(std::string(row.name) + ".ogg");
        MakeOgg(path, row.rate, row.channels, row.synth);
        const auto file = ReadBytes(path);
        SamplePtr sample(HVI_CreateMixerSample(path.c_str(), row.flags));
        ASSERT_TRUE(Read(sample.get(), file));
        EXPECT_EQ(sample->kind, row.streamed ? HV_MIXER_SAMPLE_OGG_STREAM : HV_MIXER_SAMPLE_PCM);
        EXPECT_EQ(sample->channels, row.channels);
        EXPECT_EQ(sample->bitsPerSample, 16);
        EXPECT_EQ(sample->sampleRate, row.rate);
        const auto expected = row.streamed ? file : DecodeOggWithOggdec(path);
        ASSERT_EQ(sample->dataBytes, static_cast<int32_t>(expected.size()));
        EXPECT_EQ(memcmp(sample->data, expected.data(), expected.size()), 0);
        EXPECT_EQ(row.streamed ? sample->streamBytes : sample->dataBytes, row.pcmBytes);
    }
}
