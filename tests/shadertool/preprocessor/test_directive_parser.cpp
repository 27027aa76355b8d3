#include <string>

#include "preprocessor_test_support.h"

using namespace ShaderTool;

namespace {

class DirectiveParser : public PreprocessorFixture {
protected:
    // Whether "#if <condition>" takes its branch; the run must succeed.
    bool Holds(const std::string& condition, const std::string& before = "")
    {
        const bool ok = Run(before + "#if " + condition + "\nT\n#endif\n");
        EXPECT_TRUE(ok) << condition << "\n" << LogText();
        return Output().find('T') != std::string::npos;
    }
    // The value a #define gives, as it is written back into a line.
    std::string Value(const std::string& expression)
    {
        EXPECT_TRUE(Run("#define V " + expression + "\nV\n")) << expression << "\n" << LogText();
        return Output().substr(1, Output().size() - 2);
    }
};

TEST_F(DirectiveParser, ArithmeticAndPrecedence)
{
    EXPECT_TRUE(Holds("3 / 2 == 1"));
    EXPECT_TRUE(Holds("3.0 / 2 == 1.5"));
    EXPECT_TRUE(Holds("1 + 2 * 3 == 7"));
    EXPECT_TRUE(Holds("!0"));
    EXPECT_FALSE(Holds("!2.5"));
    EXPECT_TRUE(Holds("!0.0"));
    EXPECT_TRUE(Holds("10 - 4 - 3 == 3"));
    EXPECT_TRUE(Holds("-7 / 2 == -3"));
    EXPECT_TRUE(Holds("1 < 2 == 1"));
    EXPECT_TRUE(Holds("2 >= 2 && 3 <= 3 && 1 != 2 && 4 > 3"));
    EXPECT_TRUE(Holds("0 || 0.5"));
    EXPECT_FALSE(Holds("1 && 0"));
    EXPECT_TRUE(Holds("(1 + 2) * 3 == 9"));
    EXPECT_TRUE(Holds("- - 3 == 3"));
}

TEST_F(DirectiveParser, MixedOperandsAreComputedInFloat)
{
    EXPECT_EQ(Value("1 + 0.5"), "1.500000");
    EXPECT_EQ(Value("7 / 2.0"), "3.500000");
    EXPECT_EQ(Value("-1.5"), "-1.500000");
    EXPECT_EQ(Value("1.5f * 2"), "3.000000");
    EXPECT_EQ(Value("1 < 1.5"), "1");
}

TEST_F(DirectiveParser, IntegerLiterals)
{
    EXPECT_TRUE(Holds("010 == 10"));
    EXPECT_TRUE(Holds("0x10 == 16"));
    EXPECT_TRUE(Holds("0XfF == 255"));
    EXPECT_FALSE(Holds("0x"));
    EXPECT_FALSE(Holds("true"));
    EXPECT_EQ(Value("2147483648"), "-2147483648");
}

TEST_F(DirectiveParser, IntegerArithmeticWrapsInThirtyTwoBits)
{
    EXPECT_EQ(Value("2147483647 + 1"), "-2147483648");
    EXPECT_EQ(Value("(-2147483647 - 1) / -1"), "-2147483648");
    EXPECT_EQ(Value("-(-2147483647 - 1)"), "-2147483648");
    EXPECT_EQ(Value("65536 * 65536"), "0");
    EXPECT_EQ(Value("(-2147483647 - 1) - 1"), "2147483647");
}

TEST_F(DirectiveParser, DivisionByZeroIsReportedAndGivesZero)
{
    EXPECT_FALSE(Run("#if 1 / 0\nT\n#endif\n#define Z 5 / (2 - 2)\nZ\n"));
    // A parenthesized operand is located at its first constant.
    EXPECT_EQ(LogText(), ErrorLine(1, 9, "division by zero.") + ErrorLine(4, 16, "division by zero."));
    EXPECT_EQ(Output(), "\n\n\n\nZ\n");
}

TEST_F(DirectiveParser, DivisionByZeroInASkippedBranchIsNoError)
{
    EXPECT_TRUE(Run("#if 0\n#if 1 / 0\n#endif\n#define Z 1 / 0\n#endif\n"));
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(Run("#if 1\n#elif 1 / 0\n#endif\n"));
    EXPECT_EQ(LogText(), "");
    EXPECT_FALSE(Run("#if 0\n#elif 1 / 0\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(2, 11, "division by zero."));
}

TEST_F(DirectiveParser, FloatDivisionByZeroIsNoFault) { EXPECT_TRUE(Holds("1.0 / 0 > 1000000")); }

TEST_F(DirectiveParser, DefinedNeedsParentheses)
{
    EXPECT_TRUE(Holds("defined(X) && X > 2", "#define X 3\n"));
    EXPECT_FALSE(Holds("defined(Y)"));
    EXPECT_TRUE(Holds("defined(_PI)"));
    EXPECT_FALSE(Run("#if defined X\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 13, "syntax error"));
}

TEST_F(DirectiveParser, UnknownDirectivesAndFunctionLikeDefinitionsAreSyntaxErrors)
{
    EXPECT_FALSE(Run("#pragma once\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "syntax error"));
    EXPECT_FALSE(Run("#define F(x) x\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 14, "syntax error"));
    EXPECT_FALSE(Run("#if 5 % 2\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 7, "syntax error"));
    EXPECT_FALSE(Run("#if \"abc\"\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 5, "syntax error"));
    EXPECT_FALSE(Run("#endif extra\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "unexpected endif directive.") + ErrorLine(1, 8, "syntax error"));
}

TEST_F(DirectiveParser, UnsignedLiteralAndCutStringAreSyntaxErrors)
{
    EXPECT_FALSE(Run("#if 1u\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 5, "syntax error"));
    EXPECT_FALSE(Run("#define S \"open\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 11, "syntax error"));
}

TEST_F(DirectiveParser, StringMacroInAConditionIsReported)
{
    EXPECT_FALSE(Run("#define S \"abc\"\n#if S\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(2, 5, "expression evaluating to a string literal is not allowed."));
}

TEST_F(DirectiveParser, ArrayNodeTest)
{
    description.vertexInput.Add({"position", 1, {}});
    description.pixelOutput.Add("color");
    EXPECT_TRUE(Holds("_IS_ARRAY_NODE_DEFINED(\"vertex_input\", \"position\")"));
    EXPECT_FALSE(Holds("_IS_ARRAY_NODE_DEFINED(\"vertex_input\", \"normal\")"));
    EXPECT_TRUE(Holds("_IS_ARRAY_NODE_DEFINED(\"pixel_output\", \"color\") == 1"));
    EXPECT_FALSE(Holds("_IS_ARRAY_NODE_DEFINED(\"vertex_output\", \"position\")"));
}

TEST_F(DirectiveParser, ArrayNodeTestErrors)
{
    EXPECT_FALSE(Run("#if _IS_ARRAY_NODE_DEFINED(\"vertex_input\")\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 5, "invalid arguments."));
    EXPECT_FALSE(Run("#if _IS_ARRAY_NODE_DEFINED()\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 5, "invalid arguments."));
    EXPECT_FALSE(Run("#if  _IS_ARRAY_NODE_DEFINED(vertex_input, position)\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 6, "invalid arguments."));
    EXPECT_FALSE(Run("#if _IS_ARRAY_NODE_DEFINED(\"a\", \"b\", \"c\")\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 5, "invalid arguments."));
    EXPECT_FALSE(Run("#if _IS_ARRAY_NODE_DEFINED(\"textures\", \"b\")\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 5, "invalid array name."));
    EXPECT_FALSE(Run("#if 1 + max(1, 2)\n#endif\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 9, "undeclared function-like macro 'max'."));
}

TEST_F(DirectiveParser, IncludeOfANumberIsReported)
{
    EXPECT_FALSE(Run("#include 5\nx\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "expression must evaluate to a string literal."));
    EXPECT_EQ(Output(), "\nx\n");
    EXPECT_FALSE(Run("#include UNDEFINED\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 2, "expression must evaluate to a string literal."));
}

TEST_F(DirectiveParser, IncludeInASkippedBranchDoesNothing)
{
    EXPECT_TRUE(Run("#if 0\n#include \"missing.h\"\n#include 5\n#endif\nx\n"));
    EXPECT_EQ(Output(), "\n\n\n\nx\n");
}

TEST_F(DirectiveParser, DeepNestingExhaustsTheParseStack)
{
    EXPECT_FALSE(Run("#if " + std::string(12000, '(') + "1\n#endif\n"));
    // Stack entries: the start state, '#', 'if' and one per parenthesis; the
    // 9997th parenthesis (column 4 + 9997) fills the 10000th entry.
    EXPECT_EQ(LogText(), ErrorLine(1, 10001, "memory exhausted"));
}

TEST_F(DirectiveParser, NestingWithinTheStackLimitParses)
{
    const std::string open(2000, '(');
    const std::string close(2000, ')');
    EXPECT_TRUE(Holds(open + "1" + close));
}

TEST_F(DirectiveParser, LongNamesKeepAllTheirCharacters)
{
    const std::string name(128, 'n');
    EXPECT_TRUE(Run("#define " + name + " 5\n#if " + name + " == 5\nT\n#endif\n" + name + "\n"));
    EXPECT_EQ(Output(), "\n\nT\n\n5\n");
    // A 130-character name is cut to its first 128 characters, with a report.
    EXPECT_FALSE(Run("#define " + name + "xy 6\n" + name + "\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 9, "too many characters in token (maximum is 128)."));
    EXPECT_EQ(Output(), "\n" + name + "\n");
}

}  // namespace
