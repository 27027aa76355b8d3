#include "shadertool/basic/type.h"

#include <gtest/gtest.h>

namespace ShaderTool {
namespace {

std::string LongText(const Type& type) { return GetTypeText(type, false).GetText(); }

std::string ShortText(const Type& type) { return GetTypeText(type, true).GetText(); }

Type Image(int32_t shape)
{
    Type type;
    type.baseType = BaseType::IMAGE;
    type.vectorSize = 0;
    type.imageShape = shape;
    return type;
}

TEST(ShaderType, DefaultIsTheUndefinedType)
{
    Type type;
    EXPECT_EQ(type.baseType, BaseType::UNDEFINED);
    EXPECT_EQ(type.vectorSize, 0);
    EXPECT_EQ(type.imageShape, 1);
    EXPECT_EQ(type.textureDimension, TEXTURE_NONE);
    EXPECT_FALSE(type.IsValidVariableType());
    EXPECT_EQ(LongText(type), "");
    EXPECT_EQ(ShortText(type), "");
}

TEST(ShaderType, VectorAndMatrixTexts)
{
    EXPECT_EQ(LongText(Type::MakeVector(BaseType::FLOAT, 3)), "float3");
    EXPECT_EQ(ShortText(Type::MakeVector(BaseType::FLOAT, 3)), "f3");
    EXPECT_EQ(LongText(Type::MakeMatrix(4)), "float4x4");
    EXPECT_EQ(ShortText(Type::MakeMatrix(4)), "fx4");
    EXPECT_EQ(LongText(Type::MakeVector(BaseType::BOOL, 1)), "bool");
    EXPECT_EQ(ShortText(Type::MakeVector(BaseType::BOOL, 1)), "b");
    EXPECT_EQ(LongText(Type::MakeVector(BaseType::INT, 4)), "int4");
    EXPECT_EQ(ShortText(Type::MakeVector(BaseType::UINT, 1)), "u");
    EXPECT_EQ(LongText(Type::MakeVector(BaseType::VOID, 1)), "void");
    EXPECT_EQ(ShortText(Type::MakeVector(BaseType::VOID, 1)), "v");
}

TEST(ShaderType, ShortTextShowsBufferAndArrayButLongTextDoesNot)
{
    Type type = Type::MakeVector(BaseType::UINT, 3, 0, 2, true);
    EXPECT_EQ(LongText(type), "uint3");
    EXPECT_EQ(ShortText(type), "b_u3[2");
    EXPECT_EQ(ShortText(Type::MakeVector(BaseType::FLOAT, 4, 0, 3)), "f4[3");
    EXPECT_EQ(ShortText(Type::MakeVector(BaseType::UINT, 3, 0, 0, true)), "b_u3");
    EXPECT_EQ(ShortText(Type::MakeMatrix(2, 0, 7)), "fx2[7");
}

TEST(ShaderType, StructTexts)
{
    Type type = Type::MakeStruct("Light");
    EXPECT_EQ(LongText(type), "Light");
    EXPECT_EQ(ShortText(type), "_Light");
    EXPECT_TRUE(type.IsValidVariableType());
}

TEST(ShaderType, ImageShapeDecidesTextAndValidity)
{
    EXPECT_EQ(LongText(Image(1)), "");
    EXPECT_EQ(ShortText(Image(1)), "");
    EXPECT_FALSE(Image(1).IsValidVariableType());
    EXPECT_EQ(LongText(Image(0)), "Image2D");
    EXPECT_EQ(ShortText(Image(0)), "im2");
    EXPECT_TRUE(Image(0).IsValidVariableType());
    EXPECT_EQ(ShortText(Type::MakeImage2D()), "im2");
    EXPECT_EQ(Type::MakeImage2D().qualifiers, QUALIFIER_CONST);
}

TEST(ShaderType, TextureTextsAndValidity)
{
    EXPECT_EQ(LongText(Type::MakeTexture(TEXTURE_2D)), "Texture2D");
    EXPECT_EQ(ShortText(Type::MakeTexture(TEXTURE_2D)), "t2");
    EXPECT_EQ(LongText(Type::MakeTexture(TEXTURE_3D)), "Texture3D");
    EXPECT_EQ(ShortText(Type::MakeTexture(TEXTURE_3D)), "t3");
    EXPECT_EQ(LongText(Type::MakeTexture(TEXTURE_CUBE)), "TextureCube");
    EXPECT_EQ(ShortText(Type::MakeTexture(TEXTURE_CUBE)), "tc");
    EXPECT_TRUE(Type::MakeTexture(TEXTURE_CUBE).IsValidVariableType());
    Type none = Type::MakeTexture(TEXTURE_NONE);
    EXPECT_FALSE(none.IsValidVariableType());
    EXPECT_EQ(LongText(none), "");
    EXPECT_EQ(ShortText(none), "");
}

TEST(ShaderType, VoidValidity)
{
    EXPECT_TRUE(Type::MakeVector(BaseType::VOID, 1).IsValidVariableType());
    EXPECT_TRUE(Type::MakeVector(BaseType::VOID, 0).IsValidVariableType());
    EXPECT_FALSE(Type::MakeVector(BaseType::VOID, 1, 0, 2).IsValidVariableType());
    EXPECT_FALSE(Type::MakeVector(BaseType::VOID, 2).IsValidVariableType());
}

TEST(ShaderType, NamedNonStructIsInvalid)
{
    Type type = Type::MakeVector(BaseType::FLOAT, 1);
    type.name = "Light";
    EXPECT_FALSE(type.IsValidVariableType());
}

TEST(ShaderType, OnlyNumericKindsMayBeBuffers)
{
    EXPECT_TRUE(Type::MakeVector(BaseType::UINT, 1, 0, 0, true).IsValidVariableType());
    EXPECT_TRUE(Type::MakeVector(BaseType::BOOL, 1, 0, 0, true).IsValidVariableType());
    Type texture = Type::MakeTexture(TEXTURE_2D);
    texture.isBuffer = 1;
    EXPECT_FALSE(texture.IsValidVariableType());
    Type structBuffer = Type::MakeStruct("Light");
    structBuffer.isBuffer = 1;
    EXPECT_FALSE(structBuffer.IsValidVariableType());
}

TEST(ShaderType, ResourcesCannotHaveVectorSize)
{
    Type texture = Type::MakeTexture(TEXTURE_2D);
    texture.vectorSize = 1;
    EXPECT_FALSE(texture.IsValidVariableType());
    Type image = Type::MakeImage2D();
    image.vectorSize = 2;
    EXPECT_FALSE(image.IsValidVariableType());
    Type light = Type::MakeStruct("Light");
    light.vectorSize = 1;
    EXPECT_FALSE(light.IsValidVariableType());
}

TEST(ShaderType, MatricesOnlyOfFloat)
{
    EXPECT_TRUE(Type::MakeMatrix(2).IsValidVariableType());
    Type intMatrix = Type::MakeMatrix(2);
    intMatrix.baseType = BaseType::INT;
    EXPECT_FALSE(intMatrix.IsValidVariableType());
}

TEST(ShaderType, ArraysOfNumericImageStructAndTextureAreValid)
{
    EXPECT_TRUE(Type::MakeVector(BaseType::FLOAT, 4, 0, 8).IsValidVariableType());
    EXPECT_TRUE(Type::MakeStruct("Light", 0, 2).IsValidVariableType());
    Type textures = Type::MakeTexture(TEXTURE_2D);
    textures.arraySize = 4;
    EXPECT_TRUE(textures.IsValidVariableType());
}

TEST(ShaderType, KindsOutsideTheEnumerationAreInvalidAndHaveNoText)
{
    Type type;
    type.baseType = static_cast<BaseType>(9);
    type.vectorSize = 1;
    EXPECT_FALSE(type.IsValidVariableType());
    EXPECT_EQ(LongText(type), "");
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

TEST(ShaderTypeMatch, ConversionsOnlyWhenAllowed)
{
    Type float2 = Type::MakeVector(BaseType::FLOAT, 2);
    Type int2 = Type::MakeVector(BaseType::INT, 2);
    EXPECT_TRUE(TypesMatch(float2, int2, true, false));
    EXPECT_FALSE(TypesMatch(float2, int2, false, false));
    EXPECT_TRUE(TypesMatch(Type::MakeVector(BaseType::FLOAT, 1), Type::MakeVector(BaseType::UINT, 1), true, false));
    EXPECT_TRUE(TypesMatch(Type::MakeVector(BaseType::UINT, 3), Type::MakeVector(BaseType::INT, 3), true, false));
}

TEST(ShaderTypeMatch, NoOtherConversionExists)
{
    Type intType = Type::MakeVector(BaseType::INT, 1);
    Type uintType = Type::MakeVector(BaseType::UINT, 1);
    Type floatType = Type::MakeVector(BaseType::FLOAT, 1);
    Type boolType = Type::MakeVector(BaseType::BOOL, 1);
    EXPECT_FALSE(TypesMatch(intType, uintType, true, false));
    EXPECT_FALSE(TypesMatch(intType, uintType, false, false));
    EXPECT_FALSE(TypesMatch(intType, floatType, true, false));
    EXPECT_FALSE(TypesMatch(uintType, floatType, true, false));
    EXPECT_FALSE(TypesMatch(boolType, intType, true, false));
    EXPECT_FALSE(TypesMatch(floatType, boolType, true, false));
    EXPECT_FALSE(TypesMatch(intType, boolType, true, false));
}

TEST(ShaderTypeMatch, ShapesMustBeEqual)
{
    EXPECT_FALSE(TypesMatch(Type::MakeVector(BaseType::FLOAT, 3), Type::MakeVector(BaseType::FLOAT, 4), true, true));
    EXPECT_FALSE(TypesMatch(Type::MakeMatrix(3), Type::MakeMatrix(4), true, true));
    EXPECT_FALSE(TypesMatch(Type::MakeTexture(TEXTURE_2D), Type::MakeTexture(TEXTURE_3D), true, true));
    EXPECT_TRUE(TypesMatch(Type::MakeTexture(TEXTURE_3D), Type::MakeTexture(TEXTURE_3D), false, false));
}

TEST(ShaderTypeMatch, ArraysOnlyWhenAllowedAndSizesNotCompared)
{
    Type floatType = Type::MakeVector(BaseType::FLOAT, 1);
    Type floatArray = Type::MakeVector(BaseType::FLOAT, 1, 0, 4);
    EXPECT_FALSE(TypesMatch(floatType, floatArray, true, false));
    EXPECT_TRUE(TypesMatch(floatType, floatArray, true, true));
    EXPECT_TRUE(TypesMatch(Type::MakeVector(BaseType::FLOAT, 1, 0, 2), floatArray, false, true));
    EXPECT_TRUE(TypesMatch(floatArray, floatType, false, false));
}

TEST(ShaderTypeMatch, BufferFlagsMustBeEqual)
{
    Type buffer = Type::MakeVector(BaseType::UINT, 3, 0, 0, true);
    Type plain = Type::MakeVector(BaseType::UINT, 3);
    EXPECT_FALSE(TypesMatch(buffer, plain, true, true));
    EXPECT_FALSE(TypesMatch(plain, buffer, true, true));
    EXPECT_TRUE(TypesMatch(buffer, buffer, false, false));
}

TEST(ShaderTypeMatch, StructNamesMustBeEqual)
{
    EXPECT_TRUE(TypesMatch(Type::MakeStruct("Light"), Type::MakeStruct("Light"), false, false));
    EXPECT_FALSE(TypesMatch(Type::MakeStruct("Light"), Type::MakeStruct("Lights"), true, true));
    EXPECT_FALSE(TypesMatch(Type::MakeStruct("Light"), Type::MakeStruct("Shade"), true, true));
    Type unnamed = Type::MakeStruct("");
    EXPECT_FALSE(TypesMatch(Type::MakeStruct("Light"), unnamed, true, true));
    EXPECT_FALSE(TypesMatch(unnamed, Type::MakeStruct("Light"), true, true));
}

TEST(ShaderTypeMatch, QualifiersAndConstantFlagsDoNotMatter)
{
    Type constFloat = Type::MakeVector(BaseType::FLOAT, 2, QUALIFIER_CONST);
    constFloat.isConstant = 1;
    EXPECT_TRUE(TypesMatch(Type::MakeVector(BaseType::FLOAT, 2), constFloat, false, false));
}

}  // namespace
}  // namespace ShaderTool
