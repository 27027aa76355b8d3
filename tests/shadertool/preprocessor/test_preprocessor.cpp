#include <string>

#include "preprocessor_test_support.h"
#include "shadertool/preprocessor/preprocessor_macros.h"

using namespace ShaderTool;

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
}

TEST_F(Preprocessor, SourceWithoutTargetMacrosIsNotTargetDependent)
{
    EXPECT_TRUE(Run("#if 1\nx\n#endif\n"));
    EXPECT_EQ(context.targetDependent, 0);
}

TEST_F(Preprocessor, TargetGroupCoversTheHlslTargets)
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
}

TEST_F(Preprocessor, TextureAxisMacroIsSetForTheGlslFamily)
{
    EXPECT_TRUE(Run("_TEXTURE_COORDINATE_AXIS_V_POINTS_UP\n", TARGET_GLSL21));
    EXPECT_EQ(Output(), "1\n");
    EXPECT_TRUE(Run("_TEXTURE_COORDINATE_AXIS_V_POINTS_UP\n", TARGET_HLSL11));
    EXPECT_EQ(Output(), "0\n");
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
    EXPECT_TRUE(Run("#if _TARGET_PSSL == 128 && _TARGET_SPIRV == 256 && _TARGET_HLSL == 4\nT\n#endif\n"));
    EXPECT_EQ(Output(), "\nT\n\n");
    EXPECT_EQ(FindMacro(context, "_TARGET_PSSL"), 10);
    EXPECT_EQ(FindMacro(context, "_TARGET_GROUP"), context.globalMacroCount + 1);
    EXPECT_EQ(FindMacro(context, "UNDEFINED"), -1);
}

