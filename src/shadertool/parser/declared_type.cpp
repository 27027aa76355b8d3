#include "shadertool/parser/declared_type.h"

#include <cstdint>

#include "shadertool/parser/declared_type_keywords.h"

namespace ShaderTool {

namespace {

int DigitValue(char c)
{
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

TypeSpecifier MakeKeywordSpecifier(uint32_t tokenKind)
{
    TypeSpecifier specifier;
    specifier.keyword = tokenKind;
    for (const TypeSpecifierKeywords::KeywordType& row : TypeSpecifierKeywords::kKeywordTypes) {
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

TypeSpecifier MakeStructSpecifier(const char* structName, bool hasBody)
{
    TypeSpecifier specifier;
    specifier.keyword = hasBody ? TOKEN_STRUCT : TOKEN_USER_TYPE;
    specifier.baseType = BaseType::STRUCT;
    specifier.hasStructBody = hasBody ? 1 : 0;
    if (structName != nullptr) {
        specifier.structName = structName;
    }
    return specifier;
}

Type MakeTypeFromSpecifier(const TypeSpecifier& specifier)
{
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

int64_t ReadArraySizeLiteral(const char* text)
{
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
