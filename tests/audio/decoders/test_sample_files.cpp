#include "audio/decoders/sample_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "audio/audio_fixtures.h"
#include "audio/decoders/mixer_sample.h"

using namespace audio_test;

namespace {

bool HoldsPcm(const HV_MixerSample& sample, const std::vector<uint8_t>& expected)
{
    return sample.kind == HV_MIXER_SAMPLE_PCM && sample.dataBytes == int32_t(expected.size()) &&
           memcmp(sample.data, expected.data(), expected.size()) == 0;
}

}  // namespace

// The reader is chosen by the path's last extension, in any letter case.
TEST(SampleFiles, ThePathsLastExtensionChoosesTheReader)
{
    ResourceFolder folder;
    MakeOgg(folder.File("LOUD.OGG"), 44100, 1, "0.2 sine 300");
    MakeWav(folder.File("tone.ogg.wav"), 44100, 2, "0.2 sine 300");
    const struct {
        const char* path;
        int channels;
        std::vector<uint8_t> pcm;
    } rows[] = {{"LOUD.OGG", 1, DecodeOggWithOggdec(folder.File("LOUD.OGG"))},
                {"tone.ogg.wav", 2, RawPcmWithSox(folder.File("tone.ogg.wav"))}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        SamplePtr sample(HVI_ReadSampleFile(row.path, 0));
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(sample->channels, row.channels);
        EXPECT_TRUE(HoldsPcm(*sample, row.pcm));
    }
}

TEST(SampleFiles, AMissingFileGivesNoSample)
{
    ResourceFolder folder;
    EXPECT_EQ(HVI_ReadSampleFile("absent.wav", 0), nullptr);
}

namespace {

// One line of tests/data/audio/damaged-files.txt: a damaged file, how it is read and what its log line holds.
struct DamagedFile {
    std::string file;
    bool streamed = false;
    std::string line;
};

void PrintTo(const DamagedFile& row, std::ostream* out) { *out << row.file; }

std::vector<DamagedFile> DamagedFiles()
{
    std::vector<DamagedFile> rows;
    std::ifstream list(HALVO_TEST_DATA_DIR "/audio/damaged-files.txt");
    for (std::string text; std::getline(list, text);) {
        if (text.empty() || text[0] == '#') continue;
        std::istringstream fields(text);
        DamagedFile row;
        std::string mode;
        fields >> row.file >> mode >> std::ws;
        std::getline(fields, row.line);
        row.streamed = mode == "streamed";
        rows.push_back(row);
    }
    return rows;
}

std::string RowName(const testing::TestParamInfo<DamagedFile>& info)
{
    std::string name =
        std::filesystem::path(info.param.file).filename().string() + (info.param.streamed ? "_streamed" : "");
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(uint8_t(c)); }, '_');
    return name;
}

}  // namespace

// Whole-file decoding and streaming (the mixer thread's decoder) both stop at loading.
class DamagedSampleFile : public testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedSampleFile, LoadsWithoutChannelsAndALogLine)
{
    const DamagedFile& row = GetParam();
    ResourceFolder folder;
    const std::string name = std::filesystem::path(row.file).filename().string();
    WriteBytes(folder.File(name), ReadBytes(HALVO_TEST_DATA_DIR "/audio/" + row.file));
    LogCapture log;
    SamplePtr sample(HVI_ReadSampleFile(name.c_str(), row.streamed ? HV_MIXER_LOAD_ALWAYS_STREAM : 0));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->kind, HV_MIXER_SAMPLE_EMPTY);
    EXPECT_EQ(sample->channels, 0);
    EXPECT_EQ(sample->data, nullptr);
    EXPECT_EQ(sample->dataBytes, 0);
    EXPECT_TRUE(log.AnyContains(row.line)) << log.Text();
}

INSTANTIATE_TEST_SUITE_P(Corpus, DamagedSampleFile, testing::ValuesIn(DamagedFiles()), RowName);
