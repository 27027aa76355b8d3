// The reference GLSL compiler judges the result type of every operator row;
// each row has a GLSL 4.50 counterpart.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "shadertool/basic/operator.h"
#include "shadertool/support/type_check_glsl.h"

namespace ShaderTool {
namespace {

// The GLSL expression of one row of the operator; $0 is the left operand,
// $1 the right one.
std::string Counterpart(uint32_t index)
{
    const std::string text = GetOperatorText(index);
    switch (GetOperatorForm(index)) {
    case FORM_PREFIX: return text + "$0";
    case FORM_POSTFIX: return "$0" + text;
    case FORM_SUBSCRIPT: return "$0[$1]";
    default: break;
    }
    if (index == OP_CONDITIONAL) {
        return "$0 ? $1 : $1";
    }
    if (index == OP_ALTERNATIVES) {
        return "true ? $0 : $1";
    }
    return "$0 " + text + " $1";
}

GlslCheck::Check MakeCheck(uint32_t index, const OperatorOverload& row)
{
    GlslCheck::Check check;
    check.description = std::string("'") + GetOperatorText(index) + "' " + GetTypeText(row.left, false).GetText() +
                        ", " + GetTypeText(row.right, false).GetText();
    check.parameters.push_back(row.left);
    if (row.right.baseType != BaseType::VOID) {
        check.parameters.push_back(row.right);
    }
    check.expression = Counterpart(index);
    check.declaredResult = row.result;
    return check;
}

class OperatorGlsl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GlslCheck::CompilerIsInstalled()) << "glslangValidator is missing";
        RegisterOperatorOverloads(table);
    }

    OperatorTable table;
};

TEST_F(OperatorGlsl, EveryRowHasTheResultTypeGlslInfers)
{
    std::vector<GlslCheck::Check> checks;
    for (uint32_t index = 0; index < static_cast<uint32_t>(OPERATOR_COUNT); ++index) {
        for (const OperatorOverload& row : table[static_cast<int>(index)]) {
            checks.push_back(MakeCheck(index, row));
        }
    }
    ASSERT_EQ(checks.size(), 577u);
    std::map<int, std::string> lineToCheck;
    const GlslCheck::CompileResult result = GlslCheck::Compile(GlslCheck::BuildShader(checks, lineToCheck));
    EXPECT_EQ(result.exitCode, 0) << GlslCheck::DescribeFailures(result, lineToCheck);
}

// A deliberately wrong declared type must be refused, or the check above
// would prove nothing.
TEST_F(OperatorGlsl, AWrongDeclaredResultTypeIsRefused)
{
    for (uint32_t index :
         {static_cast<uint32_t>(OP_MULTIPLY), static_cast<uint32_t>(OP_SUBSCRIPT), static_cast<uint32_t>(OP_EQUAL)}) {
        const Array<OperatorOverload>& rows = table[static_cast<int>(index)];
        std::vector<GlslCheck::Check> checks = {MakeCheck(index, rows[rows.GetCount() - 1])};
        std::map<int, std::string> lineToCheck;
        const GlslCheck::CompileResult result = GlslCheck::Compile(GlslCheck::BuildShader(checks, lineToCheck, 1));
        EXPECT_NE(result.exitCode, 0) << checks[0].description;
    }
}

}  // namespace
}  // namespace ShaderTool
