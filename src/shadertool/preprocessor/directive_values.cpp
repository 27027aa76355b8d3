#include "shadertool/preprocessor/directive_values.h"

#include <cstdlib>

#include "shadertool/lexer/lexer.h"
#include "shadertool/preprocessor/preprocessor_messages.h"

namespace ShaderTool {

static int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Literals wider than 32 bits keep their low 32 bits.
int32_t ReadIntegerLiteral(const char* text)
{
    uint32_t value = 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (const char* c = text + 2; HexDigitValue(*c) >= 0; ++c) value = value * 16u + uint32_t(HexDigitValue(*c));
    } else {
        for (const char* c = text; IsDigit(*c); ++c) value = value * 10u + uint32_t(*c - '0');
    }
    return static_cast<int32_t>(value);
}

float ReadFloatLiteral(const char* text) { return std::strtof(text, nullptr); }

static float AsFloat(const PreprocessorValue& value)
{
    return value.kind == VALUE_FLOAT ? value.floatValue : float(value.intValue);
}

static int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

PreprocessorValue NegateValue(const PreprocessorValue& operand)
{
    if (operand.kind == VALUE_FLOAT) return PreprocessorValue::Float(-operand.floatValue, operand.location);
    return PreprocessorValue::Integer(Wrap(-int64_t(operand.intValue)), operand.location);
}

PreprocessorValue NotValue(const PreprocessorValue& operand)
{
    return PreprocessorValue::Integer(operand.IsZero() ? 1 : 0, operand.location);
}

static PreprocessorValue IntegerArithmetic(PreprocessorContext& context, DirectiveOperator op, int32_t a, int32_t b,
                                           const PreprocessorValue& right, SourceLocation location)
{
    switch (op) {
    case OPERATOR_MULTIPLY: return PreprocessorValue::Integer(Wrap(int64_t(a) * b), location);
    case OPERATOR_ADD: return PreprocessorValue::Integer(Wrap(int64_t(a) + b), location);
    case OPERATOR_SUBTRACT: return PreprocessorValue::Integer(Wrap(int64_t(a) - b), location);
    default: break;
    }
    if (b == 0) {
        // A directive in a skipped branch is evaluated but cannot fail.
        if (context.directiveActive)
            ReportPreprocessorError(context, right.location, PreprocessorMessage::kDivisionByZero);
        return PreprocessorValue::Integer(0, location);
    }
    // In 64 bits the smallest integer divided by -1 does not trap; it wraps.
    return PreprocessorValue::Integer(Wrap(int64_t(a) / b), location);
}

// One comparison operator on two integers or on two floats.
template <typename Number>
static bool Compare(DirectiveOperator op, Number a, Number b)
{
    switch (op) {
    case OPERATOR_LESS: return a < b;
    case OPERATOR_GREATER: return a > b;
    case OPERATOR_LESS_EQUAL: return a <= b;
    case OPERATOR_GREATER_EQUAL: return a >= b;
    case OPERATOR_EQUAL: return a == b;
    default: return a != b;
    }
}

PreprocessorValue ApplyOperator(PreprocessorContext& context, DirectiveOperator op, const PreprocessorValue& left,
                                const PreprocessorValue& right)
{
    const SourceLocation location = left.location;
    const bool integers = left.kind == VALUE_INTEGER && right.kind == VALUE_INTEGER;
    switch (op) {
    case OPERATOR_LOGICAL_AND: return PreprocessorValue::Integer(!left.IsZero() && !right.IsZero() ? 1 : 0, location);
    case OPERATOR_LOGICAL_OR: return PreprocessorValue::Integer(!left.IsZero() || !right.IsZero() ? 1 : 0, location);
    case OPERATOR_MULTIPLY:
    case OPERATOR_DIVIDE:
    case OPERATOR_ADD:
    case OPERATOR_SUBTRACT: {
        if (integers) return IntegerArithmetic(context, op, left.intValue, right.intValue, right, location);
        const float a = AsFloat(left);
        const float b = AsFloat(right);
        const float result = op == OPERATOR_MULTIPLY ? a * b
                             : op == OPERATOR_DIVIDE ? a / b
                             : op == OPERATOR_ADD    ? a + b
                                                     : a - b;
        return PreprocessorValue::Float(result, location);
    }
    default: {
        const bool holds =
            integers ? Compare(op, left.intValue, right.intValue) : Compare(op, AsFloat(left), AsFloat(right));
        return PreprocessorValue::Integer(holds ? 1 : 0, location);
    }
    }
}

}  // namespace ShaderTool
