#pragma once

#include <cstdint>

#include "shadertool/parser/parse_context.h"

namespace ShaderTool {

// Parses the context's tokens into the syntax tree, running the checks of
// every production. 0 when the whole text was accepted, 1 after a syntax
// error, 2 when the parser stack is exhausted; whether the source is good is
// the context's success flag.
int32_t Parse(ParseContext& context);

}  // namespace ShaderTool
