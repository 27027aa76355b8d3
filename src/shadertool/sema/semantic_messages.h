#pragma once

// Error messages of the grammar actions, the semantic checks, the expression
// typing and the stage structs, written as "%s(%i:%i) error: %s\n" lines.
// The parser's own "syntax error" and "memory exhausted" come from bison.
namespace ShaderTool::SemanticMessage {

// Identifiers, declarations and structs.
constexpr const char* kUndeclaredIdentifier = "undeclared identifier '%s'.";
constexpr const char* kInvalidTypeSpecifier = "invalid type specifier.";
constexpr const char* kVariableNamedLikeBuiltIn = "variable can not have the same name as built-in variable '%s'.";
constexpr const char* kParameterNamedLikeBuiltIn = "parameter can not have the same name as built-in variable '%s'.";
constexpr const char* kAlreadyDeclared = "symbol '%s' already has a declaration.";
constexpr const char* kConstNotInitialized = "'const' variable must be initialized.";
constexpr const char* kConstArray = "'const' is not allowed in array declarations.";
constexpr const char* kConstInitializerNotConstant = "initializer of 'const' variable must be a constant expression.";
constexpr const char* kConstInFunctionDeclaration = "'const' is not allowed in function declarations.";
constexpr const char* kInvalidDeclaration = "invalid declaration.";
constexpr const char* kQualifiedStructDeclaration = "qualifiers are not allowed in struct declarations.";
constexpr const char* kStructNotGlobal = "structs must be declared in global scope.";
constexpr const char* kDuplicateMember = "struct '%s' already has member '%s'.";
constexpr const char* kStructAlreadyDeclared = "struct '%s' already has a declaration.";

// Arrays.
constexpr const char* kArraySizeZero = "array size must be larger than 0.";
constexpr const char* kArraySizeTooLarge = "array size is too large.";
constexpr const char* kArraySizeRequired = "array size is required when the initializer list is omitted.";
constexpr const char* kArraySizeMismatch =
    "array size does not match with the number of items in the initializer list.";
constexpr const char* kListItemMismatch =
    "member in initializer list does not match the list type. NOTE: implicit conversion is not allowed.";

// Functions, statements and returns.
constexpr const char* kMainSignature = "main() must be defined only and can not have overloads.";
constexpr const char* kAlreadyDefined = "function '%s' already has a definition.";
constexpr const char* kFunctionAlreadyDeclared = "function '%s' already has a declaration.";
constexpr const char* kLocalFunctionDeclaration = "local function declarations are not allowed.";
constexpr const char* kNotBoolean = "expression must be a boolean expression.";
constexpr const char* kStageOnly = "expression is only allowed in %s shader.";
constexpr const char* kReturnFromMain = "returning from main() is not allowed.";
constexpr const char* kReturnTypeMismatch = "return value type does not match the function type.";
constexpr const char* kMissingReturn = "function '%s' must return a value.";
constexpr const char* kMainUndefined = "main() has no definition.";
constexpr const char* kReferencedUndefined = "function '%s' is referenced but has no definition.";

// Expression typing.
constexpr const char* kUndeclaredFunction = "undeclared function '%s'.";
constexpr const char* kNoMatchingFunction = "no instance of function '%s' matches the argument list.";
constexpr const char* kLoadIndicesArgument = "the first argument of loadIndices() must be a buffer of type 'INDEX'.";
constexpr const char* kTraceArgument = "the last argument of trace() must be a literal.";
constexpr const char* kNoMatchingOperator = "no operator '%s' matches the operands.";
constexpr const char* kNotLValue = "expression must be a modifiable l-value.";
constexpr const char* kNoMember = "'%s' has no member '%s'.";
constexpr const char* kIndexBufferSubscript = "buffers of type 'INDEX' must be accessed via loadIndices() only.";

// Stage interface.
constexpr const char* kInvalidRayPayload = "can not declare ray payload variable '%s' as its type '%s' is invalid.";
constexpr const char* kNoPixelOutput = "at least one pixel output variable must be declared.";
constexpr const char* kVertexOutputNotSet = "vertex shader output '%s' is not set.";
constexpr const char* kStageStructAsType = "built-in type '%s' can not be used in declarations.";
constexpr const char* kStageVariableUsedWhole = "built-in variable '%s' can only be used through its members.";

}  // namespace ShaderTool::SemanticMessage
