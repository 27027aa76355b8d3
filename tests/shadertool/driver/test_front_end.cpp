#include <filesystem>
#include <fstream>
#include <string>

#include "shadertool/support/front_end_test_support.h"
#include "support/temporary_folder.h"

namespace {

using FrontEnd = FrontEndFixture;

TEST_F(FrontEnd, FailedPreprocessingLeavesNoTree)
{
    ASSERT_TRUE(RunPixel(kPixelMain)) << LogText();
    ASSERT_NE(frontEnd.parse.root, nullptr);
    EXPECT_FALSE(RunPixel(std::string("#if 1\n") + kPixelMain));
    EXPECT_EQ(frontEnd.parse.root, nullptr);
    EXPECT_EQ(frontEnd.parse.success, 0);
    EXPECT_NE(LogText().find("expected endif directive."), std::string::npos) << LogText();
}

// Float macro values are written with six decimals.
TEST_F(FrontEnd, SourceIsPreprocessedWithTheCallersDefinitions)
{
    definitions.Add("GAIN");
    definitions.Add("0.5");
    ASSERT_TRUE(RunPixel("#define HALF GAIN\nvoid main()\n{\n\toutput.color = float4(HALF);\n}\n")) << LogText();
    EXPECT_EQ(DumpStatement(0),
              "Operator = : float4\n"
              "  Operator . : float4\n"
              "    Variable output : _Output\n"
              "    Variable color : float4\n"
              "  Call float4 : float4 constant built-in 103\n"
              "    Block\n"
              "      Constant 0.500000f : float constant\n");
}

TEST_F(FrontEnd, ErrorLinesKeepTheSourcesLineNumbers)
{
    EXPECT_FALSE(RunPixel("#define UNUSED 1\n\n#if UNUSED\nvoid main()\n{\n#endif\n\toutput.color = nothing;\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(7, 20, "undeclared identifier 'nothing'.") +
                             ErrorLine(7, 18, "no operator '=' matches the operands."));
}

TEST_F(FrontEnd, SourcesOfDifferentStagesRunOneAfterTheOther)
{
    EXPECT_FALSE(Run("void main()\n{\n}\n"));
    EXPECT_TRUE(RunPixel(kPixelMain)) << LogText();
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
            "\toutput.color = input.color;\n}\n"))
        << LogText();
}

TEST_F(FrontEnd, PreprocessedSourceIsParsedWithoutPreprocessingAgain)
{
    ShaderTool::ShaderSource source;
    source.path = path.c_str();
    source.text = "void main()\n{\n\toutput.color = float4(HALF);\n}\n";
    source.firstLine = 1;
    source.stage = ShaderTool::STAGE_PIXEL;
    frontEnd.preprocessor.output = "void main()\n{\n\toutput.color = float4(0.5);\n}\n";
    ASSERT_TRUE(ShaderTool::ParsePreprocessedSource(frontEnd, description, source)) << LogText();
    EXPECT_NE(DumpStatement(0).find("      Constant 0.5f : float constant\n"), std::string::npos) << DumpStatement(0);
}

// Errors inside an included file name that file and count its own lines;
// the source's lines go on after the include. The check after the parse
// names the file that declared a function, not the file the parse ended in.
TEST_F(FrontEnd, ErrorsInAnIncludedFileNameThatFile)
{
    const TemporaryFolder temporary("front_end");
    const std::filesystem::path& folder = temporary.Path();
    const std::string included = (folder / "shading.hvsl").string();
    path = (folder / "main.hvsl").string();
    const struct {
        const char* shading;
        const char* statement;
        std::string log;
    } rows[] = {
        {"float4 Shade(float4 color)\n{\n\treturn colour;\n}\n", "\toutput.color = Shade(missing);\n",
         included + "(3:12) error: undeclared identifier 'colour'.\n" + included +
             "(3:5) error: return value type does not match the function type.\n" +
             ErrorLine(4, 26, "undeclared identifier 'missing'.") +
             ErrorLine(4, 25, "no instance of function 'Shade' matches the argument list.") +
             ErrorLine(4, 18, "no operator '=' matches the operands.")},
        {"\nfloat4 Shade(float4 color);\n", "\toutput.color = Shade(input.color);\n",
         included + "(2:13) error: function 'Shade' is referenced but has no definition.\n"},
    };
    for (const auto& row : rows) {
        std::ofstream(folder / "shading.hvsl") << row.shading;
        EXPECT_FALSE(RunPixel(std::string("#include \"shading.hvsl\"\nvoid main()\n{\n") + row.statement + "}\n"));
        EXPECT_EQ(LogText(), row.log);
    }
}

}  // namespace
