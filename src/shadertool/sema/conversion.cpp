#include "shadertool/sema/conversion.h"

#include <cstdint>

#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/builtin.h"

namespace ShaderTool {

namespace {

// The value of an integer literal as the tokenizer reads it; saturates at
// the largest 64-bit value instead of overflowing.
uint64_t ReadIntegerLiteral(const char* text)
{
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    } else if (text[0] == '0') {
        base = 8;
    }
    uint64_t value = 0;
    for (; *text != 0; ++text) {
        const char c = *text;
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        if (value > (UINT64_MAX - uint64_t(digit)) / uint64_t(base)) {
            return UINT64_MAX;
        }
        value = value * uint64_t(base) + uint64_t(digit);
    }
    return value;
}

// The float constructor of a vector size: float, float2, float3, float4.
uint32_t FloatConstructorOfSize(int32_t vectorSize)
{
    switch (vectorSize) {
    case 2: return INTRINSIC_FLOAT2;
    case 3: return INTRINSIC_FLOAT3;
    case 4: return INTRINSIC_FLOAT4;
    default: return INTRINSIC_FLOAT;
    }
}

}  // namespace

Node* ConvertExpression(ParseContext& context, Node* expression, const Type& target)
{
    const Type* sourceType = GetNodeType(expression);
    if (expression == nullptr || sourceType == nullptr || target.baseType == BaseType::UINT) {
        return expression;
    }
    const bool wasConstant = sourceType->isConstant != 0;
    if (ConstantNode* constant = AsConstant(expression)) {
        const uint64_t value = ReadIntegerLiteral(constant->text.GetText());
        constant->text = String::Formatted("%ff", static_cast<double>(value));
        constant->type = target;
        constant->type.isConstant = 1;
        return constant;
    }
    const uint32_t code = FloatConstructorOfSize(sourceType->vectorSize);
    FunctionNode* call =
        CreateFunctionNode(context, NodeKind::Call, GetIntrinsicName(code), {expression->column, expression->line});
    call->subKind = code;
    call->isBuiltIn = true;
    call->type = Type::MakeVector(BaseType::FLOAT, sourceType->vectorSize < 1 ? 1 : sourceType->vectorSize);
    call->type.isConstant = wasConstant ? 1 : 0;
    AppendChild(AsGroup(call->children[0]), expression);
    return call;
}

Node* ConvertOperand(ParseContext& context, Node* operand, const Type& expected)
{
    const Type* type = GetNodeType(operand);
    if (type == nullptr) {
        return operand;
    }
    const bool integer = type->baseType == BaseType::INT || type->baseType == BaseType::UINT;
    if ((expected.baseType == BaseType::FLOAT && integer) ||
        (expected.baseType == BaseType::UINT && type->baseType == BaseType::INT)) {
        return ConvertExpression(context, operand, expected);
    }
    return operand;
}

}  // namespace ShaderTool
