// Vulkan-flavoured GLSL: locations and descriptor sets, the constants block,
// separate samplers and textures, buffers, images and the ray-tracing stages.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/temporary_folder.h"
#include "shadertool/support/glsl_translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kHitInfo = "struct HitInfo\n{\n\tfloat4 color;\n\tfloat distance;\n};\n\n";
const char* const kRayResources =
    "layout(set = 1, binding = 0) buffer Buffer0\n{\n\tvec4 data[];\n} _buf_vertices;\n\n"
    "layout(set = 1, binding = 1) buffer Buffer1\n{\n\tuint16_t data[];\n} _buf_indices;\n\n"
    "layout(set = 1, binding = 2) buffer Buffer2\n{\n\tuvec3 data[];\n} _buf_triangles;\n\n"
    "layout(set = 0, binding = 2, rgba8) uniform image2D _img_target;\n\n"
    "layout(set = 2, binding = 0) uniform samplerCube _tex_sky;\n"
    "layout(set = 2, binding = 1) uniform sampler2D _tex_albedo;\n\n"
    "layout(set = 0, binding = 1) uniform accelerationStructureNV _acceleration_structure;\n";

class SPIRVTranslatorTest : public GLSLTranslatorFixture {
protected:
    bool Run(const std::string& text, uint32_t stage) { return GLSLTranslatorFixture::Run(TARGET_SPIRV, text, stage); }

    // glslangValidator and spirv-val judge the result as a Vulkan shader of the stage.
    bool Valid(const char* stageName, std::string* output) const
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
        *output = text.str();
        return valid;
    }

    TemporaryFolder m_folder{"halvo-spirv"};
};

TEST_F(SPIRVTranslatorTest, SpriteVertexShader)
{
    ASSERT_TRUE(Run(kSpriteVertexMain, STAGE_VERTEX)) << LogText();
    EXPECT_EQ(result,
              "layout(location = 0) in vec4 _in_position;\nlayout(location = 1) in vec4 _in_color;\n"
              "layout(location = 2) in vec2 _in_uv;\n\n"
              "layout(set = 0, binding = 0) uniform Uniforms\n{\n\tmat4 _const_transform;\n"
              "\tvec4 _const_time;\n};\n\n"
              "layout(location = 1) out vec2 _vary_uv;\nlayout(location = 2) out vec4 _vary_color;\n\n"
              "void main()\n{\n\tgl_Position = _in_position * _const_transform;\n\t_vary_uv = _in_uv;\n"
              "\t_vary_color = _in_color;\n}\n");
}

TEST_F(SPIRVTranslatorTest, SpritePixelShaderSamplesThroughSeparateSamplers)
{
    ASSERT_TRUE(Run(kSpritePixelMain, STAGE_PIXEL)) << LogText();
    EXPECT_EQ(result,
              "layout(location = 1) in vec2 _vary_uv;\nlayout(location = 2) in vec4 _vary_color;\n\n"
              "layout(set = 1, binding = 0) uniform Uniforms\n{\n\tvec4 _const_tint;\n\tvec4 _const_time;\n};\n\n"
              "layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
              "layout(set = 3, binding = 0) uniform texture2D _tex_albedo;\n\n"
              "layout(location = 0) out vec4 _out_color;\n\n"
              "void main()\n{\n\tvec4 texel = texture(sampler2D(_tex_albedo, _smp_albedo), _vary_uv);\n"
              "\t_out_color = texel * _vary_color * _const_tint;\n}\n");
}

TEST_F(SPIRVTranslatorTest, TwoPixelTexturesTakeConsecutiveBindingsOfSetsTwoAndThree)
{
    ShaderInterfaces::AddTexture(description, "detail", TEXTURE_CUBE);
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(
        Contains("layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
                 "layout(set = 3, binding = 0) uniform texture2D _tex_albedo;\n"
                 "layout(set = 2, binding = 1) uniform sampler _smp_detail;\n"
                 "layout(set = 3, binding = 1) uniform textureCube _tex_detail;\n"))
        << result;
}

