#include "shadertool/scanner_bridge.h"

#include <cstring>

#include "grammar_generated.h"

namespace ShaderTool {

namespace {

struct TokenMapping {
    uint32_t kind;
    int grammarToken;
};

// One row per token kind of the shading language: tokenizer kind, grammar token.
constexpr TokenMapping kTokenMappings[] = {
    {TOKEN_BOOL, HVSL_BOOL},
    {TOKEN_FLOAT, HVSL_FLOAT},
    {TOKEN_FLOAT2, HVSL_FLOAT2},
    {TOKEN_FLOAT2X2, HVSL_FLOAT2X2},
    {TOKEN_FLOAT3, HVSL_FLOAT3},
    {TOKEN_FLOAT3X3, HVSL_FLOAT3X3},
    {TOKEN_FLOAT4, HVSL_FLOAT4},
    {TOKEN_FLOAT4X4, HVSL_FLOAT4X4},
    {TOKEN_INT, HVSL_INT},
    {TOKEN_INT2, HVSL_INT2},
    {TOKEN_INT3, HVSL_INT3},
    {TOKEN_INT4, HVSL_INT4},
    {TOKEN_UINT, HVSL_UINT},
    {TOKEN_UINT2, HVSL_UINT2},
    {TOKEN_UINT3, HVSL_UINT3},
    {TOKEN_UINT4, HVSL_UINT4},
    {TOKEN_VOID, HVSL_VOID},
    {TOKEN_TEXTURE2D, HVSL_TEXTURE2D},
    {TOKEN_TEXTURE3D, HVSL_TEXTURE3D},
    {TOKEN_TEXTURECUBE, HVSL_TEXTURECUBE},
    {TOKEN_USER_TYPE, HVSL_USER_TYPE},
    {TOKEN_BREAK, HVSL_BREAK},
    {TOKEN_CONST, HVSL_CONST},
    {TOKEN_CONTINUE, HVSL_CONTINUE},
    {TOKEN_DISCARD, HVSL_DISCARD},
    {TOKEN_DO, HVSL_DO},
    {TOKEN_ELSE, HVSL_ELSE},
    {TOKEN_FOR, HVSL_FOR},
    {TOKEN_IF, HVSL_IF},
    {TOKEN_RETURN, HVSL_RETURN},
    {TOKEN_STRUCT, HVSL_STRUCT},
    {TOKEN_WHILE, HVSL_WHILE},
    {TOKEN_BOOL_CONSTANT, HVSL_BOOL_CONSTANT},
    {TOKEN_FLOAT_CONSTANT, HVSL_FLOAT_CONSTANT},
    {TOKEN_IDENTIFIER, HVSL_IDENTIFIER},
    {TOKEN_INT_CONSTANT, HVSL_INT_CONSTANT},
    {TOKEN_UINT_CONSTANT, HVSL_UINT_CONSTANT},
    {TOKEN_DECREASE_OP, HVSL_DECREASE_OP},
    {TOKEN_INCREASE_OP, HVSL_INCREASE_OP},
    {TOKEN_LEFT_SHIFT_OP, HVSL_LEFT_SHIFT_OP},
    {TOKEN_RIGHT_SHIFT_OP, HVSL_RIGHT_SHIFT_OP},
    {TOKEN_GREATER_THAN_EQUAL_OP, HVSL_GREATER_THAN_EQUAL_OP},
    {TOKEN_LESS_THAN_EQUAL_OP, HVSL_LESS_THAN_EQUAL_OP},
    {TOKEN_EQUAL_OP, HVSL_EQUAL_OP},
    {TOKEN_NOT_EQUAL_OP, HVSL_NOT_EQUAL_OP},
    {TOKEN_LOGICAL_AND_OP, HVSL_LOGICAL_AND_OP},
    {TOKEN_LOGICAL_OR_OP, HVSL_LOGICAL_OR_OP},
    {TOKEN_ASSIGN_ADD, HVSL_ASSIGN_ADD},
    {TOKEN_ASSIGN_AND, HVSL_ASSIGN_AND},
    {TOKEN_ASSIGN_DIVIDE, HVSL_ASSIGN_DIVIDE},
    {TOKEN_ASSIGN_LEFT_SHIFT, HVSL_ASSIGN_LEFT_SHIFT},
    {TOKEN_ASSIGN_MODULO, HVSL_ASSIGN_MODULO},
    {TOKEN_ASSIGN_MULTIPLY, HVSL_ASSIGN_MULTIPLY},
    {TOKEN_ASSIGN_OR, HVSL_ASSIGN_OR},
    {TOKEN_ASSIGN_RIGHT_SHIFT, HVSL_ASSIGN_RIGHT_SHIFT},
    {TOKEN_ASSIGN_SUBTRACT, HVSL_ASSIGN_SUBTRACT},
    {TOKEN_ASSIGN_XOR, HVSL_ASSIGN_XOR},
    {TOKEN_AMPERSAND, HVSL_AMPERSAND},
    {TOKEN_ASTERISK, HVSL_ASTERISK},
    {TOKEN_CARET, HVSL_CARET},
    {TOKEN_COLON, HVSL_COLON},
    {TOKEN_COMMA, HVSL_COMMA},
    {TOKEN_DASH, HVSL_DASH},
    {TOKEN_EQUAL, HVSL_EQUAL},
    {TOKEN_EXCLAMATION, HVSL_EXCLAMATION},
    {TOKEN_PERCENT, HVSL_PERCENT},
    {TOKEN_PERIOD, HVSL_PERIOD},
    {TOKEN_PLUS, HVSL_PLUS},
    {TOKEN_QUESTION, HVSL_QUESTION},
    {TOKEN_SEMICOLON, HVSL_SEMICOLON},
    {TOKEN_SLASH, HVSL_SLASH},
    {TOKEN_TILDE, HVSL_TILDE},
    {TOKEN_VERTICAL_BAR, HVSL_VERTICAL_BAR},
    {TOKEN_LEFT_BRACE, HVSL_LEFT_BRACE},
    {TOKEN_LEFT_BRACKET, HVSL_LEFT_BRACKET},
    {TOKEN_LEFT_CHEVRON, HVSL_LEFT_CHEVRON},
    {TOKEN_LEFT_PARENTHESIS, HVSL_LEFT_PARENTHESIS},
    {TOKEN_RIGHT_BRACE, HVSL_RIGHT_BRACE},
    {TOKEN_RIGHT_BRACKET, HVSL_RIGHT_BRACKET},
    {TOKEN_RIGHT_CHEVRON, HVSL_RIGHT_CHEVRON},
    {TOKEN_RIGHT_PARENTHESIS, HVSL_RIGHT_PARENTHESIS},
    {TOKEN_RESERVED, HVSL_RESERVED},
};
static_assert(sizeof(kTokenMappings) / sizeof(kTokenMappings[0]) == 82);

int MapTokenKind(uint32_t kind) {
    if (kind == TOKEN_END) {
        return HVSLEOF;
    }
    for (const TokenMapping& mapping : kTokenMappings) {
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
