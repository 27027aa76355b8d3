// HLSL for Direct3D 12: register spaces, the ray-tracing stages with their
// payloads and traces, the support functions and the console root signature.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

const std::string kHitInfo = "struct HitInfo\n{\n\tfloat4 color;\n\tfloat distance;\n};\n\n";

const char* const kRootSignatureAttribute =
    "#if defined(__XBOX_ONE) || defined(__XBOX_SCARLETT)\n\n[RootSignature(ROOT_SIGNATURE)]\n\n#endif\n\n";

// The shared ray-tracing scene, its textures moved off the buffers' registers.
void MoveRayTextures(ShaderDescription& scene)
{
    scene.pixelTextures[0].slot = 3;
    scene.pixelTextures[1].slot = 4;
}

// A miss stage whose only payload is a float4 input.
void ColourPayloadOnly(ShaderDescription& scene)
{
    scene = ShaderDescription();
    scene.version = 0x20004;
    scene.rayTracingGroup = 1;
    RayPayloadVariable payload;
    payload.name = "colour";
    payload.type = Type::MakeVector(BaseType::FLOAT, 4);
    payload.slot = 0;
    payload.isInput = 1;
    scene.rayPayloads.Add(payload);
}

// A row of the shared ray-tracing scene; rows with a change of their own
// move the textures themselves.
TranslationRow Ray(TranslationRow row)
{
    row.interfaceName = "raytracing";
    if (row.change == nullptr) row.change = MoveRayTextures;
    return row;
}

const std::string kHitDistanceMain = kHitInfo + Main("\tray_payloads.hit.distance = 0.0;\n");

using HLSL12TranslatorTest = TranslatorFixture;

