#include "shadertool/parser/scanner_bridge.h"

#include "shadertool/parser/scanner_tokens.h"

namespace ShaderTool {

namespace {

int MapTokenKind(uint32_t kind)
{
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

int NextToken(ParseContext& context, GrammarSymbol* symbol)
{
    Token token;
    token.Clear();
    context.tokenizer.GetNextToken(token);
    *symbol = GrammarSymbol();
    symbol->column = token.column;
    symbol->line = token.line;
    symbol->tokenKind = token.kind;
    // A token holds at most kMaxTokenLength characters, all of which fit.
    const int length = token.length < 0 ? 0 : token.length > kMaxTokenLength ? kMaxTokenLength : token.length;
    symbol->text = context.tokenTexts.Keep(token.text, length);
    context.tokenLocation = {token.column, token.line};
    return MapTokenKind(token.kind);
}

}  // namespace ShaderTool
