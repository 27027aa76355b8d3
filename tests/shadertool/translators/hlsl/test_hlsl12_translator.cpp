// HLSL for Direct3D 12: register spaces, the ray-tracing stages with their
// payloads and traces, the support functions and the console root signature.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const char* const kHitInfo = "struct HitInfo\n{\n\tfloat4 color;\n\tfloat distance;\n};\n\n";

// The root signature of a description with vertex and pixel constants.
const char* const kRootSignatureWithBothBuffers =
    "#define ROOT_SIGNATURE \\\n"
    "\t\"RootFlags(\" \\\n"
    "\t\t\"ALLOW_INPUT_ASSEMBLER_INPUT_LAYOUT |\" \\\n"
    "\t\t\"DENY_DOMAIN_SHADER_ROOT_ACCESS |\" \\\n"
    "\t\t\"DENY_GEOMETRY_SHADER_ROOT_ACCESS |\" \\\n"
    "\t\t\"DENY_HULL_SHADER_ROOT_ACCESS),\" \\\n"
    "\t\"CBV(b0, flags = DATA_STATIC_WHILE_SET_AT_EXECUTE, visibility = SHADER_VISIBILITY_VERTEX),\" \\\n"
    "\t\"CBV(b1, flags = DATA_STATIC_WHILE_SET_AT_EXECUTE, visibility = SHADER_VISIBILITY_PIXEL),\" \\\n"
    "\t\"DescriptorTable(Sampler(s0, flags = DESCRIPTORS_VOLATILE, numDescriptors = 8), "
    "visibility = SHADER_VISIBILITY_PIXEL),\" \\\n"
    "\t\"DescriptorTable(SRV(t0, flags = DESCRIPTORS_VOLATILE | DATA_STATIC_WHILE_SET_AT_EXECUTE, "
    "numDescriptors = 8), visibility = SHADER_VISIBILITY_PIXEL)\"\n";

const char* const kRootSignatureAttribute =
    "#if defined(__XBOX_ONE) || defined(__XBOX_SCARLETT)\n\n[RootSignature(ROOT_SIGNATURE)]\n\n#endif\n\n";

void AddPayload(ShaderDescription& description, const char* name, Type type, int32_t slot, bool input)
{
    RayPayloadVariable payload;
    payload.name = name;
    payload.type = type;
    payload.slot = slot;
    payload.isInput = input ? 1 : 0;
    description.rayPayloads.Add(payload);
}

class HLSL12TranslatorTest : public TargetTranslatorFixture<TARGET_HLSL12, FEATURE_LEVEL_HLSL12_DEFAULT> {
protected:
    void SetUp() override
    {
        TargetTranslatorFixture::SetUp();
        // The shared ray-tracing scene, its textures moved off the buffers' registers.
        rayDescription = ShaderInterfaces::MakeRayTracing(0x20004);
        rayDescription.pixelTextures[0].slot = 3;
        rayDescription.pixelTextures[1].slot = 4;
    }
    bool RunRay(const std::string& text, uint32_t stage, uint32_t level = FEATURE_LEVEL_HLSL12_DEFAULT)
    {
        description = rayDescription;
        return Run(text, stage, level);
    }

    ShaderDescription rayDescription;
};

TEST_F(HLSL12TranslatorTest, SpriteVertexShaderBindsItsConstantBufferAtB0WithoutAPragma)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * constants.transform;\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_EQ(
        result,
        "struct VertexInput\n{\n\tfloat4 position : POSITION;\n\tfloat4 color : COLOR;\n"
        "\tfloat2 uv : TEXCOORD0;\n};\n\ncbuffer Constants : register(b0)\n{\n\tfloat4x4 _const_transform;\n};\n\n"
        "struct VertexOutput\n{\n\tfloat4 position : SV_POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
        "\tfloat4 color : COLOR0;\n};\n\n"
        "VertexOutput main(VertexInput input)\n{\n\tVertexOutput output;\n"
        "\toutput.position = mul(input.position, _const_transform);\n\toutput.uv = input.uv;\n"
        "\toutput.color = input.color;\n\n\treturn output;\n}\n");
}

