// Texts of the messages that D3DCompile writes itself (the compiler's own
// errors and warnings come from the HLSL front end).
#pragma once

namespace halvo::d3dcompiler {

inline constexpr char kUnknownProfile[] = "error: unknown or empty profile '%s'.\n";
inline constexpr char kNoEntryPoint[] = "error: no entry point given.\n";
inline constexpr char kIncludeNotOpened[] = "cannot open include file '%s'.";
inline constexpr char kCompilerNotStarted[] = "error: the compiler could not be started.\n";

}  // namespace halvo::d3dcompiler