TEST_F(HLSL12TranslatorTest, Translations)
{
    const std::string traceOfSlot =
        kHitInfo + "void main()\n{\n\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, ";
    CheckRows(
        TARGET_HLSL12, FEATURE_LEVEL_HLSL12_DEFAULT,
        {
            {.name = "sprite vertex shader binds its constant buffer at b0 without a pragma",
             .version = 0x20003,
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * constants.transform;\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .expected = "hlsl12/sprite_v23.vertex.hlsl"},
            {.name = "console pixel shader has the root signature and its attribute",
             .level = FEATURE_LEVEL_HLSL12_XBOX_SX,
             .source = Main("\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
                            "\toutput.color = texel * input.color * constants.tint;\n"),
             .expected = "hlsl12/sprite_xbox_sx.pixel.hlsl"},
            {.name = "default level has neither root signature nor attribute",
             .source = kPixelColorMain,
             .absent = {"ROOT_SIGNATURE", "#if"}},
            {.name = "the other console level has both",
             .level = FEATURE_LEVEL_HLSL12_XBOX_ONE,
             .source = kPixelColorMain,
             .start = ExpectedShader("hlsl12/root_signature_vertex_pixel.hlsl"),
             .counts = {{kRootSignatureAttribute, 1}}},
            {.name = "pixel constant buffer and its root CBV are both at b1",
             .version = 0x20003,
             .change = [](ShaderDescription& sprite) { sprite.vertexConstants.variables.Clear(); },
             .level = FEATURE_LEVEL_HLSL12_XBOX_SX,
             .source = kPixelColorMain,
             .parts =
                 {"cbuffer Constants : register(b1)\n",
                  "\t\t\"DENY_HULL_SHADER_ROOT_ACCESS),\" \\\n"
                  "\t\"CBV(b1, flags = DATA_STATIC_WHILE_SET_AT_EXECUTE, visibility = SHADER_VISIBILITY_PIXEL),\" \\\n"
                  "\t\"DescriptorTable(Sampler("},
             .absent = {"VISIBILITY_VERTEX"}},
            {.name = "vertex stage reads the instance id as the system value",
             .stage = STAGE_VERTEX,
             .source = Main("\toutput.position = input.position * float(input.instance_id);\n"
                            "\toutput.uv = input.uv;\n\toutput.color = input.color;\n"),
             .parts = {"\tuint _instance_id : SV_InstanceID;\n};\n",
                       "output.position = input.position * float(input._instance_id);"}},
            {.name = "low level of another target does not refuse bitwise operators",
             .level = FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_HLSL12_DEFAULT,
             .source = Main("\tint a = 6;\n\ta = (a >> 1) & 3;\n\toutput.color = float4(float(a));\n"),
             .parts = {"a = (a >> 1) & 3;"}},
            Ray({.name = "ray generation declares what it traces where every use sees it",
                 .stage = STAGE_RGEN,
                 .source = kHitInfo +
                           Main("\tif (input.dispatch_id.x > 0u)\n\t{\n"
                                "\t\ttrace(RAY_FLAGS_OPAQUE, 0xFF, 0, 0, float3(0.0), 0.001, float3(0.0, 0.0, 1.0), "
                                "100.0, 0);\n"
                                "\t}\n\tstoreImage(images.target, input.dispatch_id.xy, ray_payloads.hit.color);\n"),
                 .expected = "hlsl12/raytrace.rgen.hlsl"}),
            {.name = "miss shader takes its input payload in its wrapper",
             .change = ColourPayloadOnly,
             .stage = STAGE_RMISS,
             .source = Main("\tray_payloads.colour = float4(input.world_ray_direction, 1.0);\n"),
             .expected = "hlsl12/colour_payload.rmiss.hlsl"},
            Ray({.name = "console closest hit writes support functions and a comparison sampler",
                 .level = FEATURE_LEVEL_HLSL12_XBOX_SX,
                 .stage = STAGE_RCHIT,
                 .source = kHitInfo +
                           Main("\tuint3 corners = loadIndices(buffers.indices, input.primitive_id * 6u);\n"
                                "\tfloat3 world = objectSpaceToWorld(buffers.vertices[corners.x]);\n"
                                "\tfloat lit = sampleTextureCompareLodZero(texture.albedo, input.hit_attribute, 0.5);\n"
                                "\tfloat4 tint = unpackUnorm4ToFloat4(floatBitsToUint(lit));\n"
                                "\tray_payloads.hit.color = tint * float(loadIndices(buffers.indices, 0u).x);\n"
                                "\tray_payloads.hit.distance = input.ray_length + world.x;\n"),
                 // No constants: the root signature holds the two descriptor tables only.
                 .start = "#define ROOT_SIGNATURE \\\n\t\"RootFlags(\" \\\n",
                 .parts = {"\t\t\"DENY_HULL_SHADER_ROOT_ACCESS),\" \\\n\t\"DescriptorTable(Sampler(",
                           "SamplerState _smp_sky : register(s0, space3);\n",
                           "SamplerComparisonState _smp_albedo : register(s0, space4);\n",
                           ExpectedShader("hlsl12/support_functions.hlsl"),
                           ExpectedShader("hlsl12/closest_hit_xbox_sx.main.hlsl")},
                 .counts = {{"uint3 _loadIndices(", 1}}}),
            Ray({.name = "texture arrays of ray stages are unsized, compared and indexed non-uniformly",
                 .change =
                     [](ShaderDescription& scene) {
                         MoveRayTextures(scene);
                         scene.pixelTextures[1].type.arraySize = -1;
                     },
                 .stage = STAGE_RCHIT,
                 .source = kHitInfo +
                           Main("\tfloat lit = sampleTextureCompareLodZero(texture.albedo[input.primitive_id], "
                                "input.hit_attribute, 0.5);\n"
                                "\tlit += sampleTextureCompareLodZero(texture.albedo[1], input.hit_attribute, 0.25);\n"
                                "\tray_payloads.hit.distance = lit;\n"),
                 .parts =
                     {"SamplerComparisonState _smp_albedo[] : register(s0, space4);\n"
                      "Texture2D _tex_albedo[] : register(t0, space5);\n",
                      "\tfloat lit = _tex_albedo[NonUniformResourceIndex(PrimitiveIndex())].SampleCmpLevelZero("
                      "_smp_albedo[NonUniformResourceIndex(PrimitiveIndex())], _hit_attributes.barycentrics, 0.5f);\n",
                      "\tlit += _tex_albedo[1].SampleCmpLevelZero(_smp_albedo[1], _hit_attributes.barycentrics, "
                      "0.25f);\n"}}),
            Ray({.name = "stage without support calls has no support functions",
                 .stage = STAGE_RCHIT,
                 .source = kHitInfo + Main("\tray_payloads.hit.distance = input.ray_length;\n"),
                 .absent = {"_loadIndices", "_unpackUnorm4ToFloat4", "RayDesc"}}),
            Ray({.name = "two traces share one ray description and each gets its four assignments",
                 .stage = STAGE_RCHIT,
                 .source =
                     kHitInfo +
                     Main("\tray_payloads.shadow = 1.0;\n"
                          "\ttrace(0, 0xFF, 0, 1, input.world_ray_origin, 0.01, input.world_ray_direction, 10.0, 1);\n"
                          "\ttrace(0, 0xFF, 0, 1, input.world_ray_origin, 0.02, input.world_ray_direction, 20.0, 1);\n"
                          "\tray_payloads.hit.distance = ray_payloads.shadow;\n"),
                 .parts =
                     {"{\n\t_Pay_shadow _pay_shadow;\n\tRayDesc _ray_description;\n\n\t_pay_shadow.shadow = 1.0f;\n"
                      "\t_ray_description.Origin = WorldRayOrigin();\n\t_ray_description.TMin = 0.01f;\n"
                      "\t_ray_description.Direction = WorldRayDirection();\n\t_ray_description.TMax = 10.0f;\n"
                      "\tTraceRay(_acceleration_structure, 0, 0xFF, 0, 0, 1, _ray_description, _pay_shadow);\n"
                      "\t_ray_description.Origin = WorldRayOrigin();\n\t_ray_description.TMin = 0.02f;\n",
                      "\t_pay_hit.distance = _pay_shadow.shadow;\n}\n"},
                 .counts = {{"RayDesc _ray_description;", 1}, {"_ray_description.Origin = WorldRayOrigin();", 2}}}),
            Ray({.name = "trace as an unbraced branch gets braces of its own",
                 .stage = STAGE_RGEN,
                 .source = kHitInfo + Main("\tif (input.dispatch_id.x > 0u)\n"
                                           "\t\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(1.0), 1.0, 0);\n\telse\n"
                                           "\t\ttrace(0, 0xFF, 0, 0, float3(0.0), 0.0, float3(-1.0), 1.0, 0);\n"),
                 .parts = {"\tif (DispatchRaysIndex().x > 0u)\n\t{\n\t\t_ray_description.Origin = (float3)(0.0f);\n",
                           "_pay_hit);\n\t}\n\telse\n\t{\n\t\t_ray_description.Origin = (float3)(0.0f);\n",
                           "_pay_hit);\n\t}\n}\n"}}),
            Ray({.name = "helper function that traces declares its own payload and ray description",
                 .stage = STAGE_RGEN,
                 .source =
                     kHitInfo +
                     "void Probe(float3 origin)\n{\n"
                     "\ttrace(0, 0xFF, 0, 1, origin, 0.0, float3(0.0, 1.0, 0.0), 5.0, 1);\n}\n\n" +
                     Main("\tProbe(float3(0.0));\n\tstoreImage(images.target, input.dispatch_id.xy, float4(1.0));\n"),
                 .parts = {"void Probe(float3 origin)\n{\n\t_Pay_shadow _pay_shadow;\n\tRayDesc _ray_description;\n\n"
                           "\t_ray_description.Origin = origin;\n",
                           "void main()\n{\n\tProbe((float3)(0.0f));\n"}}),
            // A slot that is no literal is refused by the checks before any
            // translator sees it (tests/data/shaders/bad/trace_argument).
            Ray({.name = "trace payload slot must be a slot of the table",
                 .stage = STAGE_RGEN,
                 .source = traceOfSlot + "2u);\n}\n",
                 .log = "Error: trace names payload slot 2u, which no ray payload has.\n"}),
            Ray({.name = "a slot of the table in another spelling",
                 .stage = STAGE_RGEN,
                 .source = traceOfSlot + "0x1);\n}\n",
                 .parts = {"_ray_description, _pay_shadow);"}}),
            Ray({.name = "texture sampled both with and without a comparison",
                 .stage = STAGE_RCHIT,
                 .source = kHitInfo +
                           Main("\tfloat4 texel = sampleTextureLod(texture.albedo, input.hit_attribute, 0.0);\n"
                                "\tfloat lit = sampleTextureCompareLodZero(texture.albedo, input.hit_attribute, 0.5);\n"
                                "\tray_payloads.hit.color = texel * lit;\n"),
                 .log = "Error: texture 'albedo' is sampled both with and without a comparison.\n"}),
            // Payload slots run from zero without a gap or a repeat.
            Ray({.name = "payload slot with a gap",
                 .change =
                     [](ShaderDescription& scene) {
                         MoveRayTextures(scene);
                         scene.rayPayloads[1].slot = 2;
                     },
                 .stage = STAGE_RCHIT,
                 .source = kHitDistanceMain,
                 .log = "Error: ray payload 'shadow' has slot 2; the slots of 2 ray payloads must be 0 to 1, each used "
                        "once.\n"}),
            Ray({.name = "payload slot used twice",
                 .change =
                     [](ShaderDescription& scene) {
                         MoveRayTextures(scene);
                         scene.rayPayloads[1].slot = 0;
                     },
                 .stage = STAGE_RCHIT,
                 .source = kHitDistanceMain,
                 .log = "Error: ray payload 'shadow' has slot 0; the slots of 2 ray payloads must be 0 to 1, each used "
                        "once.\n"}),
            Ray({.name = "closest hit without an input payload",
                 .change =
                     [](ShaderDescription& scene) {
                         MoveRayTextures(scene);
                         scene.rayPayloads[0].isInput = 0;
                     },
                 .stage = STAGE_RCHIT,
                 .source = kHitDistanceMain,
                 .log = "Error: the rchit shader has no input ray payload.\n"}),
            Ray({.name = "texture and buffer on one register",
                 .change =
                     [](ShaderDescription& scene) {
                         MoveRayTextures(scene);
                         scene.pixelTextures[1].slot = 2;
                     },
                 .stage = STAGE_RCHIT,
                 .source = kHitDistanceMain,
                 .log = "Error: texture 'albedo' and buffer 'triangles' both have slot 2 and would share register t0, "
                        "space3.\n"}),
        });
}

}  // namespace
