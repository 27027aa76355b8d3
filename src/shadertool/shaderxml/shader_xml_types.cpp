#include <cstring>

#include "shadertool/basic/targets.h"
#include "shadertool/shaderxml/shader_xml_reader.h"
#include "shadertool/shaderxml/shader_xml_tables.h"

namespace ShaderTool {
namespace {

constexpr char kArrayMark[] = "[]";
constexpr int kMaxTargetNameLength = 15;

// Splits an optional "[]" off the end of the text.
String WithoutArrayMark(const char* text, bool& marked)
{
    const size_t length = std::strlen(text);
    marked = length >= 2 && std::strcmp(text + length - 2, kArrayMark) == 0;
    String base;
    base.Assign(text, static_cast<int>(marked ? length - 2 : length));
    return base;
}

const XmlNamedValue* FindNamed(const XmlNamedValue* rows, size_t count, const char* text)
{
    for (size_t i = 0; i < count; ++i) {
        if (std::strcmp(rows[i].name, text) == 0) return &rows[i];
    }
    return nullptr;
}

template <size_t N>
const XmlNamedValue* FindNamed(const XmlNamedValue (&rows)[N], const char* text)
{
    return FindNamed(rows, N, text);
}

// An optional attribute named by a row of the table: absent reads as 0, an
// unknown name fails.
template <size_t N>
bool ParseOptionalNamed(const XmlNamedValue (&rows)[N], const char* text, uint32_t& value)
{
    value = 0;
    if (text == nullptr) return true;
    const XmlNamedValue* row = FindNamed(rows, text);
    if (row == nullptr) return false;
    value = row->value;
    return true;
}

}  // namespace

Type ShaderXMLReader::ParseVariableType(const char* text, uint32_t qualifiers, int32_t count, bool isBuffer)
{
    if (text == nullptr) return Type();
    const int32_t arraySize = count == 1 ? 0 : count;
    for (const XmlVariableTypeName& row : kXmlVariableTypes) {
        if (std::strcmp(row.name, text) != 0) continue;
        if (row.matrixSize > 0) return Type::MakeMatrix(row.matrixSize, qualifiers, arraySize, isBuffer);
        return Type::MakeVector(row.baseType, row.vectorSize, qualifiers, arraySize, isBuffer);
    }
    return Type();
}

Type ShaderXMLReader::ParseTextureType(const char* text)
{
    bool marked = false;
    const String base = WithoutArrayMark(text != nullptr ? text : "", marked);
    const XmlNamedValue* row = FindNamed(kXmlTextureDimensions, base.GetText());
    Type type = Type::MakeTexture(row != nullptr ? static_cast<TextureDimension>(row->value) : TEXTURE_NONE);
    if (marked) type.arraySize = -1;
    return type;
}

Type ShaderXMLReader::ParseBufferType(const char* text)
{
    if (text == nullptr) return Type();
    bool marked = false;
    const String base = WithoutArrayMark(text, marked);
    const int32_t count = marked ? -1 : 1;
    const Type variable = ParseVariableType(base.GetText(), 0, count, true);
    if (variable.IsValidVariableType()) return variable;
    if (base == "INDEX") {
        Type type = Type::MakeVector(BaseType::UINT, 3, 0, marked ? -1 : 0, true);
        type.isIndexBuffer = 1;
        return type;
    }
    if (const XmlNamedValue* row = FindNamed(kXmlUnsignedTypes, base.GetText())) {
        return Type::MakeVector(BaseType::UINT, static_cast<int32_t>(row->value), 0, marked ? -1 : 0, true);
    }
    if (base == "IMAGE2D") {
        // An image buffer carries a float kind without components; the array
        // mark is kept in the qualifier word.
        Type type;
        type.baseType = BaseType::FLOAT;
        type.vectorSize = 0;
        type.qualifiers = marked ? 0xFFFFFFFFu : 0;
        return type;
    }
    return Type();
}

Type ShaderXMLReader::ParseRayPayloadType(const char* text)
{
    if (text == nullptr || text[0] == '\0') return Type();
    const Type variable = ParseVariableType(text, 0, 1, false);
    if (variable.IsValidVariableType()) return variable;
    if (const XmlNamedValue* row = FindNamed(kXmlUnsignedTypes, text)) {
        return Type::MakeVector(BaseType::UINT, static_cast<int32_t>(row->value));
    }
    if (text[0] == '_') return Type();
    return Type::MakeStruct(text);
}

bool ShaderXMLReader::ParseAddressMode(const char* text, uint32_t& mode)
{
    return ParseOptionalNamed(kXmlAddressModes, text, mode);
}

bool ShaderXMLReader::ParseFilterMode(const char* text, uint32_t& mode)
{
    return ParseOptionalNamed(kXmlFilterModes, text, mode);
}

uint32_t ParseTargetList(const char* text)
{
    if (text == nullptr || text[0] == '\0') return TARGET_MASK_ALL;
    const bool inverted = text[0] == '~';
    const char* piece = inverted ? text + 1 : text;
    uint32_t mask = 0;
    while (true) {
        const char* end = std::strchr(piece, ',');
        const size_t length = end != nullptr ? static_cast<size_t>(end - piece) : std::strlen(piece);
        if (length == 0 || length > kMaxTargetNameLength) return 0;
        char name[kMaxTargetNameLength + 1];
        std::memcpy(name, piece, length);
        name[length] = '\0';
        const uint32_t pieceMask = GetTargetMask(name);
        if (pieceMask == 0) return 0;
        mask |= pieceMask;
        if (end == nullptr) break;
        if (inverted) return 0;  // '~' names exactly one target or group
        piece = end + 1;
    }
    return inverted ? mask ^ TARGET_MASK_ALL : mask;
}

}  // namespace ShaderTool
