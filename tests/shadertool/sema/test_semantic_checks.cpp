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

TEST_F(SemanticChecks, ListItemsAreNeverConverted)
{
    EXPECT_FALSE(RunPixel(std::string("int counts[2] = {1, 2u};\n") + kPixelMain));
    EXPECT_EQ(LogText(), ErrorLine(1, 21,
                                   "member in initializer list does not match the list type. NOTE: "
                                   "implicit conversion is not allowed."));
}

TEST_F(SemanticChecks, LocalNamedLikeAParameterIsARedeclaration)
{
    EXPECT_FALSE(RunPixel(std::string("float f(float x)\n{\n\tfloat x = 1.0;\n\treturn x;\n}\n") + kPixelMain));
    EXPECT_EQ(LogText(), ErrorLine(3, 11, "symbol 'x' already has a declaration."));
}

TEST_F(SemanticChecks, NameOfAClosedScopeIsForgotten)
{
    EXPECT_FALSE(RunPixel("void main()\n{\n\t{\n\t\tfloat inner = 1.0;\n\t}\n\toutput.color = float4(inner);\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(6, 27, "undeclared identifier 'inner'.") +
                             ErrorLine(6, 26, "no instance of function 'float4' matches the argument list.") +
                             ErrorLine(6, 18, "no operator '=' matches the operands."));
}

TEST_F(SemanticChecks, NameOfAClosedScopeCanBeDeclaredAgain)
{
    EXPECT_TRUE(
        RunPixel("void main()\n{\n\tfor (int i = 0; i < 2; i++) {}\n\tfor (int i = 0; i < 2; i++) {}\n"
                 "\toutput.color = float4(1.0);\n}\n"))
        << LogText();
}

TEST_F(SemanticChecks, UncalledPrototypeWithoutDefinitionIsAccepted)
{
    EXPECT_TRUE(RunPixel(std::string("float Unused(float x);\n") + kPixelMain)) << LogText();
}

TEST_F(SemanticChecks, ReturnInMainIsRefusedEvenWithAValue)
{
    EXPECT_FALSE(RunPixel("void main()\n{\n\toutput.color = float4(1.0);\n\treturn 1;\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(4, 5, "returning from main() is not allowed."));
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

TEST_F(SemanticChecks, VoidFunctionMayReturnWithoutValueOnly)
{
    EXPECT_FALSE(
        RunPixel(std::string("void Nothing()\n{\n\treturn 1.0;\n}\nfloat Some()\n{\n\treturn;\n}\n") + kPixelMain));
    EXPECT_EQ(LogText(), ErrorLine(3, 5, "return value type does not match the function type.") +
                             ErrorLine(7, 5, "return value type does not match the function type."));
}

TEST_F(SemanticChecks, ReferencedUndefinedFunctionsAreReportedInDeclarationOrder)
{
    EXPECT_FALSE(
        RunPixel("float B(float x);\nfloat A(float x);\nvoid main()\n{\n"
                 "\toutput.color = float4(A(1.0) + B(2.0));\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 8, "function 'B' is referenced but has no definition.") +
                             ErrorLine(2, 8, "function 'A' is referenced but has no definition."));
}

TEST_F(SemanticChecks, PrototypeOfMainIsRefused)
{
    EXPECT_FALSE(RunPixel(std::string("void main();\n") + kPixelMain));
    EXPECT_EQ(LogText(), ErrorLine(1, 10, "main() must be defined only and can not have overloads."));
}

TEST_F(SemanticChecks, MainReturningAValueIsRefused)
{
    EXPECT_FALSE(RunPixel("float main()\n{\n\toutput.color = float4(1.0);\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(1, 11, "main() must be defined only and can not have overloads.") +
                             ErrorLine(1, 11, "function 'main' must return a value."));
}

TEST_F(SemanticChecks, TextureAndVoidParametersAreInvalid)
{
    EXPECT_FALSE(RunPixel(std::string("float F(void)\n{\n\treturn 1.0;\n}\n") + kPixelMain));
    EXPECT_EQ(LogText(), ErrorLine(1, 9, "invalid type specifier."));
}

TEST_F(SemanticChecks, ConstReturnTypeIsRefused)
{
    EXPECT_FALSE(RunPixel(std::string("const float F()\n{\n\treturn 1.0;\n}\n") + kPixelMain));
    EXPECT_EQ(LogText(), ErrorLine(1, 14, "'const' is not allowed in function declarations."));
}

TEST_F(SemanticChecks, ConstWithConstantInitialiserIsAConstant)
{
    ASSERT_TRUE(RunPixel(std::string("const float kHalf = 0.5;\n") + kPixelMain)) << LogText();
    EXPECT_NE(DumpDeclaration(0).find("Variable kHalf : float const constant\n"), std::string::npos)
        << DumpDeclaration(0);
}

TEST_F(SemanticChecks, MemberOfAConstStructCannotBeAssigned)
{
    EXPECT_FALSE(
        RunPixel("struct S { float v; };\nS Make()\n{\n\tS s;\n\ts.v = 1.0;\n\treturn s;\n}\n"
                 "void main()\n{\n\tconst S fixed = Make();\n\tfixed.v = 2.0;\n"
                 "\toutput.color = float4(1.0);\n}\n"));
    EXPECT_EQ(LogText(), ErrorLine(10, 25, "initializer of 'const' variable must be a constant expression.") +
                             ErrorLine(11, 13, "expression must be a modifiable l-value."));
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
