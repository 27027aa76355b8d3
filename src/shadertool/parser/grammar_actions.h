#pragma once

#include <cstdint>

#include "shadertool/parser/grammar_symbol.h"
#include "shadertool/parser/parse_context.h"

// The pieces of the grammar's actions that take more than a call: each
// builds a part of the tree and runs the checks it needs.
namespace ShaderTool {

// The declaring Variable of a name in use; an undeclared name is reported
// and stands as a new Variable of the undefined type.
Node* UseIdentifier(ParseContext& context, const GrammarSymbol& identifier);

// ( expression ): an Operator "()" with the expression's type.
Node* MakeParentheses(ParseContext& context, Node* expression, SourceLocation location);

// A unary (right null), binary or assignment operator, checked and typed.
Node* MakeOperator(ParseContext& context, uint32_t operatorIndex, Node* left, Node* right, SourceLocation location);

// a ? b : c: the ":" node of b and c first, then the "?" node of a and it.
Node* MakeConditional(ParseContext& context, Node* condition, Node* whenTrue, Node* whenFalse,
                      SourceLocation questionLocation, SourceLocation colonLocation);

// The Call of a function name or a type constructor, at its parenthesis.
Node* MakeCallHeader(ParseContext& context, const GrammarSymbol& identifier, SourceLocation location);

// Appends an argument or parameter to child 0 of a Call or Function.
void AppendToChildBlock(Node* function, Node* child);

Node* MakeFunctionHeader(ParseContext& context, const TypeSpecifier& specifier, const char* name,
                         SourceLocation location);

// A parameter Variable; an unnamed one has an empty name.
Node* MakeParameter(ParseContext& context, const TypeSpecifier& specifier, int32_t arraySize, const char* name,
                    SourceLocation location);

void MakeConst(Node* node);

// The size of an array specifier's literal; a literal too large for a size
// is reported and read as 1.
int32_t ReadArraySize(ParseContext& context, const GrammarSymbol& literal);

// An array declarator: the size and list rules, then the declaration.
Node* DeclareArray(ParseContext& context, const TypeSpecifier& specifier, GroupNode* list, const GrammarSymbol& name,
                   Node* initializer, SourceLocation assignLocation);

// The first declarator of a declaration: its VariableDeclaration group,
// preceded by the struct's declaration when the type was written with its
// members and may carry them.
void BeginDeclaration(ParseContext& context, GrammarSymbol& declaration, Node* declarator, bool mayDeclareStruct);

// A further declarator of the list, into the declaration's VariableDeclaration group.
void AppendDeclarator(ParseContext& context, GrammarSymbol& declaration, Node* declarator);

void MoveChildren(GroupNode* destination, GroupNode* source);
void SetMemberTypes(GroupNode* members, const Type& type);

// A prototype written as a statement is refused.
void RefuseLocalPrototype(ParseContext& context, Node* declaration);

// Marks a block as written with braces.
Node* MakeBraced(Node* block);

Node* MakeReturn(ParseContext& context, Node* expression, SourceLocation location);

}  // namespace ShaderTool
