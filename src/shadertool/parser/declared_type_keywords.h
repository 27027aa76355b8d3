#pragma once

#include <cstdint>

#include "shadertool/basic/token.h"
#include "shadertool/basic/type.h"

// The type each type keyword of the shading language stands for.
namespace ShaderTool::TypeSpecifierKeywords {

struct KeywordType {
    uint32_t token;
    BaseType baseType;
    int32_t vectorSize;
    int32_t matrixSize;
    TextureDimension dimension;
};

// One row per type keyword: token, base type, vector size, matrix size, texture dimension.
constexpr KeywordType kKeywordTypes[] = {
    {TOKEN_BOOL, BaseType::BOOL, 1, 0, TEXTURE_NONE},       {TOKEN_FLOAT, BaseType::FLOAT, 1, 0, TEXTURE_NONE},
    {TOKEN_FLOAT2, BaseType::FLOAT, 2, 0, TEXTURE_NONE},    {TOKEN_FLOAT3, BaseType::FLOAT, 3, 0, TEXTURE_NONE},
    {TOKEN_FLOAT4, BaseType::FLOAT, 4, 0, TEXTURE_NONE},    {TOKEN_FLOAT2X2, BaseType::FLOAT, 0, 2, TEXTURE_NONE},
    {TOKEN_FLOAT3X3, BaseType::FLOAT, 0, 3, TEXTURE_NONE},  {TOKEN_FLOAT4X4, BaseType::FLOAT, 0, 4, TEXTURE_NONE},
    {TOKEN_INT, BaseType::INT, 1, 0, TEXTURE_NONE},         {TOKEN_INT2, BaseType::INT, 2, 0, TEXTURE_NONE},
    {TOKEN_INT3, BaseType::INT, 3, 0, TEXTURE_NONE},        {TOKEN_INT4, BaseType::INT, 4, 0, TEXTURE_NONE},
    {TOKEN_UINT, BaseType::UINT, 1, 0, TEXTURE_NONE},       {TOKEN_UINT2, BaseType::UINT, 2, 0, TEXTURE_NONE},
    {TOKEN_UINT3, BaseType::UINT, 3, 0, TEXTURE_NONE},      {TOKEN_UINT4, BaseType::UINT, 4, 0, TEXTURE_NONE},
    {TOKEN_VOID, BaseType::VOID, 1, 0, TEXTURE_NONE},       {TOKEN_TEXTURE2D, BaseType::TEXTURE, 0, 0, TEXTURE_2D},
    {TOKEN_TEXTURE3D, BaseType::TEXTURE, 0, 0, TEXTURE_3D}, {TOKEN_TEXTURECUBE, BaseType::TEXTURE, 0, 0, TEXTURE_CUBE},
};
static_assert(sizeof(kKeywordTypes) / sizeof(kKeywordTypes[0]) == 20);

}  // namespace ShaderTool::TypeSpecifierKeywords
