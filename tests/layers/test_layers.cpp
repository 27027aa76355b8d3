#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layers/layer_check.h"

namespace {

// One problem a line.
std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
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

// Each folder of tests/data/layers holds a layers.txt, perhaps a src/ tree,
// and the problems the check finds in them: those of the table, then those
// of the includes.
TEST(LayerCheck, EachTestTreeHasExactlyTheProblemsItsExpectedFileNames)
{
    const std::filesystem::path trees = std::filesystem::path(HALVO_TEST_DATA_DIR) / "layers";
    int checked = 0;
    for (const std::filesystem::directory_entry& tree : std::filesystem::directory_iterator(trees)) {
        if (!tree.is_directory()) continue;
        SCOPED_TRACE(tree.path().filename().string());
        std::vector<std::string> problems;
        const LayerTable table = ReadLayerTable(tree.path() / "layers.txt", problems);
        for (const std::string& problem : CheckLayerTable(table)) problems.push_back(problem);
        if (std::filesystem::exists(tree.path() / "src")) {
            for (const std::string& problem : CheckIncludes(table, tree.path() / "src")) problems.push_back(problem);
        }
        std::ifstream expected(tree.path() / "expected");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(expected), {}), Lines(problems));
        ++checked;
    }
    EXPECT_EQ(checked, 2);
}