TEST_F(HLSL12TranslatorTest, ConsolePixelShaderHasTheRootSignatureAndItsAttribute)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
            "\toutput.color = texel * input.color * constants.tint;\n}\n",
            STAGE_PIXEL, FEATURE_LEVEL_HLSL12_XBOX_SX))
        << LogText();
    EXPECT_EQ(result, std::string(kRootSignatureWithBothBuffers) +
                          "\nstruct PixelInput\n{\n\tfloat4 position : SV_POSITION;\n\tfloat2 uv : TEXCOORD0;\n"
                          "\tfloat4 color : COLOR0;\n};\n\ncbuffer Constants : register(b1)\n{\n\tfloat4 _const_tint;\n"
                          "\tfloat4 _const_time;\n};\n\n"
                          "SamplerState _smp_albedo : register(s0);\nTexture2D _tex_albedo : register(t0);\n\n"
                          "struct PixelOutput\n{\n\tfloat4 color : SV_TARGET0;\n};\n\n" +
                          kRootSignatureAttribute +
                          "PixelOutput main(PixelInput input)\n{\n\tPixelOutput output;\n"
                          "\tfloat4 texel = _tex_albedo.Sample(_smp_albedo, input.uv);\n"
                          "\toutput.color = texel * input.color * _const_tint;\n\n\treturn output;\n}\n");
}

TEST_F(HLSL12TranslatorTest, DefaultLevelHasNeitherRootSignatureNorAttribute)
{
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL, FEATURE_LEVEL_HLSL12_DEFAULT)) << LogText();
    EXPECT_FALSE(Contains("ROOT_SIGNATURE")) << result;
    EXPECT_FALSE(Contains("#if")) << result;
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL, FEATURE_LEVEL_HLSL12_XBOX_ONE)) << LogText();
    EXPECT_EQ(result.rfind(kRootSignatureWithBothBuffers, 0), 0u) << result;
    EXPECT_EQ(Count(kRootSignatureAttribute), 1u) << result;
}

TEST_F(HLSL12TranslatorTest, PixelConstantBufferAndItsRootCBVAreBothAtB1)
{
    description = ShaderInterfaces::MakeSprite(0x20003);
    description.vertexConstants.variables.Clear();
    ASSERT_TRUE(Run(kPixelColorMain, STAGE_PIXEL, FEATURE_LEVEL_HLSL12_XBOX_SX)) << LogText();
    EXPECT_TRUE(Contains("cbuffer Constants : register(b1)\n")) << result;
    EXPECT_TRUE(
        Contains("\t\t\"DENY_HULL_SHADER_ROOT_ACCESS),\" \\\n"
                 "\t\"CBV(b1, flags = DATA_STATIC_WHILE_SET_AT_EXECUTE, visibility = SHADER_VISIBILITY_PIXEL),\" \\\n"
                 "\t\"DescriptorTable(Sampler("))
        << result;
    EXPECT_FALSE(Contains("VISIBILITY_VERTEX")) << result;
}

TEST_F(HLSL12TranslatorTest, VertexStageReadsTheInstanceIdAsTheSystemValue)
{
    ASSERT_TRUE(
        Run("void main()\n{\n\toutput.position = input.position * float(input.instance_id);\n"
            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n",
            STAGE_VERTEX))
        << LogText();
    EXPECT_TRUE(Contains("\tuint _instance_id : SV_InstanceID;\n};\n")) << result;
    EXPECT_TRUE(Contains("output.position = input.position * float(input._instance_id);")) << result;
}

TEST_F(HLSL12TranslatorTest, LowLevelOfAnotherTargetDoesNotRefuseBitwiseOperators)
{
    ASSERT_TRUE(Run("void main()\n{\n\tint a = 6;\n\ta = (a >> 1) & 3;\n\toutput.color = float4(float(a));\n}\n",
                    STAGE_PIXEL, FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_HLSL12_DEFAULT))
        << LogText();
    EXPECT_TRUE(Contains("a = (a >> 1) & 3;")) << result;
}

