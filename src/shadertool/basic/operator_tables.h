#pragma once

#include <array>
#include <cstdint>

#include "shadertool/basic/operator.h"
#include "shadertool/basic/type_code.h"

// The operators with their texts and the rules that produce their rows.
namespace ShaderTool {
namespace OperatorTables {
using namespace TypeCodes;

// Which operand pairs an operator accepts; each rule lists its rows
// scalars first (bool, int, uint, float), then the int, uint and float
// vectors of sizes 2 to 4, then the matrices 2x2 to 4x4. Mixed operands thus
// resolve to the first of int, uint, float that both convert to.
enum class Rule : uint8_t {
    None,              // typed without the table
    BitwiseUnary,      // (T, void) -> T: int, uint and their vectors
    LogicalNot,        // (bool, void) -> bool
    Negate,            // (T, void) -> T: int, float, their vectors, the matrices
    UnaryPlus,         // (T, void) -> T: int and its vectors
    Step,              // (T, void) -> T: int, uint, float, the nine vectors, the matrices
    Additive,          // (s, s); per vector (s, V) (V, s) (V, V); per matrix (float, X) (X, float) (X, X)
    Multiplicative,    // Additive, with (Vn, Xn) -> Vn after each float (Vn, Vn)
    Division,          // Additive without (float, X)
    SameType,          // (T, T) -> T: bool, int, uint, float, the nine vectors, the matrices
    CompoundAdditive,  // (s, s); per vector (V, s) (V, V); per matrix (X, float) (X, X)
    CompoundMultiply,  // CompoundAdditive, with (Vn, Xn) -> Vn after each float (Vn, Vn)
    Bitwise,           // (T, T) -> T: int, uint and their vectors
    Modulo,            // (s, s) for int, uint; per int or uint vector (V, s) (V, V)
    Equality,          // (T, T) -> bool: bool, int, uint, float, the nine vectors, the matrices
    Ordering,          // (s, s) -> bool: int, uint, float
    Logical,           // (bool, bool) -> bool
    Subscript,         // per vector (V, int) (V, uint) -> s; per matrix (X, int) (X, uint) -> Vn
    Conditional,       // (bool, T) -> T: bool, int, uint, float, the nine vectors, the matrices
};

struct OperatorInfo {
    OperatorIndex index;
    const char* text;
    OperatorForm form;
    Rule rule;
    int rowCount;
};

// One row per operator in index order: index, text, form, rule, number of rows.
constexpr OperatorInfo kOperators[] = {
    {OP_BITWISE_NOT, "~", FORM_PREFIX, Rule::BitwiseUnary, 8},
    {OP_PARENTHESES, "()", FORM_AROUND, Rule::None, 0},
    {OP_LOGICAL_NOT, "!", FORM_PREFIX, Rule::LogicalNot, 1},
    {OP_NEGATE, "-", FORM_PREFIX, Rule::Negate, 11},
    {OP_UNARY_PLUS, "+", FORM_PREFIX, Rule::UnaryPlus, 4},
    {OP_POST_DECREMENT, "--", FORM_POSTFIX, Rule::Step, 15},
    {OP_POST_INCREMENT, "++", FORM_POSTFIX, Rule::Step, 15},
    {OP_PRE_DECREMENT, "--", FORM_PREFIX, Rule::Step, 15},
    {OP_PRE_INCREMENT, "++", FORM_PREFIX, Rule::Step, 15},
    {OP_ADD, "+", FORM_INFIX, Rule::Additive, 39},
    {OP_ASSIGN, "=", FORM_INFIX, Rule::SameType, 16},
    {OP_ASSIGN_ADD, "+=", FORM_INFIX, Rule::CompoundAdditive, 27},
    {OP_ASSIGN_AND, "&=", FORM_INFIX, Rule::Bitwise, 8},
    {OP_ASSIGN_DIVIDE, "/=", FORM_INFIX, Rule::CompoundAdditive, 27},
    {OP_ASSIGN_LEFT_SHIFT, "<<=", FORM_INFIX, Rule::Bitwise, 8},
    {OP_ASSIGN_MODULO, "%=", FORM_INFIX, Rule::Modulo, 14},
    {OP_ASSIGN_MULTIPLY, "*=", FORM_INFIX, Rule::CompoundMultiply, 30},
    {OP_ASSIGN_OR, "|=", FORM_INFIX, Rule::Bitwise, 8},
    {OP_ASSIGN_RIGHT_SHIFT, ">>=", FORM_INFIX, Rule::Bitwise, 8},
    {OP_ASSIGN_SUBTRACT, "-=", FORM_INFIX, Rule::CompoundAdditive, 27},
    {OP_ASSIGN_XOR, "^=", FORM_INFIX, Rule::Bitwise, 8},
    {OP_BITWISE_AND, "&", FORM_INFIX, Rule::Bitwise, 8},
    {OP_BITWISE_OR, "|", FORM_INFIX, Rule::Bitwise, 8},
    {OP_BITWISE_XOR, "^", FORM_INFIX, Rule::Bitwise, 8},
    {OP_DIVIDE, "/", FORM_INFIX, Rule::Division, 36},
    {OP_EQUAL, "==", FORM_INFIX, Rule::Equality, 16},
    {OP_GREATER_THAN, ">", FORM_INFIX, Rule::Ordering, 3},
    {OP_GREATER_THAN_EQUAL, ">=", FORM_INFIX, Rule::Ordering, 3},
    {OP_LEFT_SHIFT, "<<", FORM_INFIX, Rule::Bitwise, 8},
    {OP_LESS_THAN, "<", FORM_INFIX, Rule::Ordering, 3},
    {OP_LESS_THAN_EQUAL, "<=", FORM_INFIX, Rule::Ordering, 3},
    {OP_LOGICAL_AND, "&&", FORM_INFIX, Rule::Logical, 1},
    {OP_LOGICAL_OR, "||", FORM_INFIX, Rule::Logical, 1},
    {OP_MEMBER, ".", FORM_MEMBER, Rule::None, 0},
    {OP_MODULO, "%", FORM_INFIX, Rule::Modulo, 14},
    {OP_MULTIPLY, "*", FORM_INFIX, Rule::Multiplicative, 42},
    {OP_NOT_EQUAL, "!=", FORM_INFIX, Rule::Equality, 16},
    {OP_RIGHT_SHIFT, ">>", FORM_INFIX, Rule::Bitwise, 8},
    {OP_SUBSCRIPT, "[]", FORM_SUBSCRIPT, Rule::Subscript, 24},
    {OP_SUBTRACT, "-", FORM_INFIX, Rule::Additive, 39},
    {OP_CONDITIONAL, "?", FORM_INFIX, Rule::Conditional, 16},
    {OP_ALTERNATIVES, ":", FORM_INFIX, Rule::SameType, 16},
};
static_assert(sizeof(kOperators) / sizeof(kOperators[0]) == OPERATOR_COUNT);

struct JumpKeyword {
    uint32_t code;
    const char* text;
};

// The jump keywords, which share the operator text lookup: code, keyword.
constexpr JumpKeyword kJumpKeywords[] = {
    {43, "break"},
    {44, "continue"},
    {45, "discard"},
    {46, "return"},
};
static_assert(sizeof(kJumpKeywords) / sizeof(kJumpKeywords[0]) == 4);

// One generated row: operator index, left, right, result.
struct OperatorRow {
    uint8_t index;
    TypeCode left;
    TypeCode right;
    TypeCode result;
};

constexpr TypeCode kIntKinds[] = {i, u};
constexpr TypeCode kNumericScalars[] = {i, u, f};
constexpr TypeCode kIntVectors[] = {i2, i3, i4, u2, u3, u4};
constexpr TypeCode kVectors[] = {i2, i3, i4, u2, u3, u4, f2, f3, f4};
constexpr TypeCode kMatrices[] = {fx2, fx3, fx4};
// bool, int, uint, float, the nine vectors, the three matrices.
constexpr TypeCode kAllValueTypes[] = {b, i, u, f, i2, i3, i4, u2, u3, u4, f2, f3, f4, fx2, fx3, fx4};

constexpr TypeCode ScalarOf(TypeCode vector)
{
    switch (vector) {
    case i2:
    case i3:
    case i4: return i;
    case u2:
    case u3:
    case u4: return u;
    default: return f;
    }
}

constexpr bool IsFloatVector(TypeCode type) { return type == f2 || type == f3 || type == f4; }

// The matrix whose rows a float vector multiplies, and the column vector of a matrix.
constexpr TypeCode MatrixOfSize(TypeCode floatVector)
{
    return floatVector == f2 ? fx2 : floatVector == f3 ? fx3 : fx4;
}

constexpr TypeCode VectorOfSize(TypeCode matrix) { return matrix == fx2 ? f2 : matrix == fx3 ? f3 : f4; }

class RowList {
public:
    constexpr void Add(OperatorIndex index, TypeCode left, TypeCode right, TypeCode result)
    {
        if (m_count < OPERATOR_OVERLOAD_COUNT) {
            m_rows[m_count] = {static_cast<uint8_t>(index), left, right, result};
        }
        ++m_count;  // counted past the end so that the count check fails loudly
    }
    constexpr int GetCount() const { return m_count; }
    constexpr const std::array<OperatorRow, OPERATOR_OVERLOAD_COUNT>& GetRows() const { return m_rows; }

private:
    std::array<OperatorRow, OPERATOR_OVERLOAD_COUNT> m_rows{};
    int m_count = 0;
};

template <int N>
constexpr void AddUnary(RowList& rows, OperatorIndex index, const TypeCode (&types)[N])
{
    for (TypeCode type : types) {
        rows.Add(index, type, v, type);
    }
}

template <int N>
constexpr void AddSameType(RowList& rows, OperatorIndex index, const TypeCode (&types)[N], bool yieldsBool)
{
    for (TypeCode type : types) {
        rows.Add(index, type, type, yieldsBool ? b : type);
    }
}

// Additive, Multiplicative and Division, and with compound set their assignment forms.
constexpr void AddArithmetic(RowList& rows, OperatorIndex index, bool compound, bool vectorTimesMatrix,
                             bool scalarLeftOfMatrix)
{
    for (TypeCode scalar : kNumericScalars) {
        rows.Add(index, scalar, scalar, scalar);
    }
    for (TypeCode vector : kVectors) {
        const TypeCode scalar = ScalarOf(vector);
        if (!compound) {
            rows.Add(index, scalar, vector, vector);
        }
        rows.Add(index, vector, scalar, vector);
        rows.Add(index, vector, vector, vector);
        if (vectorTimesMatrix && IsFloatVector(vector)) {
            rows.Add(index, vector, MatrixOfSize(vector), vector);
        }
    }
    for (TypeCode matrix : kMatrices) {
        if (!compound && scalarLeftOfMatrix) {
            rows.Add(index, f, matrix, matrix);
        }
        rows.Add(index, matrix, f, matrix);
        rows.Add(index, matrix, matrix, matrix);
    }
}

constexpr void AddRule(RowList& rows, OperatorIndex index, Rule rule)
{
    constexpr TypeCode kBitwiseTypes[] = {i, u, i2, i3, i4, u2, u3, u4};
    constexpr TypeCode kNegatable[] = {i, f, i2, i3, i4, f2, f3, f4, fx2, fx3, fx4};
    constexpr TypeCode kIntOnly[] = {i, i2, i3, i4};
    constexpr TypeCode kSteppable[] = {i, u, f, i2, i3, i4, u2, u3, u4, f2, f3, f4, fx2, fx3, fx4};
    constexpr TypeCode kBool[] = {b};
    switch (rule) {
    case Rule::None: break;
    case Rule::BitwiseUnary: AddUnary(rows, index, kBitwiseTypes); break;
    case Rule::LogicalNot: AddUnary(rows, index, kBool); break;
    case Rule::Negate: AddUnary(rows, index, kNegatable); break;
    case Rule::UnaryPlus: AddUnary(rows, index, kIntOnly); break;
    case Rule::Step: AddUnary(rows, index, kSteppable); break;
    case Rule::Additive: AddArithmetic(rows, index, false, false, true); break;
    case Rule::Multiplicative: AddArithmetic(rows, index, false, true, true); break;
    case Rule::Division: AddArithmetic(rows, index, false, false, false); break;
    case Rule::SameType: AddSameType(rows, index, kAllValueTypes, false); break;
    case Rule::CompoundAdditive: AddArithmetic(rows, index, true, false, false); break;
    case Rule::CompoundMultiply: AddArithmetic(rows, index, true, true, false); break;
    case Rule::Bitwise: AddSameType(rows, index, kBitwiseTypes, false); break;
    case Rule::Modulo:
        for (TypeCode scalar : kIntKinds) {
            rows.Add(index, scalar, scalar, scalar);
        }
        for (TypeCode vector : kIntVectors) {
            rows.Add(index, vector, ScalarOf(vector), vector);
            rows.Add(index, vector, vector, vector);
        }
        break;
    case Rule::Equality: AddSameType(rows, index, kAllValueTypes, true); break;
    case Rule::Ordering: AddSameType(rows, index, kNumericScalars, true); break;
    case Rule::Logical: AddSameType(rows, index, kBool, true); break;
    case Rule::Subscript:
        for (TypeCode vector : kVectors) {
            rows.Add(index, vector, i, ScalarOf(vector));
            rows.Add(index, vector, u, ScalarOf(vector));
        }
        for (TypeCode matrix : kMatrices) {
            rows.Add(index, matrix, i, VectorOfSize(matrix));
            rows.Add(index, matrix, u, VectorOfSize(matrix));
        }
        break;
    case Rule::Conditional:
        for (TypeCode type : kAllValueTypes) {
            rows.Add(index, b, type, type);
        }
        break;
    }
}

constexpr RowList GenerateOperatorRows()
{
    RowList rows;
    for (const OperatorInfo& info : kOperators) {
        AddRule(rows, info.index, info.rule);
    }
    return rows;
}

constexpr RowList kGeneratedRows = GenerateOperatorRows();
static_assert(kGeneratedRows.GetCount() == OPERATOR_OVERLOAD_COUNT);

// Every operator has exactly the number of rows its table row states, and the rows come in index order.
constexpr bool RowCountsMatch()
{
    int position = 0;
    for (int operatorIndex = 0; operatorIndex < OPERATOR_COUNT; ++operatorIndex) {
        if (static_cast<int>(kOperators[operatorIndex].index) != operatorIndex) {
            return false;
        }
        for (int row = 0; row < kOperators[operatorIndex].rowCount; ++row, ++position) {
            if (kGeneratedRows.GetRows()[position].index != operatorIndex) {
                return false;
            }
        }
    }
    return position == OPERATOR_OVERLOAD_COUNT;
}
static_assert(RowCountsMatch());

constexpr const std::array<OperatorRow, OPERATOR_OVERLOAD_COUNT>& kOperatorRows = kGeneratedRows.GetRows();

}  // namespace OperatorTables
}  // namespace ShaderTool
