#pragma once

// Texts of the translation driver's log lines.
namespace ShaderTool {

// Main log.
constexpr const char* kDriverTranslating = "Translating Shader XML '%s'...";
constexpr const char* kDriverNotShaderXml = "File is not a Shader XML file.\n\nTranslation SKIPPED";
constexpr const char* kDriverNoTargets =
    "No translation targets match the targets specified in the Shader XML.\n\nTranslation SKIPPED";
constexpr const char* kDriverSucceeded = "\nTranslation SUCCEEDED";
constexpr const char* kDriverFailed = "\nTranslation FAILED";
constexpr const char* kDriverNoBuffers = "target '%s' does not support buffers.";
constexpr const char* kDriverNoMultipleOutputs = "target '%s' does not support multiple pixel outputs.";
constexpr const char* kDriverNoRayTracing = "target '%s' does not support ray tracing.";
constexpr const char* kDriverNo3DTextures = "target '%s' does not support 3D textures.";
constexpr const char* kDriverNoTextureArrays = "target '%s' does not support texture arrays.";

// Step log.
constexpr const char* kDriverTranslatingSource = "Translating %s shader code of shader source %i...";
constexpr const char* kDriverTranslatingTarget = "Translating for target '%s'...";
constexpr const char* kDriverUpToDate = "Shader source is up to date, skipping translation...";
constexpr const char* kDriverRetranslating =
    "Changes or target dependent code was detected, translating up-to-date shader sources...";
constexpr const char* kDriverParseFailed = "parsing the source failed, skipping rest of the targets...";
constexpr const char* kDriverUnpairedStages = "some targets do not have both vertex and pixel shader source specified.";
constexpr const char* kDriverCannotOpen = "could not open output file '%s'.";
constexpr const char* kDriverCannotWrite = "could not write to output file '%s'.";
constexpr const char* kDriverNoCompiler =
    "target '%s' does not have a compiler set up. If this occurred at runtime, most likely the target does not "
    "support runtime compilation.";
constexpr const char* kDriverNoTranslator = "target '%s' does not have a translator set up.";
constexpr const char* kDriverFileMissing = "file does not exist.";
constexpr const char* kDriverTextNotXml = "text is not an XML database.";
constexpr const char* kDriverUnknownError = "unknown error.";

// Headings of flushed step logs.
constexpr const char* kDriverReadFailedHeading = "Failed to read the Shader XML";
constexpr const char* kDriverCompilerFailedHeading = "Failed to initialize the compiler for target '%s'";

// Output file name: directory, base name, nothing, stage name.
constexpr const char* kDriverOutputFileFormat = "%s%s%s.%s";

}  // namespace ShaderTool
