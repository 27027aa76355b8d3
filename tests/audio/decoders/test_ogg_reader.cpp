#include "audio/decoders/ogg_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_pages.h"
#include "audio/decoders/sample_frames.h"

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

namespace {

// A five-second mono tone at 22050 Hz: 220500 PCM bytes, decoded whole. Its
// last page is the third or a later one (two pages of headers come first);
// empty when it is not.
std::vector<uint8_t> MakeFiveSecondTone(const TemporaryFolder& folder, HV_OggPage* lastPage)
{
    const auto path = folder.File("tone.ogg");
    MakeOgg(path, 22050, 1, "5 sine 300");
    auto file = ReadBytes(path);
    const std::vector<HV_OggPage> pages = HVI_FindOggPages(file.data(), static_cast<int64_t>(file.size()));
    if (pages.size() < 4) return {};
    *lastPage = pages.back();
    return file;
}

bool AllZero(const uint8_t* bytes, size_t count)
{
    return std::all_of(bytes, bytes + count, [](uint8_t byte) { return byte == 0; });
}

}  // namespace

// A download cut off inside its last page plays its complete pages, as oggdec decodes them, whether decoded whole
// or streamed.
TEST(OggReader, PlaysTheCompletePagesOfAFileCutInsideItsLastPage)
{
    TemporaryFolder folder;
    HV_OggPage last;
    auto file = MakeFiveSecondTone(folder, &last);
    ASSERT_FALSE(file.empty());
    file.resize(static_cast<size_t>(last.offset + (last.headerBytes + last.bodyBytes) / 2));
    const auto cut = folder.File("cut.ogg");
    WriteBytes(cut, file);
    const auto expected = DecodeOggWithOggdec(cut);
    ASSERT_FALSE(expected.empty());
    for (const int32_t flags : {0, HV_MIXER_LOAD_ALWAYS_STREAM}) {
        SCOPED_TRACE(flags);
        LogCapture log;
        SamplePtr sample(HVI_CreateMixerSample(cut.c_str(), flags));
        ASSERT_TRUE(Read(sample.get(), file));
        EXPECT_EQ(sample->channels, 1);
        EXPECT_EQ(sample->sampleRate, 22050);
        EXPECT_TRUE(log.AnyContains("the file is truncated; its complete pages are played.")) << log.Text();
        if (flags == 0) {
            ASSERT_EQ(sample->kind, HV_MIXER_SAMPLE_PCM);
            ASSERT_EQ(sample->dataBytes, static_cast<int32_t>(expected.size()));
            EXPECT_EQ(memcmp(sample->data, expected.data(), expected.size()), 0);
            continue;
        }
        ASSERT_EQ(sample->kind, HV_MIXER_SAMPLE_OGG_STREAM);
        EXPECT_EQ(sample->streamBytes, static_cast<int32_t>(expected.size()));
        std::vector<uint8_t> played(expected.size() + 4096);
        HV_SampleCursor cursor;
        HVI_StartSampleCursor(cursor, 0);
        played.resize(static_cast<size_t>(
            HVI_ReadSampleFrames(cursor, *sample, played.data(), static_cast<int64_t>(played.size()), false)));
        HVI_CloseSampleCursor(cursor);
        EXPECT_EQ(played, expected);
    }
}

// A last page that announces more frames than the stream holds: decoding ends early, the sound keeps what was read
// and the rest of its block is silence.
TEST(OggReader, ASoundWhoseDecodingEndsEarlyKeepsWhatWasReadAndThenSilence)
{
    TemporaryFolder folder;
    HV_OggPage last;
    auto file = MakeFiveSecondTone(folder, &last);
    ASSERT_FALSE(file.empty());
    // The granule position (bytes 6 to 13 of the header) of the last page: 120000 frames instead of 110250.
    const uint64_t announced = 120000;
    for (int i = 0; i < 8; ++i) file[size_t(last.offset + 6 + i)] = uint8_t(announced >> (8 * i));
    const uint32_t checksum = HVI_ComputeOggPageChecksum(file.data(), last);
    for (int i = 0; i < 4; ++i)
        file[size_t(last.offset + HV_OGG_PAGE_CHECKSUM_OFFSET + i)] = uint8_t(checksum >> (8 * i));
    const auto path = folder.File("long-announced.ogg");
    WriteBytes(path, file);
    const auto decoded = DecodeOggWithOggdec(path);
    const size_t blockBytes = announced * 2;
    ASSERT_FALSE(decoded.empty());
    ASSERT_LT(decoded.size(), blockBytes);

    LogCapture log;
    SamplePtr sample(HVI_CreateMixerSample(path.c_str(), 0));
    ASSERT_TRUE(Read(sample.get(), file));
    ASSERT_EQ(sample->kind, HV_MIXER_SAMPLE_PCM);
    ASSERT_EQ(sample->dataBytes, static_cast<int32_t>(blockBytes));
    EXPECT_EQ(memcmp(sample->data, decoded.data(), decoded.size()), 0);
    EXPECT_TRUE(AllZero(sample->data + decoded.size(), blockBytes - decoded.size()));
    EXPECT_TRUE(log.AnyContains("decoded " + std::to_string(decoded.size()) +
                                " of 240000 PCM bytes, the file is corrupt; the rest is silence."))
        << log.Text();
}
