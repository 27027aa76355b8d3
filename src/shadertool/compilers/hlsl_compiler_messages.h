#pragma once

// Names and texts of the run-time HLSL compiler binding.
namespace ShaderTool {

// Library names tried from the newest version down.
constexpr const char* kHLSLCompilerLibraryFormat = "d3dcompiler_%i.dll";
constexpr int kHLSLCompilerNewestVersion = 47;
constexpr int kHLSLCompilerOldestVersion = 43;
constexpr const char* kHLSLCompilerEntryPoint = "D3DCompile";
constexpr const char* kHLSLShaderEntryPoint = "main";

constexpr const char* kHLSLCompilationFailed = "compilation failed.";
constexpr const char* kHLSLCompilationOutputForLevel = "- Compilation output (%s):\n%s";
constexpr const char* kHLSLCompilationOutput = "- Compilation output:\n%s";

}  // namespace ShaderTool
