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

    std::vector<std::string> Rows(uint32_t index)
    {
        std::vector<std::string> rows;
        for (const OperatorOverload& row : table[static_cast<int>(index)]) {
            rows.push_back(RowText(row));
        }
        return rows;
    }

    OperatorTable table;
};

TEST_F(OperatorRows, CountsPerOperatorAndTotal)
{
    const int expected[OPERATOR_COUNT] = {8, 0,  1,  11, 4, 15, 15, 15, 15, 39, 16, 27, 8,  27,
                                          8, 14, 30, 8,  8, 27, 8,  8,  8,  8,  36, 16, 3,  3,
                                          8, 3,  3,  1,  1, 0,  14, 42, 16, 8,  24, 39, 16, 16};
    ASSERT_EQ(table.GetCount(), 42);
    int total = 0;
    for (int index = 0; index < OPERATOR_COUNT; ++index) {
        EXPECT_EQ(table[index].GetCount(), expected[index]) << GetOperatorText(index);
        total += table[index].GetCount();
    }
    EXPECT_EQ(total, 577);
}

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

TEST_F(OperatorRows, RegisteringTwiceKeepsFortyTwoLists)
{
    OperatorTable again;
    InitializeOperatorTable(again);
    InitializeOperatorTable(again);
    EXPECT_EQ(again.GetCount(), 42);
    EXPECT_EQ(again[9].GetCount(), 0);
}

TEST_F(OperatorRows, AddingToAMissingListIsRefused)
{
    OperatorTable empty;
    EXPECT_FALSE(AddOperatorOverload(empty, 9, kInt, kInt, kInt));
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_FALSE(AddOperatorOverload(table, 42, kInt, kInt, kInt));
    EXPECT_EQ(FindOperatorOverloadRow(empty, 9, kInt, &kInt, true, false), nullptr);
    EXPECT_EQ(FindOperatorOverloadRow(table, 0xFFFFFFFFu, kInt, &kInt, true, false), nullptr);
}

TEST_F(OperatorRows, ModuloRowsInOrder)
{
    const std::vector<std::string> expected = {
        "int,int->int",      "uint,uint->uint",    "int2,int->int2",    "int2,int2->int2",   "int3,int->int3",
        "int3,int3->int3",   "int4,int->int4",     "int4,int4->int4",   "uint2,uint->uint2", "uint2,uint2->uint2",
        "uint3,uint->uint3", "uint3,uint3->uint3", "uint4,uint->uint4", "uint4,uint4->uint4"};
    EXPECT_EQ(Rows(OP_MODULO), expected);
    EXPECT_EQ(Rows(OP_ASSIGN_MODULO), expected);
}

TEST_F(OperatorRows, MultiplyPlacesVectorTimesMatrixAfterEachFloatVectorPair)
{
    std::vector<std::string> rows = Rows(OP_MULTIPLY);
    ASSERT_EQ(rows.size(), 42u);
    EXPECT_EQ(rows[0], "int,int->int");
    EXPECT_EQ(rows[2], "float,float->float");
    EXPECT_EQ(rows[3], "int,int2->int2");
    EXPECT_EQ(rows[4], "int2,int->int2");
    EXPECT_EQ(rows[5], "int2,int2->int2");
    EXPECT_EQ(rows[21], "float,float2->float2");
    EXPECT_EQ(rows[23], "float2,float2->float2");
    EXPECT_EQ(rows[24], "float2,float2x2->float2");
    EXPECT_EQ(rows[28], "float3,float3x3->float3");
    EXPECT_EQ(rows[32], "float4,float4x4->float4");
    EXPECT_EQ(rows[33], "float,float2x2->float2x2");
    EXPECT_EQ(rows[34], "float2x2,float->float2x2");
    EXPECT_EQ(rows[41], "float4x4,float4x4->float4x4");
}

