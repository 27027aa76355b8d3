#include <memory>
#include <string>
#include <vector>

#include "shadertool/sema/struct_table.h"
#include "shadertool/sema/symbol_table.h"
#include "shadertool/support/front_end_test_support.h"

namespace {

using SemanticChecks = FrontEndFixture;

TEST_F(SemanticChecks, UnsizedArrayTakesTheLengthOfItsList)
{
    ASSERT_TRUE(RunPixel(std::string("float a[] = {1.0, 2.0};\n") + kPixelMain)) << LogText();
    EXPECT_EQ(DumpDeclaration(0),
              "VariableDeclaration : float[2]\n"
              "  Operator = : float[2] (initialization)\n"
              "    Variable a : float[2]\n"
              "    Block : float[2] constant\n"
              "      Constant 1.0f : float constant\n"
              "      Constant 2.0f : float constant\n");
}

TEST_F(SemanticChecks, HexadecimalAndOctalArraySizesReadTheirValue)
{
    ASSERT_TRUE(RunPixel(std::string("float pair[0x2] = {1.0, 2.0};\nfloat eight[010];\n") + kPixelMain)) << LogText();
    EXPECT_NE(DumpDeclaration(0).find("Variable pair : float[2]\n"), std::string::npos);
    EXPECT_EQ(DumpDeclaration(1), "VariableDeclaration : float[8]\n  Variable eight : float[8]\n");
}

TEST_F(SemanticChecks, ReturnedIntegerLiteralBecomesAFloatLiteral)
{
    ASSERT_TRUE(RunPixel(std::string("float One()\n{\n\treturn 1;\n}\n") + kPixelMain)) << LogText();
    EXPECT_NE(DumpDeclaration(0).find("    Jump return\n      Constant 1.000000f : float constant\n"),
              std::string::npos)
        << DumpDeclaration(0);
}

TEST_F(SemanticChecks, ReturnedIntegerVariableIsWrappedInAFloatConstructor)
{
    ASSERT_TRUE(RunPixel(std::string("float2 Twice(int2 value)\n{\n\treturn value * 2;\n}\n") + kPixelMain))
        << LogText();
    EXPECT_NE(DumpDeclaration(0).find("    Jump return\n"
                                      "      Call float2 : float2 built-in 101\n"
                                      "        Block\n"
                                      "          Operator * : int2\n"),
              std::string::npos)
        << DumpDeclaration(0);
}

TEST_F(SemanticChecks, ConstWithConstantInitialiserIsAConstant)
{
    ASSERT_TRUE(RunPixel(std::string("const float kHalf = 0.5;\n") + kPixelMain)) << LogText();
    EXPECT_NE(DumpDeclaration(0).find("Variable kHalf : float const constant\n"), std::string::npos)
        << DumpDeclaration(0);
}

TEST_F(SemanticChecks, StructDeclaredWithADeclaratorKeepsBothDeclarations)
{
    ASSERT_TRUE(RunPixel(std::string("struct Light { float3 direction; float intensity; } sun;\n") + kPixelMain))
        << LogText();
    EXPECT_EQ(DumpDeclaration(0),
              "Block\n"
              "  StructDeclaration : Light\n"
              "    Variable direction : float3\n"
              "    Variable intensity : float\n"
              "  VariableDeclaration : Light\n"
              "    Variable sun : Light\n");
}

TEST_F(SemanticChecks, FurtherDeclaratorsShareTheDeclaration)
{
    ASSERT_TRUE(RunPixel(std::string("float a, b = 2.0, c;\n") + kPixelMain)) << LogText();
    EXPECT_EQ(DumpDeclaration(0),
              "VariableDeclaration : float\n"
              "  Variable a : float\n"
              "  Operator = : float (initialization)\n"
              "    Variable b : float\n"
              "    Constant 2.0f : float constant\n"
              "  Variable c : float\n");
}

// One error line of the step log for the fixture's source path.
std::string At(int line, int column, const std::string& message)
{
    return "test.hvsl(" + std::to_string(line) + ":" + std::to_string(column) + ") error: " + message + "\n";
}

const char* const kNoMain = "main() must be defined only and can not have overloads.";
const char* const kReturnMismatch = "return value type does not match the function type.";

// A pixel source (its declarations, then kPixelMain unless a main is given)
// and the step log it gives: empty when the source is good.
struct CheckRow {
    const char* declarations;
    const char* main;
    std::string log;
};

const CheckRow kCheckRows[] = {
    // List items are never converted.
    {"int counts[2] = {1, 2u};\n", nullptr,
     At(1, 21, "member in initializer list does not match the list type. NOTE: implicit conversion is not allowed.")},
    // A local named like a parameter is a redeclaration.
    {"float f(float x)\n{\n\tfloat x = 1.0;\n\treturn x;\n}\n", nullptr,
     At(3, 11, "symbol 'x' already has a declaration.")},
    // The name of a closed scope is forgotten, and can be declared again.
    {"", "void main()\n{\n\t{\n\t\tfloat inner = 1.0;\n\t}\n\toutput.color = float4(inner);\n}\n",
     At(6, 27, "undeclared identifier 'inner'.") +
         At(6, 26, "no instance of function 'float4' matches the argument list.") +
         At(6, 18, "no operator '=' matches the operands.")},
    {"",
     "void main()\n{\n\tfor (int i = 0; i < 2; i++) {}\n\tfor (int i = 0; i < 2; i++) {}\n"
     "\toutput.color = float4(1.0);\n}\n",
     ""},
    // An uncalled prototype without a definition is accepted; called ones
    // are reported in declaration order.
    {"float Unused(float x);\n", nullptr, ""},
    {"", "float B(float x);\nfloat A(float x);\nvoid main()\n{\n\toutput.color = float4(A(1.0) + B(2.0));\n}\n",
     At(1, 8, "function 'B' is referenced but has no definition.") +
         At(2, 8, "function 'A' is referenced but has no definition.")},
    {"", "void main()\n{\n\toutput.color = float4(1.0);\n\treturn 1;\n}\n",
     At(4, 5, "returning from main() is not allowed.")},
    {"void Nothing()\n{\n\treturn 1.0;\n}\nfloat Some()\n{\n\treturn;\n}\n", nullptr,
     At(3, 5, kReturnMismatch) + At(7, 5, kReturnMismatch)},
    {"void main();\n", nullptr, At(1, 10, kNoMain)},
    {"", "float main()\n{\n\toutput.color = float4(1.0);\n}\n",
     At(1, 11, kNoMain) + At(1, 11, "function 'main' must return a value.")},
    {"float F(void)\n{\n\treturn 1.0;\n}\n", nullptr, At(1, 9, "invalid type specifier.")},
    {"const float F()\n{\n\treturn 1.0;\n}\n", nullptr, At(1, 14, "'const' is not allowed in function declarations.")},
    // A member of a const struct cannot be assigned.
    {"",
     "struct S { float v; };\nS Make()\n{\n\tS s;\n\ts.v = 1.0;\n\treturn s;\n}\n"
     "void main()\n{\n\tconst S fixed = Make();\n\tfixed.v = 2.0;\n\toutput.color = float4(1.0);\n}\n",
     At(10, 25, "initializer of 'const' variable must be a constant expression.") +
         At(11, 13, "expression must be a modifiable l-value.")},
};

TEST_F(SemanticChecks, CheckRows)
{
    for (const CheckRow& row : kCheckRows) {
        const std::string source = std::string(row.declarations) + (row.main != nullptr ? row.main : kPixelMain);
        SCOPED_TRACE(source);
        EXPECT_EQ(RunPixel(source), row.log.empty());
        EXPECT_EQ(LogText(), row.log);
    }
}

TEST(SymbolTable, ClosingAScopeForgetsOnlyItsOwnSymbols)
{
    ShaderTool::VariableNode outer;
    outer.name = "outer";
    ShaderTool::VariableNode inner;
    inner.name = "inner";
    ShaderTool::SymbolTable symbols;
    symbols.Declare(&outer);
    symbols.PushScope();
    symbols.Declare(&inner);
    EXPECT_EQ(symbols.Find("inner"), &inner);
    EXPECT_EQ(symbols.Find("outer"), &outer);
    symbols.PopScope();
    EXPECT_EQ(symbols.Find("inner"), nullptr);
    EXPECT_EQ(symbols.Find("outer"), &outer);
    symbols.PopScope();  // the global scope stays open
    EXPECT_EQ(symbols.Find("outer"), &outer);
    EXPECT_EQ(symbols.GetScopeDepth(), 1);
}

// The same name declared in nested scopes (the checks refuse it in a source,
// the table itself does not) is found at its innermost declaration, and
// closing that scope uncovers the one before, however many names are open.
TEST(SymbolTable, ANameFoundAtItsLatestDeclarationUncoversTheOneBeforeWhenItsScopeCloses)
{
    std::vector<std::unique_ptr<ShaderTool::VariableNode>> variables;
    auto make = [&](const std::string& name) {
        variables.push_back(std::make_unique<ShaderTool::VariableNode>());
        variables.back()->name = name.c_str();
        return variables.back().get();
    };
    ShaderTool::SymbolTable symbols;
    ShaderTool::VariableNode* global = make("x");
    symbols.Declare(global);
    for (int index = 0; index < 2000; ++index) symbols.Declare(make("g" + std::to_string(index)));
    symbols.PushScope();
    ShaderTool::VariableNode* middle = make("x");
    symbols.Declare(middle);
    symbols.PushScope();
    ShaderTool::VariableNode* inner = make("x");
    symbols.Declare(inner);
    symbols.Declare(make("only_inner"));
    EXPECT_EQ(symbols.Find("x"), inner);
    EXPECT_EQ(symbols.Find("g1999")->name, "g1999");
    symbols.PopScope();
    EXPECT_EQ(symbols.Find("x"), middle);
    EXPECT_EQ(symbols.Find("only_inner"), nullptr);
    symbols.PopScope();
    EXPECT_EQ(symbols.Find("x"), global);
    symbols.Clear();
    EXPECT_EQ(symbols.Find("x"), nullptr);
    EXPECT_EQ(symbols.Find("g0"), nullptr);
    EXPECT_EQ(symbols.Find(nullptr), nullptr);
}

TEST(StructTable, EntriesStayWhereTheyAreWhileTheTableGrows)
{
    ShaderTool::StructTable structs;
    ShaderTool::StructEntry* first = structs.Insert("First");
    first->AddMember("value", ShaderTool::Type::MakeVector(ShaderTool::BaseType::FLOAT, 1), {});
    for (int index = 0; index < 1000; ++index) structs.Insert(("S" + std::to_string(index)).c_str());
    EXPECT_EQ(structs.Find("First"), first);
    EXPECT_EQ(first->members.GetCount(), 1);
    EXPECT_TRUE(structs.HoldsTypeName("S999"));
    EXPECT_FALSE(structs.HoldsTypeName("S1000"));
    bool added = true;
    EXPECT_EQ(structs.Insert("First", &added), first);
    EXPECT_FALSE(added);
    EXPECT_EQ(structs.GetEntry(0).name, "First");
}

}  // namespace
