// HLSL for Direct3D 12: register spaces, the ray-tracing stages with their
// payloads and traces, the support functions and the console root
// signature, as cases of tests/data/shaders/expected/hlsl12.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

// The shared ray-tracing scene, its textures moved off the buffers' registers.
void MoveRayTextures(ShaderDescription& scene)
{
    scene.pixelTextures[0].slot = 3;
    scene.pixelTextures[1].slot = 4;
}

// A miss stage whose only payload is a float4 input of the given name.
void PayloadOnly(ShaderDescription& scene, const char* name)
{
    scene = ShaderDescription();
    scene.version = 0x20004;
    scene.rayTracingGroup = 1;
    ShaderInterfaces::AddPayload(scene, name, Type::MakeVector(BaseType::FLOAT, 4), 0, true);
}

void ColourPayloadOnly(ShaderDescription& scene) { PayloadOnly(scene, "colour"); }

// A payload named with a word that HLSL reserves.
void SharedPayloadOnly(ShaderDescription& scene) { PayloadOnly(scene, "shared"); }

using HLSL12TranslatorTest = TranslatorFixture;

TEST_F(HLSL12TranslatorTest, TranslationCorpus)
{
    // A trace slot that is no literal is refused by the checks before any
    // translator sees it (tests/data/shaders/bad/trace_argument).
    CheckCases({
        {"hlsl12/sprite_vertex_shader_binds_its_constant_buffer_at_b0_without_a_pragma"},
        {"hlsl12/console_pixel_shader_has_the_root_signature_and_its_attribute"},
        {"hlsl12/default_level_has_neither_root_signature_nor_attribute"},
        {"hlsl12/xbox_one_level_has_the_root_signature_and_its_attribute"},
        {"hlsl12/pixel_constant_buffer_and_its_root_cbv_are_both_at_b1",
         [](ShaderDescription& sprite) { sprite.vertexConstants.variables.Clear(); }},
        {"hlsl12/vertex_stage_reads_the_instance_id_as_the_system_value"},
        {"hlsl12/low_level_of_another_target_does_not_refuse_bitwise_operators"},
        {"hlsl12/ray_generation_declares_what_it_traces_where_every_use_sees_it", MoveRayTextures},
        {"hlsl12/miss_shader_takes_its_input_payload_in_its_wrapper", ColourPayloadOnly},
        {"hlsl12/reserved_payload_name_is_renamed_inside_its_wrapper", SharedPayloadOnly},
        {"hlsl12/console_closest_hit_writes_support_functions_and_a_comparison_sampler", MoveRayTextures},
        {"hlsl12/texture_arrays_of_ray_stages_are_unsized_compared_and_indexed_non_uniformly",
         [](ShaderDescription& scene) {
             MoveRayTextures(scene);
             scene.pixelTextures[1].type.arraySize = -1;
         }},
        {"hlsl12/stage_without_support_calls_has_no_support_functions", MoveRayTextures},
        {"hlsl12/two_traces_share_one_ray_description_and_each_gets_its_four_assignments", MoveRayTextures},
        {"hlsl12/trace_as_an_unbraced_branch_gets_braces_of_its_own", MoveRayTextures},
        {"hlsl12/helper_function_that_traces_declares_its_own_payload_and_ray_description", MoveRayTextures},
        {"hlsl12/trace_payload_slot_must_be_a_slot_of_the_table", MoveRayTextures},
        {"hlsl12/trace_payload_slot_in_hex", MoveRayTextures},
        {"hlsl12/texture_sampled_both_with_and_without_a_comparison", MoveRayTextures},
        {"hlsl12/payload_slot_with_a_gap",
         [](ShaderDescription& scene) {
             MoveRayTextures(scene);
             scene.rayPayloads[1].slot = 2;
         }},
        {"hlsl12/payload_slot_used_twice",
         [](ShaderDescription& scene) {
             MoveRayTextures(scene);
             scene.rayPayloads[1].slot = 0;
         }},
        {"hlsl12/closest_hit_without_an_input_payload",
         [](ShaderDescription& scene) {
             MoveRayTextures(scene);
             scene.rayPayloads[0].isInput = 0;
         }},
        {"hlsl12/texture_and_buffer_on_one_register",
         [](ShaderDescription& scene) {
             MoveRayTextures(scene);
             scene.pixelTextures[1].slot = 2;
         }},
    });
}

}  // namespace
