// The trees the parser and the checks build, read from tests/data/shaders/trees:
// each pixel source of the sprite interface there has a .trees file beside it
// of sections headed "== declaration <n>" (a top-level declaration) or
// "== statement <n>" (a statement of the last function), with "contains" when
// the section is only part of that dump. A source runs clean unless an
// .expected file beside it holds its step log.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "shadertool/support/file_text.h"
#include "shadertool/support/front_end_test_support.h"

namespace {

namespace fs = std::filesystem;

using Grammar = FrontEndFixture;

struct TreeSection {
    std::string selector;
    std::string text;
};

std::vector<TreeSection> ReadSections(const fs::path& path)
{
    std::vector<TreeSection> sections;
    std::istringstream lines(ReadFileText(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("== ", 0) == 0) {
            sections.push_back({line.substr(3), ""});
        } else if (!sections.empty()) {
            sections.back().text += line + "\n";
        }
    }
    return sections;
}

TEST_F(Grammar, EverySourceOfTheTreeCorpusBuildsItsTrees)
{
    std::vector<fs::path> sources;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(HALVO_TEST_DATA_DIR) / "shaders" / "trees")) {
        if (entry.path().extension() == ".hvsl") sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    EXPECT_GE(sources.size(), 29u);
    for (const fs::path& source : sources) {
        SCOPED_TRACE(source.filename().string());
        path = source.filename().string();
        fs::path expectedLog = source;
        expectedLog.replace_extension(".expected");
        const std::string log = fs::exists(expectedLog) ? ReadFileText(expectedLog) : "";
        EXPECT_EQ(RunPixel(ReadFileText(source)), log.empty());
        EXPECT_EQ(LogText(), log);
        fs::path trees = source;
        trees.replace_extension(".trees");
        const std::vector<TreeSection> sections = ReadSections(trees);
        EXPECT_FALSE(sections.empty());
        for (const TreeSection& section : sections) {
            std::istringstream selector(section.selector);
            std::string kind;
            int index = 0;
            std::string mode;
            selector >> kind >> index >> mode;
            EXPECT_TRUE(kind == "declaration" || kind == "statement") << section.selector;
            const std::string dump = kind == "declaration" ? DumpDeclaration(index) : DumpStatement(index);
            if (mode == "contains") {
                EXPECT_NE(dump.find(section.text), std::string::npos) << section.selector << "\n" << dump;
            } else {
                EXPECT_EQ(dump, section.text) << section.selector;
            }
        }
    }
}

TEST_F(Grammar, ParserStackGrowsPastItsFirstBlock)
{
    const std::string nested = std::string(1000, '(') + "1.0" + std::string(1000, ')');
    EXPECT_TRUE(RunPixel("void main()\n{\n\tfloat x = " + nested + ";\n\toutput.color = float4(x);\n}\n")) << LogText();
}

}  // namespace
