#pragma once

// Texts of the translators' step-log errors (written as "Error: %s\n").
namespace ShaderTool {

constexpr const char* kTranslatorBitwiseNotSupported = "bit-wise operations are not supported.";
constexpr const char* kTranslatorFunctionNotSupported = "function '%s' is not supported.";
constexpr const char* kTranslatorInputNotSupported = "'input.%s' is not supported.";
constexpr const char* kTranslatorBitwiseNotSupportedInLevel = "bit-wise operations are not supported in level '%s'.";
constexpr const char* kTranslatorPayloadSlotInvalid =
    "ray payload '%s' has slot %i; the slots of %i ray payloads must be 0 to %i, each used once.";
constexpr const char* kTranslatorTraceSlotUnknown = "trace names payload slot %s, which no ray payload has.";
constexpr const char* kTranslatorTextureBufferSlotShared =
    "texture '%s' and buffer '%s' both have slot %i and would share register t0, space%i.";
constexpr const char* kTranslatorSampledBothWays = "texture '%s' is sampled both with and without a comparison.";
constexpr const char* kTranslatorNoInputPayload = "the %s shader has no input ray payload.";
constexpr const char* kTranslatorMatrixConstantArrayWhole =
    "constant '%s' is an array of matrices, which is read one element at a time.";

}  // namespace ShaderTool
