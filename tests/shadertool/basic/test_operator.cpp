#include "shadertool/basic/operator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ShaderTool {
namespace {

Type Vec(BaseType base, int size) { return Type::MakeVector(base, size); }

const Type kInt = Vec(BaseType::INT, 1);
const Type kUint = Vec(BaseType::UINT, 1);
const Type kFloat = Vec(BaseType::FLOAT, 1);
const Type kBool = Vec(BaseType::BOOL, 1);

std::string Text(const Type& type) { return GetTypeText(type, false).GetText(); }

std::string RowText(const OperatorOverload& row)
{
    return Text(row.left) + "," + Text(row.right) + "->" + Text(row.result);
}

class OperatorRows : public ::testing::Test {
protected:
    void SetUp() override { RegisterOperatorOverloads(table); }

    // The result of the first accepting row, as typing an expression would
    // find it; "" when no row accepts the operands.
    std::string Resolve(uint32_t index, const Type& left, const Type* right)
    {
        const OperatorOverload* row =
            FindOperatorOverloadRow(table, index, left, right, !IsAssignmentOperator(index), false);
        return row != nullptr ? Text(row->result) : "";
    }

    std::string Binary(uint32_t index, const Type& left, const Type& right) { return Resolve(index, left, &right); }

    OperatorTable table;
};

TEST_F(OperatorRows, RowsArePlainTypes)
{
    for (const Array<OperatorOverload>& rows : table) {
        for (const OperatorOverload& row : rows) {
            for (const Type* type : {&row.left, &row.right, &row.result}) {
                EXPECT_EQ(type->arraySize, 0);
                EXPECT_EQ(type->qualifiers, 0u);
                EXPECT_EQ(type->isBuffer, 0);
                EXPECT_EQ(type->isConstant, 0);
                EXPECT_TRUE(type->IsValidVariableType()) << RowText(row);
            }
        }
    }
}

TEST_F(OperatorRows, FortyTwoListsAndNoRowsOutsideThem)
{
    OperatorTable again;
    InitializeOperatorTable(again);
    InitializeOperatorTable(again);
    EXPECT_EQ(again.GetCount(), 42);
    EXPECT_EQ(again[9].GetCount(), 0);
    OperatorTable empty;
    EXPECT_FALSE(AddOperatorOverload(empty, 9, kInt, kInt, kInt));
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_FALSE(AddOperatorOverload(table, 42, kInt, kInt, kInt));
    EXPECT_EQ(FindOperatorOverloadRow(empty, 9, kInt, &kInt, true, false), nullptr);
    EXPECT_EQ(FindOperatorOverloadRow(table, 0xFFFFFFFFu, kInt, &kInt, true, false), nullptr);
}

TEST_F(OperatorRows, MixedOperandsMeetInTheFirstCommonKindButAnAssignedTargetIsNotConverted)
{
    EXPECT_EQ(Binary(OP_ADD, kInt, kFloat), "float");
    EXPECT_EQ(Binary(OP_ADD, kInt, kUint), "uint");
    EXPECT_EQ(Binary(OP_ADD, kUint, kInt), "uint");
    EXPECT_EQ(Binary(OP_ADD, Vec(BaseType::FLOAT, 2), kInt), "float2");
    EXPECT_EQ(Binary(OP_SUBTRACT, kUint, kFloat), "float");
    EXPECT_EQ(Binary(OP_ADD, kBool, kInt), "");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, Vec(BaseType::INT, 2), kInt), "int2");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, kInt, Vec(BaseType::INT, 2)), "");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, kFloat, kInt), "float");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, kInt, kFloat), "");
    EXPECT_EQ(Binary(OP_ASSIGN, kUint, kInt), "uint");
    EXPECT_EQ(Binary(OP_ASSIGN, kInt, kUint), "");
}

