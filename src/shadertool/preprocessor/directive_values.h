#pragma once

#include <cstdint>

#include "shadertool/preprocessor/preprocessor.h"

// Reading literals and evaluating the operators of directive expressions.
// Integers are 32-bit and wrap like two's-complement machine arithmetic;
// anything with a float operand is computed in float.
namespace ShaderTool {

// The value of an integer literal: hexadecimal after 0x or 0X, otherwise the
// decimal digits at its start (a leading 0 does not make it octal).
int32_t ReadIntegerLiteral(const char* text);
// The value of a floating-point literal; an f suffix ends the number.
float ReadFloatLiteral(const char* text);

enum DirectiveOperator {
    OPERATOR_MULTIPLY,
    OPERATOR_DIVIDE,
    OPERATOR_ADD,
    OPERATOR_SUBTRACT,
    OPERATOR_LESS,
    OPERATOR_GREATER,
    OPERATOR_LESS_EQUAL,
    OPERATOR_GREATER_EQUAL,
    OPERATOR_EQUAL,
    OPERATOR_NOT_EQUAL,
    OPERATOR_LOGICAL_AND,
    OPERATOR_LOGICAL_OR,
};

PreprocessorValue NegateValue(const PreprocessorValue& operand);
PreprocessorValue NotValue(const PreprocessorValue& operand);
// An integer division by zero gives 0 and is reported at the right operand
// when the directive can take effect.
PreprocessorValue ApplyOperator(PreprocessorContext& context, DirectiveOperator op, const PreprocessorValue& left,
                                const PreprocessorValue& right);

}  // namespace ShaderTool
