// Every shader of tests/data/shaders runs through the front end: the sources
// under good/ must parse and check clean, each source under bad/ must write
// exactly the step log of its .expected file beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shadertool/support/file_text.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/support/corpus_sources.h"
#include "shadertool/support/shader_interfaces_test_support.h"

namespace {

namespace fs = std::filesystem;

// Runs one corpus source under its file name; the step log is returned.
bool RunSource(const fs::path& path, std::string& log)
{
    const std::string text = ReadFileText(path);
    ShaderInterfaces::CorpusHeader header;
    if (!ShaderInterfaces::ReadCorpusHeader(text, header)) {
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

// Enough good sources of every stage, each clean.
TEST(ShaderCorpus, GoodSourcesParseAndCheckClean)
{
    std::vector<int> perStage(5, 0);
    const std::vector<fs::path> paths = ShaderInterfaces::ListCorpusSources("good");
    for (const fs::path& path : paths) {
        ShaderInterfaces::CorpusHeader header;
        ASSERT_TRUE(ShaderInterfaces::ReadCorpusHeader(ReadFileText(path), header)) << path;
        ++perStage[header.stage];
        std::string log;
        EXPECT_TRUE(RunSource(path, log)) << path.filename() << "\n" << log;
        EXPECT_EQ(log, "") << path.filename();
    }
    for (int count : perStage) EXPECT_GT(count, 0);
    EXPECT_GE(paths.size(), 25u);
}

TEST(ShaderCorpus, BadSourcesWriteExactlyTheirExpectedLog)
{
    const std::vector<fs::path> paths = ShaderInterfaces::ListCorpusSources("bad");
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
