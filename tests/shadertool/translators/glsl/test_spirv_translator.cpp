// Vulkan-flavoured GLSL: locations and descriptor sets, the constants block,
// separate samplers and textures, buffers, images and the ray-tracing stages;
// glslangValidator and spirv-val judge the texts.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/temporary_folder.h"
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const std::string kHitInfo = "struct HitInfo\n{\n\tfloat4 color;\n\tfloat distance;\n};\n\n";

class SPIRVTranslatorTest : public TranslatorFixture {
protected:
    // glslangValidator and spirv-val judge the result as a Vulkan shader of the stage.
    void Judge(const char* stageName) override
    {
        const std::filesystem::path path = m_folder.Path() / (std::string("shader.") + stageName);
        const std::filesystem::path log = m_folder.Path() / "log.txt";
        std::ofstream(path, std::ios::binary) << "#version 460\n" << result;
        const std::string spirv = (m_folder.Path() / "shader.spv").string();
        const std::string command = "glslangValidator -V --target-env vulkan1.2 -S " + std::string(stageName) + " " +
                                    path.string() + " -o " + spirv + " && spirv-val --target-env vulkan1.2 " + spirv;
        const bool valid = std::system((command + " > " + log.string() + " 2>&1").c_str()) == 0;
        std::stringstream text;
        text << std::ifstream(log).rdbuf();
        EXPECT_TRUE(valid) << result << text.str();
    }

    TemporaryFolder m_folder{"halvo-spirv"};
};

