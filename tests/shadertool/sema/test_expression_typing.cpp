#include <string>

#include "shadertool/support/front_end_test_support.h"

namespace {

using ExpressionTyping = FrontEndFixture;

std::string InPixelMain(const std::string& statements)
{
    return "void main()\n{\n" + statements + "\toutput.color = float4(1.0);\n}\n";
}

TEST_F(ExpressionTyping, IntVariableAssignedToFloatIsWrappedInAFloatConstructor)
{
    ASSERT_TRUE(RunPixel(InPixelMain("\tint i = 1;\n\tfloat f = i;\n\tfloat g = 2;\n"))) << LogText();
    EXPECT_EQ(DumpStatement(1),
              "VariableDeclaration : float\n"
              "  Operator = : float (initialization)\n"
              "    Variable f : float\n"
              "    Call float : float built-in 100\n"
              "      Block\n"
              "        Variable i : int\n");
    EXPECT_EQ(DumpStatement(2),
              "VariableDeclaration : float\n"
              "  Operator = : float (initialization)\n"
              "    Variable g : float\n"
              "    Constant 2.000000f : float constant\n");
}

TEST_F(ExpressionTyping, IntAssignedToUintIsUsedWithoutConversion)
{
    ASSERT_TRUE(RunPixel(InPixelMain("\tint i = 1;\n\tuint u = i;\n"))) << LogText();
    EXPECT_EQ(DumpStatement(1),
              "VariableDeclaration : uint\n"
              "  Operator = : uint (initialization)\n"
              "    Variable u : uint\n"
              "    Variable i : int\n");
}

TEST_F(ExpressionTyping, MixedOperandsMeetInTheFirstCommonKind)
{
    ASSERT_TRUE(RunPixel(InPixelMain("\tint i = 2;\n\tuint u = 3u;\n\tfloat f = 0.5;\n\tf = i * f;\n\tu = u + i;\n")))
        << LogText();
    EXPECT_EQ(DumpStatement(3),
              "Operator = : float\n"
              "  Variable f : float\n"
              "  Operator * : float\n"
              "    Call float : float built-in 100\n"
              "      Block\n"
              "        Variable i : int\n"
              "    Variable f : float\n");
    EXPECT_EQ(DumpStatement(4),
              "Operator = : uint\n"
              "  Variable u : uint\n"
              "  Operator + : uint\n"
              "    Variable u : uint\n"
              "    Variable i : int\n");
}

TEST_F(ExpressionTyping, FirstAcceptableOverloadInDeclarationOrderWins)
{
    ASSERT_TRUE(
        RunPixel("float f(float x)\n{\n\treturn x;\n}\nfloat f(uint x)\n{\n\treturn 2.0;\n}\n"
                 "void main()\n{\n\tfloat r = f(1);\n\toutput.color = float4(r);\n}\n"))
        << LogText();
    EXPECT_EQ(DumpStatement(0),
              "VariableDeclaration : float\n"
              "  Operator = : float (initialization)\n"
              "    Variable r : float\n"
              "    Call f : float\n"
              "      Block\n"
              "        Constant 1.000000f : float constant\n");
}

TEST_F(ExpressionTyping, SwizzlesTakeTheVectorsKindAndTheirLength)
{
    ASSERT_TRUE(RunPixel(InPixelMain("\tint4 v = int4(1, 2, 3, 4);\n\tint3 a = v.wzy;\n\tint2 b = v.rg;\n")))
        << LogText();
    EXPECT_NE(DumpStatement(1).find("    Operator . : int3\n      Variable v : int4\n      Variable wzy : int3\n"),
              std::string::npos)
        << DumpStatement(1);
}

TEST_F(ExpressionTyping, SubscriptsOfVectorsAndMatricesAndArrays)
{
    ASSERT_TRUE(
        RunPixel(InPixelMain("\tfloat4x4 m = float4x4(1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, "
                             "0.0, 0.0, 0.0, 1.0);\n\tfloat4 row = m[1];\n\tfloat x = row[2u];\n"
                             "\tint list[2] = {4, 5};\n\tint y = list[1];\n")))
        << LogText();
    EXPECT_NE(DumpStatement(1).find("    Operator [] : float4\n      Variable m : float4x4\n"), std::string::npos)
        << DumpStatement(1);
    EXPECT_NE(DumpStatement(2).find("    Operator [] : float\n"), std::string::npos);
    EXPECT_NE(DumpStatement(4).find("    Operator [] : int\n      Variable list : int[2]\n"), std::string::npos);
}

TEST_F(ExpressionTyping, ConditionalTakesTheTypeOfItsAlternatives)
{
    ASSERT_TRUE(RunPixel(InPixelMain("\tbool b = true;\n\tfloat3 c = b ? float3(1.0) : float3(0.0);\n"))) << LogText();
    EXPECT_NE(
        DumpStatement(1).find("    Operator ? : float3\n      Variable b : bool\n      Operator : : float3 constant\n"),
        std::string::npos)
        << DumpStatement(1);
}

TEST_F(ExpressionTyping, StructAssignmentNeedsTheSameStruct)
{
    ASSERT_TRUE(RunPixel("struct S { float v; };\n" + InPixelMain("\tS a;\n\tS b;\n\ta.v = 1.0;\n\tb = a;\n")))
        << LogText();
    EXPECT_EQ(DumpStatement(3), "Operator = : S\n  Variable b : S\n  Variable a : S\n");
}

TEST_F(ExpressionTyping, OperandOfAFailedOperatorIsStillInTheTree)
{
    EXPECT_FALSE(RunPixel(InPixelMain("\tbool b = true;\n\tb + 1;\n")));
    EXPECT_EQ(DumpStatement(1), "Operator + : ?\n  Variable b : bool\n  Constant 1 : int constant\n");
}

TEST_F(ExpressionTyping, UndeclaredIdentifierStandsAsAnUndefinedVariable)
{
    EXPECT_FALSE(RunPixel(InPixelMain("\tmissing;\n")));
    EXPECT_EQ(DumpStatement(0), "Variable missing : ?\n");
}

TEST_F(ExpressionTyping, FailedMemberAccessUsesThePlaceholderOperands)
{
    EXPECT_FALSE(RunPixel(InPixelMain("\tinput.nothing;\n")));
    EXPECT_EQ(DumpStatement(0), "Operator . : ?\n  Variable _dummy : int\n  Variable _dummy : int\n");
}

const char* const kSum = "float Sum(float values[2])\n{\n\treturn values[0] + values[1];\n}\n";
const char* const kMakeS = "struct S { float v; };\nS Make()\n{\n\tS s;\n\ts.v = 1.0;\n\treturn s;\n}\n";
const char* const kNotLValue = "error: expression must be a modifiable l-value.\n";

// Declarations, the statements of a pixel main after them, and the step log
// they give: empty when the source is good.
struct CheckRow {
    const char* declarations;
    const char* statements;
    std::string log;
};

const CheckRow kCheckRows[] = {
    {"", "\tint i = 1;\n\ti = 0.5;\n", "test.hvsl(4:7) error: no operator '=' matches the operands.\n"},
    {kSum, "\tfloat two[2] = {1.0, 2.0};\n\tfloat s = Sum(two);\n", ""},
    {kSum, "\tfloat three[3] = {1.0, 2.0, 3.0};\n\tfloat one = 1.0;\n\tSum(three);\n\tSum(one);\n",
     "test.hvsl(9:8) error: no instance of function 'Sum' matches the argument list.\n"
     "test.hvsl(10:8) error: no instance of function 'Sum' matches the argument list.\n"},
    {"",
     "\tconst float f = float(1.0);\n\tconst int i = int(2);\n\tconst uint u = uint(3);\n"
     "\tconst uint2 v = uint2(1u, 2u);\n",
     ""},
    {"", "\tconst float f = abs(1.0);\n",
     "test.hvsl(3:24) error: initializer of 'const' variable must be a constant expression.\n"},
    {"", "\tfloat2 v = float2(1.0, 2.0);\n\tv.xg;\n\tv.z;\n\tv.xyzwx;\n",
     "test.hvsl(4:6) error: 'float2' has no member 'xg'.\ntest.hvsl(5:6) error: 'float2' has no member 'z'.\n"
     "test.hvsl(6:6) error: 'float2' has no member 'xyzwx'.\n"},
    {"", "\tfloat s = 1.0;\n\tfloat4 a[2];\n\ts.x;\n\ta.x;\n",
     "test.hvsl(5:6) error: 'float' has no member 'x'.\ntest.hvsl(6:6) error: 'float4' has no member 'x'.\n"},
    {"", "\tfloat4 c = float4(1.0);\n\tfloat2 r = c.xx;\n\tc.yx = r;\n", ""},
    {"", "\tconst int k = 1;\n\tk |= 2;\n\tk ^= 2;\n\tk <<= 1;\n\tk >>= 1;\n",
     std::string("test.hvsl(4:7) ") + kNotLValue + "test.hvsl(5:7) " + kNotLValue + "test.hvsl(6:7) " + kNotLValue +
         "test.hvsl(7:7) " + kNotLValue},
    {"", "\tconst int k = 1;\n\tk++;\n\t--k;\n\t2++;\n\tint i = 0;\n\ti++;\n\t++i;\n",
     std::string("test.hvsl(4:6) ") + kNotLValue + "test.hvsl(5:5) " + kNotLValue + "test.hvsl(6:6) " + kNotLValue},
    {kMakeS, "\tMake().v = 2.0;\n\t(1.0) = 2.0;\n",
     std::string("test.hvsl(10:14) ") + kNotLValue + "test.hvsl(11:11) " + kNotLValue},
    {kMakeS, "\tS pair[2] = {Make(), Make()};\n", ""},
};

TEST_F(ExpressionTyping, CheckRows)
{
    for (const CheckRow& row : kCheckRows) {
        SCOPED_TRACE(row.statements);
        EXPECT_EQ(RunPixel(row.declarations + InPixelMain(row.statements)), row.log.empty());
        EXPECT_EQ(LogText(), row.log);
    }
}

}  // namespace
