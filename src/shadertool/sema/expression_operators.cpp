#include <cstring>

#include "shadertool/basic/operator.h"
#include "shadertool/sema/conversion.h"
#include "shadertool/sema/expression.h"
#include "shadertool/sema/semantic_messages.h"

namespace ShaderTool {

namespace {

// The compound assignments whose bits change the target in place.
bool IsBitwiseAssignment(uint32_t index)
{
    return index == OP_ASSIGN_AND || index == OP_ASSIGN_LEFT_SHIFT || index == OP_ASSIGN_OR ||
           index == OP_ASSIGN_RIGHT_SHIFT || index == OP_ASSIGN_XOR;
}

// ++ and --, before or after their operand, which they change in place.
bool IsStepOperator(uint32_t index)
{
    return index == OP_POST_DECREMENT || index == OP_POST_INCREMENT || index == OP_PRE_DECREMENT ||
           index == OP_PRE_INCREMENT;
}

bool IsStructValue(const Type* type) { return type != nullptr && type->baseType == BaseType::STRUCT; }

void RemoveUnassignedOutput(ParseContext& context, const char* name)
{
    for (int index = 0; index < context.unassignedOutputs.GetCount(); ++index) {
        if (std::strcmp(context.unassignedOutputs[index].GetText(), name) == 0) {
            context.unassignedOutputs.DeleteAt(index);
            return;
        }
    }
}

// Follows left links from an assignment target down to its variable,
// remembering the last right operand seen. Only operators have links: the
// walk ends at the first node of any other kind.
void TrackOutputAssignment(ParseContext& context, Node* target)
{
    Node* member = nullptr;
    Node* node = target;
    while (OperatorNode* op = AsOperator(node)) {
        if (op->right != nullptr) {
            member = op->right;
        }
        node = op->left;
    }
    const VariableNode* variable = AsVariable(node);
    if (variable == nullptr || variable == context.dummy || !(variable->name == "output")) {
        return;
    }
    if (const VariableNode* memberName = AsVariable(member)) {
        RemoveUnassignedOutput(context, memberName->name.GetText());
    }
}

// A variable, possibly in parentheses, subscripted or reached through
// members; a swizzle that names a component twice cannot be written.
bool IsModifiableLValue(ParseContext& context, Node* target)
{
    const Type* type = GetNodeType(target);
    if (type == nullptr || !type->IsValidVariableType() || (type->qualifiers & QUALIFIER_CONST) != 0) {
        return false;
    }
    Node* node = target;
    while (OperatorNode* op = AsOperator(node)) {
        if (op->operatorIndex != OP_PARENTHESES && op->operatorIndex != OP_MEMBER &&
            op->operatorIndex != OP_SUBSCRIPT) {
            return false;
        }
        if (op->operatorIndex == OP_MEMBER) {
            const Type* operandType = GetNodeType(op->left);
            const VariableNode* member = AsVariable(op->right);
            if (operandType != nullptr && operandType->baseType != BaseType::STRUCT && member != nullptr &&
                SwizzleRepeats(member->name.GetText())) {
                return false;
            }
        }
        node = op->left;
    }
    const VariableNode* variable = AsVariable(node);
    return variable != nullptr && variable != context.dummy;
}

// "=" between struct values: the same struct, and arrays only of one size
// in an initialisation.
bool StructAssignmentMatches(const Type& left, const Type& right, bool isInitialization)
{
    if (!IsStructValue(&left) || !IsStructValue(&right) || !(left.name == right.name) ||
        left.vectorSize != right.vectorSize || left.matrixSize != right.matrixSize ||
        left.textureDimension != right.textureDimension || left.isBuffer != right.isBuffer) {
        return false;
    }
    if (isInitialization) {
        return left.arraySize == right.arraySize;
    }
    return left.arraySize == 0 && right.arraySize == 0;
}

void ReportNoOperator(ParseContext& context, const OperatorNode* node)
{
    ReportErrorAt(
        context, node,
        String::Formatted(SemanticMessage::kNoMatchingOperator, GetOperatorText(node->operatorIndex)).GetText());
}

}  // namespace

bool FindOperatorOverload(ParseContext& context, OperatorNode* node, Node* left, Node* right, bool isAssignment,
                          bool isInitialization)
{
    node->left = left;
    node->right = right;
    const Type* leftType = GetNodeType(left);
    const Type* rightType = GetNodeType(right);
    const OperatorOverload* row = leftType == nullptr || (right != nullptr && rightType == nullptr)
                                      ? nullptr
                                      : FindOperatorOverloadRow(context.operators, node->operatorIndex, *leftType,
                                                                rightType, !isAssignment, isInitialization);
    if (row == nullptr) {
        ReportNoOperator(context, node);
        return false;
    }
    const int32_t arraySize = leftType->arraySize;
    const uint32_t qualifiers = leftType->qualifiers;
    const bool constant = leftType->isConstant != 0 && (rightType == nullptr || rightType->isConstant != 0);
    node->left = ConvertOperand(context, left, row->left);
    node->right = right != nullptr ? ConvertOperand(context, right, row->right) : nullptr;
    node->type = row->result;
    node->type.arraySize = arraySize;
    node->type.qualifiers = qualifiers;
    node->type.isConstant = constant ? 1 : 0;
    return true;
}

void CheckOperator(ParseContext& context, OperatorNode* node, Node* left, Node* right)
{
    if (node == nullptr) {
        return;
    }
    node->right = right;
    if (left == nullptr) {
        return;
    }
    node->left = left;
    const uint32_t index = node->operatorIndex;
    const bool isAssignment = IsAssignmentOperator(index) || IsBitwiseAssignment(index);
    if (!isAssignment) {
        if (IsStepOperator(index) && !IsModifiableLValue(context, left)) {
            ReportErrorAt(context, node, SemanticMessage::kNotLValue);
            return;
        }
        FindOperatorOverload(context, node, left, right, false, false);
        return;
    }
    if (context.unassignedOutputs.GetCount() > 0) {
        TrackOutputAssignment(context, left);
    }
    const bool isInitialization = (node->flags & NODE_FLAG_INITIALIZATION) != 0;
    if (!isInitialization && !IsModifiableLValue(context, left)) {
        ReportErrorAt(context, node, SemanticMessage::kNotLValue);
        return;
    }
    if (index == OP_ASSIGN && (IsStructValue(GetNodeType(left)) || IsStructValue(GetNodeType(right)))) {
        const Type* leftType = GetNodeType(left);
        const Type* rightType = GetNodeType(right);
        if (rightType == nullptr || !StructAssignmentMatches(*leftType, *rightType, isInitialization)) {
            ReportNoOperator(context, node);
            return;
        }
        node->type = *leftType;
        return;
    }
    FindOperatorOverload(context, node, left, right, true, index == OP_ASSIGN && isInitialization);
}

}  // namespace ShaderTool
