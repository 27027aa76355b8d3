#pragma once

#include "shadertool/basic/token.h"

// The words of the keyword maps of both tokenizers.
namespace ShaderTool {

struct KeywordRow {
    const char* word;
    TokenKind kind;
};

// Words of the shading language and the token kind each one gives.
constexpr KeywordRow kShadingKeywords[] = {
    {"bool", TOKEN_BOOL},
    {"float", TOKEN_FLOAT},
    {"float2", TOKEN_FLOAT2},
    {"float2x2", TOKEN_FLOAT2X2},
    {"float3", TOKEN_FLOAT3},
    {"float3x3", TOKEN_FLOAT3X3},
    {"float4", TOKEN_FLOAT4},
    {"float4x4", TOKEN_FLOAT4X4},
    {"int", TOKEN_INT},
    {"int2", TOKEN_INT2},
    {"int3", TOKEN_INT3},
    {"int4", TOKEN_INT4},
    {"uint", TOKEN_UINT},
    {"uint2", TOKEN_UINT2},
    {"uint3", TOKEN_UINT3},
    {"uint4", TOKEN_UINT4},
    {"void", TOKEN_VOID},
    {"break", TOKEN_BREAK},
    {"const", TOKEN_CONST},
    {"continue", TOKEN_CONTINUE},
    {"discard", TOKEN_DISCARD},
    {"do", TOKEN_DO},
    {"else", TOKEN_ELSE},
    {"false", TOKEN_BOOL_CONSTANT},
    {"for", TOKEN_FOR},
    {"if", TOKEN_IF},
    {"return", TOKEN_RETURN},
    {"struct", TOKEN_STRUCT},
    {"true", TOKEN_BOOL_CONSTANT},
    {"while", TOKEN_WHILE},
};
static_assert(sizeof(kShadingKeywords) / sizeof(kShadingKeywords[0]) == 30);

// Words kept back for later versions of the language; using one is an error.
constexpr const char* kReservedWords[] = {
    "bool2", "bool3",  "bool4",  "case",      "default",   "in",          "inout",
    "out",   "sample", "switch", "Texture2D", "Texture3D", "TextureCube", "triangle",
};
static_assert(sizeof(kReservedWords) / sizeof(kReservedWords[0]) == 14);

// Words of preprocessor lines and the token kind each one gives.
constexpr KeywordRow kPreprocessorKeywords[] = {
    {"define", TOKEN_PP_DEFINE},      {"elif", TOKEN_PP_ELIF}, {"else", TOKEN_PP_ELSE},
    {"endif", TOKEN_PP_ENDIF},        {"if", TOKEN_PP_IF},     {"include", TOKEN_PP_INCLUDE},
    {"defined", TOKEN_PP_DEFINED_OP},
};
static_assert(sizeof(kPreprocessorKeywords) / sizeof(kPreprocessorKeywords[0]) == 7);

}  // namespace ShaderTool
