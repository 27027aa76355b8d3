// Every shader of tests/data/shaders runs through the front end: the sources
// under good/ must parse and check clean, each source under bad/ must write
// exactly the step log of its .expected file beside it. The first line of a
// source names its stage, Shader XML version and interface:
//   // corpus: stage=pixel version=2.4 interface=sprite
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shadertool/support/file_text.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/support/shader_interfaces_test_support.h"

namespace {

namespace fs = std::filesystem;

struct CorpusHeader {
    uint32_t stage = ShaderTool::STAGE_INVALID;
    uint32_t version = 0;
    std::string interfaceName;
};

bool ReadHeader(const std::string& text, CorpusHeader& header)
{
    char stage[16] = {};
    char interfaceName[32] = {};
    unsigned major = 0;
    unsigned minor = 0;
    if (std::sscanf(text.c_str(), "// corpus: stage=%15s version=%u.%u interface=%31s", stage, &major, &minor,
                    interfaceName) != 4)
        return false;
    const char* const stages[] = {"vertex", "pixel", "rchit", "rgen", "rmiss"};
    for (uint32_t index = 0; index < 5; ++index) {
        if (std::string(stage) == stages[index]) header.stage = index;
    }
    header.version = major << 16 | minor;
    header.interfaceName = interfaceName;
    return header.stage != ShaderTool::STAGE_INVALID;
}

std::vector<fs::path> ListSources(const char* folder)
{
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(HALVO_TEST_DATA_DIR) / "shaders" / folder)) {
        if (entry.path().extension() == ".hvsl") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Runs one corpus source under its file name; the step log is returned.
bool RunSource(const fs::path& path, std::string& log)
{
    const std::string text = ReadFileText(path);
    CorpusHeader header;
    if (!ReadHeader(text, header)) {
        log = "bad corpus header";
        return false;
    }
    const ShaderTool::ShaderDescription description =
        ShaderInterfaces::MakeInterface(header.interfaceName, header.version);
    ShaderTool::ShaderSource source;
    source.path = path.filename().string().c_str();
    source.text = text.c_str();
    source.firstLine = 1;
    source.targetMask = ShaderTool::TARGET_MASK_ALL;
    source.stage = header.stage;
    ShaderTool::FrontEnd frontEnd;
    const Array<String> definitions;
    const bool good = ShaderTool::RunFrontEnd(frontEnd, description, source, ShaderTool::TARGET_HLSL12, definitions);
    log = frontEnd.stepLog.text.GetText();
    return good;
}

TEST(ShaderCorpus, HoldsEnoughGoodSourcesOfEveryStage)
{
    std::vector<int> perStage(5, 0);
    for (const fs::path& path : ListSources("good")) {
        CorpusHeader header;
        ASSERT_TRUE(ReadHeader(ReadFileText(path), header)) << path;
        ++perStage[header.stage];
    }
    int total = 0;
    for (int count : perStage) {
        EXPECT_GT(count, 0);
        total += count;
    }
    EXPECT_GE(total, 25);
}

TEST(ShaderCorpus, GoodSourcesParseAndCheckClean)
{
    for (const fs::path& path : ListSources("good")) {
        std::string log;
        EXPECT_TRUE(RunSource(path, log)) << path.filename() << "\n" << log;
        EXPECT_EQ(log, "") << path.filename();
    }
}

TEST(ShaderCorpus, BadSourcesWriteExactlyTheirExpectedLog)
{
    const std::vector<fs::path> paths = ListSources("bad");
    EXPECT_GE(paths.size(), 40u);
    for (const fs::path& path : paths) {
        fs::path expectedPath = path;
        expectedPath.replace_extension(".expected");
        ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath;
        std::string log;
        EXPECT_FALSE(RunSource(path, log)) << path.filename();
        EXPECT_EQ(log, ReadFileText(expectedPath)) << path.filename();
    }
}

}  // namespace
