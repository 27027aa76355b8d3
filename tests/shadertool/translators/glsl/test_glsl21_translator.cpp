// GLSL for the old desktop language and for OpenGL ES 2: attribute, varying
// and uniform declarations, gl_ variables for the stage structs, rewrites for
// what the old languages lack, and the refusals of both targets.
#include "shadertool/translators/glsl/essl20_translator.h"
#include "shadertool/translators/glsl/glsl31_translator.h"
#include "shadertool/translators/glsl/spirv_translator.h"
#include "shadertool/support/glsl_translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kESSL20Precision =
    "#if defined(GL_FRAGMENT_PRECISION_HIGH)\n\nprecision highp float;\n\n#else\n\nprecision mediump float;\n\n"
    "#endif\n\n";
const char* const kSpritePixelInterface =
    "varying vec2 _vary_uv;\nvarying vec4 _vary_color;\n\n"
    "uniform vec4 _const_tint;\nuniform vec4 _const_time;\n\n"
    "uniform sampler2D _tex_albedo;\n\n";

class GLSL21TranslatorTest : public GLSLTranslatorFixture {
protected:
    // The pixel main with the statements, for the target.
    bool RunPixel(uint32_t target, const std::string& statements)
    {
        return Run(target, "void main()\n{\n" + statements + "\toutput.color = float4(1.0);\n}\n", STAGE_PIXEL);
    }
};

TEST_F(GLSL21TranslatorTest, FactoryBuildsTheFamilyTree)
{
    EXPECT_NE(dynamic_cast<GLSL21Translator*>(Make(TARGET_GLSL21).get()), nullptr);
    EXPECT_NE(dynamic_cast<ESSL20Translator*>(Make(TARGET_ESSL20).get()), nullptr);
    EXPECT_NE(dynamic_cast<GLSL31Translator*>(Make(TARGET_GLSL31).get()), nullptr);
    EXPECT_NE(dynamic_cast<ESSL30Translator*>(Make(TARGET_ESSL30).get()), nullptr);
    EXPECT_NE(dynamic_cast<SPIRVTranslator*>(Make(TARGET_SPIRV).get()), nullptr);
    EXPECT_EQ(dynamic_cast<GLSL31Translator*>(Make(TARGET_ESSL20).get()), nullptr);
    EXPECT_NE(dynamic_cast<GLSL21Translator*>(Make(TARGET_SPIRV).get()), nullptr);
}

TEST_F(GLSL21TranslatorTest, SpriteVertexShaderIsTheSameForBothTargets)
{
    for (uint32_t target : {TARGET_GLSL21, TARGET_ESSL20}) {
        ASSERT_TRUE(Run(target, kSpriteVertexMain, STAGE_VERTEX)) << LogText();
        EXPECT_EQ(result,
                  "attribute vec4 _in_position;\nattribute vec4 _in_color;\nattribute vec2 _in_uv;\n\n"
                  "uniform mat4 _const_transform;\nuniform vec4 _const_time;\n\n"
                  "varying vec2 _vary_uv;\nvarying vec4 _vary_color;\n\n"
                  "void main()\n{\n\tgl_Position = _in_position * _const_transform;\n\t_vary_uv = _in_uv;\n"
                  "\t_vary_color = _in_color;\n}\n")
            << GetTargetName(target);
    }
}

TEST_F(GLSL21TranslatorTest, SpritePixelShader)
{
    ASSERT_TRUE(Run(TARGET_GLSL21, kSpritePixelMain, STAGE_PIXEL)) << LogText();
    EXPECT_EQ(result, std::string(kSpritePixelInterface) +
                          "void main()\n{\n\tvec4 texel = texture2D(_tex_albedo, _vary_uv);\n"
                          "\tgl_FragColor = texel * _vary_color * _const_tint;\n}\n");
}

