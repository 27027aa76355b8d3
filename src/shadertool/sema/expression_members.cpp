#include <cstring>

#include "shadertool/basic/operator.h"
#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/expression.h"
#include "shadertool/sema/semantic_messages.h"

namespace ShaderTool {

namespace {

// The component a swizzle letter names (1 to 4) in one of the two letter
// sets; 0 for a letter of neither set.
int SwizzleComponent(char letter, const char* set)
{
    const char* found = std::strchr(set, letter);
    return letter != 0 && found != nullptr ? static_cast<int>(found - set) + 1 : 0;
}

}  // namespace

Type GetSwizzleType(const Type& vector, const char* swizzle, bool* repeats)
{
    *repeats = false;
    const size_t length = std::strlen(swizzle);
    if (length < 1 || length > 4 || vector.vectorSize < 2 || vector.matrixSize != 0 || vector.isBuffer != 0 ||
        vector.arraySize != 0 || !vector.IsNumeric()) {
        return Type();
    }
    for (const char* set : {"xyzw", "rgba"}) {
        bool valid = true;
        for (size_t index = 0; index < length && valid; ++index) {
            const int component = SwizzleComponent(swizzle[index], set);
            valid = component != 0 && component <= vector.vectorSize;
        }
        if (valid) {
            *repeats = SwizzleRepeats(swizzle);
            return Type::MakeVector(vector.baseType, static_cast<int32_t>(length), vector.qualifiers);
        }
    }
    return Type();
}

bool SwizzleRepeats(const char* swizzle)
{
    for (const char* letter = swizzle; *letter != 0; ++letter) {
        if (std::strchr(letter + 1, *letter) != nullptr) {
            return true;
        }
    }
    return false;
}

Type GetMemberType(ParseContext& context, const Node* operand, const char* memberName, bool* repeats)
{
    *repeats = false;
    const Type* operandType = GetNodeType(operand);
    Type member;
    // An array has elements, not members: it must be subscripted first.
    if (operandType == nullptr || operandType->arraySize != 0) {
        return member;
    }
    if (operandType->baseType == BaseType::STRUCT) {
        const StructEntry* entry = context.structs.Find(operandType->name.GetText());
        const StructMember* found = entry != nullptr ? entry->FindMember(memberName) : nullptr;
        if (found == nullptr) {
            return member;
        }
        member = found->type;
        // A member of a const struct is as read-only as the struct.
        member.qualifiers |= operandType->qualifiers & QUALIFIER_CONST;
    } else {
        member = GetSwizzleType(*operandType, memberName, repeats);
        if (member.baseType == BaseType::UNDEFINED) {
            return member;
        }
    }
    member.isConstant = operandType->isConstant;
    return member;
}

OperatorNode* CreateMemberAccess(ParseContext& context, Node* operand, const char* memberName,
                                 SourceLocation periodLocation, SourceLocation nameLocation)
{
    OperatorNode* node = CreateOperatorNode(context, OP_MEMBER, periodLocation);
    bool repeats = false;
    const Type memberType = GetMemberType(context, operand, memberName, &repeats);
    node->type = memberType;
    if (memberType.IsValidVariableType()) {
        if (repeats) {
            operand->flags |= NODE_FLAG_REPEATED_SWIZZLE;
        }
        node->left = operand;
        node->right = CreateVariableNode(context, memberType, memberName, nameLocation);
        return node;
    }
    node->left = context.dummy;
    node->right = context.dummy;
    const Type* operandType = GetNodeType(operand);
    const String typeText = operandType != nullptr ? GetTypeText(*operandType, false) : String();
    ReportErrorAt(context, node,
                  String::Formatted(SemanticMessage::kNoMember, typeText.GetText(), memberName).GetText());
    return node;
}

void CheckStageVariableUse(ParseContext& context, const Node* expression, SourceLocation location)
{
    const VariableNode* variable = AsVariable(expression);
    if (variable != nullptr && variable->isStageVariable) {
        ReportError(context, location.line, location.column,
                    String::Formatted(SemanticMessage::kStageVariableUsedWhole, variable->name.GetText()).GetText());
    }
}

OperatorNode* CreateSubscript(ParseContext& context, Node* operand, Node* index, SourceLocation location)
{
    OperatorNode* node = CreateOperatorNode(context, OP_SUBSCRIPT, location);
    const Type* operandType = GetNodeType(operand);
    if (operandType == nullptr) {
        node->left = operand;
        node->right = index;
        return node;
    }
    if (operandType->isBuffer != 0) {
        node->left = operand;
        node->right = index;
        if (operandType->arraySize != 0) {
            node->type = *operandType;
            node->type.arraySize = 0;
            return node;
        }
        if (operandType->isIndexBuffer != 0) {
            ReportErrorAt(context, node, SemanticMessage::kIndexBufferSubscript);
        }
        node->type = Type::MakeVector(operandType->baseType, operandType->vectorSize, operandType->qualifiers);
        node->type.matrixSize = operandType->matrixSize;
        return node;
    }
    if (operandType->arraySize != 0) {
        node->left = operand;
        node->right = index;
        node->type = *operandType;
        node->type.arraySize = 0;
        return node;
    }
    FindOperatorOverload(context, node, operand, index, false, false);
    return node;
}

}  // namespace ShaderTool
