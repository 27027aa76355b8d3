// PSSL: HLSL11's forms with the platform's semantic words, constant buffer
// keyword, sampling methods, all/any casts and the vertex colour swizzle.
// No PSSL compiler exists here: these golden texts are the judge.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const std::string kColorSwizzle = "\n\n#if defined(__PROSPERO__)\n\n\t.bgra\n\n#endif\n\n\t";

using PSSLTranslatorTest = TranslatorFixture;

TEST_F(PSSLTranslatorTest, Translations)
{
    CheckRows(
        TARGET_PSSL, FEATURE_LEVEL_PSSL_GNM,
        {
            {.name = "sprite vertex shader swizzles its colour input on the platform",
             .version = 0x20003,
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * constants.transform;\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .expected = "pssl/sprite_v23.vertex.pssl"},
            {.name = "sprite pixel shader has no pragma and the platform semantics",
             .source = Main("\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
                            "\toutput.color = texel * input.color * constants.tint;\n"),
             .expected = "pssl/sprite_v24.pixel.pssl"},
            {.name = "every read of the colour input is swizzled in the vertex stage",
             .version = 0x20003,
             .stage = STAGE_VERTEX,
             .source = Main("\tfloat4 tint = input.color * input.color;\n"
                            "\toutput.position = input.position;\n\toutput.uv = input.uv;\n\toutput.color = tint;\n"),
             .parts = {"\tfloat4 tint = input.color" + kColorSwizzle + " * input.color" + kColorSwizzle + ";\n"}},
            // The pixel input of the same name is no vertex colour input.
            {.name = "and in no other stage",
             .version = 0x20003,
             .source = Main("\toutput.color = input.color;\n"),
             .parts = {"\toutput.color = input.color;\n"},
             .absent = {"#if"}},
            {.name = "vertex shader without colour input has no conditional block",
             .version = 0x20003,
             .change = [](ShaderDescription& sprite) { sprite.vertexInput.DeleteAt(1); },
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
                            "\toutput.color = float4(1.0);\n"),
             .absent = {"#if"}},
            {.name = "all and any cast their argument to a boolean vector",
             .source = Main("\tif (all(input.color.rgb) || any(input.uv))\n\t\toutput.color = float4(1.0);\n"),
             .parts = {"\tif (all((bool3)(input.color.rgb)) || any((bool2)(input.uv)))\n"}},
            {.name = "sampling methods have the platform names",
             .source = Main("\toutput.color = sampleTextureLod(texture.albedo, input.uv, 1.0)"
                            " + sampleTextureGrad(texture.albedo, input.uv, float2(0.1), float2(0.1))"
                            " + sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n"),
             .parts = {"_tex_albedo.SampleLOD(_smp_albedo, input.uv, 1.0f)",
                       "_tex_albedo.SampleGradient(_smp_albedo, input.uv, (float2)(0.1f), (float2)(0.1f))",
                       "_tex_albedo.SampleLOD(_smp_albedo, input.uv, 0.0f, int2(1, 0))"}},
            {.name = "comparison sampling is refused",
             .interfaceName = "lit",
             .source = Main("\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
                            "\toutput.color = float4(lit);\n\toutput.emission = float4(0.0);\n"),
             .log = "Error: function 'sampleTextureCompareLodZero' is not supported.\n"},
            {.name = "vertex and instance ids have the platform semantics",
             .stage = STAGE_VERTEX,
             .source = Main("\tfloat v = float(input.vertex_id);\n\tfloat i = float(input.instance_id);\n"
                            "\toutput.position = input.position * (v + i);\n\toutput.uv = input.uv;\n"
                            "\toutput.color = float4(1.0);\n"),
             .parts = {"\tfloat2 uv : TEXCOORD0;\n\tuint _instance_id : S_INSTANCE_ID;\n"
                       "\tuint _vertex_id : S_VERTEX_ID;\n};\n"}},
            {.name = "facing has the platform semantic",
             .source = Main("\toutput.color = float4(input.face_direction);\n"
                            "\tif (input.is_front_facing)\n\t\toutput.color = float4(0.0);\n"),
             .parts = {"\tfloat4 color : COLOR0;\n\tfloat _facing : S_FRONT_FACE;\n};\n",
                       "output.color = (float4)(input._facing);", "if ((input._facing > 0.0f))"}},
            {.name = "bitwise operators are written whatever other levels are asked",
             .level = FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_PSSL_AGC,
             .source = Main("\tint a = 6;\n\ta = (a >> 1) & 3;\n\toutput.color = float4(float(a));\n"),
             .parts = {"a = (a >> 1) & 3;"}},
        });
}

}  // namespace
