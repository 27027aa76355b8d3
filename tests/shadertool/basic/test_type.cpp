// Shader types: their long and short texts, which are valid variable types,
// and which match for assignment, one table row per case.
#include "shadertool/basic/type.h"

#include <gtest/gtest.h>

namespace ShaderTool {
namespace {

Type Vector(BaseType baseType, int32_t size, int32_t arraySize = 0, bool isBuffer = false)
{
    return Type::MakeVector(baseType, size, 0, arraySize, isBuffer);
}

Type Image(int32_t shape)
{
    Type type;
    type.baseType = BaseType::IMAGE;
    type.vectorSize = 0;
    type.imageShape = shape;
    return type;
}

Type Texture(TextureDimension dimension, int32_t arraySize = 0, bool isBuffer = false)
{
    Type type = Type::MakeTexture(dimension);
    type.arraySize = arraySize;
    type.isBuffer = isBuffer ? 1 : 0;
    return type;
}

// A type with one field changed after it was made.
template <typename Field, typename Value>
Type With(Type type, Field Type::*field, Value value)
{
    type.*field = value;
    return type;
}

Type AsConstant(Type type)
{
    type.qualifiers = QUALIFIER_CONST;
    type.isConstant = 1;
    return type;
}

constexpr BaseType kOutsideTheKinds = static_cast<BaseType>(9);

// The short text shows the buffer flag and the array, the long one neither;
// types that are no variable types have no text.
TEST(ShaderType, LongAndShortTexts)
{
    const struct {
        Type type;
        const char* longText;
        const char* shortText;
    } rows[] = {
        {Type(), "", ""},
        {Vector(BaseType::FLOAT, 3), "float3", "f3"},
        {Type::MakeMatrix(4), "float4x4", "fx4"},
        {Vector(BaseType::BOOL, 1), "bool", "b"},
        {Vector(BaseType::INT, 4), "int4", "i4"},
        {Vector(BaseType::UINT, 1), "uint", "u"},
        {Vector(BaseType::VOID, 1), "void", "v"},
        {Vector(BaseType::UINT, 3, 2, true), "uint3", "b_u3[2"},
        {Vector(BaseType::FLOAT, 4, 3), "float4", "f4[3"},
        {Vector(BaseType::UINT, 3, 0, true), "uint3", "b_u3"},
        {Type::MakeMatrix(2, 0, 7), "float2x2", "fx2[7"},
        {Type::MakeStruct("Light"), "Light", "_Light"},
        {Image(1), "", ""},
        {Image(0), "Image2D", "im2"},
        {Type::MakeImage2D(), "Image2D", "im2"},
        {Texture(TEXTURE_2D), "Texture2D", "t2"},
        {Texture(TEXTURE_3D), "Texture3D", "t3"},
        {Texture(TEXTURE_CUBE), "TextureCube", "tc"},
        {Texture(TEXTURE_NONE), "", ""},
        {With(Vector(BaseType::FLOAT, 1), &Type::baseType, kOutsideTheKinds), "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GetTypeText(row.type, false).GetText(), std::string(row.longText));
        EXPECT_EQ(GetTypeText(row.type, true).GetText(), std::string(row.shortText)) << row.longText;
    }
    EXPECT_EQ(Type::MakeImage2D().qualifiers, QUALIFIER_CONST);
}

TEST(ShaderType, WhichTypesAreValidVariableTypes)
{
    const struct {
        const char* what;
        Type type;
        bool valid;
    } rows[] = {
        {"the default, undefined", Type(), false},
        {"a struct", Type::MakeStruct("Light"), true},
        {"an array of structs", Type::MakeStruct("Light", 0, 2), true},
        {"an image of shape 0", Image(0), true},
        {"an image of shape 1", Image(1), false},
        {"a cube texture", Texture(TEXTURE_CUBE), true},
        {"an array of textures", Texture(TEXTURE_2D, 4), true},
        {"a texture of no dimension", Texture(TEXTURE_NONE), false},
        {"void", Vector(BaseType::VOID, 1), true},
        {"void of size 0", Vector(BaseType::VOID, 0), true},
        {"an array of void", Vector(BaseType::VOID, 1, 2), false},
        {"void2", Vector(BaseType::VOID, 2), false},
        {"a named float", With(Vector(BaseType::FLOAT, 1), &Type::name, "Light"), false},
        {"a uint buffer", Vector(BaseType::UINT, 1, 0, true), true},
        {"a bool buffer", Vector(BaseType::BOOL, 1, 0, true), true},
        {"a texture buffer", Texture(TEXTURE_2D, 0, true), false},
        {"a struct buffer", With(Type::MakeStruct("Light"), &Type::isBuffer, 1), false},
        {"a texture with a vector size", With(Texture(TEXTURE_2D), &Type::vectorSize, 1), false},
        {"an image with a vector size", With(Type::MakeImage2D(), &Type::vectorSize, 2), false},
        {"a struct with a vector size", With(Type::MakeStruct("Light"), &Type::vectorSize, 1), false},
        {"a float matrix", Type::MakeMatrix(2), true},
        {"an int matrix", With(Type::MakeMatrix(2), &Type::baseType, BaseType::INT), false},
        {"an array of float4", Vector(BaseType::FLOAT, 4, 8), true},
        {"a kind outside the enumeration", With(Vector(BaseType::FLOAT, 1), &Type::baseType, kOutsideTheKinds), false},
    };
    for (const auto& row : rows) EXPECT_EQ(row.type.IsValidVariableType(), row.valid) << row.what;
}

TEST(ShaderType, CopiesAreIndependent)
{
    Type original = Type::MakeStruct("AVeryLongStructNameThatLivesOnTheHeap", QUALIFIER_CONST, 3);
    original.isIndexBuffer = 1;
    Type copy(original);
    Type assigned;
    assigned = original;
    original.name = "Other";
    EXPECT_STREQ(copy.name.GetText(), "AVeryLongStructNameThatLivesOnTheHeap");
    EXPECT_STREQ(assigned.name.GetText(), "AVeryLongStructNameThatLivesOnTheHeap");
    EXPECT_EQ(copy.arraySize, 3);
    EXPECT_EQ(assigned.qualifiers, QUALIFIER_CONST);
    EXPECT_EQ(assigned.isIndexBuffer, 1);
}

// Numeric conversions only between float and the integers, and only when
// allowed; arrays only when allowed, their sizes not compared; shapes,
// buffer flags and struct names equal; qualifiers do not matter.
TEST(ShaderTypeMatch, WhichTypesMatch)
{
    const Type kFloat = Vector(BaseType::FLOAT, 1);
    const Type kInt = Vector(BaseType::INT, 1);
    const Type kUint = Vector(BaseType::UINT, 1);
    const Type kBool = Vector(BaseType::BOOL, 1);
    const Type kFloatArray = Vector(BaseType::FLOAT, 1, 4);
    const Type kUintBuffer = Vector(BaseType::UINT, 3, 0, true);
    const Type kLight = Type::MakeStruct("Light");
    const struct {
        const char* what;
        Type expected;
        Type actual;
        bool allowConversion;
        bool allowArray;
        bool match;
    } rows[] = {
        {"float2 from int2", Vector(BaseType::FLOAT, 2), Vector(BaseType::INT, 2), true, false, true},
        {"float2 from int2, no conversion", Vector(BaseType::FLOAT, 2), Vector(BaseType::INT, 2), false, false, false},
        {"float from uint", kFloat, kUint, true, false, true},
        {"uint3 from int3", Vector(BaseType::UINT, 3), Vector(BaseType::INT, 3), true, false, true},
        {"int from uint", kInt, kUint, true, false, false},
        {"int from uint, no conversion", kInt, kUint, false, false, false},
        {"int from float", kInt, kFloat, true, false, false},
        {"uint from float", kUint, kFloat, true, false, false},
        {"bool from int", kBool, kInt, true, false, false},
        {"float from bool", kFloat, kBool, true, false, false},
        {"int from bool", kInt, kBool, true, false, false},
        {"float3 from float4", Vector(BaseType::FLOAT, 3), Vector(BaseType::FLOAT, 4), true, true, false},
        {"float3x3 from float4x4", Type::MakeMatrix(3), Type::MakeMatrix(4), true, true, false},
        {"Texture2D from Texture3D", Texture(TEXTURE_2D), Texture(TEXTURE_3D), true, true, false},
        {"Texture3D from Texture3D", Texture(TEXTURE_3D), Texture(TEXTURE_3D), false, false, true},
        {"float from an array", kFloat, kFloatArray, true, false, false},
        {"float from an array, arrays allowed", kFloat, kFloatArray, true, true, true},
        {"arrays of other sizes", Vector(BaseType::FLOAT, 1, 2), kFloatArray, false, true, true},
        {"an array from float", kFloatArray, kFloat, false, false, true},
        {"a buffer from a plain uint3", kUintBuffer, Vector(BaseType::UINT, 3), true, true, false},
        {"a plain uint3 from a buffer", Vector(BaseType::UINT, 3), kUintBuffer, true, true, false},
        {"a buffer from a buffer", kUintBuffer, kUintBuffer, false, false, true},
        {"the same struct", kLight, Type::MakeStruct("Light"), false, false, true},
        {"a longer struct name", kLight, Type::MakeStruct("Lights"), true, true, false},
        {"another struct", kLight, Type::MakeStruct("Shade"), true, true, false},
        {"an unnamed struct", kLight, Type::MakeStruct(""), true, true, false},
        {"from an unnamed struct", Type::MakeStruct(""), kLight, true, true, false},
        {"a constant", Vector(BaseType::FLOAT, 2), AsConstant(Vector(BaseType::FLOAT, 2)), false, false, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TypesMatch(row.expected, row.actual, row.allowConversion, row.allowArray), row.match) << row.what;
    }
}

}  // namespace
}  // namespace ShaderTool