TEST_F(HLSL12TranslatorTest, RayGenerationDeclaresWhatItTracesWhereEveryUseSeesIt)
{
    ASSERT_TRUE(
        RunRay(std::string(kHitInfo) +
                   "void main()\n{\n\tif (input.dispatch_id.x > 0u)\n\t{\n"
                   "\t\ttrace(RAY_FLAGS_OPAQUE, 0xFF, 0, 0, float3(0.0), 0.001, float3(0.0, 0.0, 1.0), 100.0, 0);\n"
                   "\t}\n\tstoreImage(images.target, input.dispatch_id.xy, ray_payloads.hit.color);\n}\n",
               STAGE_RGEN))
        << LogText();
    EXPECT_EQ(result,
              "Buffer<float4> _buf_vertices : register(t0, space1);\n"
              "ByteAddressBuffer _buf_indices : register(t0, space2);\n"
              "Buffer<uint3> _buf_triangles : register(t0, space3);\n\n"
              "RWTexture2D<float4> _img_target : register(u0, space0);\n\n"
              "SamplerState _smp_sky : register(s0, space3);\nTextureCube _tex_sky : register(t0, space4);\n"
              "SamplerState _smp_albedo : register(s0, space4);\nTexture2D _tex_albedo : register(t0, space5);\n\n"
              "RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);\n\n" +
                  std::string(kHitInfo) +
                  "struct _Pay_shadow\n{\n\tfloat shadow;\n};\n\n"
                  "[shader(\"raygeneration\")]\nvoid main()\n{\n\tHitInfo _pay_hit;\n\tRayDesc _ray_description;\n\n"
                  "\tif (DispatchRaysIndex().x > 0u)\n\t{\n"
                  "\t\t_ray_description.Origin = (float3)(0.0f);\n"
                  "\t\t_ray_description.TMin = 0.001f;\n"
                  "\t\t_ray_description.Direction = float3(0.0f, 0.0f, 1.0f);\n"
                  "\t\t_ray_description.TMax = 100.0f;\n"
                  "\t\tTraceRay(_acceleration_structure, 1, 0xFF, 0, 0, 0, _ray_description, _pay_hit);\n\t}\n\n"
                  "\t_img_target[DispatchRaysIndex().xy] = _pay_hit.color;\n}\n");
}

TEST_F(HLSL12TranslatorTest, MissShaderTakesItsInputPayloadInItsWrapper)
{
    description = ShaderDescription();
    description.version = 0x20004;
    description.rayTracingGroup = 1;
    AddPayload(description, "colour", Type::MakeVector(BaseType::FLOAT, 4), 0, true);
    ASSERT_TRUE(
        Run("void main()\n{\n\tray_payloads.colour = float4(input.world_ray_direction, 1.0);\n}\n", STAGE_RMISS))
        << LogText();
    EXPECT_EQ(result,
              "RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);\n\n"
              "struct _Pay_colour\n{\n\tfloat4 colour;\n};\n\n"
              "[shader(\"miss\")]\nvoid main(inout _Pay_colour _pay_colour)\n{\n"
              "\t_pay_colour.colour = float4(WorldRayDirection(), 1.0f);\n}\n");
}