TEST_F(OperatorRows, UnaryMinusAndPlusLimits)
{
    // No negation row takes a uint; the operand conversion to float still
    // reaches the float row.
    for (const OperatorOverload& row : table[OP_NEGATE]) {
        EXPECT_NE(row.left.baseType, BaseType::UINT);
    }
    EXPECT_EQ(FindOperatorOverloadRow(table, OP_NEGATE, kUint, nullptr, false, false), nullptr);
    EXPECT_EQ(Resolve(OP_NEGATE, kUint, nullptr), "float");
    EXPECT_EQ(Resolve(OP_NEGATE, kInt, nullptr), "int");
    EXPECT_EQ(Resolve(OP_UNARY_PLUS, kFloat, nullptr), "");
    EXPECT_EQ(Resolve(OP_UNARY_PLUS, kUint, nullptr), "");
    EXPECT_EQ(Resolve(OP_UNARY_PLUS, Vec(BaseType::INT, 3), nullptr), "int3");
}

TEST_F(OperatorRows, MatrixProductsAndDivision)
{
    EXPECT_EQ(Binary(OP_MULTIPLY, Vec(BaseType::FLOAT, 3), Type::MakeMatrix(3)), "float3");
    EXPECT_EQ(Binary(OP_MULTIPLY, Type::MakeMatrix(3), Vec(BaseType::FLOAT, 3)), "");
    EXPECT_EQ(Binary(OP_MULTIPLY, Type::MakeMatrix(3), Type::MakeMatrix(3)), "float3x3");
    EXPECT_EQ(Binary(OP_MULTIPLY, Type::MakeMatrix(3), Type::MakeMatrix(4)), "");
    EXPECT_EQ(Binary(OP_DIVIDE, kFloat, Type::MakeMatrix(2)), "");
    EXPECT_EQ(Binary(OP_DIVIDE, Type::MakeMatrix(2), kFloat), "float2x2");
}

TEST_F(OperatorRows, ComparisonsEqualityAndModulo)
{
    EXPECT_EQ(Binary(OP_LESS_THAN, Vec(BaseType::FLOAT, 2), Vec(BaseType::FLOAT, 2)), "");
    EXPECT_EQ(Binary(OP_GREATER_THAN_EQUAL, kInt, kFloat), "bool");
    EXPECT_EQ(Binary(OP_EQUAL, kBool, kBool), "bool");
    EXPECT_EQ(Binary(OP_NOT_EQUAL, Type::MakeMatrix(4), Type::MakeMatrix(4)), "bool");
    EXPECT_EQ(Binary(OP_LOGICAL_AND, kBool, kInt), "");
    EXPECT_EQ(Binary(OP_MODULO, Vec(BaseType::FLOAT, 2), kFloat), "");
    EXPECT_EQ(Binary(OP_MODULO, Vec(BaseType::INT, 3), kInt), "int3");
    EXPECT_EQ(Binary(OP_MODULO, kInt, Vec(BaseType::INT, 3)), "");
}

TEST_F(OperatorRows, Subscripts)
{
    EXPECT_EQ(Binary(OP_SUBSCRIPT, Type::MakeMatrix(4), kInt), "float4");
    EXPECT_EQ(Binary(OP_SUBSCRIPT, Type::MakeMatrix(4), kUint), "float4");
    EXPECT_EQ(Binary(OP_SUBSCRIPT, Vec(BaseType::FLOAT, 3), kInt), "float");
    EXPECT_EQ(Binary(OP_SUBSCRIPT, Vec(BaseType::UINT, 2), kInt), "uint");
    EXPECT_EQ(Binary(OP_SUBSCRIPT, kFloat, kInt), "");
}

TEST_F(OperatorRows, ArrayOperandsNeedEqualSizesAndPermission)
{
    Type floatArray = Type::MakeVector(BaseType::FLOAT, 1, 0, 3);
    Type otherArray = Type::MakeVector(BaseType::FLOAT, 1, 0, 4);
    EXPECT_EQ(FindOperatorOverloadRow(table, OP_ASSIGN, floatArray, &floatArray, false, false), nullptr);
    EXPECT_NE(FindOperatorOverloadRow(table, OP_ASSIGN, floatArray, &floatArray, false, true), nullptr);
    EXPECT_EQ(FindOperatorOverloadRow(table, OP_ASSIGN, floatArray, &otherArray, false, true), nullptr);
    EXPECT_EQ(FindOperatorOverloadRow(table, OP_ASSIGN, kFloat, &floatArray, false, true), nullptr);
}

}  // namespace
}  // namespace ShaderTool
