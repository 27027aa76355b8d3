#include "shadertool/type_specifier.h"

#include <cstdint>
#include <cstring>

namespace ShaderTool {

namespace {

struct KeywordType {
    uint32_t token;
    BaseType baseType;
    int32_t vectorSize;
    int32_t matrixSize;
    TextureDimension dimension;
};

// One row per type keyword: token, base type, vector size, matrix size, texture dimension.
constexpr KeywordType kKeywordTypes[] = {
    {TOKEN_BOOL, BaseType::BOOL, 1, 0, TEXTURE_NONE},
    {TOKEN_FLOAT, BaseType::FLOAT, 1, 0, TEXTURE_NONE},
    {TOKEN_FLOAT2, BaseType::FLOAT, 2, 0, TEXTURE_NONE},
    {TOKEN_FLOAT3, BaseType::FLOAT, 3, 0, TEXTURE_NONE},
    {TOKEN_FLOAT4, BaseType::FLOAT, 4, 0, TEXTURE_NONE},
    {TOKEN_FLOAT2X2, BaseType::FLOAT, 0, 2, TEXTURE_NONE},
    {TOKEN_FLOAT3X3, BaseType::FLOAT, 0, 3, TEXTURE_NONE},
    {TOKEN_FLOAT4X4, BaseType::FLOAT, 0, 4, TEXTURE_NONE},
    {TOKEN_INT, BaseType::INT, 1, 0, TEXTURE_NONE},
    {TOKEN_INT2, BaseType::INT, 2, 0, TEXTURE_NONE},
    {TOKEN_INT3, BaseType::INT, 3, 0, TEXTURE_NONE},
    {TOKEN_INT4, BaseType::INT, 4, 0, TEXTURE_NONE},
    {TOKEN_UINT, BaseType::UINT, 1, 0, TEXTURE_NONE},
    {TOKEN_UINT2, BaseType::UINT, 2, 0, TEXTURE_NONE},
    {TOKEN_UINT3, BaseType::UINT, 3, 0, TEXTURE_NONE},
    {TOKEN_UINT4, BaseType::UINT, 4, 0, TEXTURE_NONE},
    {TOKEN_VOID, BaseType::VOID, 1, 0, TEXTURE_NONE},
    {TOKEN_TEXTURE2D, BaseType::TEXTURE, 0, 0, TEXTURE_2D},
    {TOKEN_TEXTURE3D, BaseType::TEXTURE, 0, 0, TEXTURE_3D},
    {TOKEN_TEXTURECUBE, BaseType::TEXTURE, 0, 0, TEXTURE_CUBE},
};
static_assert(sizeof(kKeywordTypes) / sizeof(kKeywordTypes[0]) == 20);

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

}  // namespace

TypeSpecifier MakeKeywordSpecifier(uint32_t tokenKind) {
    TypeSpecifier specifier;
    specifier.keyword = tokenKind;
    for (const KeywordType& row : kKeywordTypes) {
        if (row.token == tokenKind) {
            specifier.baseType = row.baseType;
            specifier.vectorSize = row.vectorSize;
            specifier.matrixSize = row.matrixSize;
            specifier.textureDimension = row.dimension;
            // Textures are read-only values.
            specifier.qualifiers = row.baseType == BaseType::TEXTURE ? QUALIFIER_CONST : 0;
        }
    }
    return specifier;
}

TypeSpecifier MakeStructSpecifier(const char* structName, bool hasBody) {
    TypeSpecifier specifier;
    specifier.keyword = hasBody ? TOKEN_STRUCT : TOKEN_USER_TYPE;
    specifier.baseType = BaseType::STRUCT;
    specifier.hasStructBody = hasBody ? 1 : 0;
    if (structName != nullptr) {
        std::strncpy(specifier.structName, structName, kMaxTokenLength);
        specifier.structName[kMaxTokenLength] = 0;
    }
    return specifier;
}

Type MakeTypeFromSpecifier(const TypeSpecifier& specifier) {
    Type type;
    type.baseType = specifier.baseType;
    type.vectorSize = specifier.vectorSize;
    type.matrixSize = specifier.matrixSize;
    type.textureDimension = specifier.textureDimension;
    type.qualifiers = specifier.qualifiers;
    if (specifier.baseType == BaseType::STRUCT) {
        type.name.Assign(specifier.structName);
    }
    // A texture is never an array.
    if (specifier.baseType != BaseType::TEXTURE) {
        type.arraySize = specifier.arraySize;
    }
    return type;
}

int64_t ReadArraySizeLiteral(const char* text) {
    if (text == nullptr || text[0] < '0' || text[0] > '9') {
        return -1;
    }
    int base = 10;
    const char* digits = text;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        digits = text + 2;
    } else if (text[0] == '0') {
        base = 8;
    }
    int64_t value = 0;
    int digitCount = 0;
    for (const char* c = digits; *c != 0 && *c != 'u' && *c != 'U'; ++c) {
        const int digit = DigitValue(*c);
        if (digit >= base) {
            return -1;
        }
        value = value * base + digit;
        if (value > INT32_MAX) {
            return -1;
        }
        ++digitCount;
    }
    return digitCount > 0 || base == 8 ? value : -1;
}

}  // namespace ShaderTool