TEST_F(HLSL12TranslatorTest, ConsoleClosestHitWritesSupportFunctionsAndComparisonSampler)
{
    ASSERT_TRUE(RunRay(std::string(kHitInfo) +
                           "void main()\n{\n"
                           "\tuint3 corners = loadIndices(buffers.indices, input.primitive_id * 6u);\n"
                           "\tfloat3 world = objectSpaceToWorld(buffers.vertices[corners.x]);\n"
                           "\tfloat lit = sampleTextureCompareLodZero(texture.albedo, input.hit_attribute, 0.5);\n"
                           "\tfloat4 tint = unpackUnorm4ToFloat4(floatBitsToUint(lit));\n"
                           "\tray_payloads.hit.color = tint * float(loadIndices(buffers.indices, 0u).x);\n"
                           "\tray_payloads.hit.distance = input.ray_length + world.x;\n}\n",
                       STAGE_RCHIT, FEATURE_LEVEL_HLSL12_XBOX_SX))
        << LogText();
    // No constants: the root signature holds the two descriptor tables only.
    EXPECT_EQ(result.rfind("#define ROOT_SIGNATURE \\\n\t\"RootFlags(\" \\\n"), 0u) << result;
    EXPECT_TRUE(Contains("\t\t\"DENY_HULL_SHADER_ROOT_ACCESS),\" \\\n\t\"DescriptorTable(Sampler(")) << result;
    EXPECT_TRUE(Contains("SamplerState _smp_sky : register(s0, space3);\n")) << result;
    EXPECT_TRUE(Contains("SamplerComparisonState _smp_albedo : register(s0, space4);\n")) << result;
    EXPECT_TRUE(
        Contains("RaytracingAccelerationStructure _acceleration_structure : register(t0, space0);\n\n"
                 "uint3 _loadIndices(ByteAddressBuffer buffer, uint offset)\n{\n"
                 "\tconst uint aligned_offset = offset & ~3;\n"
                 "\tconst uint2 packed_indices = buffer.Load2(aligned_offset);\n\tuint3 indices;\n\n"
                 "\tif (offset == aligned_offset)\n\t{\n\t\tindices.x = packed_indices.x & 0xFFFF;\n"
                 "\t\tindices.y = packed_indices.x >> 16;\n\t\tindices.z = packed_indices.y & 0xFFFF;\n\t}\n"
                 "\telse\n\t{\n\t\tindices.x = packed_indices.x >> 16;\n"
                 "\t\tindices.y = packed_indices.y & 0xFFFF;\n\t\tindices.z = packed_indices.y >> 16;\n\t}\n\n"
                 "\treturn indices;\t\n}\n\n"
                 "float4 _unpackUnorm4ToFloat4(uint value)\n{\n\treturn float4\n\t(\n\t\tvalue >> 24,\n"
                 "\t\t(value & 0xFF0000) >> 16,\n\t\t(value & 0xFF00) >> 8,\n\t\tvalue & 0xFF\n"
                 "\t) / 255.0f;\n}\n\n" +
                 std::string(kHitInfo)))
        << result;
    EXPECT_EQ(Count("uint3 _loadIndices("), 1u) << result;
    EXPECT_TRUE(
        Contains(std::string("};\n\nstruct _Pay_shadow\n{\n\tfloat shadow;\n};\n\n") + kRootSignatureAttribute +
                 "[shader(\"closesthit\")]\n"
                 "void main(inout HitInfo _pay_hit, BuiltInTriangleIntersectionAttributes _hit_attributes)\n{\n"
                 "\tuint3 corners = _loadIndices(_buf_indices, PrimitiveIndex() * 6u);\n"
                 "\tfloat3 world = mul(ObjectToWorld3x4(), (_buf_vertices[corners.x]));\n"
                 "\tfloat lit = _tex_albedo.SampleCmpLevelZero(_smp_albedo, _hit_attributes.barycentrics, 0.5f);\n"
                 "\tfloat4 tint = _unpackUnorm4ToFloat4(asuint(lit));\n"
                 "\t_pay_hit.color = tint * float(_loadIndices(_buf_indices, 0u).x);\n"
                 "\t_pay_hit.distance = RayTCurrent() + world.x;\n}\n"))
        << result;
}

TEST_F(HLSL12TranslatorTest, TextureArraysOfRayStagesAreUnsizedComparedAndIndexedNonUniformly)
{
    rayDescription.pixelTextures[1].type.arraySize = -1;
    ASSERT_TRUE(
        RunRay(std::string(kHitInfo) +
                   "void main()\n{\n\tfloat lit = sampleTextureCompareLodZero(texture.albedo[input.primitive_id], "
                   "input.hit_attribute, 0.5);\n"
                   "\tlit += sampleTextureCompareLodZero(texture.albedo[1], input.hit_attribute, 0.25);\n"
                   "\tray_payloads.hit.distance = lit;\n}\n",
               STAGE_RCHIT))
        << LogText();
    EXPECT_TRUE(
        Contains("SamplerComparisonState _smp_albedo[] : register(s0, space4);\n"
                 "Texture2D _tex_albedo[] : register(t0, space5);\n"))
        << result;
    EXPECT_TRUE(
        Contains("\tfloat lit = _tex_albedo[NonUniformResourceIndex(PrimitiveIndex())].SampleCmpLevelZero("
                 "_smp_albedo[NonUniformResourceIndex(PrimitiveIndex())], _hit_attributes.barycentrics, 0.5f);\n"))
        << result;
    EXPECT_TRUE(
        Contains("\tlit += _tex_albedo[1].SampleCmpLevelZero(_smp_albedo[1], _hit_attributes.barycentrics, 0.25f);\n"))
        << result;
}

