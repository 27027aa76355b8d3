#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/parser/parse_context.h"
#include "shadertool/preprocessor/preprocessor.h"

namespace ShaderTool {

// The contexts of the translator's front end and its step log: what one
// source goes through before a target's translator writes it.
struct FrontEnd {
    FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    Log stepLog;
    PreprocessorContext preprocessor;
    ParseContext parse;  // holds the tree of the last source
};

// Preprocesses one source of the description for one target, builds its
// stage structs, parses and checks it, and reports the vertex outputs it
// never sets. The tree is frontEnd.parse.root; every message is in the step
// log. True when the source is good.
bool RunFrontEnd(FrontEnd& frontEnd, const ShaderDescription& description, const ShaderSource& source,
                 uint32_t targetBit, const Array<String>& definitions);

// The part of RunFrontEnd after a successful preprocessing of the source:
// parses frontEnd.preprocessor.output as the source's text. For a caller
// that looks at the preprocessed source before it decides to parse it.
bool ParsePreprocessedSource(FrontEnd& frontEnd, const ShaderDescription& description, const ShaderSource& source);

}  // namespace ShaderTool
