#include "audio/decoders/sample_frames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_reader.h"

using namespace audio_test;

namespace {

HV_MixerSample* PcmSample(const std::string& bytes)
{
    HV_MixerSample* sample = HVI_CreateMixerSample("pcm.wav", 0);
    sample->kind = HV_MIXER_SAMPLE_PCM;
    sample->channels = 1;
    sample->bitsPerSample = 16;
    sample->sampleRate = 22050;
    sample->data = static_cast<uint8_t*>(malloc(bytes.size()));
    memcpy(sample->data, bytes.data(), bytes.size());
    sample->dataBytes = int32_t(bytes.size());
    return sample;
}

// Reads `bytes` from a cursor started at the entry; the text of what was read.
std::string Read(HV_SampleCursor& cursor, const HV_MixerSample& sample, int64_t bytes, bool loop)
{
    std::vector<uint8_t> out(size_t(bytes), 0);
    const int64_t read = HVI_ReadSampleFrames(cursor, sample, out.data(), bytes, loop);
    return std::string(out.begin(), out.begin() + read);
}

}  // namespace

TEST(SampleFrames, APcmSampleStartsOverAtItsEndOnlyWhenLooping)
{
    SamplePtr sample(PcmSample("01234567"));
    HV_SampleCursor cursor = {};
    HVI_StartSampleCursor(cursor, 0);
    EXPECT_EQ(Read(cursor, *sample, 12, false), "01234567");
    EXPECT_EQ(Read(cursor, *sample, 4, false), "");
    HVI_StartSampleCursor(cursor, 0);
    EXPECT_EQ(Read(cursor, *sample, 12, true), "012345670123");
    EXPECT_EQ(Read(cursor, *sample, 6, true), "456701");
}

TEST(SampleFrames, APlayListReadsItsEntriesInTurnFromTheEntryItStartsAt)
{
    SamplePtr list(HVI_CreateMixerSample("music.mpl", HV_MIXER_LOAD_EMPTY));
    list->kind = HV_MIXER_SAMPLE_PLAY_LIST;
    list->entries[0] = PcmSample("aaaa");
    list->entries[1] = PcmSample("bbbbbb");
    list->entryCount = 2;
    HV_SampleCursor cursor = {};
    HVI_StartSampleCursor(cursor, 1);
    // A play list always goes on from its first entry after its last.
    EXPECT_EQ(Read(cursor, *list, 18, false), "bbbbbbaaaabbbbbbaa");
    EXPECT_EQ(cursor.entryIndex, 0);
}

TEST(SampleFrames, AStreamGivesWhatOggdecDecodesAndLoopsToItsStart)
{
    TemporaryFolder folder;
    const std::string path = folder.File("stream.ogg");
    MakeOgg(path, 22050, 1, "0.4 sine 300");
    const std::vector<uint8_t> file = ReadBytes(path);
    const std::vector<uint8_t> expected = DecodeOggWithOggdec(path);
    ASSERT_FALSE(expected.empty());

    SamplePtr sample(HVI_CreateMixerSample(path.c_str(), HV_MIXER_LOAD_ALWAYS_STREAM));
    auto* block = static_cast<uint8_t*>(malloc(file.size()));
    memcpy(block, file.data(), file.size());
    ASSERT_TRUE(HVI_ReadOggSample(sample.get(), path.c_str(), block, int64_t(file.size())));
    ASSERT_EQ(sample->kind, HV_MIXER_SAMPLE_OGG_STREAM);

    HV_SampleCursor cursor = {};
    HVI_StartSampleCursor(cursor, 0);
    const int64_t size = int64_t(expected.size());
    const std::string whole = Read(cursor, *sample, size + 100, false);
    EXPECT_EQ(whole, std::string(expected.begin(), expected.end()));
    HVI_CloseSampleCursor(cursor);

    HVI_StartSampleCursor(cursor, 0);
    const std::string looped = Read(cursor, *sample, size + 100, true);
    ASSERT_EQ(int64_t(looped.size()), size + 100);
    EXPECT_EQ(looped.substr(size_t(size)), std::string(expected.begin(), expected.begin() + 100));
    HVI_CloseSampleCursor(cursor);
    EXPECT_FALSE(cursor.decoderOpen);
}
