#pragma once

// Texts of the GLSL-family translators' step-log errors (written as "Error: %s\n").
namespace ShaderTool {

constexpr const char* kGLSLUnsignedNotSupported = "unsigned integers are not supported.";
constexpr const char* kGLSLGlobalArrayNotSupported = "array declarations in global scope are not supported.";
constexpr const char* kGLSLVertexOutputNotPassed =
    "vertex output '%s' of type '%s' cannot be passed to the pixel stage in target '%s'.";
constexpr const char* kGLSLSecondPixelOutput =
    "pixel output '%s' cannot be written in target '%s', which has only one pixel output.";

}  // namespace ShaderTool