TEST_F(HLSL12TranslatorTest, StageWithoutSupportCallsHasNoSupportFunctions)
{
    ASSERT_TRUE(RunRay(std::string(kHitInfo) + "void main()\n{\n\tray_payloads.hit.distance = input.ray_length;\n}\n",
                       STAGE_RCHIT))
        << LogText();
    EXPECT_FALSE(Contains("_loadIndices")) << result;
    EXPECT_FALSE(Contains("_unpackUnorm4ToFloat4")) << result;
    EXPECT_FALSE(Contains("RayDesc")) << result;
}

TEST_F(HLSL12TranslatorTest, TwoTracesShareOneRayDescriptionAndEachGetsItsFourAssignments)
{
    ASSERT_TRUE(RunRay(std::string(kHitInfo) +
                           "void main()\n{\n\tray_payloads.shadow = 1.0;\n"
                           "\ttrace(0, 0xFF, 0, 1, input.world_ray_origin, 0.01, input.world_ray_direction, 10.0, 1);\n"
                           "\ttrace(0, 0xFF, 0, 1, input.world_ray_origin, 0.02, input.world_ray_direction, 20.0, 1);\n"
                           "\tray_payloads.hit.distance = ray_payloads.shadow;\n}\n",
                       STAGE_RCHIT))
        << LogText();
    EXPECT_EQ(Count("RayDesc _ray_description;"), 1u) << result;
    EXPECT_EQ(Count("_ray_description.Origin = WorldRayOrigin();"), 2u) << result;
    EXPECT_TRUE(
        Contains("{\n\t_Pay_shadow _pay_shadow;\n\tRayDesc _ray_description;\n\n\t_pay_shadow.shadow = 1.0f;\n"
                 "\t_ray_description.Origin = WorldRayOrigin();\n\t_ray_description.TMin = 0.01f;\n"
                 "\t_ray_description.Direction = WorldRayDirection();\n\t_ray_description.TMax = 10.0f;\n"
                 "\tTraceRay(_acceleration_structure, 0, 0xFF, 0, 0, 1, _ray_description, _pay_shadow);\n"
                 "\t_ray_description.Origin = WorldRayOrigin();\n\t_ray_description.TMin = 0.02f;\n"))
        << result;
    EXPECT_TRUE(Contains("\t_pay_hit.distance = _pay_shadow.shadow;\n}\n")) << result;
}

TEST_F(HLSL12TranslatorTest, TraceAsAnUnbracedBranchGetsBracesOfItsOwn)
{
    ASSERT_TRUE(RunRay(std::string(kHitInfo) +
                           "void main()\n{\n\tif (input.dispatch_id.x > 0u)\n"
                           "\t\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, 0);\n\telse\n"
                           "\t\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(-1.0), 1.0, 0);\n}\n",
                       STAGE_RGEN))
        << LogText();
    EXPECT_TRUE(Contains("\tif (DispatchRaysIndex().x > 0u)\n\t{\n\t\t_ray_description.Origin = (float3)(0.0f);\n"))
        << result;
    EXPECT_TRUE(Contains("_pay_hit);\n\t}\n\telse\n\t{\n\t\t_ray_description.Origin = (float3)(0.0f);\n")) << result;
    EXPECT_TRUE(Contains("_pay_hit);\n\t}\n}\n")) << result;
}

