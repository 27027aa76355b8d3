#pragma once

#include <cstdint>

#include "shadertool/ast/node.h"
#include "shadertool/basic/token.h"
#include "shadertool/basic/type.h"
#include "shadertool/parser/parse_context.h"

// The node makers of the grammar actions. Each new node goes into the
// context's node list at once, whether or not it ends up in the tree.
namespace ShaderTool {

// A Group of the sub-kind with the undefined type and no children.
GroupNode* CreateNode(ParseContext& context, uint32_t subKind);

// A Function or Call whose child 0 is a new empty Block.
FunctionNode* CreateFunctionNode(ParseContext& context, NodeKind kind, const char* name, SourceLocation location);

// A Loop; a null body becomes an empty braced Block.
LoopNode* CreateLoopNode(ParseContext& context, uint32_t loopKind, Node* init, Node* condition, Node* step, Node* body);

// A Selection; a null then-statement becomes an empty braced Block.
SelectionNode* CreateSelectionNode(ParseContext& context, Node* condition, Node* thenStatement, Node* elseStatement);

JumpNode* CreateJumpNode(ParseContext& context, uint32_t jumpCode, SourceLocation location);

// A constant literal of vector size 1; a float literal gets an 'f' unless it
// ends in 'f' or 'F'.
ConstantNode* CreateConstantNode(ParseContext& context, BaseType baseType, const char* text, SourceLocation location);

// An Operator with the undefined type and no operands.
OperatorNode* CreateOperatorNode(ParseContext& context, uint32_t operatorIndex, SourceLocation location);

VariableNode* CreateVariableNode(ParseContext& context, const Type& type, const char* name, SourceLocation location);

// Appends a child to a group unless the child is null.
void AppendChild(GroupNode* group, Node* child);

}  // namespace ShaderTool
