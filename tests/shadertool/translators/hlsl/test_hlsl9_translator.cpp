// HLSL for shader model 3: the interface structs, constants, samplers and
// the forms that differ from the base translator.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

class HLSL9TranslatorTest : public TranslatorFixture {
protected:
    bool Run(const std::string& text, uint32_t stage)
    {
        translator = Make(TARGET_HLSL9);
        return Translate(*translator, text, stage, TARGET_HLSL9);
    }

    std::unique_ptr<Translator> translator;
};

TEST_F(HLSL9TranslatorTest, SpriteVertexShaderOfVersion22)
{
    description = ShaderInterfaces::MakeSprite(0x20002);
    description.vertexOutput[2].semanticIndex = 0;
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * transform;\n\toutput.uv = input.uv;\n"
            "\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_EQ(result,
              "struct VertexInput\n{\n\tfloat4 position : POSITION;\n\tfloat4 color : COLOR;\n"
              "\tfloat2 uv : TEXCOORD0;\n};\n\nfloat4x4 _const_transform;\n\n"
              "struct VertexOutput\n{\n\tfloat4 position : POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
              "\tfloat4 color : COLOR0;\n};\n\n"
              "VertexOutput main(VertexInput input)\n{\n\tVertexOutput output;\n"
              "\toutput.position = mul(input.position, _const_transform);\n\toutput.uv = input.uv;\n"
              "\toutput.color = input.color;\n\n\treturn output;\n}\n");
}

TEST_F(HLSL9TranslatorTest, SpritePixelShaderOfVersion24)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
            "\toutput.color = texel * input.color * constants.tint;\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_EQ(result,
              "struct PixelInput\n{\n\tfloat4 position : POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
              "\tfloat4 color : COLOR0;\n};\n\nfloat4 _const_tint;\nfloat4 _const_time;\n\n"
              "sampler _tex_albedo : register(s0);\n\nstruct PixelOutput\n{\n\tfloat4 color : COLOR0;\n};\n\n"
              "PixelOutput main(PixelInput input)\n{\n\tPixelOutput output;\n"
              "\tfloat4 texel = tex2D(_tex_albedo, input.uv);\n"
              "\toutput.color = texel * input.color * _const_tint;\n\n\treturn output;\n}\n");
}

TEST_F(HLSL9TranslatorTest, FacingAddsTheLastPixelInputMember)
{
    ASSERT_TRUE(Run("void main()\n{\n\toutput.color = float4(input.face_direction);\n}\n", STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("\tfloat4 color : COLOR0;\n\tfloat _facing : VFACE;\n};\n")) << result;
    EXPECT_TRUE(Contains("output.color = (float4)(input._facing);")) << result;
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL));
    EXPECT_FALSE(Contains("_facing"));
}

TEST_F(HLSL9TranslatorTest, FrontFacingComparesTheFacing)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tif (input.is_front_facing)\n\t\toutput.color = float4(1.0);\n"
            "\telse\n\t\toutput.color = float4(0.0);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("if ((input._facing > 0.0f))")) << result;
}

TEST_F(HLSL9TranslatorTest, LodOffsetDeclaresOneReciprocalPerTexture)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4 a = sampleTextureLodOffset(texture.normal_map, input.uv, 0.0, int2(1, 0));\n"
            "\tfloat4 b = sampleTextureLodOffset(texture.normal_map, input.uv, 1.0, int2(0, 1));\n"
            "\tfloat4 c = sampleTextureLodOffset(texture.noise, input.world_position, 0.0, int3(1, 0, 0));\n"
            "\toutput.color = a + b + c;\n\toutput.emission = float4(0.0);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_EQ(result.find("float2 _const_reciprocal_texture_dimensions_1;\n"), 0u) << result;
    EXPECT_TRUE(
        Contains("float2 _const_reciprocal_texture_dimensions_1;\nfloat3 _const_reciprocal_texture_dimensions_3;\n\n"
                 "struct PixelInput"))
        << result;
    EXPECT_TRUE(
        Contains("tex2Dlod(_tex_normal_map, float4(input.uv + _const_reciprocal_texture_dimensions_1 * "
                 "int2(1, 0), 0.0f, 0.0f))"))
        << result;
    EXPECT_TRUE(
        Contains("tex3Dlod(_tex_noise, float4(input.world_position + _const_reciprocal_texture_dimensions_3 * "
                 "int3(1, 0, 0), 0.0f))"))
        << result;
}

