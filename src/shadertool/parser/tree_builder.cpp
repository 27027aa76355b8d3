#include "shadertool/parser/tree_builder.h"

namespace ShaderTool {

namespace {

template <class T>
T* Locate(T* node, SourceLocation location)
{
    node->line = location.line;
    node->column = location.column;
    return node;
}

GroupNode* CreateEmptyBracedBlock(ParseContext& context)
{
    GroupNode* block = CreateNode(context, Block);
    block->braced = true;
    return block;
}

}  // namespace

GroupNode* CreateNode(ParseContext& context, uint32_t subKind) { return AdoptNode(context, new GroupNode(subKind)); }

FunctionNode* CreateFunctionNode(ParseContext& context, NodeKind kind, const char* name, SourceLocation location)
{
    FunctionNode* function = Locate(AdoptNode(context, new FunctionNode(kind)), location);
    function->name.Assign(name);
    function->children.Add(CreateNode(context, Block));
    return function;
}

LoopNode* CreateLoopNode(ParseContext& context, uint32_t loopKind, Node* init, Node* condition, Node* step, Node* body)
{
    LoopNode* loop = AdoptNode(context, new LoopNode);
    loop->loopKind = loopKind;
    loop->init = init;
    loop->condition = condition;
    loop->step = step;
    loop->body = body != nullptr ? body : CreateEmptyBracedBlock(context);
    return loop;
}

SelectionNode* CreateSelectionNode(ParseContext& context, Node* condition, Node* thenStatement, Node* elseStatement)
{
    SelectionNode* selection = AdoptNode(context, new SelectionNode);
    selection->condition = condition;
    selection->thenStatement = thenStatement != nullptr ? thenStatement : CreateEmptyBracedBlock(context);
    selection->elseStatement = elseStatement;
    return selection;
}

JumpNode* CreateJumpNode(ParseContext& context, uint32_t jumpCode, SourceLocation location)
{
    JumpNode* jump = Locate(AdoptNode(context, new JumpNode), location);
    jump->jumpCode = jumpCode;
    return jump;
}

ConstantNode* CreateConstantNode(ParseContext& context, BaseType baseType, const char* text, SourceLocation location)
{
    ConstantNode* constant = Locate(AdoptNode(context, new ConstantNode), location);
    constant->type = Type::MakeVector(baseType, 1);
    constant->type.isConstant = 1;
    constant->text.Assign(text);
    const int length = constant->text.GetLength();
    if (baseType == BaseType::FLOAT && (length == 0 || (text[length - 1] != 'f' && text[length - 1] != 'F'))) {
        constant->text.AppendChar('f');
    }
    return constant;
}

OperatorNode* CreateOperatorNode(ParseContext& context, uint32_t operatorIndex, SourceLocation location)
{
    OperatorNode* node = Locate(AdoptNode(context, new OperatorNode), location);
    node->operatorIndex = operatorIndex;
    return node;
}

VariableNode* CreateVariableNode(ParseContext& context, const Type& type, const char* name, SourceLocation location)
{
    VariableNode* variable = Locate(AdoptNode(context, new VariableNode), location);
    variable->type = type;
    variable->name.Assign(name);
    return variable;
}

void AppendChild(GroupNode* group, Node* child)
{
    if (group != nullptr && child != nullptr) {
        group->children.Add(child);
    }
}

}  // namespace ShaderTool