TEST_F(Preprocessor, MacrosOfARunAreForgottenByTheNext)
{
    EXPECT_TRUE(Run("#define LOCAL 1\n#if defined(LOCAL)\nT\n#endif\n"));
    EXPECT_EQ(Output(), "\n\nT\n\n");
    EXPECT_TRUE(Run("#if defined(LOCAL)\nT\n#endif\n", TARGET_HLSL9));
    EXPECT_EQ(Output(), "\n\n\n");
    EXPECT_EQ(FindMacro(context, "LOCAL"), -1);
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

TEST_F(Preprocessor, EachRunStartsFromTheGlobalMacros)
{
    EXPECT_TRUE(Run("#define A 1\n"));
    EXPECT_TRUE(Run("#define A 2\nA\n"));
    EXPECT_EQ(Output(), "\n2\n");
    EXPECT_EQ(context.macros.GetCount(), context.globalMacroCount + 4);
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

// A source for the default target and stage, and the text it becomes.
struct TextRow {
    const char* what;
    const char* source;
    const char* output;
};

constexpr TextRow kTextRows[] = {
    {"target entries hide group entries of the same name", "_TARGET_PSSL _TARGET_SPIRV _TARGET_ESSL\n", "128 256 1\n"},
    {"elif taken when no earlier branch was", "#if 0\na\n#elif 1\nb\n#else\nc\n#endif\n", "\n\n\nb\n\n\n\n"},
    {"elif skipped after a taken branch", "#if 1\na\n#elif 1\nb\n#endif\n", "\na\n\n\n\n"},
    {"else taken when no branch was", "#if 0\na\n#elif 0\nb\n#else\nc\n#endif\n", "\n\n\n\n\nc\n\n"},
    {"inactive parent keeps every nested branch out", "#if 0\n#if 1\na\n#else\nb\n#endif\n#endif\nc\n",
     "\n\n\n\n\n\n\nc\n"},
    {"define in an inactive branch defines nothing", "#if 0\n#define A 1\n#endif\nA\n", "\n\n\nA\n"},
    {"macro replaced above its definition too", "x = A;\n#define A 7\ny = A2 + A;\n", "x = 7;\n\ny = A2 + 7;\n"},
    // Macros replace their names in list order, so a replacement is open to
    // the macros after its own and closed to those before it.
    {"replacement names only later macros", "#define B 5\n#define A \"B C A\"\n#define C 7\nA B C\n",
     "\n\n\n\"B 7 A\" 5 7\n"},
    {"replacement names no global macro", "#define A \"_TARGET B\"\n#define B \"C\"\n#define C 3\nA\n",
     "\n\n\n\"_TARGET \"3\"\"\n"},
    {"small float keeps its value", "#define E 0.0000001\n#define H 0.5\n#define N 7\nE H N\n",
     "\n\n\n1e-07 0.500000 7\n"},
    {"pi is text in lines and zero in conditions", "#if _PI > 3\na\n#endif\n_PI _HALF_PI\n",
     "\n\n\n3.1415926536f 1.5707963268f\n"},
    {"string definition written in quotes", "#define S \"text\"\nS\n", "\n\"text\"\n"},
    {"negative value after a minus stays two tokens", "#define N -1\nx = a-N;\ny = a - N;\n",
     "\nx = a- -1;\ny = a - -1;\n"},
    {"file marker lines never rewritten", "#define f 1\n@f \"f\" 3\nf\n", "\n@f \"f\" 3\n1\n"},
    {"empty source", "", ""},
    {"last line without newline copied to the end", "#if 1\nb\n#endif\nc", "\nb\n\nc"},
    {"comments and carriage returns stripped", "a // note\r\n#if 1 /* off */\nb\n#endif\n", "a   \n\nb\n\n"},
    {"division by zero in a skipped branch", "#if 0\n#if 1 / 0\n#endif\n#define Z 1 / 0\n#endif\n", "\n\n\n\n\n"},
    {"division by zero in a skipped elif", "#if 1\n#elif 1 / 0\n#endif\n", "\n\n\n"},
    {"include in a skipped branch", "#if 0\n#include \"missing.h\"\n#include 5\n#endif\nx\n", "\n\n\n\nx\n"},
};

TEST_F(Preprocessor, TextRows)
{
    for (const TextRow& row : kTextRows) {
        SCOPED_TRACE(row.what);
        EXPECT_TRUE(Run(row.source)) << LogText();
        EXPECT_EQ(Output(), row.output);
    }
}

// A source the preprocessor refuses, its log and, where given, what it wrote:
// a run with errors expands no macros.
struct FaultRow {
    const char* source;
    const char* log;
    const char* output;
};

constexpr FaultRow kFaultRows[] = {
    {"#elif 1\n#else\n  #endif\n",
     "main.hvsl(1:2) error: unexpected elif directive.\nmain.hvsl(2:2) error: unexpected else directive.\n"
     "main.hvsl(3:4) error: unexpected endif directive.\n",
     nullptr},
    {"#if 1\na\n", "main.hvsl(3:1) error: expected endif directive.\n", "\na\n"},
    {"#define A 2\n#define A 3\nA\n", "main.hvsl(2:9) error: redefinition of 'A'.\n", "\n\nA\n"},
    {"#define _PI 3\n", "main.hvsl(1:9) error: identifiers must not start with an underscore.\n", nullptr},
    {"#define A 1\nA\n#pragma once\nA\n", "main.hvsl(3:2) error: syntax error\n", "\nA\n"},
    // The directive parser's refusals.
    {"#pragma once\n", "main.hvsl(1:2) error: syntax error\n", nullptr},
    {"#define F(x) x\n", "main.hvsl(1:14) error: syntax error\n", nullptr},
    {"#if 5 % 2\n#endif\n", "main.hvsl(1:7) error: syntax error\n", nullptr},
    {"#if \"abc\"\n#endif\n", "main.hvsl(1:5) error: syntax error\n", nullptr},
    {"#endif extra\n", "main.hvsl(1:2) error: unexpected endif directive.\nmain.hvsl(1:8) error: syntax error\n",
     nullptr},
    {"#if 1u\n#endif\n", "main.hvsl(1:5) error: syntax error\n", nullptr},
    {"#define S \"open\n", "main.hvsl(1:11) error: syntax error\n", nullptr},
    {"#if defined X\n#endif\n", "main.hvsl(1:13) error: syntax error\n", nullptr},
    {"#define S \"abc\"\n#if S\n#endif\n",
     "main.hvsl(2:5) error: expression evaluating to a string literal is not allowed.\n", nullptr},
    {"#if _IS_ARRAY_NODE_DEFINED(\"vertex_input\")\n#endif\n", "main.hvsl(1:5) error: invalid arguments.\n", nullptr},
    {"#if _IS_ARRAY_NODE_DEFINED()\n#endif\n", "main.hvsl(1:5) error: invalid arguments.\n", nullptr},
    {"#if  _IS_ARRAY_NODE_DEFINED(vertex_input, position)\n#endif\n", "main.hvsl(1:6) error: invalid arguments.\n",
     nullptr},
    {"#if _IS_ARRAY_NODE_DEFINED(\"a\", \"b\", \"c\")\n#endif\n", "main.hvsl(1:5) error: invalid arguments.\n",
     nullptr},
    {"#if _IS_ARRAY_NODE_DEFINED(\"textures\", \"b\")\n#endif\n", "main.hvsl(1:5) error: invalid array name.\n",
     nullptr},
    {"#if 1 + max(1, 2)\n#endif\n", "main.hvsl(1:9) error: undeclared function-like macro 'max'.\n", nullptr},
    {"#include 5\nx\n", "main.hvsl(1:2) error: expression must evaluate to a string literal.\n", "\nx\n"},
    {"#include UNDEFINED\n", "main.hvsl(1:2) error: expression must evaluate to a string literal.\n", nullptr},
    // Division by zero gives zero; a parenthesized operand is located at its
    // first constant. In a skipped branch it is no error; see the text rows.
    {"#if 1 / 0\nT\n#endif\n#define Z 5 / (2 - 2)\nZ\n",
     "main.hvsl(1:9) error: division by zero.\nmain.hvsl(4:16) error: division by zero.\n", "\n\n\n\nZ\n"},
    {"#if 0\n#elif 1 / 0\n#endif\n", "main.hvsl(2:11) error: division by zero.\n", nullptr},
};

TEST_F(Preprocessor, FaultRows)
{
    for (const FaultRow& row : kFaultRows) {
        SCOPED_TRACE(row.source);
        EXPECT_FALSE(Run(row.source));
        EXPECT_EQ(LogText(), row.log);
        if (row.output != nullptr) {
            EXPECT_EQ(Output(), row.output);
        }
    }
}

}  // namespace
