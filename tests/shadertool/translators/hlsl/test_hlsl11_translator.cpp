// HLSL for shader models 4 and 5: system values, the constant buffer,
// texture and sampler objects and sampling methods.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kShadowedPixel =
    "void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
    "\toutput.color = sampleTexture(texture.albedo, input.uv) * lit;\n\toutput.emission = float4(0.0);\n}\n";

using HLSL11TranslatorTest = TargetTranslatorFixture<TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT>;

TEST_F(HLSL11TranslatorTest, SpritePixelShaderOfVersion24)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
            "\toutput.color = texel * input.color * constants.tint;\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_EQ(
        result,
        "#pragma warning(disable : 3078)\n\n"
        "struct PixelInput\n{\n\tfloat4 position : SV_POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
        "\tfloat4 color : COLOR0;\n};\n\ncbuffer Constants\n{\n\tfloat4 _const_tint;\n\tfloat4 _const_time;\n};\n\n"
        "SamplerState _smp_albedo : register(s0);\nTexture2D _tex_albedo : register(t0);\n\n"
        "struct PixelOutput\n{\n\tfloat4 color : SV_TARGET0;\n};\n\n"
        "PixelOutput main(PixelInput input)\n{\n\tPixelOutput output;\n"
        "\tfloat4 texel = _tex_albedo.Sample(_smp_albedo, input.uv);\n"
        "\toutput.color = texel * input.color * _const_tint;\n\n\treturn output;\n}\n");
}

TEST_F(HLSL11TranslatorTest, SpriteVertexShaderOfVersion23)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * constants.transform;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_EQ(result,
              "#pragma warning(disable : 3078)\n\n"
              "struct VertexInput\n{\n\tfloat4 position : POSITION;\n\tfloat4 color : COLOR;\n"
              "\tfloat2 uv : TEXCOORD0;\n};\n\ncbuffer Constants\n{\n\tfloat4x4 _const_transform;\n};\n\n"
              "struct VertexOutput\n{\n\tfloat4 position : SV_POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
              "\tfloat4 color : COLOR0;\n};\n\n"
              "VertexOutput main(VertexInput input)\n{\n\tVertexOutput output;\n"
              "\toutput.position = mul(input.position, _const_transform);\n\toutput.uv = input.uv;\n"
              "\toutput.color = input.color;\n\n\treturn output;\n}\n");
}

TEST_F(HLSL11TranslatorTest, StageWithoutConstantsHasNoBuffer)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    description.pixelConstants.variables.Clear();
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL)) << LogText();
    EXPECT_FALSE(Contains("cbuffer")) << result;
    EXPECT_EQ(result.find("#pragma warning(disable : 3078)\n\nstruct PixelInput\n"), 0u) << result;
}

TEST_F(HLSL11TranslatorTest, ComparisonSamplerOnlyForTheComparedTexture)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    ASSERT_TRUE(Run(kShadowedPixel, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(
        Contains("SamplerState _smp_albedo : register(s0);\nTexture2D _tex_albedo : register(t0);\n"
                 "SamplerState _smp_normal_map : register(s1);\nTexture2D _tex_normal_map : register(t1);\n"
                 "SamplerState _smp_environment : register(s2);\nTextureCube _tex_environment : register(t2);\n"
                 "SamplerState _smp_noise : register(s3);\nTexture3D _tex_noise : register(t3);\n"
                 "SamplerComparisonState _smp_shadow_map : register(s4);\n"
                 "Texture2D _tex_shadow_map : register(t4);\n"))
        << result;
    EXPECT_TRUE(Contains("float lit = _tex_shadow_map.SampleCmpLevelZero(_smp_shadow_map, input.uv, 0.5f);")) << result;
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = float4(1.0);\n\toutput.emission = float4(0.0);\n}\n", STAGE_PIXEL));
    EXPECT_FALSE(Contains("SamplerComparisonState")) << result;
}

TEST_F(HLSL11TranslatorTest, FailedStageDoesNotPassItsComparisonsOn)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    // Compared, then failed before the interface was written.
    EXPECT_FALSE(
        Run("void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
            "\toutput.color = float4(lit) * float(floatBitsToUint(lit));\n"
            "\toutput.emission = float4(0.0);\n}\n",
            STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: function 'floatBitsToUint' is not supported.\n");
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = float4(1.0);\n\toutput.emission = float4(0.0);\n}\n", STAGE_PIXEL));
    EXPECT_FALSE(Contains("SamplerComparisonState")) << result;
}

