#pragma once

#include "shadertool/basic/shader_description.h"
#include "shadertool/basic/token.h"
#include "shadertool/parser/parse_context.h"

// The implicit structs and variables through which a source reaches what its
// Shader XML declares: input, output, constants, texture, buffers, images
// and ray_payloads.
namespace ShaderTool {

// First Shader XML version (version << 16 | revision) whose stage constants
// are members of "constants" rather than globals of their own.
constexpr uint32_t CONSTANTS_STRUCT_VERSION = 0x20003;

// Before the parse: the stage's structs and the global variables.
void BuildStageInterface(ParseContext& context, const ShaderDescription& description);

// At the start of main's definition: input, output and, in the ray stages,
// ray_payloads, in main's own scope.
void DeclareMainVariables(ParseContext& context, SourceLocation mainLocation);

}  // namespace ShaderTool
