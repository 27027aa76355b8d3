#include <string>

#include "front_end_test_support.h"

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
    EXPECT_TRUE(Run("void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
                    "\toutput.color = input.color;\n}\n"))
        << LogText();
}

}  // namespace