TEST_F(HLSL9TranslatorTest, LodWithTwoCoordinatesInsertsAZero)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = sampleTextureLod(texture.albedo, input.uv, 2.0);\n"
            "\toutput.emission = sampleTextureLod(texture.environment, input.world_normal, 1.0);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("output.color = tex2Dlod(_tex_albedo, float4(input.uv, 0.0f, 2.0f));")) << result;
    EXPECT_TRUE(Contains("output.emission = texCUBElod(_tex_environment, float4(input.world_normal, 1.0f));"))
        << result;
}

TEST_F(HLSL9TranslatorTest, CubeAndGradientSamplingNames)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = sampleTexture(texture.environment, input.world_normal);\n"
            "\toutput.emission = sampleTextureGrad(texture.albedo, input.uv, float2(0.1), float2(0.1));\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("texCUBE(_tex_environment, input.world_normal)")) << result;
    EXPECT_TRUE(Contains("tex2Dgrad(_tex_albedo, input.uv, (float2)(0.1f), (float2)(0.1f))")) << result;
}

TEST_F(HLSL9TranslatorTest, SecondTextureCoordinateUsesIndexOneInBothStructs)
{
    description.vertexOutput.Clear();
    ShaderInterfaces::AddOutput(description, "position", ShaderInterfaces::Float(4), VERTEX_OUTPUT_POSITION);
    ShaderInterfaces::AddOutput(description, "uv", ShaderInterfaces::Float(2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ShaderInterfaces::AddOutput(description, "uv2", ShaderInterfaces::Float(2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    description.vertexOutput[2].semanticIndex = 1;
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
            "\toutput.uv2 = input.uv;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(
        Contains("struct VertexOutput\n{\n\tfloat4 position : POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
                 "\tfloat2 uv2 : TEXCOORD1;\n};\n"))
        << result;
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL));
    EXPECT_TRUE(Contains("\tfloat2 uv2 : TEXCOORD1;\n")) << result;
}

TEST_F(HLSL9TranslatorTest, GlobalsAreStaticAndLocalsAreNot)
{
    ASSERT_TRUE(
        Run("float scale = 2.0;\n\nvoid main()\n{\n\tfloat local = scale;\n"
            "\toutput.color = float4(local);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("static float scale = 2.0f;\n")) << result;
    EXPECT_TRUE(Contains("\tfloat local = scale;\n")) << result;
}

TEST_F(HLSL9TranslatorTest, MatrixTimesVectorUsesMulAndMatrixTimesMatrixStays)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4x4 m = constants.transform * constants.transform;\n"
            "\tfloat4 p = input.position;\n\tp *= m;\n\toutput.position = p * m;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("float4x4 m = _const_transform * _const_transform;")) << result;
    EXPECT_TRUE(Contains("\tp = mul(p, m);\n")) << result;
    EXPECT_TRUE(Contains("output.position = mul(p, m);")) << result;
}

TEST_F(HLSL9TranslatorTest, BitwiseOperatorsAreReported)
{
    EXPECT_FALSE(
        Run("void main()\n{\n\tint a = 5;\n\ta <<= 1;\n\toutput.color = float4(float(a ^ 3));\n}\n", STAGE_PIXEL));
    EXPECT_EQ(LogText(),
              "Error: bit-wise operations are not supported.\n"
              "Error: bit-wise operations are not supported.\n");
}

TEST_F(HLSL9TranslatorTest, ComparisonSamplingIsNotSupported)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    EXPECT_FALSE(
        Run("void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
            "\toutput.color = float4(lit);\n\toutput.emission = float4(0.0);\n}\n",
            STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: function 'sampleTextureCompareLodZero' is not supported.\n");
}

TEST_F(HLSL9TranslatorTest, VertexIdIsNotSupported)
{
    EXPECT_FALSE(
        Run("void main()\n{\n\toutput.position = input.position * float(input.vertex_id);\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX));
    EXPECT_EQ(LogText(), "Error: 'input.vertex_id' is not supported.\n");
}

TEST_F(HLSL9TranslatorTest, IntegerConstantsLiveInFloatRegistersAndConvertBack)
{
    description = ShaderInterfaces::MakeSprite(0x20002);
    ShaderInterfaces::AddConstant(description.pixelConstants, "mode", Type::MakeVector(BaseType::INT, 4));
    ShaderInterfaces::AddConstant(description.pixelConstants, "modes", Type::MakeVector(BaseType::INT, 4, 0, 3));
    ASSERT_TRUE(
        Run("void main()\n{\n\tint4 m = mode;\n\tint4 n = modes[1];\n"
            "\toutput.color = float4(m + n);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("float4 _const_mode;\nfloat4 _const_modes[3];\n")) << result;
    EXPECT_TRUE(Contains("int4 m = int4(_const_mode);")) << result;
    // The conversion takes the element, not the whole array.
    EXPECT_TRUE(Contains("int4 n = int4(_const_modes[1]);")) << result;
}

}  // namespace
