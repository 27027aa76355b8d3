#include "shadertool/ast/node.h"

namespace ShaderTool {

namespace {

template <class Result, class Input>
Result* CastIfKind(Input* node, NodeKind kind)
{
    return node != nullptr && node->kind == kind ? static_cast<Result*>(node) : nullptr;
}

}  // namespace

GroupNode* AsGroup(Node* node) { return CastIfKind<GroupNode>(node, NodeKind::Group); }

FunctionNode* AsFunction(Node* node)
{
    if (node != nullptr && node->kind == NodeKind::Call) {
        return static_cast<FunctionNode*>(node);
    }
    return CastIfKind<FunctionNode>(node, NodeKind::Function);
}

LoopNode* AsLoop(Node* node) { return CastIfKind<LoopNode>(node, NodeKind::Loop); }

JumpNode* AsJump(Node* node) { return CastIfKind<JumpNode>(node, NodeKind::Jump); }

ConstantNode* AsConstant(Node* node) { return CastIfKind<ConstantNode>(node, NodeKind::Constant); }

OperatorNode* AsOperator(Node* node) { return CastIfKind<OperatorNode>(node, NodeKind::Operator); }

SelectionNode* AsSelection(Node* node) { return CastIfKind<SelectionNode>(node, NodeKind::Selection); }

VariableNode* AsVariable(Node* node) { return CastIfKind<VariableNode>(node, NodeKind::Variable); }

const GroupNode* AsGroup(const Node* node) { return AsGroup(const_cast<Node*>(node)); }

const FunctionNode* AsFunction(const Node* node) { return AsFunction(const_cast<Node*>(node)); }

const VariableNode* AsVariable(const Node* node) { return AsVariable(const_cast<Node*>(node)); }

Type* GetNodeType(Node* node)
{
    if (node == nullptr) {
        return nullptr;
    }
    switch (node->kind) {
    case NodeKind::Group: return &static_cast<GroupNode*>(node)->type;
    case NodeKind::Function:
    case NodeKind::Call: return &static_cast<FunctionNode*>(node)->type;
    case NodeKind::Constant: return &static_cast<ConstantNode*>(node)->type;
    case NodeKind::Operator: return &static_cast<OperatorNode*>(node)->type;
    case NodeKind::Variable: return &static_cast<VariableNode*>(node)->type;
    default: return nullptr;
    }
}

String BuildSignature(const FunctionNode& function)
{
    String signature = function.name;
    const GroupNode* parameters = function.children.GetCount() > 0 ? AsGroup(function.children[0]) : nullptr;
    const int parameterCount = parameters != nullptr ? parameters->children.GetCount() : 0;
    for (int index = 0; index < parameterCount; ++index) {
        const Type* parameterType = GetNodeType(parameters->children[index]);
        signature.AppendChar(',');
        if (parameterType != nullptr) {
            signature.Append(GetTypeText(*parameterType, true).GetText());
        }
    }
    if (parameterCount == 0) {
        signature.AppendChar(',');
    }
    return signature;
}

const Type* GetNodeType(const Node* node) { return GetNodeType(const_cast<Node*>(node)); }

}  // namespace ShaderTool
