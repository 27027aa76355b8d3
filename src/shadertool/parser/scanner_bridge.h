#pragma once

#include "shadertool/parser/grammar_symbol.h"
#include "shadertool/parser/parse_context.h"

namespace ShaderTool {

// Reads the next token of the context's tokenizer into the symbol and returns
// the grammar token it stands for: the end token at the end of the text, the
// invalid token for a kind the grammar has no token for.
int NextToken(ParseContext& context, GrammarSymbol* symbol);

}  // namespace ShaderTool