TEST_F(OperatorRows, CompoundMultiplyHasNoScalarLeftRows)
{
    std::vector<std::string> rows = Rows(OP_ASSIGN_MULTIPLY);
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows[3], "int2,int->int2");
    EXPECT_EQ(rows[4], "int2,int2->int2");
    EXPECT_EQ(rows[15], "float2,float->float2");
    EXPECT_EQ(rows[16], "float2,float2->float2");
    EXPECT_EQ(rows[17], "float2,float2x2->float2");
    EXPECT_EQ(rows[24], "float2x2,float->float2x2");
    EXPECT_EQ(rows[29], "float4x4,float4x4->float4x4");
}

TEST_F(OperatorRows, UnaryRowsHaveTheVoidRightOperand)
{
    for (uint32_t index : {0u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        for (const OperatorOverload& row : table[static_cast<int>(index)]) {
            EXPECT_EQ(row.right.baseType, BaseType::VOID);
            EXPECT_EQ(row.right.vectorSize, 1);
        }
    }
    EXPECT_EQ(Rows(OP_NEGATE).front(), "int,void->int");
    EXPECT_EQ(Rows(OP_NEGATE)[1], "float,void->float");
    EXPECT_EQ(Rows(OP_NEGATE).back(), "float4x4,void->float4x4");
}

TEST_F(OperatorRows, SubscriptAndConditionalRows)
{
    std::vector<std::string> subscript = Rows(OP_SUBSCRIPT);
    EXPECT_EQ(subscript[0], "int2,int->int");
    EXPECT_EQ(subscript[1], "int2,uint->int");
    EXPECT_EQ(subscript[17], "float4,uint->float");
    EXPECT_EQ(subscript[18], "float2x2,int->float2");
    EXPECT_EQ(subscript[23], "float4x4,uint->float4");
    std::vector<std::string> conditional = Rows(OP_CONDITIONAL);
    EXPECT_EQ(conditional[0], "bool,bool->bool");
    EXPECT_EQ(conditional[3], "bool,float->float");
    EXPECT_EQ(conditional[15], "bool,float4x4->float4x4");
    EXPECT_EQ(Rows(OP_ALTERNATIVES)[15], "float4x4,float4x4->float4x4");
    EXPECT_EQ(Rows(OP_EQUAL)[14], "float3x3,float3x3->bool");
}

TEST_F(OperatorRows, MixedOperandsResolveToTheFirstCommonKind)
{
    EXPECT_EQ(Binary(OP_ADD, kInt, kFloat), "float");
    EXPECT_EQ(Binary(OP_ADD, kInt, kUint), "uint");
    EXPECT_EQ(Binary(OP_ADD, kUint, kInt), "uint");
    EXPECT_EQ(Binary(OP_ADD, Vec(BaseType::FLOAT, 2), kInt), "float2");
    EXPECT_EQ(Binary(OP_SUBTRACT, kUint, kFloat), "float");
    EXPECT_EQ(Binary(OP_ADD, kBool, kInt), "");
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

TEST_F(OperatorRows, MatrixProducts)
{
    EXPECT_EQ(Binary(OP_MULTIPLY, Vec(BaseType::FLOAT, 3), Type::MakeMatrix(3)), "float3");
    EXPECT_EQ(Binary(OP_MULTIPLY, Type::MakeMatrix(3), Vec(BaseType::FLOAT, 3)), "");
    EXPECT_EQ(Binary(OP_MULTIPLY, Type::MakeMatrix(3), Type::MakeMatrix(3)), "float3x3");
    EXPECT_EQ(Binary(OP_MULTIPLY, Type::MakeMatrix(3), Type::MakeMatrix(4)), "");
}

TEST_F(OperatorRows, MatrixDivision)
{
    EXPECT_EQ(Binary(OP_DIVIDE, kFloat, Type::MakeMatrix(2)), "");
    EXPECT_EQ(Binary(OP_DIVIDE, Type::MakeMatrix(2), kFloat), "float2x2");
}

TEST_F(OperatorRows, ComparisonsAndEquality)
{
    EXPECT_EQ(Binary(OP_LESS_THAN, Vec(BaseType::FLOAT, 2), Vec(BaseType::FLOAT, 2)), "");
    EXPECT_EQ(Binary(OP_GREATER_THAN_EQUAL, kInt, kFloat), "bool");
    EXPECT_EQ(Binary(OP_EQUAL, kBool, kBool), "bool");
    EXPECT_EQ(Binary(OP_NOT_EQUAL, Type::MakeMatrix(4), Type::MakeMatrix(4)), "bool");
    EXPECT_EQ(Binary(OP_LOGICAL_AND, kBool, kInt), "");
}

TEST_F(OperatorRows, ModuloLimits)
{
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

TEST_F(OperatorRows, CompoundAssignmentDoesNotConvertItsTarget)
{
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, Vec(BaseType::INT, 2), kInt), "int2");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, kInt, Vec(BaseType::INT, 2)), "");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, kFloat, kInt), "float");
    EXPECT_EQ(Binary(OP_ASSIGN_ADD, kInt, kFloat), "");
    EXPECT_EQ(Binary(OP_ASSIGN, kUint, kInt), "uint");
    EXPECT_EQ(Binary(OP_ASSIGN, kInt, kUint), "");
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

