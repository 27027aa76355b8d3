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

TEST_F(DirectiveParser, ArithmeticPrecedenceAndFloatOperands)
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
    EXPECT_EQ(Value("1 + 0.5"), "1.500000");
    EXPECT_EQ(Value("7 / 2.0"), "3.500000");
    EXPECT_EQ(Value("-1.5"), "-1.500000");
    EXPECT_EQ(Value("1.5f * 2"), "3.000000");
    EXPECT_EQ(Value("1 < 1.5"), "1");
    EXPECT_TRUE(Holds("1.0 / 0 > 1000000"));  // float division by zero is no fault
}

TEST_F(DirectiveParser, IntegerLiteralsAndArithmeticWrapInThirtyTwoBits)
{
    EXPECT_TRUE(Holds("010 == 10"));
    EXPECT_TRUE(Holds("0x10 == 16"));
    EXPECT_TRUE(Holds("0XfF == 255"));
    EXPECT_FALSE(Holds("0x"));
    EXPECT_FALSE(Holds("true"));
    EXPECT_EQ(Value("2147483648"), "-2147483648");
    EXPECT_EQ(Value("2147483647 + 1"), "-2147483648");
    EXPECT_EQ(Value("(-2147483647 - 1) / -1"), "-2147483648");
    EXPECT_EQ(Value("-(-2147483647 - 1)"), "-2147483648");
    EXPECT_EQ(Value("65536 * 65536"), "0");
    EXPECT_EQ(Value("(-2147483647 - 1) - 1"), "2147483647");
}

TEST_F(DirectiveParser, DefinedAndArrayNodeTests)
{
    EXPECT_TRUE(Holds("defined(X) && X > 2", "#define X 3\n"));
    EXPECT_FALSE(Holds("defined(Y)"));
    EXPECT_TRUE(Holds("defined(_PI)"));
    description.vertexInput.Add({"position", 1, {}});
    description.pixelOutput.Add("color");
    EXPECT_TRUE(Holds("_IS_ARRAY_NODE_DEFINED(\"vertex_input\", \"position\")"));
    EXPECT_FALSE(Holds("_IS_ARRAY_NODE_DEFINED(\"vertex_input\", \"normal\")"));
    EXPECT_TRUE(Holds("_IS_ARRAY_NODE_DEFINED(\"pixel_output\", \"color\") == 1"));
    EXPECT_FALSE(Holds("_IS_ARRAY_NODE_DEFINED(\"vertex_output\", \"position\")"));
}

TEST_F(DirectiveParser, NestingBeyondTheParseStackIsRefused)
{
    EXPECT_FALSE(Run("#if " + std::string(12000, '(') + "1\n#endif\n"));
    // Stack entries: the start state, '#', 'if' and one per parenthesis; the
    // 9997th parenthesis (column 4 + 9997) fills the 10000th entry.
    EXPECT_EQ(LogText(), ErrorLine(1, 10001, "memory exhausted"));
    EXPECT_TRUE(Holds(std::string(2000, '(') + "1" + std::string(2000, ')')));
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
