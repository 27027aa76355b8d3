#include "audio/decoders/play_list_reader.h"

#include <gtest/gtest.h>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/wav_reader.h"

using namespace audio_test;

namespace {

// Entries are WAV files of the test's folder, read by the real reader.
HV_MixerSample* LoadWavEntry(const char* path, void* context)
{
    const auto* folder = static_cast<const TemporaryFolder*>(context);
    const auto file = ReadBytes(folder->File(path));
    if (file.empty()) {
        return nullptr;
    }
    HV_MixerSample* sample = HVI_CreateMixerSample(path, HV_MIXER_LOAD_ALWAYS_STREAM);
    HVI_ReadWavSample(sample, path, file.data(), static_cast<int64_t>(file.size()));
    return sample;
}

SamplePtr ReadList(const TemporaryFolder& folder, const std::string& text, bool* ok)
{
    SamplePtr list(HVI_CreateMixerSample("music.mpl", HV_MIXER_LOAD_EMPTY));
    *ok = HVI_ReadPlayList(list.get(), "music.mpl", reinterpret_cast<const uint8_t*>(text.data()),
                           static_cast<int64_t>(text.size()), LoadWavEntry, const_cast<TemporaryFolder*>(&folder));
    return list;
}

}  // namespace

TEST(PlayListReader, KeepsEntriesInOrderAndSkipsComments)
{
    TemporaryFolder folder;
    MakeWav(folder.File("a.wav"), 22050, 2, "0.1 sine 300");
    MakeWav(folder.File("b.wav"), 22050, 2, "0.2 sine 400");
    bool ok = false;
    auto list = ReadList(folder, "\r\n a comment\n\ta.wav\na.wav\r\n\r\nb.wav", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(list->kind, HV_MIXER_SAMPLE_PLAY_LIST);
    ASSERT_EQ(list->entryCount, 2);
    EXPECT_STREQ(list->entries[0]->name, "a.wav");
    EXPECT_STREQ(list->entries[1]->name, "b.wav");
    EXPECT_EQ(list->channels, 2);
    EXPECT_EQ(list->bitsPerSample, 16);
    EXPECT_EQ(list->sampleRate, 22050);
}

// Each list is read over one folder: a.wav and b.wa (22050 Hz mono), stereo.wav and fast.wav (another format).
TEST(PlayListReader, ReadsEachListByItsRules)
{
    TemporaryFolder folder;
    for (const char* name : {"a.wav", "b.wa"}) MakeWav(folder.File(name), 22050, 1, "0.01 sine 300");
    MakeWav(folder.File("stereo.wav"), 22050, 2, "0.01 sine 300");
    MakeWav(folder.File("fast.wav"), 44100, 1, "0.01 sine 300");
    std::string seventyLines;
    for (int i = 0; i < 70; ++i) seventyLines += "a.wav\n";
    const struct {
        const char* name;
        std::string text;
        bool read;  // false: the list is refused and cleared
        int entries;
        std::vector<std::string> lines;
    } rows[] = {
        {"DropsEntriesOfAnotherFormat",
         "a.wav\nstereo.wav\nfast.wav\na.wav\n",
         true,
         2,
         {"Sample format of 'stereo.wav' differs from the first play list sample.",
          "Sample format of 'fast.wav' differs from the first play list sample."}},
        {"KeepsTheFirst64OfSeventyLines", seventyLines, true, 64, {}},
        {"AcceptsALineOfExactly511Characters", std::string(507, 'n') + ".wav\na.wav", true, 1, {}},
        {"IgnoresATailOfFourBytesOrLess", "a.wav\nb.wa", true, 1, {}},
        {"KeepsAListWithoutPlayableEntriesAsAnEmptyList",
         "missing.wav\n",
         true,
         0,
         {"VELT LoadPlayList 'music.mpl': entry 'missing.wav' could not be loaded.",
          "VELT LoadPlayList 'music.mpl': no playable entries."}},
        {"KeepsAnEmptyFileAsAnEmptyList", "", true, 0, {"VELT LoadPlayList 'music.mpl': no playable entries."}},
        {"RejectsAnOverLongLine",
         "a.wav\n" + std::string(512, 'x') + ".wav\n",
         false,
         0,
         {"VELT LoadPlayList 'music.mpl': line 2 is longer than 511 characters."}},
        {"RejectsAHugeFile",
         std::string(HV_PLAY_LIST_MAX_FILE_BYTES + 1, '\n'),
         false,
         0,
         {"VELT LoadPlayList 'music.mpl': file of 1048577 bytes is larger than the 1048576-byte limit."}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LogCapture log;
        bool ok = !row.read;
        auto list = ReadList(folder, row.text, &ok);
        EXPECT_EQ(ok, row.read);
        EXPECT_EQ(list->entryCount, row.entries);
        // A list read without entries is an empty stereo list, which plays silence.
        EXPECT_EQ(list->kind, row.read ? HV_MIXER_SAMPLE_PLAY_LIST : HV_MIXER_SAMPLE_EMPTY);
        EXPECT_EQ(list->channels, row.read ? (row.entries > 0 ? 1 : 2) : 0);
        for (const std::string& line : row.lines) EXPECT_TRUE(log.AnyContains(line)) << line << "\n" << log.Text();
    }
}
