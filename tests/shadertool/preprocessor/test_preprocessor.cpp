#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "preprocessor_test_support.h"
#include "shadertool/preprocessor/preprocessor_macros.h"
#include "shadertool/support/file_text.h"

using namespace ShaderTool;
namespace fs = std::filesystem;

namespace {

using Preprocessor = PreprocessorFixture;

const char* const kTargetSwitch = "#if _TARGET == _TARGET_HLSL11\nyes\n#else\nno\n#endif\n";

TEST_F(Preprocessor, TargetMacroSelectsTheBranchAndMarksTheSourceTargetDependent)
{
    EXPECT_TRUE(Run(kTargetSwitch, TARGET_HLSL11));
    EXPECT_EQ(Output(), "\nyes\n\n\n\n");
    EXPECT_EQ(context.targetDependent, 1);
    EXPECT_TRUE(Run(kTargetSwitch, TARGET_GLSL21));
    EXPECT_EQ(Output(), "\n\n\nno\n\n");
    EXPECT_EQ(context.targetDependent, 1);
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(Run("#if 1\nx\n#endif\n"));
    EXPECT_EQ(context.targetDependent, 0);
}

TEST_F(Preprocessor, TargetGroupAndTextureAxisFollowTheTarget)
{
    const char* text = "#if _TARGET_GROUP == _TARGET_HLSL\nhlsl\n#endif\n";
    for (uint32_t target : {TARGET_HLSL9, TARGET_HLSL11, TARGET_HLSL12}) {
        EXPECT_TRUE(Run(text, target));
        EXPECT_EQ(Output(), "\nhlsl\n\n") << target;
    }
    for (uint32_t target : {TARGET_ESSL20, TARGET_GLSL31, TARGET_PSSL, TARGET_SPIRV}) {
        EXPECT_TRUE(Run(text, target));
        EXPECT_EQ(Output(), "\n\n\n") << target;
    }
    EXPECT_TRUE(Run("_TEXTURE_COORDINATE_AXIS_V_POINTS_UP\n", TARGET_GLSL21));
    EXPECT_EQ(Output(), "1\n");
    EXPECT_TRUE(Run("_TEXTURE_COORDINATE_AXIS_V_POINTS_UP\n", TARGET_HLSL11));
    EXPECT_EQ(Output(), "0\n");
}

// A target macro written in the text itself changes the text per target, as
// much as one tested by #if does; a macro that only holds a target's number
// does not.
TEST_F(Preprocessor, TargetMacrosInOrdinaryLinesMarkTheSourceTargetDependent)
{
    const struct {
        const char* text;
        const char* output;
    } cases[] = {
        {"float(_TEXTURE_COORDINATE_AXIS_V_POINTS_UP)\n", "float(1)\n"},
        // The target names come before _TARGET in the list, so they stay names.
        {"int t = _TARGET;\n", "int t = _TARGET_GLSL21;\n"},
        {"int g = _TARGET_GROUP;\n", "int g = _TARGET_GLSL;\n"},
        {"#define AXIS _TEXTURE_COORDINATE_AXIS_V_POINTS_UP\nfloat(AXIS)\n", "\nfloat(1)\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Run("x\n", TARGET_GLSL21));
        ASSERT_EQ(context.targetDependent, 0);
        EXPECT_TRUE(Run(c.text, TARGET_GLSL21)) << c.text;
        EXPECT_EQ(Output(), c.output);
        EXPECT_EQ(context.targetDependent, 1) << c.text;
    }
    EXPECT_TRUE(Run("int t = _TARGET_GLSL21 + _TARGET_HLSL;\n", TARGET_GLSL21));
    EXPECT_EQ(Output(), "int t = 4 + 4;\n");
    EXPECT_EQ(context.targetDependent, 0);
}

TEST_F(Preprocessor, RayFlagsExistForClosestHitAndRayGenerationOnly)
{
    const char* text = "RAY_FLAGS_CULL_NO_OPAQUE RAY_FLAGS_OPAQUE\n";
    EXPECT_TRUE(Run(text, TARGET_HLSL12, STAGE_RGEN));
    EXPECT_EQ(Output(), "128 1\n");
    EXPECT_TRUE(Run(text, TARGET_HLSL12, STAGE_RCHIT));
    EXPECT_EQ(Output(), "128 1\n");
    EXPECT_TRUE(Run(text, TARGET_HLSL12, STAGE_RMISS));
    EXPECT_EQ(Output(), text);
}

TEST_F(Preprocessor, ConditionsFindTheFirstMacroOfAName)
{
    EXPECT_TRUE(
        Run("#if _TARGET_PSSL == 128 && _TARGET_SPIRV == 256 && "
            "_TARGET_HLSL == 4\nT\n#endif\n"));
    EXPECT_EQ(Output(), "\nT\n\n");
    EXPECT_EQ(FindMacro(context, "_TARGET_PSSL"), 10);
    EXPECT_EQ(FindMacro(context, "_TARGET_GROUP"), context.globalMacroCount + 1);
    EXPECT_EQ(FindMacro(context, "UNDEFINED"), -1);
}

TEST_F(Preprocessor, EachRunStartsFromTheGlobalMacros)
{
    EXPECT_TRUE(Run("#define LOCAL 1\n#if defined(LOCAL)\nT\n#endif\n"));
    EXPECT_EQ(Output(), "\n\nT\n\n");
    EXPECT_TRUE(Run("#if defined(LOCAL)\nT\n#endif\n", TARGET_HLSL9));
    EXPECT_EQ(Output(), "\n\n\n");
    EXPECT_EQ(FindMacro(context, "LOCAL"), -1);
    EXPECT_TRUE(Run("#define A 1\n"));
    EXPECT_TRUE(Run("#define A 2\nA\n"));
    EXPECT_EQ(Output(), "\n2\n");
    EXPECT_EQ(context.macros.GetCount(), context.globalMacroCount + 4);
}

TEST_F(Preprocessor, EighthNestedIfIsReported)
{
    std::string text;
    for (int i = 0; i < 8; ++i) text += "#if 1\n";
    for (int i = 0; i < 7; ++i) text += "#endif\n";
    EXPECT_FALSE(Run(text));
    EXPECT_EQ(LogText(), ErrorLine(8, 2, "too many nested if directives."));
    EXPECT_EQ(log.error, 1);
}

TEST_F(Preprocessor, RedefiningAGlobalOrShaderXmlDefinitionIsReported)
{
    description.definitions.Add({"N", "4", DEFINITION_VALUE_INT});
    EXPECT_FALSE(Run("#define N 1\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 9, "redefinition of 'N'."));
}

TEST_F(Preprocessor, ExpansionThatMultipliesWithoutEndIsRefused)
{
    // Every macro's text names the next one 64 times: 64^5 copies of F.
    std::string text = "A\n";
    for (char name = 'A'; name < 'F'; ++name) {
        text += std::string("#define ") + name + " \"";
        for (int i = 0; i < 64; ++i) text += std::string(1, char(name + 1)) + " ";
        text += "\"\n";
    }
    EXPECT_FALSE(Run(text));
    EXPECT_EQ(LogText(), ErrorLine(7, 1, "expanded text is too long (maximum is 16777216 characters)."));
}

TEST_F(Preprocessor, ShaderXmlDefinitionsByValueKind)
{
    description.definitions.Add({"B", "true", DEFINITION_VALUE_BOOL});
    description.definitions.Add({"C", "false", DEFINITION_VALUE_BOOL});
    description.definitions.Add({"I", "0x1F", DEFINITION_VALUE_INT});
    description.definitions.Add({"D", "12", DEFINITION_VALUE_INT});
    description.definitions.Add({"F", "0.25", DEFINITION_VALUE_FLOAT});
    description.definitions.Add({"T", "abc", DEFINITION_VALUE_TEXT});
    description.definitions.Add({"U", "", DEFINITION_VALUE_UNKNOWN});
    EXPECT_TRUE(Run("B C I D F T U\n"));
    EXPECT_EQ(Output(), "1 0 31 12 0.250000 \"abc\" 0.000000\n");
}

TEST_F(Preprocessor, OverlongShaderXmlTextDefinitionIsReportedAndSkipped)
{
    description.definitions.Add({"T", std::string(129, 'a').c_str(), DEFINITION_VALUE_TEXT});
    EXPECT_TRUE(Run("T\n"));
    EXPECT_EQ(Output(), "T\n");
    EXPECT_EQ(LogText(), "Error: definition 'T' has a value longer than 128 characters.\n");
}

TEST_F(Preprocessor, AdditionalDefinitions)
{
    const char* pairs[] = {"_A", "1",    "B", "_x",      "N", "3", "F", "1.5",       "M", "-1", "H", "0x10",
                           "T",  "true", "S", "\"txt\"", "R", "N", "Z", "undefined", "E", "",   "",  "4"};
    for (const char* text : pairs) definitions.Add(text);
    EXPECT_TRUE(Run("N F H T S R Z M B\n"));
    EXPECT_EQ(Output(), "3 1.500000 16 1 \"txt\" 3 0 M B\n");
    EXPECT_EQ(LogText(),
              "Error: invalid additional preprocessor definition '_A=1' specified.\n"
              "Error: invalid additional preprocessor definition 'B=_x' specified.\n"
              "Error: invalid additional preprocessor definition 'M=-1' specified.\n"
              "Error: invalid additional preprocessor definition 'E=' specified.\n"
              "Error: invalid additional preprocessor definition '=4' specified.\n");
    EXPECT_EQ(log.error, 1);
    EXPECT_EQ(context.success, 1);
}

TEST_F(Preprocessor, AdditionalDefinitionTooLongForAValueIsInvalid)
{
    const std::string longText = "\"" + std::string(129, 't') + "\"";
    definitions.Add("L");
    definitions.Add(longText.c_str());
    definitions.Add("K");
    definitions.Add(("\"" + std::string(128, 'k') + "\"").c_str());
    EXPECT_TRUE(Run("L K\n"));
    EXPECT_EQ(Output(), "L \"" + std::string(128, 'k') + "\"\n");
    EXPECT_EQ(LogText(), "Error: invalid additional preprocessor definition 'L=" + longText + "' specified.\n");
}

TEST_F(Preprocessor, AdditionalDefinitionNamingALongNameLooksUpTheWholeName)
{
    definitions.Add("L");
    definitions.Add(std::string(129, 'n').c_str());
    EXPECT_TRUE(Run("L\n"));
    EXPECT_EQ(Output(), "0\n");
    EXPECT_EQ(LogText(), "");
}

TEST_F(Preprocessor, ListOnlyWritesEveryMacroIntoTheLog)
{
    EXPECT_TRUE(Run("#define X 1\n", TARGET_HLSL11, STAGE_VERTEX, true));
    std::string expected;
    auto line = [&expected](const std::string& name, const std::string& value) {
        expected += name + std::string(36 - name.size(), ' ') + " " + value + "\n";
    };
    for (const GlobalMacroRow& row : kGlobalMacros) {
        line(row.name, row.text != nullptr ? row.text : std::to_string(row.integer));
    }
    line("_TARGET", "_TARGET_HLSL11");
    line("_TARGET_GROUP", "_TARGET_HLSL");
    line("_TEXTURE_COORDINATE_AXIS_V_POINTS_UP", "0");
    EXPECT_EQ(LogText(), expected);
    EXPECT_EQ(log.written, 1);
    EXPECT_EQ(log.error, 0);
    EXPECT_EQ(Output(), "");
}

// Sources of tests/data/shaders/preprocessor, run as main.hvsl for the
// default target and stage. One with an .expected log beside it is refused
// with exactly that log, any other runs clean; the text written is the .out
// file beside it where there is one (a refused run expands no macros).
TEST_F(Preprocessor, CorpusSourcesGiveTheirTextAndLog)
{
    std::vector<fs::path> sources;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(HALVO_TEST_DATA_DIR) / "shaders" / "preprocessor")) {
        if (entry.path().extension() == ".hvsl") sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    EXPECT_GE(sources.size(), 44u);
    for (const fs::path& source : sources) {
        SCOPED_TRACE(source.filename().string());
        const fs::path logPath = fs::path(source).replace_extension(".expected");
        const fs::path outputPath = fs::path(source).replace_extension(".out");
        const std::string log = fs::exists(logPath) ? ReadFileText(logPath) : "";
        EXPECT_EQ(Run(ReadFileText(source)), log.empty());
        EXPECT_EQ(LogText(), log);
        if (fs::exists(outputPath)) {
            EXPECT_EQ(Output(), ReadFileText(outputPath));
        }
    }
}

}  // namespace
