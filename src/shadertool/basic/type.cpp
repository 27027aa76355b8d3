#include "shadertool/basic/type.h"

#include <cstring>

namespace ShaderTool {

namespace {

bool IsNumericKind(BaseType baseType)
{
    return baseType == BaseType::BOOL || baseType == BaseType::FLOAT || baseType == BaseType::INT ||
           baseType == BaseType::UINT;
}

const char* GetTextureText(TextureDimension dimension, bool shortForm)
{
    switch (dimension) {
    case TEXTURE_2D: return shortForm ? "t2" : "Texture2D";
    case TEXTURE_3D: return shortForm ? "t3" : "Texture3D";
    case TEXTURE_CUBE: return shortForm ? "tc" : "TextureCube";
    default: return "";
    }
}

bool IsImplicitConversion(BaseType expected, BaseType actual)
{
    return (expected == BaseType::FLOAT && (actual == BaseType::INT || actual == BaseType::UINT)) ||
           (expected == BaseType::UINT && actual == BaseType::INT);
}

}  // namespace

Type Type::MakeVector(BaseType baseType, int32_t vectorSize, uint32_t qualifiers, int32_t arraySize, bool isBuffer)
{
    Type type;
    type.baseType = baseType;
    type.vectorSize = vectorSize;
    type.qualifiers = qualifiers;
    type.arraySize = arraySize;
    type.isBuffer = isBuffer ? 1 : 0;
    return type;
}

Type Type::MakeMatrix(int32_t matrixSize, uint32_t qualifiers, int32_t arraySize, bool isBuffer)
{
    Type type;
    type.baseType = BaseType::FLOAT;
    type.matrixSize = matrixSize;
    type.qualifiers = qualifiers;
    type.arraySize = arraySize;
    type.isBuffer = isBuffer ? 1 : 0;
    return type;
}

Type Type::MakeTexture(TextureDimension dimension)
{
    Type type;
    type.baseType = BaseType::TEXTURE;
    type.textureDimension = dimension;
    type.qualifiers = QUALIFIER_CONST;
    return type;
}

Type Type::MakeImage2D()
{
    Type type;
    type.baseType = BaseType::IMAGE;
    type.imageShape = IMAGE_SHAPE_2D;
    type.qualifiers = QUALIFIER_CONST;
    return type;
}

Type Type::MakeStruct(const char* structName, uint32_t qualifiers, int32_t arraySize)
{
    Type type;
    type.name.Assign(structName);
    type.baseType = BaseType::STRUCT;
    type.qualifiers = qualifiers;
    type.arraySize = arraySize;
    return type;
}

bool Type::IsNumeric() const { return IsNumericKind(baseType); }

bool Type::IsValidVariableType() const
{
    const bool isResource =
        baseType == BaseType::IMAGE || baseType == BaseType::STRUCT || baseType == BaseType::TEXTURE;
    if (baseType == BaseType::UNDEFINED) {
        return false;
    }
    if (arraySize != 0 && baseType == BaseType::VOID) {
        return false;
    }
    if (vectorSize > 0 && isResource) {
        return false;
    }
    if (vectorSize >= 2 && baseType == BaseType::VOID) {
        return false;
    }
    if (matrixSize >= 1 && baseType != BaseType::FLOAT) {
        return false;
    }
    if (isBuffer && !IsNumeric()) {
        return false;
    }
    if (baseType == BaseType::IMAGE && imageShape == 1) {
        return false;
    }
    if (baseType == BaseType::TEXTURE && textureDimension == TEXTURE_NONE) {
        return false;
    }
    if (!name.IsEmpty() && baseType != BaseType::STRUCT) {
        return false;
    }
    // Kinds outside the enumeration come only from damaged data.
    return static_cast<uint32_t>(baseType) < static_cast<uint32_t>(BaseType::UNDEFINED);
}

String GetBaseTypeName(const Type& type, bool shortForm)
{
    switch (type.baseType) {
    case BaseType::BOOL: return shortForm ? "b" : "bool";
    case BaseType::FLOAT: return shortForm ? "f" : "float";
    case BaseType::IMAGE:
        if (type.imageShape != IMAGE_SHAPE_2D) {
            return "";
        }
        return shortForm ? "im2" : "Image2D";
    case BaseType::INT: return shortForm ? "i" : "int";
    case BaseType::STRUCT: return shortForm ? String::Formatted("_%s", type.name.GetText()) : type.name;
    case BaseType::TEXTURE: return GetTextureText(type.textureDimension, shortForm);
    case BaseType::UINT: return shortForm ? "u" : "uint";
    case BaseType::VOID: return shortForm ? "v" : "void";
    default: return "";
    }
}

String GetTypeText(const Type& type, bool shortForm)
{
    String text = GetBaseTypeName(type, shortForm);
    if (type.vectorSize >= 2) {
        text.AppendFormat("%i", type.vectorSize);
    } else if (type.matrixSize > 0) {
        if (shortForm) {
            text.AppendFormat("x%i", type.matrixSize);
        } else {
            text.AppendFormat("%ix%i", type.matrixSize, type.matrixSize);
        }
    }
    if (!shortForm) {
        return text;
    }
    if (type.isBuffer) {
        text = String::Formatted("b_%s", text.GetText());
    }
    if (type.arraySize != 0) {
        text.AppendFormat("[%i", type.arraySize);
    }
    return text;
}

bool TypesMatch(const Type& expected, const Type& actual, bool allowConversion, bool allowArray)
{
    if (expected.vectorSize != actual.vectorSize || expected.matrixSize != actual.matrixSize ||
        expected.textureDimension != actual.textureDimension) {
        return false;
    }
    if (actual.arraySize != 0 && !allowArray) {
        return false;
    }
    if ((expected.isBuffer != 0) != (actual.isBuffer != 0)) {
        return false;
    }
    if (!expected.name.IsEmpty() || !actual.name.IsEmpty()) {
        if (expected.name.GetLength() != actual.name.GetLength() ||
            std::memcmp(expected.name.GetText(), actual.name.GetText(), size_t(expected.name.GetLength())) != 0) {
            return false;
        }
    }
    if (expected.baseType == actual.baseType) {
        return true;
    }
    return allowConversion && IsImplicitConversion(expected.baseType, actual.baseType);
}

}  // namespace ShaderTool