TEST_F(SPIRVTranslatorTest, PushConstantBlockCarriesTheOffsetOnItsFirstMember)
{
    description.pixelConstants.first = 16;
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(
        Contains("\nlayout(push_constant) uniform Uniforms\n{\n\tlayout(offset = 16) vec4 _const_tint;\n"
                 "\tvec4 _const_time;\n};\n"))
        << result;
    description.pixelConstants.first = 0;
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("\nlayout(push_constant) uniform Uniforms\n{\n\tvec4 _const_tint;\n\tvec4 _const_time;\n};\n"))
        << result;
}

TEST_F(SPIRVTranslatorTest, VulkanVertexAndInstanceIndexes)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * float(input.vertex_id + input.instance_id);\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("\tgl_Position = _in_position * float(gl_VertexIndex + gl_InstanceIndex);\n")) << result;
    std::string output;
    EXPECT_TRUE(Valid("vert", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, BlendIndicesArriveUnsignedAndReadAsTheirType)
{
    ShaderInterfaces::AddInput(description, "bones", 128, Type::MakeVector(BaseType::INT, 4));
    ASSERT_TRUE(
        Run("void main()\n{\n\tint first = input.bones.x;\n\toutput.position = input.position * float(first);\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("layout(location = 3) in uvec4 _in_bones;\n")) << result;
    EXPECT_TRUE(Contains("\tint first = ivec4(_in_bones).x;\n")) << result;
    std::string output;
    EXPECT_TRUE(Valid("vert", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, IntegerVaryingsAreFlat)
{
    ShaderInterfaces::AddOutput(description, "tile", Type::MakeVector(BaseType::INT, 2),
                                VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ASSERT_TRUE(Run("void main()\n{\n\toutput.color = float4(float(input.tile.y));\n}\n", STAGE_PIXEL)) << LogText();
    EXPECT_TRUE(Contains("layout(location = 3) flat in ivec2 _vary_tile;\n")) << result;
    std::string output;
    EXPECT_TRUE(Valid("frag", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, MatrixVaryingTakesALocationPerColumn)
{
    ShaderInterfaces::AddOutput(description, "basis", Type::MakeMatrix(3), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ShaderInterfaces::AddOutput(description, "fade", ShaderInterfaces::Float(1), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ASSERT_TRUE(Run("void main()\n{\n\toutput.color = float4(input.basis[0], input.fade);\n}\n", STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(
        Contains("layout(location = 1) in vec2 _vary_uv;\nlayout(location = 2) in vec4 _vary_color;\n"
                 "layout(location = 3) in mat3 _vary_basis;\nlayout(location = 6) in float _vary_fade;\n"))
        << result;
    std::string output;
    EXPECT_TRUE(Valid("frag", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, RayGenerationShader)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    ASSERT_TRUE(Run(std::string(kHitInfo) +
                        "void main()\n{\n\tray_payloads.hit.color = float4(0.0);\n"
                        "\ttrace(1, 0xFF, 0, 0, float3(0.0), 0.001, float3(0.0, 0.0, 1.0), 1000.0, 0);\n"
                        "\tstoreImage(images.target, input.dispatch_id.xy, ray_payloads.hit.color);\n}\n",
                    STAGE_RGEN))
        << LogText();
    EXPECT_EQ(result, std::string("#extension GL_NV_ray_tracing : require\n#extension GL_EXT_shader_16bit_storage : "
                                  "require\n\n") +
                          kRayResources +
                          "\nstruct HitInfo\n{\n\tvec4 color;\n\tfloat distance;\n};\n\n"
                          "layout(location = 0) rayPayloadNV HitInfo _pay_hit;\n"
                          "layout(location = 1) rayPayloadNV float _pay_shadow;\n\n"
                          "void main()\n{\n\t_pay_hit.color = vec4(0.0f);\n"
                          "\ttraceNV(_acceleration_structure, 1, 0xFF, 0, 0, 0, vec3(0.0f), 0.001f, "
                          "vec3(0.0f, 0.0f, 1.0f), 1000.0f, 0);\n"
                          "\timageStore(_img_target, ivec2(gl_LaunchIDNV.xy), _pay_hit.color);\n}\n");
    std::string output;
    EXPECT_TRUE(Valid("rgen", &output)) << result << output;

    // One sampler per texture: it cannot both compare and sample plainly.
    EXPECT_FALSE(Run(std::string(kHitInfo) +
                         "void main()\n{\n\tfloat4 c = sampleTextureLod(texture.albedo, float2(0.5), 0.0);\n"
                         "\tfloat lit = sampleTextureCompareLodZero(texture.albedo, float2(0.5), 0.5);\n"
                         "\tstoreImage(images.target, input.dispatch_id.xy, c * lit);\n}\n",
                     STAGE_RGEN));
    EXPECT_EQ(LogText(), "Error: texture 'albedo' is sampled both with and without a comparison.\n");
}

TEST_F(SPIRVTranslatorTest, ClosestHitShaderReadsIndicesAndTheTwoComponentHitAttribute)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    ASSERT_TRUE(Run(std::string(kHitInfo) +
                        "float Shade(float3 p)\n{\n\treturn p.x;\n}\n\n"
                        "void main()\n{\n\tuint3 i = loadIndices(buffers.indices, input.primitive_id * 3);\n"
                        "\tfloat3 p = objectSpaceToWorld(buffers.vertices[i.x]);\n"
                        "\tray_payloads.shadow = 0.0;\n"
                        "\ttrace(4, 0xFF, 1, 1, p, 0.01, input.world_ray_direction, input.ray_length, 1);\n"
                        "\tray_payloads.hit.color = float4(input.hit_attribute, Shade(p), ray_payloads.shadow);\n}\n",
                    STAGE_RCHIT))
        << LogText();
    EXPECT_TRUE(Contains(std::string(kRayResources) + "hitAttributeNV vec2 _hit_attribute;\n")) << result;
    EXPECT_TRUE(
        Contains("};\n\nlayout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n"
                 "layout(location = 1) rayPayloadNV float _pay_shadow;\n\nfloat Shade(vec3 p)\n"))
        << result;
    EXPECT_TRUE(
        Contains("\tuvec3 i = uvec3(_buf_indices.data[gl_PrimitiveID * 3], _buf_indices.data[(gl_PrimitiveID "
                 "* 3) + 1], _buf_indices.data[(gl_PrimitiveID * 3) + 2]);\n"
                 "\tvec3 p = (gl_ObjectToWorldNV * (_buf_vertices.data[i.x]));\n"))
        << result;
    EXPECT_TRUE(
        Contains("\ttraceNV(_acceleration_structure, 4, 0xFF, 1, 0, 1, p, 0.01f, gl_WorldRayDirectionNV, "
                 "gl_RayTmaxNV, 1);\n"
                 "\t_pay_hit.color = vec4(_hit_attribute, Shade(p), _pay_shadow);\n"))
        << result;
    std::string output;
    EXPECT_TRUE(Valid("rchit", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, ArraysOfBuffersAndTexturesAreIndexedNonUniformly)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    description.buffers[0].type.arraySize = -1;
    description.pixelTextures[1].type.arraySize = -1;
    ASSERT_TRUE(
        Run(std::string(kHitInfo) +
                "void main()\n{\n\tuint m = input.instance_custom_id;\n"
                "\tfloat4 v = buffers.vertices[m][0] + buffers.vertices[1][2];\n"
                "\tray_payloads.hit.color = v + sampleTextureLod(texture.albedo[m], input.hit_attribute, 0.0);\n}\n",
            STAGE_RCHIT))
        << LogText();
    EXPECT_EQ(result.find("#extension GL_NV_ray_tracing : require\n#extension GL_EXT_nonuniform_qualifier : require\n"
                          "#extension GL_EXT_shader_16bit_storage : require\n\n"
                          "layout(set = 1, binding = 0) buffer Buffer0\n{\n\tvec4 data[];\n} _buf_vertices[];\n"),
              0u)
        << result;
    EXPECT_TRUE(Contains("layout(set = 2, binding = 1) uniform sampler2D _tex_albedo[];\n")) << result;
    EXPECT_TRUE(
        Contains("\tvec4 v = _buf_vertices[nonuniformEXT(m)].data[0] + _buf_vertices[1].data[2];\n"
                 "\t_pay_hit.color = v + textureLod(_tex_albedo[nonuniformEXT(m)], _hit_attribute, 0.0f);\n"))
        << result;
    std::string output;
    EXPECT_TRUE(Valid("rchit", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, PixelTextureArrayIsSampledThroughItsSampler)
{
    description.pixelTextures[0].type.arraySize = -1;
    ASSERT_TRUE(
        Run("void main()\n{\n\tint layer = int(input.uv.x * 4.0);\n"
            "\toutput.color = sampleTexture(texture.albedo[layer], input.uv);\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_EQ(result.find("#extension GL_EXT_nonuniform_qualifier : require\n\n"), 0u) << result;
    EXPECT_TRUE(
        Contains("layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
                 "layout(set = 3, binding = 0) uniform texture2D _tex_albedo[];\n"))
        << result;
    EXPECT_TRUE(
        Contains("\t_out_color = texture(sampler2D(_tex_albedo[nonuniformEXT(layer)], _smp_albedo), "
                 "_vary_uv);\n"))
        << result;
    std::string output;
    EXPECT_TRUE(Valid("frag", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, MissShaderWithAnIncomingPayloadAndUnsignedTypes)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    ASSERT_TRUE(Run(std::string(kHitInfo) +
                        "void main()\n{\n\tuint bits = floatBitsToUint(input.ray_length);\n"
                        "\tray_payloads.hit.color = unpackUnorm4ToFloat4(bits) + sampleTextureLod(texture.sky, "
                        "input.world_ray_direction, 0.0);\n}\n",
                    STAGE_RMISS))
        << LogText();
    EXPECT_TRUE(Contains("layout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n")) << result;
    EXPECT_TRUE(
        Contains("\tuint bits = floatBitsToUint(gl_RayTmaxNV);\n"
                 "\t_pay_hit.color = unpackUnorm4x8(bits) + textureLod(_tex_sky, gl_WorldRayDirectionNV, "
                 "0.0f);\n"))
        << result;
    EXPECT_FALSE(Contains("hitAttributeNV")) << result;
    std::string output;
    EXPECT_TRUE(Valid("rmiss", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, PayloadsAreDeclaredOnceBeforeTheFirstDefinition)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    ASSERT_TRUE(Run(std::string(kHitInfo) +
                        "float A();\n\nfloat B()\n{\n\treturn 1.0;\n}\n\nfloat A()\n{\n\treturn B();\n}\n\n"
                        "void main()\n{\n\tray_payloads.shadow = A();\n}\n",
                    STAGE_RMISS))
        << LogText();
    const size_t first = result.find("rayPayloadNV float _pay_shadow;");
    ASSERT_NE(first, std::string::npos) << result;
    EXPECT_EQ(result.find("rayPayloadNV float _pay_shadow;", first + 1), std::string::npos) << result;
    EXPECT_TRUE(
        Contains("float A();\n\nlayout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n"
                 "layout(location = 1) rayPayloadNV float _pay_shadow;\n\nfloat B()\n"))
        << result;
}

TEST_F(SPIRVTranslatorTest, StructPayloadWaitsForItsStruct)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    ASSERT_TRUE(Run(std::string("float Fade(float d)\n{\n\treturn d * 0.5;\n}\n\n") + kHitInfo +
                        "void main()\n{\n\tray_payloads.hit.distance = Fade(input.ray_length);\n}\n",
                    STAGE_RMISS))
        << LogText();
    EXPECT_TRUE(
        Contains("\n\nfloat Fade(float d)\n{\n\treturn d * 0.5f;\n}\n\nstruct HitInfo\n{\n\tvec4 color;\n"
                 "\tfloat distance;\n};\n\nlayout(location = 0) rayPayloadInNV HitInfo _pay_hit;\n"
                 "layout(location = 1) rayPayloadNV float _pay_shadow;\n\nvoid main()\n"))
        << result;
    std::string output;
    EXPECT_TRUE(Valid("rmiss", &output)) << result << output;
}

TEST_F(SPIRVTranslatorTest, TracePayloadMustBeALiteralSlotOfThePayloads)
{
    description = ShaderInterfaces::MakeRayTracing(0x20004);
    // The checks let only literals through; the table has slots 0 and 1.
    for (const char* slot : {"2", "0x10u"}) {
        EXPECT_FALSE(Run(std::string(kHitInfo) +
                             "void main()\n{\n\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, "
                             "float3(1.0), 1.0, " +
                             slot + ");\n}\n",
                         STAGE_RGEN))
            << slot;
        EXPECT_EQ(LogText(), std::string("Error: trace names payload slot ") + slot + ", which no ray payload has.\n");
    }
    // The language wants the location as an int constant, whatever its suffix.
    for (const char* slot : {"1u", "0x1"}) {
        ASSERT_TRUE(Run(std::string(kHitInfo) +
                            "void main()\n{\n\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, "
                            "float3(1.0), 1.0, " +
                            slot + ");\n}\n",
                        STAGE_RGEN))
            << LogText();
        EXPECT_TRUE(Contains("1.0f, 1);\n")) << result;
    }
}

TEST_F(SPIRVTranslatorTest, ComparisonSamplingGoesThroughAShadowSamplerOfTheComparedTextureOnly)
{
    ShaderInterfaces::AddTexture(description, "shadow_map", TEXTURE_2D);
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.shadow_map, input.uv, 0.5);\n"
            "\toutput.color = sampleTexture(texture.albedo, input.uv) * lit;\n}\n",
            STAGE_PIXEL))
        << LogText();
    EXPECT_TRUE(
        Contains("layout(set = 2, binding = 0) uniform sampler _smp_albedo;\n"
                 "layout(set = 3, binding = 0) uniform texture2D _tex_albedo;\n"
                 "layout(set = 2, binding = 1) uniform samplerShadow _smp_shadow_map;\n"
                 "layout(set = 3, binding = 1) uniform texture2D _tex_shadow_map;\n"))
        << result;
    EXPECT_TRUE(
        Contains("\tfloat lit = textureLod(sampler2DShadow(_tex_shadow_map, _smp_shadow_map), vec3(_vary_uv, "
                 "0.5f), 0.0f);\n"))
        << result;
    std::string output;
    EXPECT_TRUE(Valid("frag", &output)) << result << output;
    // The next stage starts with plain samplers again.
    ASSERT_TRUE(Run(kSpritePixelMain, STAGE_PIXEL)) << LogText();
    EXPECT_FALSE(Contains("Shadow")) << result;

    description = ShaderInterfaces::MakeRayTracing(0x20004);
    ASSERT_TRUE(Run(std::string(kHitInfo) +
                        "void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.albedo, float2(0.5), 0.5);\n"
                        "\tstoreImage(images.target, input.dispatch_id.xy, float4(lit));\n}\n",
                    STAGE_RGEN))
        << LogText();
    EXPECT_TRUE(Contains("layout(set = 2, binding = 1) uniform sampler2DShadow _tex_albedo;\n")) << result;
    EXPECT_TRUE(Contains("\tfloat lit = textureLod(_tex_albedo, vec3(vec2(0.5f), 0.5f), 0.0f);\n")) << result;
    EXPECT_TRUE(Valid("rgen", &output)) << result << output;
}

}  // namespace
