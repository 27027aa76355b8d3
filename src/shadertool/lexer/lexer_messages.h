#pragma once

// Error messages of the tokenizers, written as "%s(%i:%i) error: %s\n" lines.
namespace ShaderTool::LexerMessage {

constexpr const char* kTokenTooLong = "too many characters in token (maximum is %i).";
constexpr const char* kReservedWord = "'%s' is a reserved word.";
constexpr const char* kOctalDigit = "unexpected digit in octal literal.";
constexpr const char* kFloatCharacter = "unexpected character in floating point literal.";

}  // namespace ShaderTool::LexerMessage
