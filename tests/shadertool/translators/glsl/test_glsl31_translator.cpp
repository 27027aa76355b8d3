// GLSL for the newer desktop language and for OpenGL ES 3: in and out
// declarations, one output variable per pixel output, native integers, the
// overloaded texture functions and flat integer varyings.
#include "shadertool/support/glsl_translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kSpritePixelInputs =
    "in vec2 _vary_uv;\nin vec4 _vary_color;\n\n"
    "uniform vec4 _const_tint;\nuniform vec4 _const_time;\n\n"
    "uniform sampler2D _tex_albedo;\n\n";
const char* const kSpritePixelBody =
    "\nvoid main()\n{\n\tvec4 texel = texture(_tex_albedo, _vary_uv);\n"
    "\t_out_color = texel * _vary_color * _const_tint;\n}\n";

using GLSL31TranslatorTest = GLSLTranslatorFixture;

TEST_F(GLSL31TranslatorTest, SpriteVertexShaderIsTheSameForBothTargets)
{
    for (uint32_t target : {TARGET_GLSL31, TARGET_ESSL30}) {
        ASSERT_TRUE(Run(target, kSpriteVertexMain, STAGE_VERTEX)) << LogText();
        EXPECT_EQ(result,
                  "in vec4 _in_position;\nin vec4 _in_color;\nin vec2 _in_uv;\n\n"
                  "uniform mat4 _const_transform;\nuniform vec4 _const_time;\n\n"
                  "out vec2 _vary_uv;\nout vec4 _vary_color;\n\n"
                  "void main()\n{\n\tgl_Position = _in_position * _const_transform;\n\t_vary_uv = _in_uv;\n"
                  "\t_vary_color = _in_color;\n}\n")
            << GetTargetName(target);
    }
}

TEST_F(GLSL31TranslatorTest, SpritePixelShader)
{
    ASSERT_TRUE(Run(TARGET_GLSL31, kSpritePixelMain, STAGE_PIXEL)) << LogText();
    EXPECT_EQ(result, std::string(kSpritePixelInputs) + "out vec4 _out_color;\n" + kSpritePixelBody);
    ASSERT_TRUE(Run(TARGET_ESSL30, kSpritePixelMain, STAGE_PIXEL)) << LogText();
    EXPECT_EQ(result, std::string("precision highp float;\nprecision lowp sampler3D;\n\n") + kSpritePixelInputs +
                          "layout(location = 0) out vec4 _out_color;\n" + kSpritePixelBody);
}

TEST_F(GLSL31TranslatorTest, EachPixelOutputHasItsOwnVariable)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    const std::string text = "void main()\n{\n\toutput.color = float4(1.0);\n\toutput.emission = float4(0.5);\n}\n";
    ASSERT_TRUE(Run(TARGET_GLSL31, text, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("\nout vec4 _out_color;\nout vec4 _out_emission;\n")) << result;
    EXPECT_TRUE(Contains("\t_out_color = vec4(1.0f);\n\t_out_emission = vec4(0.5f);\n")) << result;
    ASSERT_TRUE(Run(TARGET_ESSL30, text, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("\nlayout(location = 0) out vec4 _out_color;\nlayout(location = 1) out vec4 _out_emission;\n"))
        << result;
}

TEST_F(GLSL31TranslatorTest, ModuloAndBitwiseOperatorsAreWrittenAsTheyStand)
{
    ASSERT_TRUE(Run(TARGET_GLSL31,
                    "void main()\n{\n\tint a = 7 % 3;\n\ta %= 2;\n\tint b = (a << 2) | (a & 1) ^ ~a;\n"
                    "\toutput.color = float4(float(b));\n}\n",
                    STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("\tint a = 7 % 3;\n\ta %= 2;\n\tint b = (a << 2) | (a & 1) ^ ~a;\n")) << result;
}

TEST_F(GLSL31TranslatorTest, LevelSamplingNeedsNoExtension)
{
    ASSERT_TRUE(Run(TARGET_GLSL31,
                    "void main()\n{\n\toutput.color = sampleTextureLod(texture.albedo, input.uv, 1.0) + "
                    "sampleTextureGrad(texture.albedo, input.uv, input.uv, input.uv) + "
                    "sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n}\n",
                    STAGE_PIXEL))
        << LogText();
    EXPECT_EQ(result.find("in vec2 _vary_uv;\n"), 0u) << result;
    EXPECT_TRUE(
        Contains("\t_out_color = textureLod(_tex_albedo, _vary_uv, 1.0f) + textureGrad(_tex_albedo, _vary_uv, "
                 "_vary_uv, _vary_uv) + textureLodOffset(_tex_albedo, _vary_uv, 0.0f, ivec2(1, 0));\n"))
        << result;
}

TEST_F(GLSL31TranslatorTest, VertexAndInstanceIdsAreTheLanguageVariables)
{
    ASSERT_TRUE(Run(TARGET_ESSL30,
                    "void main()\n{\n\toutput.position = input.position * float(input.vertex_id + input.instance_id);\n"
                    "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
                    STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("\tgl_Position = _in_position * float(gl_VertexID + gl_InstanceID);\n")) << result;
}

TEST_F(GLSL31TranslatorTest, IntegerVaryingsAreFlatAndBoolVaryingsRefused)
{
    ShaderInterfaces::AddOutput(description, "tile", Type::MakeVector(BaseType::INT, 2),
                                VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ASSERT_TRUE(Run(TARGET_GLSL31,
                    "void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
                    "\toutput.color = input.color;\n\toutput.tile = int2(1, 2);\n}\n",
                    STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("\nout vec2 _vary_uv;\nout vec4 _vary_color;\nflat out ivec2 _vary_tile;\n")) << result;
    ASSERT_TRUE(Run(TARGET_ESSL30, "void main()\n{\n\toutput.color = float4(float(input.tile.x));\n}\n", STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("in vec2 _vary_uv;\nin vec4 _vary_color;\nflat in ivec2 _vary_tile;\n")) << result;

    ShaderInterfaces::AddOutput(description, "lit", Type::MakeVector(BaseType::BOOL, 1),
                                VERTEX_OUTPUT_TEXTURE_COORDINATE);
    EXPECT_FALSE(Run(TARGET_GLSL31, kPixelColorMain, STAGE_PIXEL));
    EXPECT_EQ(LogText(),
              "Error: vertex output 'lit' of type 'bool' cannot be passed to the pixel stage in target "
              "'GLSL31'.\n");
}

TEST_F(GLSL31TranslatorTest, RefusalsTheNewerLanguagesKeep)
{
    EXPECT_FALSE(Run(TARGET_GLSL31,
                     "void main()\n{\n\toutput.color = float4(sampleTextureCompareLodZero(texture.albedo, input.uv, "
                     "0.5));\n}\n",
                     STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: function 'sampleTextureCompareLodZero' is not supported.\n");
    EXPECT_FALSE(Run(TARGET_ESSL30, "void main()\n{\n\tuint u = 1u;\n\toutput.color = float4(1.0);\n}\n", STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: unsigned integers are not supported.\n");
}

}  // namespace
