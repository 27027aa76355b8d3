#pragma once

#include <cstdint>

namespace ShaderTool {

// Token kinds of both tokenizers. Codes 1 to 255 stand for a single
// character that no other rule takes; each parser maps these kinds to the
// token numbers of its own grammar.
enum TokenKind : uint32_t {
    TOKEN_END = 0,
    TOKEN_BOOL = 256,
    TOKEN_FLOAT = 257,
    TOKEN_FLOAT2 = 258,
    TOKEN_FLOAT2X2 = 259,
    TOKEN_FLOAT3 = 260,
    TOKEN_FLOAT3X3 = 261,
    TOKEN_FLOAT4 = 262,
    TOKEN_FLOAT4X4 = 263,
    TOKEN_INT = 264,
    TOKEN_INT2 = 265,
    TOKEN_INT3 = 266,
    TOKEN_INT4 = 267,
    TOKEN_UINT = 268,
    TOKEN_UINT2 = 269,
    TOKEN_UINT3 = 270,
    TOKEN_UINT4 = 271,
    TOKEN_VOID = 272,
    TOKEN_TEXTURE2D = 273,
    TOKEN_TEXTURE3D = 274,
    TOKEN_TEXTURECUBE = 275,
    TOKEN_USER_TYPE = 276,
    TOKEN_BREAK = 277,
    TOKEN_CONST = 278,
    TOKEN_CONTINUE = 279,
    TOKEN_DISCARD = 280,
    TOKEN_DO = 281,
    TOKEN_ELSE = 282,
    TOKEN_FOR = 283,
    TOKEN_IF = 284,
    TOKEN_RETURN = 285,
    TOKEN_STRUCT = 286,
    TOKEN_WHILE = 287,
    TOKEN_PP_DEFINE = 288,
    TOKEN_PP_ELIF = 289,
    TOKEN_PP_ELSE = 290,
    TOKEN_PP_ENDIF = 291,
    TOKEN_PP_IF = 292,
    TOKEN_PP_INCLUDE = 293,
    TOKEN_BOOL_CONSTANT = 294,
    TOKEN_FLOAT_CONSTANT = 295,
    TOKEN_IDENTIFIER = 296,
    TOKEN_INT_CONSTANT = 297,
    TOKEN_STRING_LITERAL = 298,
    TOKEN_UINT_CONSTANT = 299,
    TOKEN_AMPERSAND = 300,
    TOKEN_CARET = 301,
    TOKEN_DECREASE_OP = 302,
    TOKEN_INCREASE_OP = 303,
    TOKEN_GREATER_THAN_EQUAL_OP = 304,
    TOKEN_LEFT_SHIFT_OP = 305,
    TOKEN_LESS_THAN_EQUAL_OP = 306,
    TOKEN_EQUAL_OP = 307,
    TOKEN_NOT_EQUAL_OP = 308,
    TOKEN_LOGICAL_AND_OP = 309,
    TOKEN_LOGICAL_OR_OP = 310,
    TOKEN_RIGHT_SHIFT_OP = 311,
    TOKEN_VERTICAL_BAR = 312,
    TOKEN_ASSIGN_ADD = 313,
    TOKEN_ASSIGN_AND = 314,
    TOKEN_ASSIGN_DIVIDE = 315,
    TOKEN_ASSIGN_LEFT_SHIFT = 316,
    TOKEN_ASSIGN_MODULO = 317,
    TOKEN_ASSIGN_MULTIPLY = 318,
    TOKEN_ASSIGN_OR = 319,
    TOKEN_ASSIGN_RIGHT_SHIFT = 320,
    TOKEN_ASSIGN_SUBTRACT = 321,
    TOKEN_ASSIGN_XOR = 322,
    TOKEN_PP_DEFINED_OP = 323,
    TOKEN_ASTERISK = 324,
    TOKEN_COLON = 325,
    TOKEN_COMMA = 326,
    TOKEN_DASH = 327,
    TOKEN_EQUAL = 328,
    TOKEN_EXCLAMATION = 329,
    TOKEN_PERCENT = 330,
    TOKEN_PERIOD = 331,
    TOKEN_HASH = 332,
    TOKEN_PLUS = 333,
    TOKEN_QUESTION = 334,
    TOKEN_SEMICOLON = 335,
    TOKEN_SLASH = 336,
    TOKEN_TILDE = 337,
    TOKEN_LEFT_BRACE = 338,
    TOKEN_LEFT_BRACKET = 339,
    TOKEN_LEFT_CHEVRON = 340,
    TOKEN_LEFT_PARENTHESIS = 341,
    TOKEN_RIGHT_BRACE = 342,
    TOKEN_RIGHT_BRACKET = 343,
    TOKEN_RIGHT_CHEVRON = 344,
    TOKEN_RIGHT_PARENTHESIS = 345,
    TOKEN_NON_PREPROCESSOR_LINE = 346,
    TOKEN_RESERVED = 347,
    TOKEN_NONE = 348,
};

// The longest token text; longer tokens lose their extra characters.
constexpr int kMaxTokenLength = 128;

struct SourceLocation {
    int32_t column = 0;  // 1-based, a tab counting four columns
    int32_t line = 0;
};

// One token as a tokenizer fills it. Callers clear it (Clear) before each call.
struct Token {
    int32_t column = 0;
    int32_t line = 0;
    int32_t length = 0;
    char text[kMaxTokenLength + 1] = {};
    uint32_t kind = TOKEN_NONE;

    void Clear()
    {
        column = 0;
        line = 0;
        length = 0;
        text[0] = 0;
        kind = TOKEN_NONE;
    }
    SourceLocation GetLocation() const { return {column, line}; }
};

}  // namespace ShaderTool
