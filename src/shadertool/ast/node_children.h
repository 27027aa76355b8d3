#pragma once

#include <initializer_list>

#include "shadertool/ast/node.h"

namespace ShaderTool {

// Calls visit(child) for each child of the node that is there, in the order
// of the source: for walks that look at every node below one.
template <typename Visit>
void ForEachChild(const Node* node, Visit visit)
{
    auto each = [&visit](const Node* child) {
        if (child != nullptr) visit(child);
    };
    switch (node->kind) {
    case NodeKind::Group:
        for (const Node* child : AsGroup(node)->children) each(child);
        return;
    case NodeKind::Function:
    case NodeKind::Call:
        for (const Node* child : AsFunction(node)->children) each(child);
        return;
    case NodeKind::Loop: {
        const LoopNode& loop = *static_cast<const LoopNode*>(node);
        for (const Node* child : {loop.init, loop.condition, loop.step, loop.body}) each(child);
        return;
    }
    case NodeKind::Jump: each(static_cast<const JumpNode*>(node)->expression); return;
    case NodeKind::Operator: {
        const OperatorNode& operation = *static_cast<const OperatorNode*>(node);
        for (const Node* child : {operation.left, operation.right}) each(child);
        return;
    }
    case NodeKind::Selection: {
        const SelectionNode& selection = *static_cast<const SelectionNode*>(node);
        for (const Node* child : {selection.condition, selection.thenStatement, selection.elseStatement}) each(child);
        return;
    }
    case NodeKind::Constant:
    case NodeKind::Variable: return;
    }
}

}  // namespace ShaderTool
