// HLSL for shader model 3: the interface structs, constants, samplers and
// the forms that differ from the base translator.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

using HLSL9TranslatorTest = TranslatorFixture;

const char* const kLitPixelOutputs = "\toutput.emission = float4(0.0);\n";

// The sprite with a second texture coordinate of index 1 among its vertex outputs.
void AddSecondCoordinate(ShaderDescription& sprite)
{
    sprite.vertexOutput.Clear();
    ShaderInterfaces::AddOutput(sprite, "position", ShaderInterfaces::Float(4), VERTEX_OUTPUT_POSITION);
    ShaderInterfaces::AddOutput(sprite, "uv", ShaderInterfaces::Float(2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ShaderInterfaces::AddOutput(sprite, "uv2", ShaderInterfaces::Float(2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    sprite.vertexOutput[2].semanticIndex = 1;
}

TEST_F(HLSL9TranslatorTest, Translations)
{
    CheckRows(
        TARGET_HLSL9, 0,
        {
            {.name = "sprite vertex shader of version 2.2",
             .version = 0x20002,
             .change = [](ShaderDescription& sprite) { sprite.vertexOutput[2].semanticIndex = 0; },
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * transform;\n\toutput.uv = input.uv;\n"
                            "\toutput.color = input.color;\n"),
             .expected = "hlsl9/sprite_v22.vertex.hlsl"},
            {.name = "sprite pixel shader of version 2.4",
             .source = Main("\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
                            "\toutput.color = texel * input.color * constants.tint;\n"),
             .expected = "hlsl9/sprite_v24.pixel.hlsl"},
            {.name = "facing adds the last pixel input member",
             .source = Main("\toutput.color = float4(input.face_direction);\n"),
             .parts = {"\tfloat4 color : COLOR0;\n\tfloat _facing : VFACE;\n};\n",
                       "output.color = (float4)(input._facing);"}},
            {.name = "the next stage without facing has no facing member",
             .source = kPixelColorMain,
             .absent = {"_facing"}},
            {.name = "front facing compares the facing",
             .source = Main("\tif (input.is_front_facing)\n\t\toutput.color = float4(1.0);\n"
                            "\telse\n\t\toutput.color = float4(0.0);\n"),
             .parts = {"if ((input._facing > 0.0f))"}},
            {.name = "lod offset declares one reciprocal per texture, first in the text",
             .interfaceName = "lit",
             .source =
                 Main("\tfloat4 a = sampleTextureLodOffset(texture.normal_map, input.uv, 0.0, int2(1, 0));\n"
                      "\tfloat4 b = sampleTextureLodOffset(texture.normal_map, input.uv, 1.0, int2(0, 1));\n"
                      "\tfloat4 c = sampleTextureLodOffset(texture.noise, input.world_position, 0.0, int3(1, 0, 0));\n"
                      "\toutput.color = a + b + c;\n" +
                      std::string(kLitPixelOutputs)),
             .start = "float2 _const_reciprocal_texture_dimensions_1;\n",
             .parts = {"float2 _const_reciprocal_texture_dimensions_1;\nfloat3 _const_reciprocal_texture_dimensions_3;"
                       "\n\nstruct PixelInput",
                       "tex2Dlod(_tex_normal_map, float4(input.uv + _const_reciprocal_texture_dimensions_1 * "
                       "int2(1, 0), 0.0f, 0.0f))",
                       "tex3Dlod(_tex_noise, float4(input.world_position + _const_reciprocal_texture_dimensions_3 * "
                       "int3(1, 0, 0), 0.0f))"}},
            {.name = "lod with two coordinates inserts a zero",
             .interfaceName = "lit",
             .source = Main("\toutput.color = sampleTextureLod(texture.albedo, input.uv, 2.0);\n"
                            "\toutput.emission = sampleTextureLod(texture.environment, input.world_normal, 1.0);\n"),
             .parts = {"output.color = tex2Dlod(_tex_albedo, float4(input.uv, 0.0f, 2.0f));",
                       "output.emission = texCUBElod(_tex_environment, float4(input.world_normal, 1.0f));"}},
            {.name = "cube and gradient sampling names",
             .interfaceName = "lit",
             .source =
                 Main("\toutput.color = sampleTexture(texture.environment, input.world_normal);\n"
                      "\toutput.emission = sampleTextureGrad(texture.albedo, input.uv, float2(0.1), float2(0.1));\n"),
             .parts = {"texCUBE(_tex_environment, input.world_normal)",
                       "tex2Dgrad(_tex_albedo, input.uv, (float2)(0.1f), (float2)(0.1f))"}},
            {.name = "second texture coordinate uses index one in the vertex struct",
             .change = AddSecondCoordinate,
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position;\n\toutput.uv = input.uv;\n\toutput.uv2 = input.uv;\n"),
             .parts = {"struct VertexOutput\n{\n\tfloat4 position : POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
                       "\tfloat2 uv2 : TEXCOORD1;\n};\n"}},
            {.name = "and in the pixel struct",
             .change = AddSecondCoordinate,
             .source = kPixelColorMain,
             .parts = {"\tfloat2 uv2 : TEXCOORD1;\n"}},
            {.name = "globals are static and locals are not",
             .source = "float scale = 2.0;\n\n" + Main("\tfloat local = scale;\n\toutput.color = float4(local);\n"),
             .parts = {"static float scale = 2.0f;\n", "\tfloat local = scale;\n"}},
            {.name = "matrix times vector uses mul and matrix times matrix stays",
             .stage = STAGE_VERTEX,
             .source = Main("\tfloat4x4 m = constants.transform * constants.transform;\n"
                            "\tfloat4 p = input.position;\n\tp *= m;\n\toutput.position = p * m;\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .parts = {"float4x4 m = _const_transform * _const_transform;", "\tp = mul(p, m);\n",
                       "output.position = mul(p, m);"}},
            {.name = "integer constants live in float registers and convert back element by element",
             .version = 0x20002,
             .change =
                 [](ShaderDescription& sprite) {
                     ShaderInterfaces::AddConstant(sprite.pixelConstants, "mode", Type::MakeVector(BaseType::INT, 4));
                     ShaderInterfaces::AddConstant(sprite.pixelConstants, "modes",
                                                   Type::MakeVector(BaseType::INT, 4, 0, 3));
                 },
             .source = Main("\tint4 m = mode;\n\tint4 n = modes[1];\n\toutput.color = float4(m + n);\n"),
             .parts = {"float4 _const_mode;\nfloat4 _const_modes[3];\n", "int4 m = int4(_const_mode);",
                       "int4 n = int4(_const_modes[1]);"}},
            {.name = "bitwise operators are refused once each",
             .source = Main("\tint a = 5;\n\ta <<= 1;\n\toutput.color = float4(float(a ^ 3));\n"),
             .log = "Error: bit-wise operations are not supported.\n"
                    "Error: bit-wise operations are not supported.\n"},
            {.name = "comparison sampling is refused",
             .interfaceName = "lit",
             .source = Main("\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
                            "\toutput.color = float4(lit);\n" +
                            std::string(kLitPixelOutputs)),
             .log = "Error: function 'sampleTextureCompareLodZero' is not supported.\n"},
            {.name = "vertex id is refused",
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * float(input.vertex_id);\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .log = "Error: 'input.vertex_id' is not supported.\n"},
        });
}

}  // namespace
