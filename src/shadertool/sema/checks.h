#pragma once

#include "shadertool/ast/node.h"
#include "shadertool/basic/token.h"
#include "shadertool/basic/type.h"
#include "shadertool/parser/declared_type.h"
#include "shadertool/parser/parse_context.h"

// The semantic checks that the grammar actions run on declarations,
// functions, returns and statements, and the checks after the parse. Each
// reports through the step log, clears the success flag and lets the parse
// go on.
namespace ShaderTool {

// Adds a named variable to the symbol table; a name already visible is an
// error and is not declared again. False when not declared.
bool DeclareSymbol(ParseContext& context, VariableNode* variable);

// Checks and declares one declarator; returns its Variable, or with an
// initialiser the initialising Operator "=".
Node* DeclareVariable(ParseContext& context, const Type& type, const char* name, SourceLocation nameLocation,
                      Node* initializer, SourceLocation assignLocation);

// Size and list rules of an array declarator; gives an unsized array the
// list's length and the list the array's type.
void CheckArrayInitializer(ParseContext& context, TypeSpecifier& specifier, GroupNode* list, SourceLocation location);

// Enters a struct with the member Variables of the block; returns its specifier.
TypeSpecifier DeclareStruct(ParseContext& context, const char* name, SourceLocation nameLocation,
                            const GroupNode* members);

// The StructDeclaration group of a struct type written alone (located at the
// type); null after an error.
GroupNode* CreateStructDeclaration(ParseContext& context, const TypeSpecifier& specifier, SourceLocation location);

// The StructDeclaration group listing the members of a known struct.
GroupNode* MakeStructDeclarationGroup(ParseContext& context, const char* structName);

// A struct named as a type must not be one of the stage structs: no target
// has a type of its own for them.
void CheckUserType(ParseContext& context, const char* name, SourceLocation location);

// Return-type or parameter rules.
void CheckParameter(ParseContext& context, Node* node, bool isReturnType);

// The rules for main, the function table entry and redefinitions.
void RegisterFunction(ParseContext& context, FunctionNode* function, bool isDefinition);

// Registers a definition, opens its scope and declares its parameters (and
// for main the stage variables).
void BeginFunctionDefinition(ParseContext& context, FunctionNode* function);

// Appends the body, checks that a value is returned and closes the scope.
void EndFunctionDefinition(ParseContext& context, FunctionNode* function, Node* body);

void CheckReturn(ParseContext& context, JumpNode* jump);

// After the parse: main defined, every called function defined.
void CheckFunctions(ParseContext& context);

// The condition of if, while, do-while and for: bool, int or uint.
void CheckCondition(ParseContext& context, Node* condition);

// discard belongs to the pixel stage.
void CheckDiscard(ParseContext& context, const JumpNode* jump);

}  // namespace ShaderTool
