// GLSL for the old desktop language and for OpenGL ES 2: attribute, varying
// and uniform declarations, gl_ variables for the stage structs, rewrites for
// what the old languages lack, and the refusals of both targets.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kSpritePixelInterface =
    "varying vec2 _vary_uv;\nvarying vec4 _vary_color;\n\n"
    "uniform vec4 _const_tint;\nuniform vec4 _const_time;\n\n"
    "uniform sampler2D _tex_albedo;\n\n";

// The pixel main with the statements.
std::string PixelMain(const std::string& statements) { return Main(statements + "\toutput.color = float4(1.0);\n"); }

// A row of a statement that the target refuses with the log.
TranslationRow Refusal(uint32_t target, const char* statements, const char* log)
{
    return {.name = statements, .target = target, .source = PixelMain(statements), .log = log};
}

// A row of a stage of the sprite with integer and bool vertex outputs, which
// neither stage of the old languages can pass.
TranslationRow OutputsRefused(uint32_t target, uint32_t stage, const std::string& source)
{
    const std::string format =
        "Error: vertex output 'tile' of type 'int2' cannot be passed to the pixel stage in target '%s'.\n"
        "Error: vertex output 'lit' of type 'bool' cannot be passed to the pixel stage in target '%s'.\n";
    return {.name = "integer and bool vertex outputs",
            .target = target,
            .change =
                [](ShaderDescription& sprite) {
                    const Type tile = Type::MakeVector(BaseType::INT, 2);
                    ShaderInterfaces::AddOutput(sprite, "tile", tile, VERTEX_OUTPUT_TEXTURE_COORDINATE);
                    const Type lit = Type::MakeVector(BaseType::BOOL, 1);
                    ShaderInterfaces::AddOutput(sprite, "lit", lit, VERTEX_OUTPUT_TEXTURE_COORDINATE);
                },
            .stage = stage,
            .source = source,
            .log = String::Formatted(format.c_str(), GetTargetName(target), GetTargetName(target)).GetText()};
}

using GLSL21TranslatorTest = TranslatorFixture;

