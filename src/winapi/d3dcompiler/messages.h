// Texts of the messages that D3DCompile writes itself (the compiler's own
// errors and warnings come from the HLSL front end).
#pragma once

#include <cstdio>
#include <string>

namespace halvo::d3dcompiler {

inline constexpr char kUnknownProfile[] = "error: unknown or empty profile '%s'.\n";
inline constexpr char kNoEntryPoint[] = "error: no entry point given.\n";
inline constexpr char kIncludeNotOpened[] = "cannot open include file '%s'.";
inline constexpr char kIncludeTooDeep[] = "include file '%s' is nested more than %d levels deep.";
inline constexpr char kTooManyIncludes[] = "include file '%s' is not opened: one compile opens at most %d includes.";
inline constexpr char kCompilerNotStarted[] = "error: the compiler could not be started.\n";
inline constexpr char kFrontEndStopped[] = "error: the HLSL front end stopped on this source (signal %d).\n";
inline constexpr char kCodeNotOptimised[] = "error: the compiled code could not be optimised: %s\n";
inline constexpr char kCodeNotRead[] = "error: the front end wrote SPIR-V that cannot be read.\n";

// Constructs refused because this compiler cannot give them the platform's
// meaning (file and line of each are filled in).
inline constexpr char kMatricesComparedEqual[] =
    "%s:%d: error: '==' between two matrices is supported only as all(a == b): it compares per component.\n";
inline constexpr char kMatricesComparedNotEqual[] =
    "%s:%d: error: '!=' between two matrices is supported only as any(a != b): it compares per component.\n";
inline constexpr char kMatrixVectorMultiplied[] =
    "%s:%d: error: '*' between a matrix and a vector is not supported: write mul() for their product.\n";
inline constexpr char kMatrixShapesMultiplied[] =
    "%s:%d: error: '*' between matrices of different sizes is not supported: it multiplies per component.\n";

inline constexpr char kMatrixReducedByAll[] =
    "%s:%d: error: all() of a matrix is not supported: reduce its rows, as all(m[0]) && all(m[1]).\n";
inline constexpr char kMatrixReducedByAny[] =
    "%s:%d: error: any() of a matrix is not supported: reduce its rows, as any(m[0]) || any(m[1]).\n";

inline constexpr char kMatrixFunction[] =
    "%s:%d: error: functions of each component (abs, max, lerp, fmod, %% and the like) of a matrix are not "
    "supported: apply them to its rows.\n";

// One of the texts above with its arguments filled in.
template <typename... Arguments>
std::string FormatMessageText(const char* format, Arguments... arguments)
{
    const int length = std::snprintf(nullptr, 0, format, arguments...);
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, arguments...);
    return text;
}

}  // namespace halvo::d3dcompiler