TEST_F(GLSL21TranslatorTest, ESSL20PixelShaderBeginsWithThePrecisionBlock)
{
    ASSERT_TRUE(Run(TARGET_ESSL20, kSpritePixelMain, STAGE_PIXEL)) << LogText();
    EXPECT_EQ(result, std::string(kESSL20Precision) + kSpritePixelInterface +
                          "void main()\n{\n\tvec4 texel = texture2D(_tex_albedo, _vary_uv);\n"
                          "\tgl_FragColor = texel * _vary_color * _const_tint;\n}\n");
}

TEST_F(GLSL21TranslatorTest, LevelSamplingRequiresTheLevelExtensionOnce)
{
    ASSERT_TRUE(RunPixel(TARGET_GLSL21,
                         "\tfloat4 a = sampleTextureLod(texture.albedo, input.uv, 0.0);\n"
                         "\tfloat4 b = sampleTextureLod(texture.albedo, input.uv, 1.0);\n"
                         "\tfloat4 c = sampleTextureGrad(texture.albedo, input.uv, input.uv, input.uv);\n"))
        << LogText();
    EXPECT_EQ(result.find(std::string("#extension GL_ARB_shader_texture_lod : require\n\n") + kSpritePixelInterface),
              0u)
        << result;
    EXPECT_TRUE(
        Contains("\tvec4 a = texture2DLod(_tex_albedo, _vary_uv, 0.0f);\n"
                 "\tvec4 b = texture2DLod(_tex_albedo, _vary_uv, 1.0f);\n"
                 "\tvec4 c = texture2DGradARB(_tex_albedo, _vary_uv, _vary_uv, _vary_uv);\n"))
        << result;
}

