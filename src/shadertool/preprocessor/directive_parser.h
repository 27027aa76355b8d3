#pragma once

#include "shadertool/preprocessor/preprocessor.h"

namespace ShaderTool {

// Reads the whole source of the context's tokenizer as directive lines and
// other lines and runs each directive. 0 when the whole text was parsed, 1
// after a syntax error, 2 when the parse stack overflowed.
int ParsePreprocessorLine(PreprocessorContext& context);

}  // namespace ShaderTool
