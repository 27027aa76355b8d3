#include "audio/decoders/play_list_reader.h"

#include <gtest/gtest.h>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/wav_reader.h"

using namespace audio_test;

namespace {

struct SampleDeleter {
    void operator()(HV_MixerSample* sample) const { HVI_DestroyMixerSample(sample); }
};
using SamplePtr = std::unique_ptr<HV_MixerSample, SampleDeleter>;

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

TEST(PlayListReader, DropsEntriesOfAnotherFormat)
{
    TemporaryFolder folder;
    MakeWav(folder.File("stereo.wav"), 44100, 2, "0.1 sine 300");
    MakeWav(folder.File("mono.wav"), 44100, 1, "0.1 sine 300");
    MakeWav(folder.File("slow.wav"), 22050, 2, "0.1 sine 300");
    LogCapture log;
    bool ok = false;
    auto list = ReadList(folder, "stereo.wav\nmono.wav\nslow.wav\nstereo.wav\n", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(list->entryCount, 2);
    EXPECT_TRUE(log.AnyContains("Sample format of 'mono.wav' differs from the first play list sample.")) << log.Text();
    EXPECT_TRUE(log.AnyContains("Sample format of 'slow.wav' differs from the first play list sample.")) << log.Text();
}

TEST(PlayListReader, KeepsTheFirst64OfSeventyLines)
{
    TemporaryFolder folder;
    MakeWav(folder.File("a.wav"), 22050, 1, "0.01 sine 300");
    std::string text;
    for (int i = 0; i < 70; ++i) {
        text += "a.wav\n";
    }
    bool ok = false;
    auto list = ReadList(folder, text, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(list->entryCount, 64);
}

TEST(PlayListReader, RejectsListWithoutPlayableEntries)
{
    TemporaryFolder folder;
    LogCapture log;
    bool ok = true;
    auto list = ReadList(folder, "missing.wav\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(log.AnyContains("VELT LoadPlayList 'music.mpl': entry 'missing.wav' could not be loaded."))
        << log.Text();
    EXPECT_TRUE(log.AnyContains("VELT LoadPlayList 'music.mpl': no playable entries.")) << log.Text();
    EXPECT_EQ(list->channels, 0);
    EXPECT_EQ(list->entryCount, 0);
}

TEST(PlayListReader, RejectsEmptyList)
{
    TemporaryFolder folder;
    LogCapture log;
    bool ok = true;
    auto list = ReadList(folder, "", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(log.AnyContains("VELT LoadPlayList 'music.mpl': no playable entries.")) << log.Text();
}

TEST(PlayListReader, RejectsOverLongLine)
{
    TemporaryFolder folder;
    MakeWav(folder.File("a.wav"), 22050, 1, "0.01 sine 300");
    LogCapture log;
    bool ok = true;
    auto list = ReadList(folder, "a.wav\n" + std::string(512, 'x') + ".wav\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(log.AnyContains("VELT LoadPlayList 'music.mpl': line 2 is longer than 511 characters.")) << log.Text();
    EXPECT_EQ(list->entryCount, 0);
    EXPECT_EQ(list->channels, 0);
}

TEST(PlayListReader, AcceptsLineOfExactly511Characters)
{
    TemporaryFolder folder;
    const std::string name = std::string(507, 'n') + ".wav";
    ASSERT_EQ(name.size(), 511u);
    MakeWav(folder.File("a.wav"), 22050, 1, "0.01 sine 300");
    bool ok = false;
    auto list = ReadList(folder, name + "\na.wav", &ok);
    ASSERT_TRUE(ok);  // the long name is missing, a.wav loads
    EXPECT_EQ(list->entryCount, 1);
}

TEST(PlayListReader, RejectsHugeFile)
{
    TemporaryFolder folder;
    LogCapture log;
    bool ok = true;
    auto list = ReadList(folder, std::string(HV_PLAY_LIST_MAX_FILE_BYTES + 1, '\n'), &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(
        log.AnyContains("VELT LoadPlayList 'music.mpl': file of 1048577 bytes is larger than the 1048576-byte limit."))
        << log.Text();
}

TEST(PlayListReader, IgnoresATailOfFourBytesOrLess)
{
    TemporaryFolder folder;
    MakeWav(folder.File("a.wav"), 22050, 1, "0.01 sine 300");
    MakeWav(folder.File("b.wa"), 22050, 1, "0.01 sine 300");
    bool ok = false;
    auto list = ReadList(folder, "a.wav\nb.wa", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(list->entryCount, 1);
}