TEST_F(HLSL11TranslatorTest, TextureSampledBothWithAndWithoutAComparisonIsRefusedOnce)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    EXPECT_FALSE(
        Run("void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
            "\toutput.color = sampleTexture(texture.shadow_map, input.uv) * lit;\n"
            "\toutput.emission = sampleTexture(texture.shadow_map, input.uv);\n}\n",
            STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: texture 'shadow_map' is sampled both with and without a comparison.\n");
}

TEST_F(HLSL11TranslatorTest, LodOffsetIsASampleLevelWithFourArguments)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.color = sampleTextureLodOffset(texture.albedo, input.uv, 1.0, int2(1, 0));\n"
            "\toutput.emission = sampleTextureLod(texture.albedo, input.uv, 2.0);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("output.color = _tex_albedo.SampleLevel(_smp_albedo, input.uv, 1.0f, int2(1, 0));")) << result;
    EXPECT_TRUE(Contains("output.emission = _tex_albedo.SampleLevel(_smp_albedo, input.uv, 2.0f);")) << result;
}

TEST_F(HLSL11TranslatorTest, BitwiseOperatorsAreRefusedOnlyAtTheLowLevel)
{
    const std::string source =
        "void main()\n{\n\tint a = 6;\n\ta = (a >> 1) & 3;\n"
        "\toutput.color = float4(float(a));\n}\n";
    ASSERT_TRUE(Run(source, STAGE_PIXEL, FEATURE_LEVEL_HLSL11_DEFAULT)) << LogText();
    EXPECT_TRUE(Contains("a = (a >> 1) & 3;")) << result;
    EXPECT_FALSE(Run(source, STAGE_PIXEL, FEATURE_LEVEL_HLSL11_LOW));
    EXPECT_EQ(LogText(),
              "Error: bit-wise operations are not supported in level 'HLSL11_LOW'.\n"
              "Error: bit-wise operations are not supported in level 'HLSL11_LOW'.\n");
}

TEST_F(HLSL11TranslatorTest, InstanceIdComesBeforeVertexIdWhateverWasReadFirst)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat v = float(input.vertex_id);\n\tfloat i = float(input.instance_id);\n"
            "\toutput.position = input.position * (v + i);\n\toutput.uv = input.uv;\n"
            "\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(
        Contains("\tfloat2 uv : TEXCOORD0;\n\tuint _instance_id : SV_InstanceID;\n"
                 "\tuint _vertex_id : SV_VertexID;\n};\n"))
        << result;
    EXPECT_TRUE(Contains("float v = float(input._vertex_id);")) << result;
    EXPECT_TRUE(Contains("float i = float(input._instance_id);")) << result;
}

TEST_F(HLSL11TranslatorTest, FloatBitsAreNotSupported)
{
    EXPECT_FALSE(Run("void main()\n{\n\toutput.color = float4(float(floatBitsToUint(1.0)));\n}\n", STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: function 'floatBitsToUint' is not supported.\n");
}

TEST_F(HLSL11TranslatorTest, FaceDirectionIsMinusOneForABackFace)
{
    ASSERT_TRUE(Run("void main()\n{\n\toutput.color = float4(input.face_direction);\n}\n", STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("\tfloat4 color : COLOR0;\n\tbool _facing : SV_IsFrontFace;\n};\n")) << result;
    EXPECT_TRUE(Contains("output.color = (float4)((input._facing ? 1.0f : -1.0f));")) << result;
}

TEST_F(HLSL11TranslatorTest, RayTracingInputsAreNotSupported)
{
    EXPECT_FALSE(Run("void main()\n{\n\toutput.color = float4(input.ray_length);\n}\n", STAGE_PIXEL));
}

TEST_F(HLSL11TranslatorTest, SharedConstantsJoinTheVertexBuffer)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * constants.transform * constants.time.x;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("cbuffer Constants\n{\n\tfloat4x4 _const_transform;\n\tfloat4 _const_time;\n};\n")) << result;
}

}  // namespace