TEST(OperatorTexts, TextsOfOperatorsAndJumpCodes)
{
    EXPECT_STREQ(GetOperatorText(OP_BITWISE_NOT), "~");
    EXPECT_STREQ(GetOperatorText(OP_PARENTHESES), "()");
    EXPECT_STREQ(GetOperatorText(OP_NEGATE), "-");
    EXPECT_STREQ(GetOperatorText(OP_POST_DECREMENT), "--");
    EXPECT_STREQ(GetOperatorText(OP_ASSIGN_LEFT_SHIFT), "<<=");
    EXPECT_STREQ(GetOperatorText(OP_ASSIGN_OR), "|=");
    EXPECT_STREQ(GetOperatorText(OP_BITWISE_OR), "|");
    EXPECT_STREQ(GetOperatorText(OP_LOGICAL_OR), "||");
    EXPECT_STREQ(GetOperatorText(OP_MEMBER), ".");
    EXPECT_STREQ(GetOperatorText(OP_SUBSCRIPT), "[]");
    EXPECT_STREQ(GetOperatorText(OP_CONDITIONAL), "?");
    EXPECT_STREQ(GetOperatorText(OP_ALTERNATIVES), ":");
    EXPECT_STREQ(GetOperatorText(42), "");
    EXPECT_STREQ(GetOperatorText(43), "break");
    EXPECT_STREQ(GetOperatorText(44), "continue");
    EXPECT_STREQ(GetOperatorText(45), "discard");
    EXPECT_STREQ(GetOperatorText(46), "return");
    EXPECT_STREQ(GetOperatorText(47), "");
    EXPECT_STREQ(GetOperatorText(0xFFFFFFFFu), "");
}

TEST(OperatorTexts, Forms)
{
    EXPECT_EQ(GetOperatorForm(OP_POST_INCREMENT), FORM_POSTFIX);
    EXPECT_EQ(GetOperatorForm(OP_PRE_INCREMENT), FORM_PREFIX);
    EXPECT_EQ(GetOperatorForm(OP_PARENTHESES), FORM_AROUND);
    EXPECT_EQ(GetOperatorForm(OP_MEMBER), FORM_MEMBER);
    EXPECT_EQ(GetOperatorForm(OP_SUBSCRIPT), FORM_SUBSCRIPT);
    EXPECT_EQ(GetOperatorForm(OP_ADD), FORM_INFIX);
}

TEST(OperatorSets, BitwiseAndAssignmentSets)
{
    std::vector<uint32_t> bitwise;
    std::vector<uint32_t> assignments;
    for (uint32_t index = 0; index < 50; ++index) {
        if (IsBitwiseOperator(index)) {
            bitwise.push_back(index);
        }
        if (IsAssignmentOperator(index)) {
            assignments.push_back(index);
        }
    }
    EXPECT_EQ(bitwise, (std::vector<uint32_t>{0, 12, 14, 17, 18, 20, 21, 22, 23, 28, 37}));
    EXPECT_EQ(assignments, (std::vector<uint32_t>{10, 11, 13, 15, 16, 19}));
}

}  // namespace
}  // namespace ShaderTool
