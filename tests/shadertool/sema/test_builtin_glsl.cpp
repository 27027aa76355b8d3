// The reference GLSL compiler judges the result type of every built-in
// record that has a GLSL 4.50 counterpart.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "shadertool/sema/builtin.h"
#include "shadertool/support/type_check_glsl.h"

namespace ShaderTool {
namespace {

// The GLSL counterpart of each built-in name; $n is the n-th argument.
// Constructors are spelled with the GLSL type of their result.
const std::map<std::string, std::string>& Counterparts()
{
    static const std::map<std::string, std::string> counterparts = {
        {"abs", "abs($0)"},
        {"acos", "acos($0)"},
        {"all", "all(bvec(A)($0))"},
        {"any", "any(bvec(A)($0))"},
        {"asin", "asin($0)"},
        {"atan", "atan($0)"},
        {"atan2", "atan($0, $1)"},
        {"ceil", "ceil($0)"},
        {"clamp", "clamp($0, $1, $2)"},
        {"cos", "cos($0)"},
        {"cross", "cross($0, $1)"},
        {"degrees", "degrees($0)"},
        {"distance", "distance($0, $1)"},
        {"dot", "dot($0, $1)"},
        {"exp", "exp($0)"},
        {"exp2", "exp2($0)"},
        {"floatBitsToUint", "floatBitsToUint($0)"},
        {"floor", "floor($0)"},
        {"frac", "fract($0)"},
        {"length", "length($0)"},
        {"lerp", "mix($0, $1, $2)"},
        {"log", "log($0)"},
        {"log2", "log2($0)"},
        {"max", "max($0, $1)"},
        {"min", "min($0, $1)"},
        {"normalize", "normalize($0)"},
        {"pow", "pow($0, $1)"},
        {"radians", "radians($0)"},
        {"reflect", "reflect($0, $1)"},
        {"rsqrt", "inversesqrt($0)"},
        {"saturate", "clamp($0, 0.0, 1.0)"},
        {"sign", "sign($0)"},
        {"sin", "sin($0)"},
        {"smoothstep", "smoothstep($0, $1, $2)"},
        {"sqrt", "sqrt($0)"},
        {"step", "step($0, $1)"},
        {"tan", "tan($0)"},
        {"transpose", "transpose($0)"},
        {"unpackUnorm4ToFloat4", "unpackUnorm4x8($0)"},
        {"sampleTexture", "texture($0, $1)"},
        {"sampleTextureCompareLodZero", "textureLod(texShadow, vec3($1, $2), 0.0)"},
        {"sampleTextureGrad", "textureGrad($0, $1, $2, $3)"},
        {"sampleTextureLod", "textureLod($0, $1, $2)"},
        {"sampleTextureLodOffset", "textureLodOffset($0, $1, $2, ivec(N)(0))"},
        {"storeImage", "imageStore(img, ivec2($1), $2)"},
    };
    return counterparts;
}

// Ray-tracing built-ins: GLSL 4.50 has nothing of the kind.
const std::set<std::string> kWithoutCounterpart = {"objectSpaceToWorld", "loadIndices", "trace"};

std::vector<Type> ParameterTypes(const FunctionNode& record)
{
    std::vector<Type> types;
    for (const Node* parameter : AsGroup(record.children[0])->children) {
        types.push_back(*GetNodeType(parameter));
    }
    return types;
}

// Fills the size placeholders: bvec(A) takes the first argument's size,
// ivec(N) the size of the coordinate argument.
std::string Expand(std::string expression, const std::vector<Type>& parameters)
{
    auto replace = [&expression](const std::string& marker, const std::string& text) {
        for (size_t position = expression.find(marker); position != std::string::npos;
             position = expression.find(marker)) {
            expression.replace(position, marker.size(), text);
        }
    };
    if (!parameters.empty()) {
        replace("bvec(A)", "bvec" + std::to_string(parameters[0].vectorSize));
    }
    if (parameters.size() > 1) {
        replace("ivec(N)", "ivec" + std::to_string(parameters[1].vectorSize));
    }
    return expression;
}

GlslCheck::Check MakeCheck(const FunctionNode& record)
{
    GlslCheck::Check check;
    check.description = record.signature.GetText();
    check.parameters = ParameterTypes(record);
    check.declaredResult = record.type;
    if (record.subKind >= FIRST_CONSTRUCTOR_ID) {
        std::string arguments;
        for (size_t index = 0; index < check.parameters.size(); ++index) {
            arguments += (index > 0 ? ", $" : "$") + std::to_string(index);
        }
        check.expression = GlslCheck::GlslTypeName(record.type) + "(" + arguments + ")";
    } else {
        check.expression = Expand(Counterparts().at(record.name.GetText()), check.parameters);
    }
    return check;
}

void ExpectAllAccepted(const std::vector<GlslCheck::Check>& checks)
{
    std::map<int, std::string> lineToCheck;
    const std::string shader = GlslCheck::BuildShader(checks, lineToCheck);
    const GlslCheck::CompileResult result = GlslCheck::Compile(shader);
    EXPECT_EQ(result.exitCode, 0) << GlslCheck::DescribeFailures(result, lineToCheck);
}

class BuiltInGlsl : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(GlslCheck::CompilerIsInstalled()) << "glslangValidator is missing"; }
};

