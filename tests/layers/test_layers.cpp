#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "layers/layer_check.h"
#include "support/temporary_folder.h"

namespace {

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += "  " + line + "\n";
    }
    return text;
}

LayerTable ReadTable(const std::filesystem::path& file)
{
    std::vector<std::string> problems;
    LayerTable table = ReadLayerTable(file, problems);
    EXPECT_TRUE(problems.empty()) << Lines(problems);
    return table;
}

LayerTable ProjectTable() { return ReadTable(HALVO_LAYER_TABLE); }

void Write(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A small tree in the project's shape to try the check on.
class LayerCheck : public testing::Test {
protected:
    void SetUp() override
    {
        Write(m_folder.Path() / "layers.txt",
              "# a comment\n"
              "winapi/include:\n"
              "winapi: winapi/include\n"
              "foundation: winapi/include\n"
              "core: foundation\n"
              "audio: core\n"
              "graphics: core\n"
              "include-path = . winapi/include\n"
              "posix-allowed = winapi\n"
              "posix-headers = unistd.h sys/\n");
        Write(Src() / "winapi/include/windows.h", "#include <sys/types.h>\n");
        Write(Src() / "winapi/kernel/threads.h", "#include <unistd.h>\n#include <windows.h>\n");
        Write(Src() / "foundation/text.h", "#include <windows.h>\n#include <string>\n");
        Write(Src() / "core/engine.h", "#include \"foundation/text.h\"\n");
        Write(Src() / "core/engine.cpp", "#include \"engine.h\"\n#include \"generated_by_the_build.h\"\n");
        Write(Src() / "audio/mixer.cpp", "#include \"core/engine.h\"\n#include <windows.h>\n");
        Write(Src() / "graphics/bitmap.h", "#pragma once\n");
    }

    std::filesystem::path Src() const { return m_folder.Path() / "src"; }
    std::vector<std::string> Check() { return CheckIncludes(ReadTable(m_folder.Path() / "layers.txt"), Src()); }

    TemporaryFolder m_folder{"halvo-layers"};
};

}  // namespace

TEST(LayerRule, TableIsWellFormed)
{
    const std::vector<std::string> problems = CheckLayerTable(ProjectTable());
    EXPECT_TRUE(problems.empty()) << Lines(problems);
}

TEST(LayerRule, EveryIncludeUnderSrcKeepsToTheTable)
{
    const std::vector<std::string> problems = CheckIncludes(ProjectTable(), HALVO_SOURCE_ROOT);
    EXPECT_TRUE(problems.empty()) << "Includes that break tests/layers/layers.txt:\n" << Lines(problems);
}

TEST_F(LayerCheck, AcceptsIncludesDownwardAndWithinAUnit) { EXPECT_EQ(std::vector<std::string>{}, Check()); }

TEST_F(LayerCheck, ReportsIncludesUpwardSidewaysAndPastThePlatformHeaders)
{
    Write(Src() / "foundation/string.h", "#include \"core/engine.h\"\n");
    Write(Src() / "audio/channels.cpp", "\n#  include \"../graphics/bitmap.h\"\n");
    Write(Src() / "core/threads.cpp", "#include \"winapi/kernel/threads.h\"\n");
    EXPECT_EQ((std::vector<std::string>{
                  "audio/channels.cpp:2: ../graphics/bitmap.h: audio may not include graphics",
                  "core/threads.cpp:1: winapi/kernel/threads.h: core may not include winapi",
                  "foundation/string.h:1: core/engine.h: foundation may not include core",
              }),
              Check());
}

TEST_F(LayerCheck, ReportsSystemHeadersAboveThePlatformLayer)
{
    Write(Src() / "core/files.cpp", "#include <unistd.h>\n#include <sys/stat.h>\n#include <system_error>\n");
    EXPECT_EQ((std::vector<std::string>{
                  "core/files.cpp:1: unistd.h: a system header outside the folders on the posix-allowed row",
                  "core/files.cpp:2: sys/stat.h: a system header outside the folders on the posix-allowed row",
              }),
              Check());
}

TEST_F(LayerCheck, ReportsIncludesFromOrIntoFilesNoRowHolds)
{
    Write(Src() / "renderer/device.h", "#pragma once\n");
    Write(Src() / "renderer/device.cpp", "#include \"renderer/device.h\"\n");
    Write(Src() / "core/frame.cpp", "#include \"renderer/device.h\"\n");
    EXPECT_EQ((std::vector<std::string>{
                  "core/frame.cpp:1: renderer/device.h: renderer/device.h is on no row of the layer table",
                  "renderer/device.cpp:1: renderer/device.h: renderer/device.cpp is on no row of the layer table",
              }),
              Check());
}

TEST_F(LayerCheck, TableRejectsUnknownUnitsAndCycles)
{
    Write(m_folder.Path() / "layers.txt",
          "foundation: core\n"
          "core: foundation\n"
          "audio: mixer\n");
    std::vector<std::string> problems;
    const LayerTable table = ReadLayerTable(m_folder.Path() / "layers.txt", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ((std::vector<std::string>{
                  "audio names mixer, which is no row's first folder",
                  "foundation may include itself through other rows: a cycle (put folders that include each other "
                  "on one row)",
                  "core may include itself through other rows: a cycle (put folders that include each other on one "
                  "row)",
              }),
              CheckLayerTable(table));
}

TEST_F(LayerCheck, TableRejectsLinesOfNeitherKind)
{
    Write(m_folder.Path() / "layers.txt", "core foundation\nposix-everything = core\n");
    std::vector<std::string> problems;
    ReadLayerTable(m_folder.Path() / "layers.txt", problems);
    EXPECT_EQ((std::vector<std::string>{
                  "layers.txt:1: neither a row ('folders: units') nor a setting ('name = values')",
                  "layers.txt:2: unknown setting",
              }),
              problems);
}
