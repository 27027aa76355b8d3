#pragma once

#include <cstdint>

#include "directive_parser_generated.h"
#include "shadertool/basic/token.h"

// The directive parser's terminal of every tokenizer kind that preprocessor
// lines use; every other kind is an undefined token. Only the directive
// parser reads it, as only it sees the generated token numbers.
namespace ShaderTool::DirectiveTokens {

struct TokenMapping {
    uint32_t kind;
    int grammarToken;
};

// One row per terminal that a tokenizer kind produces: tokenizer kind, terminal.
constexpr TokenMapping kTokenMappings[] = {
    {TOKEN_PP_DEFINE, PP_DEFINE},
    {TOKEN_PP_ELIF, PP_ELIF},
    {TOKEN_PP_ELSE, PP_ELSE},
    {TOKEN_PP_ENDIF, PP_ENDIF},
    {TOKEN_PP_IF, PP_IF},
    {TOKEN_PP_INCLUDE, PP_INCLUDE},
    {TOKEN_FLOAT_CONSTANT, PP_FLOAT_CONSTANT},
    {TOKEN_IDENTIFIER, PP_IDENTIFIER},
    {TOKEN_INT_CONSTANT, PP_INT_CONSTANT},
    {TOKEN_STRING_LITERAL, PP_STRING_LITERAL},
    {TOKEN_PP_DEFINED_OP, PP_DEFINED_OP},
    {TOKEN_GREATER_THAN_EQUAL_OP, PP_GREATER_THAN_EQUAL_OP},
    {TOKEN_LESS_THAN_EQUAL_OP, PP_LESS_THAN_EQUAL_OP},
    {TOKEN_EQUAL_OP, PP_EQUAL_OP},
    {TOKEN_NOT_EQUAL_OP, PP_NOT_EQUAL_OP},
    {TOKEN_LOGICAL_AND_OP, PP_LOGICAL_AND_OP},
    {TOKEN_LOGICAL_OR_OP, PP_LOGICAL_OR_OP},
    {TOKEN_ASTERISK, PP_ASTERISK},
    {TOKEN_COMMA, PP_COMMA},
    {TOKEN_DASH, PP_DASH},
    {TOKEN_EXCLAMATION, PP_EXCLAMATION},
    {TOKEN_HASH, PP_HASH},
    {TOKEN_PLUS, PP_PLUS},
    {TOKEN_SLASH, PP_SLASH},
    {TOKEN_LEFT_CHEVRON, PP_LEFT_CHEVRON},
    {TOKEN_RIGHT_CHEVRON, PP_RIGHT_CHEVRON},
    {TOKEN_LEFT_PARENTHESIS, PP_LEFT_PARENTHESIS},
    {TOKEN_RIGHT_PARENTHESIS, PP_RIGHT_PARENTHESIS},
    {TOKEN_NON_PREPROCESSOR_LINE, PP_NON_PREPROCESSOR_LINE},
};
static_assert(sizeof(kTokenMappings) / sizeof(kTokenMappings[0]) == 29);

}  // namespace ShaderTool::DirectiveTokens
