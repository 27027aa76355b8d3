#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "shadertool/basic/type.h"

// The operators of the shading language and the operand types each accepts.
// There are no user-defined operators: the table is filled once and the
// first row that accepts the operands wins, so the row order is behaviour.
namespace ShaderTool {

// Kept in the operatorIndex of an Operator node.
enum OperatorIndex : uint32_t {
    OP_BITWISE_NOT = 0,
    OP_PARENTHESES = 1,
    OP_LOGICAL_NOT = 2,
    OP_NEGATE = 3,
    OP_UNARY_PLUS = 4,
    OP_POST_DECREMENT = 5,
    OP_POST_INCREMENT = 6,
    OP_PRE_DECREMENT = 7,
    OP_PRE_INCREMENT = 8,
    OP_ADD = 9,
    OP_ASSIGN = 10,
    OP_ASSIGN_ADD = 11,
    OP_ASSIGN_AND = 12,
    OP_ASSIGN_DIVIDE = 13,
    OP_ASSIGN_LEFT_SHIFT = 14,
    OP_ASSIGN_MODULO = 15,
    OP_ASSIGN_MULTIPLY = 16,
    OP_ASSIGN_OR = 17,
    OP_ASSIGN_RIGHT_SHIFT = 18,
    OP_ASSIGN_SUBTRACT = 19,
    OP_ASSIGN_XOR = 20,
    OP_BITWISE_AND = 21,
    OP_BITWISE_OR = 22,
    OP_BITWISE_XOR = 23,
    OP_DIVIDE = 24,
    OP_EQUAL = 25,
    OP_GREATER_THAN = 26,
    OP_GREATER_THAN_EQUAL = 27,
    OP_LEFT_SHIFT = 28,
    OP_LESS_THAN = 29,
    OP_LESS_THAN_EQUAL = 30,
    OP_LOGICAL_AND = 31,
    OP_LOGICAL_OR = 32,
    OP_MEMBER = 33,
    OP_MODULO = 34,
    OP_MULTIPLY = 35,
    OP_NOT_EQUAL = 36,
    OP_RIGHT_SHIFT = 37,
    OP_SUBSCRIPT = 38,
    OP_SUBTRACT = 39,
    OP_CONDITIONAL = 40,
    OP_ALTERNATIVES = 41,
};

constexpr int OPERATOR_COUNT = 42;
constexpr int OPERATOR_OVERLOAD_COUNT = 577;

// Where the operator stands relative to its operands.
enum OperatorForm : uint8_t {
    FORM_PREFIX,
    FORM_POSTFIX,
    FORM_INFIX,
    FORM_AROUND,     // parentheses around the operand
    FORM_MEMBER,     // member access or swizzle
    FORM_SUBSCRIPT,  // left[right]
};

// One accepted operand pair and its result. Unary operators have the void
// type (vector size 1) as right operand.
struct OperatorOverload {
    Type left;
    Type right;
    Type result;
};

// One list of rows per operator index, in registration order.
using OperatorTable = Array<Array<OperatorOverload>>;

// The operator's text ("+", "<<=", "?"), the jump keywords for the jump codes
// 43..46, and "" for every other value.
const char* GetOperatorText(uint32_t index);

OperatorForm GetOperatorForm(uint32_t index);

// The operators that some targets cannot express: ~ & | ^ << >> and their assignments.
bool IsBitwiseOperator(uint32_t index);

// = += -= *= /= %=: their left operand must be a modifiable l-value and is never converted.
bool IsAssignmentOperator(uint32_t index);

// Gives the table its 42 lists, empty, keeping lists it already has.
void InitializeOperatorTable(OperatorTable& table);

// Appends the row {left, right, result} to the index's list; false, and
// nothing added, for an index the table has no list for.
bool AddOperatorOverload(OperatorTable& table, uint32_t index, const Type& result, const Type& left, const Type& right);

// Gives the table its 42 lists and appends the 577 rows in their fixed order.
void RegisterOperatorOverloads(OperatorTable& table);

// The first row of the operator whose left type accepts the left operand
// (converting only when allowed), whose right type accepts the right operand
// (always converting; the void type when there is none), with arrays accepted
// only when allowed and the two operands' array sizes equal. Null when none.
const OperatorOverload* FindOperatorOverloadRow(const OperatorTable& table, uint32_t index, const Type& left,
                                                const Type* right, bool allowLeftConversion, bool allowArrays);

}  // namespace ShaderTool
