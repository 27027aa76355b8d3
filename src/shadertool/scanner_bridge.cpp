#include "shadertool/scanner_bridge.h"

#include <cstring>

#include "shadertool/scanner_tokens.h"

namespace ShaderTool {

namespace {

int MapTokenKind(uint32_t kind) {
    if (kind == TOKEN_END) {
        return HVSLEOF;
    }
    for (const ScannerTokens::TokenMapping& mapping : ScannerTokens::kTokenMappings) {
        if (mapping.kind == kind) {
            return mapping.grammarToken;
        }
    }
    return HVSLUNDEF;
}

}  // namespace

int NextToken(ParseContext& context, GrammarSymbol* symbol) {
    Token token;
    token.Clear();
    context.tokenizer.GetNextToken(token);
    *symbol = GrammarSymbol();
    symbol->column = token.column;
    symbol->line = token.line;
    symbol->tokenKind = token.kind;
    if (token.length < kMaxTokenLength) {
        std::memcpy(symbol->text, token.text, static_cast<size_t>(token.length));
        symbol->text[token.length] = 0;
    }
    context.tokenLocation = {token.column, token.line};
    return MapTokenKind(token.kind);
}

}  // namespace ShaderTool