TEST_F(GLSL21TranslatorTest, Translations)
{
    const std::string arrayStatements = "\tfloat weights[2] = { 1.0, 2.0 };\n\tfloat x = weights[1];\n";
    const std::string globalArray =
        "float table[2] = { 0.5, 0.25 };\n\n" + Main("\toutput.color = float4(table[0]);\n");
    const std::string instanceId = Main(
        "\toutput.position = input.position * float(input.instance_id);\n"
        "\toutput.uv = input.uv;\n\toutput.color = input.color;\n");
    const std::string outputsVertex = Main(
        "\toutput.position = input.position;\n\toutput.uv = input.uv;\n"
        "\toutput.color = input.color;\n\toutput.tile = int2(1, 2);\n\toutput.lit = true;\n");
    CheckRows(
        TARGET_GLSL21, 0,
        {
            {.name = "sprite vertex shader",
             .stage = STAGE_VERTEX,
             .source = kSpriteVertexMain,
             .expected = "glsl21/sprite.vertex.glsl"},
            {.name = "the same for ESSL20",
             .target = TARGET_ESSL20,
             .stage = STAGE_VERTEX,
             .source = kSpriteVertexMain,
             .expected = "glsl21/sprite.vertex.glsl"},
            {.name = "sprite pixel shader", .source = kSpritePixelMain, .expected = "glsl21/sprite.pixel.glsl"},
            {.name = "ESSL20 pixel shader begins with the precision block",
             .target = TARGET_ESSL20,
             .source = kSpritePixelMain,
             .expected = "essl20/sprite.pixel.glsl"},
            {.name = "level sampling requires the level extension once",
             .source = PixelMain("\tfloat4 a = sampleTextureLod(texture.albedo, input.uv, 0.0);\n"
                                 "\tfloat4 b = sampleTextureLod(texture.albedo, input.uv, 1.0);\n"
                                 "\tfloat4 c = sampleTextureGrad(texture.albedo, input.uv, input.uv, input.uv);\n"),
             .start = std::string("#extension GL_ARB_shader_texture_lod : require\n\n") + kSpritePixelInterface,
             .parts = {"\tvec4 a = texture2DLod(_tex_albedo, _vary_uv, 0.0f);\n"
                       "\tvec4 b = texture2DLod(_tex_albedo, _vary_uv, 1.0f);\n"
                       "\tvec4 c = texture2DGradARB(_tex_albedo, _vary_uv, _vary_uv, _vary_uv);\n"}},
            {.name = "cube and volume sampling names the dimension",
             .interfaceName = "lit",
             .source = Main("\toutput.color = sampleTexture(texture.environment, input.world_normal) + "
                            "sampleTexture(texture.noise, input.world_position);\n\toutput.emission = float4(0.0);\n"),
             .parts = {"uniform samplerCube _tex_environment;\nuniform sampler3D _tex_noise;\n",
                       "textureCube(_tex_environment, _vary_world_normal) + texture3D(_tex_noise, "
                       "_vary_world_position)"}},
            {.name = "position is the fragment coordinate and facing the front facing flag",
             .source = Main("\tfloat x = input.position.x * input.face_direction;\n"
                            "\tif (input.is_front_facing)\n\t\tx = 0.0;\n\toutput.color = float4(x);\n"),
             .parts = {"\tfloat x = gl_FragCoord.x * (gl_FrontFacing ? 1.0f : -1.0f);\n\n"
                       "\tif (gl_FrontFacing)\n\t\tx = 0.0f;\n\n\tgl_FragColor = vec4(x);\n"},
             .absent = {"_vary_position"}},
            {.name = "face direction in ESSL20",
             .target = TARGET_ESSL20,
             .source = Main("\toutput.color = float4(input.face_direction);\n"),
             .parts = {"\tgl_FragColor = vec4((gl_FrontFacing ? 1.0 : -1.0));\n"}},
            {.name = "integer vertex input is a float attribute read back as its type",
             .change =
                 [](ShaderDescription& sprite) {
                     ShaderInterfaces::AddInput(sprite, "cell", 16, Type::MakeVector(BaseType::INT, 2));
                 },
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position;\n\toutput.uv = float2(input.cell);\n"
                            "\toutput.color = input.color;\n"),
             .parts = {"attribute vec2 _in_cell;\n", "\t_vary_uv = vec2(ivec2(_in_cell));\n"}},
            {.name = "modulo goes through the float mod",
             .source = PixelMain("\tint a = 7;\n\tint2 b = int2(5, 6);\n\ta = a % 3;\n\tb %= a;\n"),
             .parts = {"\ta = int(mod(float(a), float(3)));\n\tb = ivec2(mod(vec2(b), float(a)));\n"}},
            {.name = "saturate, all and any are rewritten",
             .source = PixelMain("\tfloat3 v = saturate(input.color.rgb);\n\tbool b = all(v) || any(input.uv);\n"),
             .parts = {"\tvec3 v = clamp(_vary_color.rgb, 0.0f, 1.0f);\n"
                       "\tbool b = all(bvec3(v)) || any(bvec2(_vary_uv));\n"}},
            {.name = "saturate in ESSL20",
             .target = TARGET_ESSL20,
             .source = PixelMain("\tfloat x = saturate(input.uv.x * 1.5);\n"),
             .parts = {"\tfloat x = clamp(_vary_uv.x * 1.5, 0.0, 1.0);\n"}},
            {.name = "array initialisers are constructors",
             .source = PixelMain(arrayStatements),
             .parts = {"void main()\n{\n\tfloat weights[2] = float[]\n\t(\n\t\t1.0f,\n\t\t2.0f\n\t);\n\n"
                       "\tfloat x = weights[1];\n"}},
            {.name = "and in ESSL20 assignments",
             .target = TARGET_ESSL20,
             .source = PixelMain(arrayStatements),
             .parts = {"void main()\n{\n\tfloat weights[2];\n\tweights[0] = 1.0;\n\tweights[1] = 2.0;\n\n"
                       "\tfloat x = weights[1];\n"}},
            {.name = "global array initialiser is a constructor",
             .source = globalArray,
             .parts = {"float table[2] = float[]\n(\n\t0.5f,\n\t0.25f\n);\n"}},
            {.name = "and refused in ESSL20",
             .target = TARGET_ESSL20,
             .source = globalArray,
             .log = "Error: array declarations in global scope are not supported.\n"},
            {.name = "reserved names of the language get a leading underscore",
             .source =
                 "struct filter\n{\n\tfloat smooth;\n};\n\nfloat mix(float attribute)\n{\n\treturn attribute;\n}\n\n" +
                 Main("\tfilter f;\n\tf.smooth = mix(0.5);\n\toutput.color = float4(f.smooth);\n"),
             .parts = {"struct _filter\n{\n\tfloat _smooth;\n};\n\nfloat _mix(float _attribute)\n{\n"
                       "\treturn _attribute;\n}\n\nvoid main()\n{\n\t_filter f;\n\tf._smooth = _mix(0.5f);\n"}},
            Refusal(TARGET_GLSL21, "\tuint count = 2u;\n", "Error: unsigned integers are not supported.\n"),
            Refusal(TARGET_ESSL20, "\tuint count = 2u;\n", "Error: unsigned integers are not supported.\n"),
            Refusal(TARGET_GLSL21, "\tfloat4 c = sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n",
                    "Error: function 'sampleTextureLodOffset' is not supported.\n"),
            Refusal(TARGET_GLSL21, "\tfloat c = sampleTextureCompareLodZero(texture.albedo, input.uv, 0.5);\n",
                    "Error: function 'sampleTextureCompareLodZero' is not supported.\n"),
            Refusal(TARGET_ESSL20, "\tfloat4 c = sampleTextureLod(texture.albedo, input.uv, 0.0);\n",
                    "Error: function 'sampleTextureLod' is not supported.\n"),
            Refusal(TARGET_ESSL20, "\tfloat4 c = sampleTextureGrad(texture.albedo, input.uv, input.uv, input.uv);\n",
                    "Error: function 'sampleTextureGrad' is not supported.\n"),
            Refusal(TARGET_ESSL20, "\tfloat4 c = sampleTextureLodOffset(texture.albedo, input.uv, 0.0, int2(1, 0));\n",
                    "Error: function 'sampleTextureLodOffset' is not supported.\n"),
            Refusal(TARGET_ESSL20, "\tfloat2x2 m = transpose(float2x2(1.0, 0.0, 0.0, 1.0));\n",
                    "Error: function 'transpose' is not supported.\n"),
            Refusal(TARGET_GLSL21, "\tint a = 6 & 3;\n", "Error: bit-wise operations are not supported.\n"),
            Refusal(TARGET_ESSL20, "\tint a = 6 << 1;\n", "Error: bit-wise operations are not supported.\n"),
            {.name = "instance id is refused",
             .stage = STAGE_VERTEX,
             .source = instanceId,
             .log = "Error: 'input.instance_id' is not supported.\n"},
            {.name = "instance id is refused in ESSL20",
             .target = TARGET_ESSL20,
             .stage = STAGE_VERTEX,
             .source = instanceId,
             .log = "Error: 'input.instance_id' is not supported.\n"},
            {.name = "vertex id is refused",
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * float(input.vertex_id);\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .log = "Error: 'input.vertex_id' is not supported.\n"},
            OutputsRefused(TARGET_GLSL21, STAGE_PIXEL, kPixelColorMain),
            OutputsRefused(TARGET_GLSL21, STAGE_VERTEX, outputsVertex),
            OutputsRefused(TARGET_ESSL20, STAGE_PIXEL, kPixelColorMain),
            OutputsRefused(TARGET_ESSL20, STAGE_VERTEX, outputsVertex),
        });
}

}  // namespace
