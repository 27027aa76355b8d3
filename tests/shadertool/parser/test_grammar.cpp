#include <string>

#include "shadertool/support/front_end_test_support.h"

namespace {

using Grammar = FrontEndFixture;

TEST_F(Grammar, AssignmentGroupsToTheRightAndSubtractionToTheLeft)
{
    ASSERT_TRUE(RunPixel(std::string("float f(float a, float b, float c)\n{\n\ta = b = c;\n\treturn a - b - c;\n}\n") +
                         kPixelMain))
        << LogText();
    EXPECT_EQ(DumpDeclaration(0),
              "Function f : float [f,f,f,f]\n"
              "  Block\n"
              "    Variable a : float\n"
              "    Variable b : float\n"
              "    Variable c : float\n"
              "  Block {}\n"
              "    Operator = : float\n"
              "      Variable a : float\n"
              "      Operator = : float\n"
              "        Variable b : float\n"
              "        Variable c : float\n"
              "    Jump return\n"
              "      Operator - : float\n"
              "        Operator - : float\n"
              "          Variable a : float\n"
              "          Variable b : float\n"
              "        Variable c : float\n");
}

TEST_F(Grammar, ConditionalNestsInItsThirdOperand)
{
    ASSERT_TRUE(RunPixel(std::string("float g(bool p, bool q, float a, float b, float c)\n{\n"
                                     "\treturn p ? a : q ? b : c;\n}\n") +
                         kPixelMain))
        << LogText();
    const std::string dump = DumpDeclaration(0);
    EXPECT_NE(dump.find("    Jump return\n"
                        "      Operator ? : float\n"
                        "        Variable p : bool\n"
                        "        Operator : : float\n"
                        "          Variable a : float\n"
                        "          Operator ? : float\n"
                        "            Variable q : bool\n"
                        "            Operator : : float\n"
                        "              Variable b : float\n"
                        "              Variable c : float\n"),
              std::string::npos)
        << dump;
}

TEST_F(Grammar, MemberChainBuildsNestedMemberOperators)
{
    ASSERT_TRUE(RunPixel(std::string("struct Inner { float2 z; };\nstruct Outer { Inner y; };\n"
                                     "float2 h(Outer x)\n{\n\treturn x.y.z;\n}\n") +
                         kPixelMain))
        << LogText();
    EXPECT_EQ(DumpDeclaration(0), "StructDeclaration : Inner\n  Variable z : float2\n");
    EXPECT_NE(DumpDeclaration(2).find("    Jump return\n"
                                      "      Operator . : float2\n"
                                      "        Operator . : Inner\n"
                                      "          Variable x : Outer\n"
                                      "          Variable y : Inner\n"
                                      "        Variable z : float2\n"),
              std::string::npos)
        << DumpDeclaration(2);
}

TEST_F(Grammar, InitialisedDeclarationHoldsAnInitialisingAssignment)
{
    ASSERT_TRUE(RunPixel(std::string("float k = 1;\n") + kPixelMain)) << LogText();
    EXPECT_EQ(DumpDeclaration(0),
              "VariableDeclaration : float\n"
              "  Operator = : float (initialization)\n"
              "    Variable k : float\n"
              "    Constant 1.000000f : float constant\n");
}

TEST_F(Grammar, FloatLiteralsEndInTheirSuffix)
{
    ASSERT_TRUE(RunPixel(std::string("float m = 1.5;\nfloat n = 2.0F;\n") + kPixelMain)) << LogText();
    EXPECT_NE(DumpDeclaration(0).find("Constant 1.5f : float constant\n"), std::string::npos);
    EXPECT_NE(DumpDeclaration(1).find("Constant 2.0F : float constant\n"), std::string::npos);
}

TEST_F(Grammar, IfWithEmptyStatementGetsAnEmptyBracedBlock)
{
    ASSERT_TRUE(RunPixel("void main()\n{\n\tif (true) ;\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n"))
        << LogText();
    EXPECT_EQ(DumpStatement(0),
              "Selection\n"
              "  condition:\n"
              "    Constant true : bool constant\n"
              "  then:\n"
              "    Block {}\n");
}

TEST_F(Grammar, ForWithEmptyClausesHasNullPartsAndAnEmptyBody)
{
    ASSERT_TRUE(RunPixel("void main()\n{\n\tfor (;;) {}\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n"))
        << LogText();
    EXPECT_EQ(DumpStatement(0),
              "Loop for\n"
              "  init:\n"
              "    (none)\n"
              "  condition:\n"
              "    (none)\n"
              "  step:\n"
              "    (none)\n"
              "  body:\n"
              "    Block {}\n");
}

TEST_F(Grammar, ElseBelongsToTheNearestIf)
{
    ASSERT_TRUE(
        RunPixel("void main()\n{\n\tfloat x = 0.0;\n\tbool a = true;\n\tbool b = false;\n"
                 "\tif (a) if (b) x = 1.0; else x = 2.0;\n\toutput.color = float4(x, x, x, 1.0);\n}\n"))
        << LogText();
    EXPECT_EQ(DumpStatement(3),
              "Selection\n"
              "  condition:\n"
              "    Variable a : bool\n"
              "  then:\n"
              "    Selection\n"
              "      condition:\n"
              "        Variable b : bool\n"
              "      then:\n"
              "        Operator = : float\n"
              "          Variable x : float\n"
              "          Constant 1.0f : float constant\n"
              "      else:\n"
              "        Operator = : float\n"
              "          Variable x : float\n"
              "          Constant 2.0f : float constant\n");
}

TEST_F(Grammar, WhileAndDoWhileLoops)
{
    ASSERT_TRUE(
        RunPixel("void main()\n{\n\tint i = 0;\n\twhile (i < 4) i++;\n\tdo { i--; } while (i);\n"
                 "\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n"))
        << LogText();
    EXPECT_EQ(DumpStatement(1),
              "Loop while\n"
              "  condition:\n"
              "    Operator < : bool\n"
              "      Variable i : int\n"
              "      Constant 4 : int constant\n"
              "  body:\n"
              "    Operator ++ : int\n"
              "      Variable i : int\n");
    EXPECT_EQ(DumpStatement(2),
              "Loop do-while\n"
              "  condition:\n"
              "    Variable i : int\n"
              "  body:\n"
              "    Block {}\n"
              "      Operator -- : int\n"
              "        Variable i : int\n");
}

TEST_F(Grammar, ReservedWordIsASyntaxErrorAtItsPosition)
{
    EXPECT_FALSE(RunPixel("void main()\n{\n\tfloat in = 1.0;\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(3, 11, "'in' is a reserved word.") + ErrorLine(3, 11, "syntax error"));
}

TEST_F(Grammar, OnlyTheFirstSyntaxErrorIsReported)
{
    EXPECT_FALSE(RunPixel("float a = ;\nfloat b = ;\n" + std::string(kPixelMain)));
    EXPECT_EQ(LogText(), ErrorLine(1, 11, "syntax error") + ErrorLine(0, 0, "main() has no definition."));
}

TEST_F(Grammar, UnknownCharacterIsASyntaxError)
{
    EXPECT_FALSE(RunPixel("void main()\n{\n\toutput.color = $;\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(3, 20, "syntax error"));
}

TEST_F(Grammar, ParserStackGrowsPastItsFirstBlock)
{
    const std::string nested = std::string(1000, '(') + "1.0" + std::string(1000, ')');
    EXPECT_TRUE(RunPixel("void main()\n{\n\tfloat x = " + nested + ";\n\toutput.color = float4(x);\n}\n")) << LogText();
}

// The tokenizer keeps names of up to 128 characters whole; so does the parser.
TEST_F(Grammar, NamesOfTheLongestTokenKeepAllTheirCharacters)
{
    const std::string global(128, 'g');
    const std::string parameter(128, 'p');
    ASSERT_TRUE(RunPixel("float " + global + " = 0.5;\nfloat Scale(float " + parameter + ")\n{\n\treturn " + parameter +
                         " * " + global + ";\n}\nvoid main()\n{\n\toutput.color = float4(Scale(" + global + "));\n}\n"))
        << LogText();
    EXPECT_EQ(DumpDeclaration(0),
              "VariableDeclaration : float\n"
              "  Operator = : float (initialization)\n"
              "    Variable " +
                  global +
                  " : float\n"
                  "    Constant 0.5f : float constant\n");
}

TEST_F(Grammar, DiscardInThePixelStageIsAJump)
{
    ASSERT_TRUE(RunPixel("void main()\n{\n\tdiscard;\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n")) << LogText();
    EXPECT_EQ(DumpStatement(0), "Jump discard\n");
}

}  // namespace