TEST_F(HLSL12TranslatorTest, HelperFunctionThatTracesDeclaresItsOwnPayloadAndRayDescription)
{
    ASSERT_TRUE(RunRay(std::string(kHitInfo) +
                           "void Probe(float3 origin)\n{\n"
                           "\ttrace(0, 0xFF, 0, 1, origin, 0.0, float3(0.0, 1.0, 0.0), 5.0, 1);\n}\n\n"
                           "void main()\n{\n\tProbe(float3(0.0));\n"
                           "\tstoreImage(images.target, input.dispatch_id.xy, float4(1.0));\n}\n",
                       STAGE_RGEN))
        << LogText();
    EXPECT_TRUE(
        Contains("void Probe(float3 origin)\n{\n\t_Pay_shadow _pay_shadow;\n\tRayDesc _ray_description;\n\n"
                 "\t_ray_description.Origin = origin;\n"))
        << result;
    EXPECT_TRUE(Contains("void main()\n{\n\tProbe((float3)(0.0f));\n")) << result;
}

TEST_F(HLSL12TranslatorTest, TracePayloadSlotMustBeASlotOfTheTable)
{
    EXPECT_FALSE(RunRay(std::string(kHitInfo) +
                            "void main()\n{\n\tuint slot = 1u;\n"
                            "\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, slot);\n}\n",
                        STAGE_RGEN));
    // The checks refuse a slot that is no literal before any translator sees it.
    EXPECT_NE(LogText().find("error: the last argument of trace() must be a literal."), std::string::npos) << LogText();
    EXPECT_FALSE(RunRay(
        std::string(kHitInfo) + "void main()\n{\n\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, 2u);\n}\n",
        STAGE_RGEN));
    EXPECT_EQ(LogText(), "Error: trace names payload slot 2u, which no ray payload has.\n");
    ASSERT_TRUE(RunRay(
        std::string(kHitInfo) + "void main()\n{\n\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, 0x1);\n}\n",
        STAGE_RGEN))
        << LogText();
    EXPECT_TRUE(Contains("_ray_description, _pay_shadow);")) << result;
}

// A change to the shared ray-tracing scene, a closest-hit main, and the one
// error the translator refuses it with.
struct RefusedRow {
    void (*change)(ShaderDescription&);
    const char* main;
    const char* log;
};

const char* const kHitDistanceMain = "void main()\n{\n\tray_payloads.hit.distance = 0.0;\n}\n";

const RefusedRow kRefusedRows[] = {
    {[](ShaderDescription&) {},
     "void main()\n{\n\tfloat4 texel = sampleTextureLod(texture.albedo, input.hit_attribute, 0.0);\n"
     "\tfloat lit = sampleTextureCompareLodZero(texture.albedo, input.hit_attribute, 0.5);\n"
     "\tray_payloads.hit.color = texel * lit;\n}\n",
     "Error: texture 'albedo' is sampled both with and without a comparison.\n"},
    // Payload slots run from zero without a gap or a repeat.
    {[](ShaderDescription& scene) { scene.rayPayloads[1].slot = 2; }, kHitDistanceMain,
     "Error: ray payload 'shadow' has slot 2; the slots of 2 ray payloads must be 0 to 1, each used once.\n"},
    {[](ShaderDescription& scene) { scene.rayPayloads[1].slot = 0; }, kHitDistanceMain,
     "Error: ray payload 'shadow' has slot 0; the slots of 2 ray payloads must be 0 to 1, each used once.\n"},
    {[](ShaderDescription& scene) { scene.rayPayloads[0].isInput = 0; }, kHitDistanceMain,
     "Error: the rchit shader has no input ray payload.\n"},
    {[](ShaderDescription& scene) { scene.pixelTextures[1].slot = 2; }, kHitDistanceMain,
     "Error: texture 'albedo' and buffer 'triangles' both have slot 2 and would share register t0, space3.\n"},
};

TEST_F(HLSL12TranslatorTest, RefusedRows)
{
    const ShaderDescription scene = rayDescription;
    for (const RefusedRow& row : kRefusedRows) {
        SCOPED_TRACE(row.log);
        rayDescription = scene;
        row.change(rayDescription);
        EXPECT_FALSE(RunRay(std::string(kHitInfo) + row.main, STAGE_RCHIT));
        EXPECT_EQ(LogText(), row.log);
    }
}

}  // namespace