TEST_F(GLSL21TranslatorTest, CubeAndVolumeSamplingNamesTheDimension)
{
    description = ShaderInterfaces::MakeLitMesh(0x20004);
    ASSERT_TRUE(Run(TARGET_GLSL21,
                    "void main()\n{\n\toutput.color = sampleTexture(texture.environment, input.world_normal) + "
                    "sampleTexture(texture.noise, input.world_position);\n\toutput.emission = float4(0.0);\n}\n",
                    STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("uniform samplerCube _tex_environment;\nuniform sampler3D _tex_noise;\n")) << result;
    EXPECT_TRUE(
        Contains("textureCube(_tex_environment, _vary_world_normal) + texture3D(_tex_noise, "
                 "_vary_world_position)"))
        << result;
}

TEST_F(GLSL21TranslatorTest, PositionIsTheFragmentCoordinateAndFacingTheFrontFacingFlag)
{
    ASSERT_TRUE(Run(TARGET_GLSL21,
                    "void main()\n{\n\tfloat x = input.position.x * input.face_direction;\n"
                    "\tif (input.is_front_facing)\n\t\tx = 0.0;\n\toutput.color = float4(x);\n}\n",
                    STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(
        Contains("\tfloat x = gl_FragCoord.x * (gl_FrontFacing ? 1.0f : -1.0f);\n\n"
                 "\tif (gl_FrontFacing)\n\t\tx = 0.0f;\n\n\tgl_FragColor = vec4(x);\n"))
        << result;
    EXPECT_FALSE(Contains("_vary_position")) << result;
    ASSERT_TRUE(Run(TARGET_ESSL20, "void main()\n{\n\toutput.color = float4(input.face_direction);\n}\n", STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(Contains("\tgl_FragColor = vec4((gl_FrontFacing ? 1.0 : -1.0));\n")) << result;
}

TEST_F(GLSL21TranslatorTest, IntegerVertexInputIsAFloatAttributeReadBackAsItsType)
{
    ShaderInterfaces::AddInput(description, "cell", 16, Type::MakeVector(BaseType::INT, 2));
    ASSERT_TRUE(Run(TARGET_GLSL21,
                    "void main()\n{\n\toutput.position = input.position;\n\toutput.uv = float2(input.cell);\n"
                    "\toutput.color = input.color;\n}\n",
                    STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("attribute vec2 _in_cell;\n")) << result;
    EXPECT_TRUE(Contains("\t_vary_uv = vec2(ivec2(_in_cell));\n")) << result;
}

TEST_F(GLSL21TranslatorTest, ModuloGoesThroughTheFloatMod)
{
    ASSERT_TRUE(RunPixel(TARGET_GLSL21, "\tint a = 7;\n\tint2 b = int2(5, 6);\n\ta = a % 3;\n\tb %= a;\n"))
        << LogText();
    EXPECT_TRUE(Contains("\ta = int(mod(float(a), float(3)));\n\tb = ivec2(mod(vec2(b), float(a)));\n")) << result;
}

TEST_F(GLSL21TranslatorTest, SaturateAllAndAnyAreRewritten)
{
    ASSERT_TRUE(
        RunPixel(TARGET_GLSL21, "\tfloat3 v = saturate(input.color.rgb);\n\tbool b = all(v) || any(input.uv);\n"))
        << LogText();
    EXPECT_TRUE(
        Contains("\tvec3 v = clamp(_vary_color.rgb, 0.0f, 1.0f);\n"
                 "\tbool b = all(bvec3(v)) || any(bvec2(_vary_uv));\n"))
        << result;
    ASSERT_TRUE(RunPixel(TARGET_ESSL20, "\tfloat x = saturate(input.uv.x * 1.5);\n")) << LogText();
    EXPECT_TRUE(Contains("\tfloat x = clamp(_vary_uv.x * 1.5, 0.0, 1.0);\n")) << result;
}

TEST_F(GLSL21TranslatorTest, ArrayInitialisersAreConstructorsAndInESSL20Assignments)
{
    const std::string statements = "\tfloat weights[2] = { 1.0, 2.0 };\n\tfloat x = weights[1];\n";
    ASSERT_TRUE(RunPixel(TARGET_GLSL21, statements)) << LogText();
    EXPECT_TRUE(
        Contains("void main()\n{\n\tfloat weights[2] = float[]\n\t(\n\t\t1.0f,\n\t\t2.0f\n\t);\n\n"
                 "\tfloat x = weights[1];\n"))
        << result;
    ASSERT_TRUE(RunPixel(TARGET_ESSL20, statements)) << LogText();
    EXPECT_TRUE(
        Contains("void main()\n{\n\tfloat weights[2];\n\tweights[0] = 1.0;\n\tweights[1] = 2.0;\n\n"
                 "\tfloat x = weights[1];\n"))
        << result;
}

TEST_F(GLSL21TranslatorTest, GlobalArrayInitialiserIsAConstructorInGLSL21AndRefusedInESSL20)
{
    const std::string text =
        "float table[2] = { 0.5, 0.25 };\n\nvoid main()\n{\n\toutput.color = float4(table[0]);\n}\n";
    ASSERT_TRUE(Run(TARGET_GLSL21, text, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("float table[2] = float[]\n(\n\t0.5f,\n\t0.25f\n);\n")) << result;
    EXPECT_FALSE(Run(TARGET_ESSL20, text, STAGE_PIXEL));
    EXPECT_EQ(LogText(), "Error: array declarations in global scope are not supported.\n");
}

TEST_F(GLSL21TranslatorTest, ReservedNamesOfTheLanguageGetALeadingUnderscore)
{
    ASSERT_TRUE(Run(TARGET_GLSL21,
                    "struct filter\n{\n\tfloat smooth;\n};\n\nfloat mix(float attribute)\n{\n\treturn attribute;\n}\n\n"
                    "void main()\n{\n\tfilter f;\n\tf.smooth = mix(0.5);\n\toutput.color = float4(f.smooth);\n}\n",
                    STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(
        Contains("struct _filter\n{\n\tfloat _smooth;\n};\n\nfloat _mix(float _attribute)\n{\n"
                 "\treturn _attribute;\n}\n\nvoid main()\n{\n\t_filter f;\n\tf._smooth = _mix(0.5f);\n"))
        << result;
}

TEST_F(GLSL21TranslatorTest, EveryRefusalOfTheOldLanguages)
{
    struct Refusal {
        uint32_t target;
        const char* statements;
        const char* log;
    };
    const Refusal refusals[] = {
        {TARGET_GLSL21, "\tuint count = 2u;\n", "Error: unsigned integers are not supported.\n"},
        {TARGET_ESSL20, "\tuint count = 2u;\n", "Error: unsigned integers are not supported.\n"},
        {TARGET_GLSL21, "\tfloat4 c = sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n",
         "Error: function 'sampleTextureLodOffset' is not supported.\n"},
        {TARGET_GLSL21, "\tfloat c = sampleTextureCompareLodZero(texture.albedo, input.uv, 0.5);\n",
         "Error: function 'sampleTextureCompareLodZero' is not supported.\n"},
        {TARGET_ESSL20, "\tfloat4 c = sampleTextureLod(texture.albedo, input.uv, 0.0);\n",
         "Error: function 'sampleTextureLod' is not supported.\n"},
        {TARGET_ESSL20, "\tfloat4 c = sampleTextureGrad(texture.albedo, input.uv, input.uv, input.uv);\n",
         "Error: function 'sampleTextureGrad' is not supported.\n"},
        {TARGET_ESSL20, "\tfloat4 c = sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n",
         "Error: function 'sampleTextureLodOffset' is not supported.\n"},
        {TARGET_ESSL20, "\tfloat2x2 m = transpose(float2x2(1.0, 0.0, 0.0, 1.0));\n",
         "Error: function 'transpose' is not supported.\n"},
        {TARGET_GLSL21, "\tint a = 6 & 3;\n", "Error: bit-wise operations are not supported.\n"},
        {TARGET_ESSL20, "\tint a = 6 << 1;\n", "Error: bit-wise operations are not supported.\n"},
    };
    for (const Refusal& refusal : refusals) {
        EXPECT_FALSE(RunPixel(refusal.target, refusal.statements)) << refusal.statements;
        EXPECT_EQ(LogText(), refusal.log) << GetTargetName(refusal.target) << ": " << refusal.statements;
    }
}

TEST_F(GLSL21TranslatorTest, InstanceAndVertexIdsAreRefused)
{
    const std::string instance =
        "void main()\n{\n\toutput.position = input.position * float(input.instance_id);\n"
        "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n";
    for (uint32_t target : {TARGET_GLSL21, TARGET_ESSL20}) {
        EXPECT_FALSE(Run(target, instance, STAGE_VERTEX));
        EXPECT_EQ(LogText(), "Error: 'input.instance_id' is not supported.\n") << GetTargetName(target);
    }
    EXPECT_FALSE(Run(TARGET_GLSL21,
                     "void main()\n{\n\toutput.position = input.position * float(input.vertex_id);\n"
                     "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
                     STAGE_VERTEX));
    EXPECT_EQ(LogText(), "Error: 'input.vertex_id' is not supported.\n");
}

TEST_F(GLSL21TranslatorTest, IntegerAndBoolVertexOutputsAreRefusedInBothStages)
{
    ShaderInterfaces::AddOutput(description, "tile", Type::MakeVector(BaseType::INT, 2),
                                VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ShaderInterfaces::AddOutput(description, "lit", Type::MakeVector(BaseType::BOOL, 1),
                                VERTEX_OUTPUT_TEXTURE_COORDINATE);
    const std::string expected =
        "Error: vertex output 'tile' of type 'int2' cannot be passed to the pixel stage in target '%s'.\n"
        "Error: vertex output 'lit' of type 'bool' cannot be passed to the pixel stage in target '%s'.\n";
    for (uint32_t target : {TARGET_GLSL21, TARGET_ESSL20}) {
        EXPECT_FALSE(Run(target, kPixelColorMain, STAGE_PIXEL));
        EXPECT_EQ(LogText(),
                  String::Formatted(expected.c_str(), GetTargetName(target), GetTargetName(target)).GetText());
        EXPECT_FALSE(Run(target,
                         "void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
                         "\toutput.color = input.color;\n\toutput.tile = int2(1, 2);\n\toutput.lit = true;\n}\n",
                         STAGE_VERTEX));
        EXPECT_EQ(LogText(),
                  String::Formatted(expected.c_str(), GetTargetName(target), GetTargetName(target)).GetText());
    }
}

}  // namespace
