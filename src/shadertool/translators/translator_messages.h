#pragma once

// Texts of the translators' step-log errors (written as "Error: %s\n").
namespace ShaderTool {

constexpr const char* kTranslatorBitwiseNotSupported = "bit-wise operations are not supported.";
constexpr const char* kTranslatorFunctionNotSupported = "function '%s' is not supported.";
constexpr const char* kTranslatorInputNotSupported = "'input.%s' is not supported.";
constexpr const char* kTranslatorBitwiseNotSupportedInLevel = "bit-wise operations are not supported in level '%s'.";

}  // namespace ShaderTool
