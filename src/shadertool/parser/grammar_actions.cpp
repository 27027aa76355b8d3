#include "shadertool/parser/grammar_actions.h"

#include "shadertool/basic/operator.h"
#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/checks.h"
#include "shadertool/sema/expression.h"
#include "shadertool/sema/semantic_messages.h"

namespace ShaderTool {

namespace {

// The type a declaration group takes from its first declarator.
Type GetDeclaratorType(Node* declarator)
{
    if (const OperatorNode* assignment = AsOperator(declarator)) {
        declarator = assignment->left;
    }
    const Type* type = GetNodeType(declarator);
    return type != nullptr ? *type : Type();
}

GroupNode* MakeVariableDeclaration(ParseContext& context, Node* declarator)
{
    GroupNode* group = CreateNode(context, VariableDeclaration);
    group->type = GetDeclaratorType(declarator);
    AppendChild(group, declarator);
    return group;
}

}  // namespace

Node* UseIdentifier(ParseContext& context, const GrammarSymbol& identifier)
{
    if (VariableNode* declared = context.symbols.Find(identifier.text)) {
        return declared;
    }
    ReportError(context, identifier.line, identifier.column,
                String::Formatted(SemanticMessage::kUndeclaredIdentifier, identifier.text).GetText());
    return CreateVariableNode(context, Type(), identifier.text, identifier.GetLocation());
}

Node* MakeParentheses(ParseContext& context, Node* expression, SourceLocation location)
{
    OperatorNode* node = CreateOperatorNode(context, OP_PARENTHESES, location);
    node->left = expression;
    if (const Type* type = GetNodeType(expression)) {
        node->type = *type;
    }
    return node;
}

Node* MakeOperator(ParseContext& context, uint32_t operatorIndex, Node* left, Node* right, SourceLocation location)
{
    OperatorNode* node = CreateOperatorNode(context, operatorIndex, location);
    CheckOperator(context, node, left, right);
    return node;
}

Node* MakeConditional(ParseContext& context, Node* condition, Node* whenTrue, Node* whenFalse,
                      SourceLocation questionLocation, SourceLocation colonLocation)
{
    Node* alternatives = MakeOperator(context, OP_ALTERNATIVES, whenTrue, whenFalse, colonLocation);
    return MakeOperator(context, OP_CONDITIONAL, condition, alternatives, questionLocation);
}

Node* MakeCallHeader(ParseContext& context, const GrammarSymbol& identifier, SourceLocation location)
{
    if (identifier.tokenKind == TOKEN_IDENTIFIER) {
        return CreateFunctionNode(context, NodeKind::Call, identifier.text, location);
    }
    return CreateConstructorCall(context, MakeTypeFromSpecifier(identifier.specifier), location);
}

void AppendToChildBlock(Node* function, Node* child)
{
    FunctionNode* node = AsFunction(function);
    if (node != nullptr && node->children.GetCount() > 0) {
        AppendChild(AsGroup(node->children[0]), child);
    }
}

Node* MakeFunctionHeader(ParseContext& context, const TypeSpecifier& specifier, const char* name,
                         SourceLocation location)
{
    FunctionNode* function = CreateFunctionNode(context, NodeKind::Function, name, location);
    function->type = MakeTypeFromSpecifier(specifier);
    return function;
}

Node* MakeParameter(ParseContext& context, const TypeSpecifier& specifier, int32_t arraySize, const char* name,
                    SourceLocation location)
{
    TypeSpecifier parameter = specifier;
    parameter.arraySize = arraySize;
    return CreateVariableNode(context, MakeTypeFromSpecifier(parameter), name, location);
}

void MakeConst(Node* node)
{
    if (Type* type = GetNodeType(node)) {
        type->qualifiers |= QUALIFIER_CONST;
    }
}

int32_t ReadArraySize(ParseContext& context, const GrammarSymbol& literal)
{
    const int64_t size = ReadArraySizeLiteral(literal.text);
    if (size < 0) {
        ReportError(context, literal.line, literal.column, SemanticMessage::kArraySizeTooLarge);
        return 1;
    }
    return static_cast<int32_t>(size);
}

Node* DeclareArray(ParseContext& context, const TypeSpecifier& specifier, GroupNode* list, const GrammarSymbol& name,
                   Node* initializer, SourceLocation assignLocation)
{
    TypeSpecifier array = specifier;
    CheckArrayInitializer(context, array, list, name.GetLocation());
    return DeclareVariable(context, MakeTypeFromSpecifier(array), name.text, name.GetLocation(), initializer,
                           assignLocation);
}

void BeginDeclaration(ParseContext& context, GrammarSymbol& declaration, Node* declarator, bool mayDeclareStruct)
{
    GroupNode* variables = MakeVariableDeclaration(context, declarator);
    declaration.second = variables;
    declaration.node = variables;
    if (mayDeclareStruct && declaration.specifier.hasStructBody != 0) {
        GroupNode* block = CreateNode(context, Block);
        AppendChild(block, MakeStructDeclarationGroup(context, declaration.specifier.structName));
        AppendChild(block, variables);
        declaration.node = block;
    }
}

void AppendDeclarator(ParseContext& context, GrammarSymbol& declaration, Node* declarator)
{
    GroupNode* variables = AsGroup(declaration.second);
    if (variables != nullptr) {
        AppendChild(variables, declarator);
        return;
    }
    // The list began with a type alone: its further declarators open the variable declaration.
    variables = MakeVariableDeclaration(context, declarator);
    declaration.second = variables;
    if (declaration.node == nullptr) {
        declaration.node = variables;
        return;
    }
    GroupNode* block = CreateNode(context, Block);
    AppendChild(block, declaration.node);
    AppendChild(block, variables);
    declaration.node = block;
}

void MoveChildren(GroupNode* destination, GroupNode* source)
{
    if (destination == nullptr || source == nullptr) {
        return;
    }
    for (Node* child : source->children) {
        destination->children.Add(child);
    }
    source->children.Clear();
}

void SetMemberTypes(GroupNode* members, const Type& type)
{
    if (members == nullptr) {
        return;
    }
    for (Node* member : members->children) {
        if (Type* memberType = GetNodeType(member)) {
            *memberType = type;
        }
    }
}

void RefuseLocalPrototype(ParseContext& context, Node* declaration)
{
    if (declaration != nullptr && declaration->kind == NodeKind::Function) {
        ReportErrorAt(context, declaration, SemanticMessage::kLocalFunctionDeclaration);
    }
}

Node* MakeBraced(Node* block)
{
    if (GroupNode* group = AsGroup(block)) {
        group->braced = true;
    }
    return block;
}

Node* MakeReturn(ParseContext& context, Node* expression, SourceLocation location)
{
    JumpNode* jump = CreateJumpNode(context, JUMP_RETURN, location);
    jump->expression = expression;
    CheckReturn(context, jump);
    return jump;
}

}  // namespace ShaderTool