TEST_F(SPIRVTranslatorTest, Translations)
{
    const auto traceOfSlot = [](const char* slot) {
        return kHitInfo +
               Main(std::string("\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, ") + slot + ");\n");
    };
    CheckRows(
        TARGET_SPIRV, 0,
        {
            {.name = "sprite vertex shader",
             .stage = STAGE_VERTEX,
             .source = kSpriteVertexMain,
             .expected = "spirv/sprite.vertex.glsl"},
            {.name = "sprite pixel shader samples through separate samplers",
             .source = kSpritePixelMain,
             .expected = "spirv/sprite.pixel.glsl"},
            {.name = "two pixel textures take consecutive bindings of sets two and three",
             .change = [](ShaderDescription& sprite) { ShaderInterfaces::AddTexture(sprite, "detail", TEXTURE_CUBE); },
             .source = kPixelColorMain,
             .parts = {"layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
                       "layout(set = 3, binding = 0) uniform texture2D _tex_albedo;\n"
                       "layout(set = 2, binding = 1) uniform sampler _smp_detail;\n"
                       "layout(set = 3, binding = 1) uniform textureCube _tex_detail;\n"}},
            {.name = "push constant block carries the offset on its first member",
             .change = [](ShaderDescription& sprite) { sprite.pixelConstants.first = 16; },
             .source = kPixelColorMain,
             .parts = {"\nlayout(push_constant) uniform Uniforms\n{\n\tlayout(offset = 16) vec4 _const_tint;\n"
                       "\tvec4 _const_time;\n};\n"}},
            {.name = "and none at offset zero",
             .change = [](ShaderDescription& sprite) { sprite.pixelConstants.first = 0; },
             .source = kPixelColorMain,
             .parts = {"\nlayout(push_constant) uniform Uniforms\n{\n\tvec4 _const_tint;\n\tvec4 _const_time;\n};\n"}},
            {.name = "Vulkan vertex and instance indexes",
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * float(input.vertex_id + input.instance_id);\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .parts = {"\tgl_Position = _in_position * float(gl_VertexIndex + gl_InstanceIndex);\n"},
             .validatorStage = "vert"},
            {.name = "blend indices arrive unsigned and read as their type",
             .change =
                 [](ShaderDescription& sprite) {
                     ShaderInterfaces::AddInput(sprite, "bones", 128, Type::MakeVector(BaseType::INT, 4));
                 },
             .stage = STAGE_VERTEX,
             .source = Main("\tint first = input.bones.x;\n\toutput.position = input.position * float(first);\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .parts = {"layout(location = 3) in uvec4 _in_bones;\n", "\tint first = ivec4(_in_bones).x;\n"},
             .validatorStage = "vert"},
            {.name = "integer varyings are flat",
             .change =
                 [](ShaderDescription& sprite) {
                     const Type tile = Type::MakeVector(BaseType::INT, 2);
                     ShaderInterfaces::AddOutput(sprite, "tile", tile, VERTEX_OUTPUT_TEXTURE_COORDINATE);
                 },
             .source = Main("\toutput.color = float4(float(input.tile.y));\n"),
             .parts = {"layout(location = 3) flat in ivec2 _vary_tile;\n"},
             .validatorStage = "frag"},
            {.name = "matrix varying takes a location per column",
             .change =
                 [](ShaderDescription& sprite) {
                     ShaderInterfaces::AddOutput(sprite, "basis", Type::MakeMatrix(3),
                                                 VERTEX_OUTPUT_TEXTURE_COORDINATE);
                     ShaderInterfaces::AddOutput(sprite, "fade", ShaderInterfaces::Float(1),
                                                 VERTEX_OUTPUT_TEXTURE_COORDINATE);
                 },
             .source = Main("\toutput.color = float4(input.basis[0], input.fade);\n"),
             .parts = {"layout(location = 1) in vec2 _vary_uv;\nlayout(location = 2) in vec4 _vary_color;\n"
                       "layout(location = 3) in mat3 _vary_basis;\nlayout(location = 6) in float _vary_fade;\n"},
             .validatorStage = "frag"},
            {.name = "ray generation shader",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = kHitInfo + Main("\tray_payloads.hit.color = float4(0.0);\n"
                                       "\ttrace(1, 0xFF, 0, 0, float3(0.0), 0.001, float3(0.0, 0.0, 1.0), 1000.0, 0);\n"
                                       "\tstoreImage(images.target, input.dispatch_id.xy, ray_payloads.hit.color);\n"),
             .expected = "spirv/raytrace.rgen.glsl",
             .validatorStage = "rgen"},
            // One sampler per texture: it cannot both compare and sample plainly.
            {.name = "texture sampled both with and without a comparison",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = kHitInfo + Main("\tfloat4 c = sampleTextureLod(texture.albedo, float2(0.5), 0.0);\n"
                                       "\tfloat lit = sampleTextureCompareLodZero(texture.albedo, float2(0.5), 0.5);\n"
                                       "\tstoreImage(images.target, input.dispatch_id.xy, c * lit);\n"),
             .log = "Error: texture 'albedo' is sampled both with and without a comparison.\n"},
            {.name = "closest hit shader reads indices and the two-component hit attribute",
             .interfaceName = "raytracing",
             .stage = STAGE_RCHIT,
             .source = kHitInfo + "float Shade(float3 p)\n{\n\treturn p.x;\n}\n\n" +
                       Main("\tuint3 i = loadIndices(buffers.indices, input.primitive_id * 3);\n"
                            "\tfloat3 p = objectSpaceToWorld(buffers.vertices[i.x]);\n"
                            "\tray_payloads.shadow = 0.0;\n"
                            "\ttrace(4, 0xFF, 1, 1, p, 0.01, input.world_ray_direction, input.ray_length, 1);\n"
                            "\tray_payloads.hit.color = float4(input.hit_attribute, Shade(p), ray_payloads.shadow);\n"),
             .parts = {ExpectedShader("spirv/raytrace_resources.glsl") + "hitAttributeNV vec2 _hit_attribute;\n",
                       "};\n\nlayout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n"
                       "layout(location = 1) rayPayloadNV float _pay_shadow;\n\nfloat Shade(vec3 p)\n",
                       "\tuvec3 i = uvec3(_buf_indices.data[gl_PrimitiveID * 3], _buf_indices.data[(gl_PrimitiveID "
                       "* 3) + 1], _buf_indices.data[(gl_PrimitiveID * 3) + 2]);\n"
                       "\tvec3 p = (gl_ObjectToWorldNV * (_buf_vertices.data[i.x]));\n",
                       "\ttraceNV(_acceleration_structure, 4, 0xFF, 1, 0, 1, p, 0.01f, gl_WorldRayDirectionNV, "
                       "gl_RayTmaxNV, 1);\n"
                       "\t_pay_hit.color = vec4(_hit_attribute, Shade(p), _pay_shadow);\n"},
             .validatorStage = "rchit"},
            {.name = "arrays of buffers and textures are indexed non-uniformly",
             .interfaceName = "raytracing",
             .change =
                 [](ShaderDescription& scene) {
                     scene.buffers[0].type.arraySize = -1;
                     scene.pixelTextures[1].type.arraySize = -1;
                 },
             .stage = STAGE_RCHIT,
             .source = kHitInfo + Main("\tuint m = input.instance_custom_id;\n"
                                       "\tfloat4 v = buffers.vertices[m][0] + buffers.vertices[1][2];\n"
                                       "\tray_payloads.hit.color = v + sampleTextureLod(texture.albedo[m], "
                                       "input.hit_attribute, 0.0);\n"),
             .start = "#extension GL_NV_ray_tracing : require\n#extension GL_EXT_nonuniform_qualifier : require\n"
                      "#extension GL_EXT_shader_16bit_storage : require\n\n"
                      "layout(set = 1, binding = 0) buffer Buffer0\n{\n\tvec4 data[];\n} _buf_vertices[];\n",
             .parts = {"layout(set = 2, binding = 1) uniform sampler2D _tex_albedo[];\n",
                       "\tvec4 v = _buf_vertices[nonuniformEXT(m)].data[0] + _buf_vertices[1].data[2];\n"
                       "\t_pay_hit.color = v + textureLod(_tex_albedo[nonuniformEXT(m)], _hit_attribute, 0.0f);\n"},
             .validatorStage = "rchit"},
            {.name = "pixel texture array is sampled through its sampler",
             .change = [](ShaderDescription& sprite) { sprite.pixelTextures[0].type.arraySize = -1; },
             .source = Main("\tint layer = int(input.uv.x * 4.0);\n"
                            "\toutput.color = sampleTexture(texture.albedo[layer], input.uv);\n"),
             .start = "#extension GL_EXT_nonuniform_qualifier : require\n\n",
             .parts = {"layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
                       "layout(set = 3, binding = 0) uniform texture2D _tex_albedo[];\n",
                       "\t_out_color = texture(sampler2D(_tex_albedo[nonuniformEXT(layer)], _smp_albedo), "
                       "_vary_uv);\n"},
             .validatorStage = "frag"},
            {.name = "miss shader with an incoming payload and unsigned types",
             .interfaceName = "raytracing",
             .stage = STAGE_RMISS,
             .source = kHitInfo + Main("\tuint bits = floatBitsToUint(input.ray_length);\n"
                                       "\tray_payloads.hit.color = unpackUnorm4ToFloat4(bits) + "
                                       "sampleTextureLod(texture.sky, input.world_ray_direction, 0.0);\n"),
             .parts = {"layout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n",
                       "\tuint bits = floatBitsToUint(gl_RayTmaxNV);\n"
                       "\t_pay_hit.color = unpackUnorm4x8(bits) + textureLod(_tex_sky, gl_WorldRayDirectionNV, "
                       "0.0f);\n"},
             .absent = {"hitAttributeNV"},
             .validatorStage = "rmiss"},
            {.name = "payloads are declared once before the first definition",
             .interfaceName = "raytracing",
             .stage = STAGE_RMISS,
             .source = kHitInfo + "float A();\n\nfloat B()\n{\n\treturn 1.0;\n}\n\nfloat A()\n{\n\treturn B();\n}\n\n" +
                       Main("\tray_payloads.shadow = A();\n"),
             .parts = {"float A();\n\nlayout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n"
                       "layout(location = 1) rayPayloadNV float _pay_shadow;\n\nfloat B()\n"},
             .counts = {{"rayPayloadNV float _pay_shadow;", 1}}},
            {.name = "struct payload waits for its struct",
             .interfaceName = "raytracing",
             .stage = STAGE_RMISS,
             .source = "float Fade(float d)\n{\n\treturn d * 0.5;\n}\n\n" + kHitInfo +
                       Main("\tray_payloads.hit.distance = Fade(input.ray_length);\n"),
             .parts = {"\n\nfloat Fade(float d)\n{\n\treturn d * 0.5f;\n}\n\nstruct HitInfo\n{\n\tvec4 color;\n"
                       "\tfloat distance;\n};\n\nlayout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n"
                       "layout(location = 1) rayPayloadNV float _pay_shadow;\n\nvoid main()\n"},
             .validatorStage = "rmiss"},
            // The checks let only literals through; the table has slots 0 and 1.
            {.name = "trace names slot 2",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = traceOfSlot("2"),
             .log = "Error: trace names payload slot 2, which no ray payload has.\n"},
            {.name = "trace names slot 0x10u",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = traceOfSlot("0x10u"),
             .log = "Error: trace names payload slot 0x10u, which no ray payload has.\n"},
            // The language wants the location as an int constant, whatever its suffix.
            {.name = "trace slot 1u",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = traceOfSlot("1u"),
             .parts = {"1.0f, 1);\n"}},
            {.name = "trace slot 0x1",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = traceOfSlot("0x1"),
             .parts = {"1.0f, 1);\n"}},
            {.name = "comparison sampling goes through a shadow sampler of the compared texture only",
             .change =
                 [](ShaderDescription& sprite) { ShaderInterfaces::AddTexture(sprite, "shadow_map", TEXTURE_2D); },
             .source = Main("\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
                            "\toutput.color = sampleTexture(texture.albedo, input.uv) * lit;\n"),
             .parts = {"layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
                       "layout(set = 3, binding = 0) uniform texture2D _tex_albedo;\n"
                       "layout(set = 2, binding = 1) uniform samplerShadow _smp_shadow_map;\n"
                       "layout(set = 3, binding = 1) uniform texture2D _tex_shadow_map;\n",
                       "\tfloat lit = textureLod(sampler2DShadow(_tex_shadow_map, _smp_shadow_map), vec3(_vary_uv, "
                       "0.5f), 0.0f);\n"},
             .validatorStage = "frag"},
            {.name = "the next stage starts with plain samplers again",
             .change =
                 [](ShaderDescription& sprite) { ShaderInterfaces::AddTexture(sprite, "shadow_map", TEXTURE_2D); },
             .source = kSpritePixelMain,
             .absent = {"Shadow"}},
            {.name = "a compared texture of a ray stage is a combined shadow sampler",
             .interfaceName = "raytracing",
             .stage = STAGE_RGEN,
             .source = kHitInfo + Main("\tfloat lit = sampleTextureCompareLodZero(texture.albedo, float2(0.5), 0.5);\n"
                                       "\tstoreImage(images.target, input.dispatch_id.xy, float4(lit));\n"),
             .parts = {"layout(set = 2, binding = 1) uniform sampler2DShadow _tex_albedo;\n",
                       "\tfloat lit = textureLod(_tex_albedo, vec3(vec2(0.5f), 0.5f), 0.0f);\n"},
             .validatorStage = "rgen"},
        });
}

}  // namespace
