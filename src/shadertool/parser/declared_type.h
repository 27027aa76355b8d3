#pragma once

#include <cstdint>

#include "shadertool/basic/token.h"
#include "shadertool/basic/type.h"

namespace ShaderTool {

// Array size of a declarator written with empty brackets, until the
// initialiser list gives it a size.
constexpr int32_t UNSIZED_ARRAY = -1;

// A type as the grammar reads it, before it becomes a Type. A plain record,
// so that it can live in the parser's value stack.
struct TypeSpecifier {
    BaseType baseType = BaseType::UNDEFINED;
    int32_t vectorSize = 0;
    int32_t matrixSize = 0;
    TextureDimension textureDimension = TEXTURE_NONE;
    const char* structName = "";  // not owned: a token text of the parse
    uint32_t keyword = 0;         // the TokenKind of a type keyword; TOKEN_USER_TYPE or TOKEN_STRUCT otherwise
    uint32_t qualifiers = 0;      // TypeQualifier bits
    int32_t arraySize = 0;        // of a declarator: 0 none, UNSIZED_ARRAY, or the size
    uint8_t hasStructBody = 0;    // written as a struct specifier with its members
};

// The specifier of a type keyword token.
TypeSpecifier MakeKeywordSpecifier(uint32_t tokenKind);
// The specifier of a struct named by a USER_TYPE token or a struct specifier.
TypeSpecifier MakeStructSpecifier(const char* structName, bool hasBody);

Type MakeTypeFromSpecifier(const TypeSpecifier& specifier);

// The value of an integer literal as the tokenizer reads it (0x hexadecimal,
// a leading 0 octal, else decimal, an optional u suffix); -1 when it does not
// fit in 31 bits or is not an integer literal.
int64_t ReadArraySizeLiteral(const char* text);

}  // namespace ShaderTool
