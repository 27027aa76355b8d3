// GLSL for the newer desktop language and for OpenGL ES 3: in and out
// declarations, one output variable per pixel output, native integers, the
// overloaded texture functions and flat integer varyings.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

void AddTileOutput(ShaderDescription& sprite)
{
    ShaderInterfaces::AddOutput(sprite, "tile", Type::MakeVector(BaseType::INT, 2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
}

using GLSL31TranslatorTest = TranslatorFixture;

TEST_F(GLSL31TranslatorTest, Translations)
{
    const std::string twoOutputs = Main("\toutput.color = float4(1.0);\n\toutput.emission = float4(0.5);\n");
    CheckRows(
        TARGET_GLSL31, 0,
        {
            {.name = "sprite vertex shader",
             .stage = STAGE_VERTEX,
             .source = kSpriteVertexMain,
             .expected = "glsl31/sprite.vertex.glsl"},
            {.name = "the same for ESSL30",
             .target = TARGET_ESSL30,
             .stage = STAGE_VERTEX,
             .source = kSpriteVertexMain,
             .expected = "glsl31/sprite.vertex.glsl"},
            {.name = "sprite pixel shader", .source = kSpritePixelMain, .expected = "glsl31/sprite.pixel.glsl"},
            {.name = "ESSL30 sprite pixel shader",
             .target = TARGET_ESSL30,
             .source = kSpritePixelMain,
             .expected = "essl30/sprite.pixel.glsl"},
            {.name = "each pixel output has its own variable",
             .interfaceName = "lit",
             .source = twoOutputs,
             .parts = {"\nout vec4 _out_color;\nout vec4 _out_emission;\n",
                       "\t_out_color = vec4(1.0f);\n\t_out_emission = vec4(0.5f);\n"}},
            {.name = "and its own location in ESSL30",
             .target = TARGET_ESSL30,
             .interfaceName = "lit",
             .source = twoOutputs,
             .parts = {"\nlayout(location = 0) out vec4 _out_color;\nlayout(location = 1) out vec4 _out_emission;\n"}},
            {.name = "modulo and bitwise operators are written as they stand",
             .source = Main("\tint a = 7 % 3;\n\ta %= 2;\n\tint b = (a << 2) | (a & 1) ^ ~a;\n"
                            "\toutput.color = float4(float(b));\n"),
             .parts = {"\tint a = 7 % 3;\n\ta %= 2;\n\tint b = (a << 2) | (a & 1) ^ ~a;\n"}},
            {.name = "level sampling needs no extension",
             .source = Main("\toutput.color = sampleTextureLod(texture.albedo, input.uv, 1.0) + "
                            "sampleTextureGrad(texture.albedo, input.uv, input.uv, input.uv) + "
                            "sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n"),
             .start = "in vec2 _vary_uv;\n",
             .parts = {"\t_out_color = textureLod(_tex_albedo, _vary_uv, 1.0f) + textureGrad(_tex_albedo, _vary_uv, "
                       "_vary_uv, _vary_uv) + textureLodOffset(_tex_albedo, _vary_uv, 0.0f, ivec2(1, 0));\n"}},
            {.name = "vertex and instance ids are the language variables",
             .target = TARGET_ESSL30,
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * float(input.vertex_id + input.instance_id);\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .parts = {"\tgl_Position = _in_position * float(gl_VertexID + gl_InstanceID);\n"}},
            {.name = "integer varyings are flat outputs",
             .change = AddTileOutput,
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
                            "\toutput.color = input.color;\n\toutput.tile = int2(1, 2);\n"),
             .parts = {"\nout vec2 _vary_uv;\nout vec4 _vary_color;\nflat out ivec2 _vary_tile;\n"}},
            {.name = "and flat inputs",
             .target = TARGET_ESSL30,
             .change = AddTileOutput,
             .source = Main("\toutput.color = float4(float(input.tile.x));\n"),
             .parts = {"in vec2 _vary_uv;\nin vec4 _vary_color;\nflat in ivec2 _vary_tile;\n"}},
            {.name = "bool varyings are refused",
             .change =
                 [](ShaderDescription& sprite) {
                     AddTileOutput(sprite);
                     const Type lit = Type::MakeVector(BaseType::BOOL, 1);
                     ShaderInterfaces::AddOutput(sprite, "lit", lit, VERTEX_OUTPUT_TEXTURE_COORDINATE);
                 },
             .source = kPixelColorMain,
             .log = "Error: vertex output 'lit' of type 'bool' cannot be passed to the pixel stage in target "
                    "'GLSL31'.\n"},
            {.name = "comparison sampling is refused",
             .source = Main("\toutput.color = float4(sampleTextureCompareLodZero(texture.albedo, input.uv, 0.5));\n"),
             .log = "Error: function 'sampleTextureCompareLodZero' is not supported.\n"},
            {.name = "unsigned integers are refused in ESSL30",
             .target = TARGET_ESSL30,
             .source = Main("\tuint u = 1u;\n\toutput.color = float4(1.0);\n"),
             .log = "Error: unsigned integers are not supported.\n"},
        });
}

}  // namespace
