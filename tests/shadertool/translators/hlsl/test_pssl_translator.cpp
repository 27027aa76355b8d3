// PSSL: HLSL11's forms with the platform's semantic words, constant buffer
// keyword, sampling methods, all/any casts and the vertex colour swizzle.
// No PSSL compiler exists here: these golden texts are the judge.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kColorSwizzle = "\n\n#if defined(__PROSPERO__)\n\n\t.bgra\n\n#endif\n\n\t";

using PSSLTranslatorTest = TargetTranslatorFixture<TARGET_PSSL, FEATURE_LEVEL_PSSL_GNM>;

TEST_F(PSSLTranslatorTest, SpriteVertexShaderSwizzlesItsColourInputOnThePlatform)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * constants.transform;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_EQ(result,
              "struct VertexInput\n{\n\tfloat4 position : POSITION;\n\tfloat4 color : COLOR;\n"
              "\tfloat2 uv : TEXCOORD0;\n};\n\nConstantBuffer Constants\n{\n\tfloat4x4 _const_transform;\n};\n\n"
              "struct VertexOutput\n{\n\tfloat4 position : S_POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
              "\tfloat4 color : COLOR0;\n};\n\n"
              "VertexOutput main(VertexInput input)\n{\n\tVertexOutput output;\n"
              "\toutput.position = mul(input.position, _const_transform);\n\toutput.uv = input.uv;\n"
              "\toutput.color = input.color" +
                  std::string(kColorSwizzle) + ";\n\n\treturn output;\n}\n");
}

TEST_F(PSSLTranslatorTest, SpritePixelShaderHasNoPragmaAndPlatformSemantics)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
            "\toutput.color = texel * input.color * constants.tint;\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_EQ(result,
              "struct PixelInput\n{\n\tfloat4 position : S_POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
              "\tfloat4 color : COLOR0;\n};\n\nConstantBuffer Constants\n{\n\tfloat4 _const_tint;\n"
              "\tfloat4 _const_time;\n};\n\n"
              "SamplerState _smp_albedo : register(s0);\nTexture2D _tex_albedo : register(t0);\n\n"
              "struct PixelOutput\n{\n\tfloat4 color : S_TARGET_OUTPUT0;\n};\n\n"
              "PixelOutput main(PixelInput input)\n{\n\tPixelOutput output;\n"
              "\tfloat4 texel = _tex_albedo.Sample(_smp_albedo, input.uv);\n"
              "\toutput.color = texel * input.color * _const_tint;\n\n\treturn output;\n}\n");
}

TEST_F(PSSLTranslatorTest, EveryReadOfTheColourInputIsSwizzledOnlyInTheVertexStage)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4 tint = input.color * input.color;\n"
            "\toutput.position = input.position;\n\toutput.uv = input.uv;\n\toutput.color = tint;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(
        Contains("\tfloat4 tint = input.color" + std::string(kColorSwizzle) + " * input.color" + kColorSwizzle + ";\n"))
        << result;
    // The pixel input of the same name is no vertex colour input.
    ASSERT_TRUE(Run("void main()\n{\n\toutput.color = input.color;\n}\n", STAGE_PIXEL)) << LogText();
    EXPECT_FALSE(Contains("#if")) << result;
    EXPECT_TRUE(Contains("\toutput.color = input.color;\n")) << result;
}

TEST_F(PSSLTranslatorTest, VertexShaderWithoutColourInputHasNoConditionalBlock)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    description.vertexInput.DeleteAt(1);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
            "\toutput.color = float4(1.0);\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_FALSE(Contains("#if")) << result;
}

TEST_F(PSSLTranslatorTest, AllAndAnyCastTheirArgumentToABooleanVector)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tif (all(input.color.rgb) || any(input.uv))\n"
            "\t\toutput.color = float4(1.0);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("\tif (all((bool3)(input.color.rgb)) || any((bool2)(input.uv)))\n")) << result;
}

TEST_F(PSSLTranslatorTest, SamplingMethodsHaveThePlatformNames)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = sampleTextureLod(texture.albedo, input.uv, 1.0)"
            " + sampleTextureGrad(texture.albedo, input.uv, float2(0.1), float2(0.1))"
            " + sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("_tex_albedo.SampleLOD(_smp_albedo, input.uv, 1.0f)")) << result;
    EXPECT_TRUE(Contains("_tex_albedo.SampleGradient(_smp_albedo, input.uv, (float2)(0.1f), (float2)(0.1f))"))
        << result;
    EXPECT_TRUE(Contains("_tex_albedo.SampleLOD(_smp_albedo, input.uv, 0.0f, int2(1, 0))")) << result;
}

TEST_F(PSSLTranslatorTest, ComparisonSamplingIsNotSupported)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    EXPECT_FALSE(
        Run("void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
            "\toutput.color = float4(lit);\n\toutput.emission = float4(0.0);\n}\n",
            STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: function 'sampleTextureCompareLodZero' is not supported.\n");
}

TEST_F(PSSLTranslatorTest, SystemValuesHaveThePlatformSemantics)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat v = float(input.vertex_id);\n\tfloat i = float(input.instance_id);\n"
            "\toutput.position = input.position * (v + i);\n\toutput.uv = input.uv;\n"
            "\toutput.color = float4(1.0);\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(
        Contains("\tfloat2 uv : TEXCOORD0;\n\tuint _instance_id : S_INSTANCE_ID;\n"
                 "\tuint _vertex_id : S_VERTEX_ID;\n};\n"))
        << result;
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = float4(input.face_direction);\n"
            "\tif (input.is_front_facing)\n\t\toutput.color = float4(0.0);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("\tfloat4 color : COLOR0;\n\tfloat _facing : S_FRONT_FACE;\n};\n")) << result;
    EXPECT_TRUE(Contains("output.color = (float4)(input._facing);")) << result;
    EXPECT_TRUE(Contains("if ((input._facing > 0.0f))")) << result;
}

TEST_F(PSSLTranslatorTest, BitwiseOperatorsAreWrittenWhateverOtherLevelsAreAsked)
{
    ASSERT_TRUE(Run("void main()\n{\n\tint a = 6;\n\ta = (a >> 1) & 3;\n\toutput.color = float4(float(a));\n}\n",
                    STAGE_PIXEL, FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_PSSL_AGC))
        << LogText();
    EXPECT_TRUE(Contains("a = (a >> 1) & 3;")) << result;
}

}  // namespace
