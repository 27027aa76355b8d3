#pragma once

#include <cstdint>

#include "shadertool/ast/node.h"
#include "shadertool/basic/token.h"
#include "shadertool/parser/declared_type.h"

namespace ShaderTool {

// The semantic value of every grammar symbol: a small plain record, as the
// parser's value stack copies and relocates it bytewise at every step.
struct GrammarSymbol {
    int32_t column = 0;
    int32_t line = 0;
    const char* text = "";  // the whole token text, kept by the parse context's token texts
    uint32_t tokenKind = TOKEN_NONE;
    Node* node = nullptr;
    Node* second = nullptr;  // else branch of an if; step of a for; variable declaration of a declarator list
    TypeSpecifier specifier;
    uint32_t operatorIndex = 0;

    SourceLocation GetLocation() const { return {column, line}; }
};

}  // namespace ShaderTool
