#include "shadertool/basic/operator.h"

#include "shadertool/basic/operator_tables.h"

namespace ShaderTool {

using OperatorTables::kJumpKeywords;
using OperatorTables::kOperatorRows;
using OperatorTables::kOperators;

const char* GetOperatorText(uint32_t index)
{
    if (index < static_cast<uint32_t>(OPERATOR_COUNT)) {
        return kOperators[index].text;
    }
    for (const OperatorTables::JumpKeyword& keyword : kJumpKeywords) {
        if (keyword.code == index) {
            return keyword.text;
        }
    }
    return "";
}

OperatorForm GetOperatorForm(uint32_t index)
{
    return index < static_cast<uint32_t>(OPERATOR_COUNT) ? kOperators[index].form : FORM_INFIX;
}

bool IsBitwiseOperator(uint32_t index)
{
    switch (index) {
    case OP_BITWISE_NOT:
    case OP_ASSIGN_AND:
    case OP_ASSIGN_LEFT_SHIFT:
    case OP_ASSIGN_OR:
    case OP_ASSIGN_RIGHT_SHIFT:
    case OP_ASSIGN_XOR:
    case OP_BITWISE_AND:
    case OP_BITWISE_OR:
    case OP_BITWISE_XOR:
    case OP_LEFT_SHIFT:
    case OP_RIGHT_SHIFT: return true;
    default: return false;
    }
}

bool IsAssignmentOperator(uint32_t index)
{
    switch (index) {
    case OP_ASSIGN:
    case OP_ASSIGN_ADD:
    case OP_ASSIGN_DIVIDE:
    case OP_ASSIGN_MODULO:
    case OP_ASSIGN_MULTIPLY:
    case OP_ASSIGN_SUBTRACT: return true;
    default: return false;
    }
}

void InitializeOperatorTable(OperatorTable& table)
{
    while (table.GetCount() < OPERATOR_COUNT) {
        table.Add(Array<OperatorOverload>());
    }
}

bool AddOperatorOverload(OperatorTable& table, uint32_t index, const Type& result, const Type& left, const Type& right)
{
    if (index >= static_cast<uint32_t>(table.GetCount())) {
        return false;
    }
    table[static_cast<int>(index)].Add(OperatorOverload{left, right, result});
    return true;
}

void RegisterOperatorOverloads(OperatorTable& table)
{
    InitializeOperatorTable(table);
    for (const OperatorTables::OperatorRow& row : kOperatorRows) {
        AddOperatorOverload(table, row.index, MakeTypeFromCode(row.result), MakeTypeFromCode(row.left),
                            MakeTypeFromCode(row.right));
    }
}

const OperatorOverload* FindOperatorOverloadRow(const OperatorTable& table, uint32_t index, const Type& left,
                                                const Type* right, bool allowLeftConversion, bool allowArrays)
{
    if (index >= static_cast<uint32_t>(table.GetCount())) {
        return nullptr;
    }
    const Type voidType = Type::MakeVector(BaseType::VOID, 1);
    const Type& rightType = right != nullptr ? *right : voidType;
    if (left.arraySize != rightType.arraySize) {
        return nullptr;
    }
    for (const OperatorOverload& row : table[static_cast<int>(index)]) {
        if (TypesMatch(row.left, left, allowLeftConversion, allowArrays) &&
            TypesMatch(row.right, rightType, true, allowArrays)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace ShaderTool
