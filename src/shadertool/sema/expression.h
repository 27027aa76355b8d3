#pragma once

#include "shadertool/ast/node.h"
#include "shadertool/basic/token.h"
#include "shadertool/basic/type.h"
#include "shadertool/parser/parse_context.h"
#include "shadertool/sema/function_table.h"

// Typing of calls, operators, member accesses and subscripts while the
// grammar builds them. Every failure is reported and leaves the node with
// the undefined type; the parse goes on.
namespace ShaderTool {

// A Call of the type constructor named by the type's text ("float3").
FunctionNode* CreateConstructorCall(ParseContext& context, const Type& type, SourceLocation location);

// The entry the call resolves to, or null; tells whether any function of
// the call's name exists.
FunctionEntry* ResolveFunctionCall(ParseContext& context, FunctionNode& call, bool* nameExists);

// Argument conversions, the constant flag of constructors and the rules of
// loadIndices() and trace(), for a call resolved to the callee.
void CheckCallArguments(ParseContext& context, FunctionNode& call, const FunctionNode& callee);

// Resolves a call whose argument list is complete and types it.
void FinishCall(ParseContext& context, FunctionNode* call);

// Assignment targets, output tracking, then the overload; the operator gets
// its operands even when it stays unresolved.
void CheckOperator(ParseContext& context, OperatorNode* node, Node* left, Node* right);

// The first overload of the node's operator that accepts the operands;
// converts them, sets the node's operands and type. False when none matched.
bool FindOperatorOverload(ParseContext& context, OperatorNode* node, Node* left, Node* right, bool isAssignment,
                          bool isInitialization);

// The type of a member or swizzle of the operand; the undefined type when
// there is none. Tells whether a swizzle repeats a component.
Type GetMemberType(ParseContext& context, const Node* operand, const char* memberName, bool* repeats);

// operand . member, typed; "_dummy" operands and an error when there is no such member.
OperatorNode* CreateMemberAccess(ParseContext& context, Node* operand, const char* memberName,
                                 SourceLocation periodLocation, SourceLocation nameLocation);

// A stage variable stands for the stage interface, which each target
// declares in its own form: an expression may name it only to reach a member.
// Run where a postfix expression becomes an operand, after any member access.
void CheckStageVariableUse(ParseContext& context, const Node* expression, SourceLocation location);

// operand [ index ], typed.
OperatorNode* CreateSubscript(ParseContext& context, Node* operand, Node* index, SourceLocation location);

// The type of a swizzle of a vector: 1 to 4 letters all of x y z w or all of
// r g b a, none past the vector's size; the vector's kind and qualifiers,
// the swizzle's length. The undefined type for anything else.
Type GetSwizzleType(const Type& vector, const char* swizzle, bool* repeats);

// Whether a swizzle text repeats a component letter.
bool SwizzleRepeats(const char* swizzle);

}  // namespace ShaderTool
