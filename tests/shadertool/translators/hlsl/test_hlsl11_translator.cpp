// HLSL for shader models 4 and 5: system values, the constant buffer,
// texture and sampler objects and sampling methods.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kLitPixelWithoutTextures =
    "void main()\n{\n\toutput.color = float4(1.0);\n\toutput.emission = float4(0.0);\n}\n";
const char* const kBitwiseMain =
    "void main()\n{\n\tint a = 6;\n\ta = (a >> 1) & 3;\n\toutput.color = float4(float(a));\n}\n";

using HLSL11TranslatorTest = TranslatorFixture;

TEST_F(HLSL11TranslatorTest, Translations)
{
    CheckRows(
        TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT,
        {
            {.name = "sprite pixel shader of version 2.4",
             .source = Main("\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
                            "\toutput.color = texel * input.color * constants.tint;\n"),
             .expected = "hlsl11/sprite_v24.pixel.hlsl"},
            {.name = "sprite vertex shader of version 2.3",
             .version = 0x20003,
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * constants.transform;\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .expected = "hlsl11/sprite_v23.vertex.hlsl"},
            {.name = "stage without constants has no buffer",
             .version = 0x20003,
             .change = [](ShaderDescription& sprite) { sprite.pixelConstants.variables.Clear(); },
             .source = kPixelColorMain,
             .start = "#pragma warning(disable : 3078)\n\nstruct PixelInput\n",
             .absent = {"cbuffer"}},
            {.name = "shared constants join the vertex buffer",
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * constants.transform * constants.time.x;\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .parts = {"cbuffer Constants\n{\n\tfloat4x4 _const_transform;\n\tfloat4 _const_time;\n};\n"}},
            {.name = "comparison sampler only for the compared texture",
             .interfaceName = "lit",
             .source = Main("\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
                            "\toutput.color = sampleTexture(texture.albedo, input.uv) * lit;\n"
                            "\toutput.emission = float4(0.0);\n"),
             .parts = {"SamplerState _smp_albedo : register(s0);\nTexture2D _tex_albedo : register(t0);\n"
                       "SamplerState _smp_normal_map : register(s1);\nTexture2D _tex_normal_map : register(t1);\n"
                       "SamplerState _smp_environment : register(s2);\nTextureCube _tex_environment : register(t2);\n"
                       "SamplerState _smp_noise : register(s3);\nTexture3D _tex_noise : register(t3);\n"
                       "SamplerComparisonState _smp_shadow_map : register(s4);\n"
                       "Texture2D _tex_shadow_map : register(t4);\n",
                       "float lit = _tex_shadow_map.SampleCmpLevelZero(_smp_shadow_map, input.uv, 0.5f);"}},
            {.name = "the next stage compares nothing",
             .interfaceName = "lit",
             .source = kLitPixelWithoutTextures,
             .absent = {"SamplerComparisonState"}},
            // Compared, then failed before the interface was written.
            {.name = "failed stage",
             .interfaceName = "lit",
             .source = Main("\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
                            "\toutput.color = float4(lit) * float(floatBitsToUint(lit));\n"
                            "\toutput.emission = float4(0.0);\n"),
             .log = "Error: function 'floatBitsToUint' is not supported.\n"},
            {.name = "does not pass its comparisons on",
             .interfaceName = "lit",
             .source = kLitPixelWithoutTextures,
             .absent = {"SamplerComparisonState"}},
            {.name = "texture sampled both with and without a comparison is refused once",
             .interfaceName = "lit",
             .source = Main("\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
                            "\toutput.color = sampleTexture(texture.shadow_map, input.uv) * lit;\n"
                            "\toutput.emission = sampleTexture(texture.shadow_map, input.uv);\n"),
             .log = "Error: texture 'shadow_map' is sampled both with and without a comparison.\n"},
            {.name = "lod offset is a SampleLevel with four arguments",
             .interfaceName = "lit",
             .source = Main("\toutput.color = sampleTextureLodOffset(texture.albedo, input.uv, 1.0, int2(1, 0));\n"
                            "\toutput.emission = sampleTextureLod(texture.albedo, input.uv, 2.0);\n"),
             .parts = {"output.color = _tex_albedo.SampleLevel(_smp_albedo, input.uv, 1.0f, int2(1, 0));",
                       "output.emission = _tex_albedo.SampleLevel(_smp_albedo, input.uv, 2.0f);"}},
            {.name = "bitwise operators are written at the default level",
             .source = kBitwiseMain,
             .parts = {"a = (a >> 1) & 3;"}},
            {.name = "and refused at the low level",
             .level = FEATURE_LEVEL_HLSL11_LOW,
             .source = kBitwiseMain,
             .log = "Error: bit-wise operations are not supported in level 'HLSL11_LOW'.\n"
                    "Error: bit-wise operations are not supported in level 'HLSL11_LOW'.\n"},
            {.name = "instance id comes before vertex id whatever was read first",
             .stage = STAGE_VERTEX,
             .source = Main("\tfloat v = float(input.vertex_id);\n\tfloat i = float(input.instance_id);\n"
                            "\toutput.position = input.position * (v + i);\n\toutput.uv = input.uv;\n"
                            "\toutput.color = input.color;\n"),
             .parts = {"\tfloat2 uv : TEXCOORD0;\n\tuint _instance_id : SV_InstanceID;\n"
                       "\tuint _vertex_id : SV_VertexID;\n};\n",
                       "float v = float(input._vertex_id);", "float i = float(input._instance_id);"}},
            {.name = "float bits are refused",
             .source = Main("\toutput.color = float4(float(floatBitsToUint(1.0)));\n"),
             .log = "Error: function 'floatBitsToUint' is not supported.\n"},
            {.name = "face direction is minus one for a back face",
             .source = Main("\toutput.color = float4(input.face_direction);\n"),
             .parts = {"\tfloat4 color : COLOR0;\n\tbool _facing : SV_IsFrontFace;\n};\n",
                       "output.color = (float4)((input._facing ? 1.0f : -1.0f));"}},
        });
}

TEST_F(HLSL11TranslatorTest, RayTracingInputsAreNotSupported)
{
    std::unique_ptr<Translator> translator = Make(TARGET_HLSL11);
    EXPECT_FALSE(Translate(*translator, Main("\toutput.color = float4(input.ray_length);\n"), STAGE_PIXEL,
                           TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT));
}

}  // namespace
