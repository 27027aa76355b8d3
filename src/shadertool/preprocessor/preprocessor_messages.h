#pragma once

// Messages of the preprocessor and its directive parser. Errors inside a
// source are written as "%s(%i:%i) error: %s\n" lines.
namespace ShaderTool::PreprocessorMessage {

constexpr const char* kUnderscoreName = "identifiers must not start with an underscore.";
constexpr const char* kRedefinition = "redefinition of '%s'.";
constexpr const char* kIncludeNotFound = "include file was not found.";
constexpr const char* kIncludeNotRead = "include file could not be read.";
constexpr const char* kIncludeRecursive = "include file includes itself.";
constexpr const char* kTooManyIncludes = "too many include files (maximum is %i).";
constexpr const char* kExpectedEndif = "expected endif directive.";
constexpr const char* kTooManyIfs = "too many nested if directives.";
constexpr const char* kUnexpectedElif = "unexpected elif directive.";
constexpr const char* kUnexpectedElse = "unexpected else directive.";
constexpr const char* kUnexpectedEndif = "unexpected endif directive.";
constexpr const char* kInvalidArrayName = "invalid array name.";
constexpr const char* kStringExpression = "expression evaluating to a string literal is not allowed.";
constexpr const char* kUndeclaredFunction = "undeclared function-like macro '%s'.";
constexpr const char* kInvalidArguments = "invalid arguments.";
constexpr const char* kIncludeNotString = "expression must evaluate to a string literal.";
constexpr const char* kDivisionByZero = "division by zero.";
constexpr const char* kExpansionTooLong = "expanded text is too long (maximum is %i characters).";
// Written as an "Error: %s\n" line; the call does not fail.
constexpr const char* kInvalidDefinition = "invalid additional preprocessor definition '%s=%s' specified.";
constexpr const char* kDefinitionTooLong = "definition '%s' has a value longer than %i characters.";

}  // namespace ShaderTool::PreprocessorMessage
