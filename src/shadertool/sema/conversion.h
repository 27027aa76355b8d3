#pragma once

#include "shadertool/ast/node.h"
#include "shadertool/basic/type.h"
#include "shadertool/parser/parse_context.h"

// The implicit conversions of the shading language: int and uint to float,
// int to uint. They happen only through these two operations.
namespace ShaderTool {

// The expression converted to the target type: a uint target keeps the
// expression as it is, an integer literal is rewritten as a float literal,
// anything else is wrapped in a float constructor call of its vector size.
Node* ConvertExpression(ParseContext& context, Node* expression, const Type& target);

// The operand converted when the expected type is float and the operand int
// or uint, or the expected type uint and the operand int; else the operand.
Node* ConvertOperand(ParseContext& context, Node* operand, const Type& expected);

}  // namespace ShaderTool