TEST_F(BuiltInGlsl, EveryRecordWithACounterpartHasTheResultTypeGlslInfers)
{
    BuiltInTable table;
    RegisterBuiltInFunctions(table.general);
    std::vector<GlslCheck::Check> checks;
    for (const FunctionNode* record : table.general) {
        checks.push_back(MakeCheck(*record));
    }
    ASSERT_EQ(checks.size(), 241u);
    ExpectAllAccepted(checks);
    // Stage records once each, without the ray-tracing ones GLSL lacks.
    std::set<std::string> seen;
    checks.clear();
    for (int32_t stage = 0; stage < STAGE_COUNT; ++stage) {
        RegisterStageIntrinsics(table, stage);
        for (const FunctionNode* record : table.stage[stage]) {
            const std::string signature = record->signature.GetText();
            if (kWithoutCounterpart.count(record->name.GetText()) == 0 && seen.insert(signature).second) {
                checks.push_back(MakeCheck(*record));
            }
        }
    }
    ASSERT_EQ(checks.size(), 16u - kWithoutCounterpart.size());
    ExpectAllAccepted(checks);
}

// The same check with a deliberately wrong declared type must be refused,
// or the checks above would prove nothing.
TEST_F(BuiltInGlsl, AWrongDeclaredResultTypeIsRefused)
{
    BuiltInTable table;
    RegisterBuiltInFunctions(table.general);
    for (const char* signature : {"bool,f", "dot,f2,f2", "lerp,f2,f2,f"}) {
        const FunctionNode* record = nullptr;
        for (const FunctionNode* candidate : table.general) {
            record = candidate->signature == signature ? candidate : record;
        }
        ASSERT_NE(record, nullptr) << signature;
        std::vector<GlslCheck::Check> checks = {MakeCheck(*record)};
        std::map<int, std::string> lineToCheck;
        const GlslCheck::CompileResult result = GlslCheck::Compile(GlslCheck::BuildShader(checks, lineToCheck, 1));
        EXPECT_NE(result.exitCode, 0) << checks[0].description;
    }
    // Nor can a void result be used as a value.
    RegisterStageIntrinsics(table, STAGE_RGEN);
    const Array<FunctionNode*>& records = table.stage[STAGE_RGEN];
    const FunctionNode* storeImage = records[records.GetCount() - 1];
    ASSERT_EQ(storeImage->name, "storeImage");
    GlslCheck::Check check = MakeCheck(*storeImage);
    check.declaredResult = Type::MakeVector(BaseType::FLOAT, 4);
    std::map<int, std::string> lineToCheck;
    EXPECT_NE(GlslCheck::Compile(GlslCheck::BuildShader({check}, lineToCheck)).exitCode, 0);
}

}  // namespace
}  // namespace ShaderTool
