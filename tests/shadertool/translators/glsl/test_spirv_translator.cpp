// Vulkan-flavoured GLSL: locations and descriptor sets, the constants block,
// separate samplers and textures, buffers, images and the ray-tracing
// stages, as cases of tests/data/shaders/expected/spirv; glslangValidator
// and spirv-val judge the texts whose case names a judge.
#include "shadertool/support/glsl_translator_test_support.h"

using namespace ShaderTool;

namespace {

void AddShadowMap(ShaderDescription& sprite) { ShaderInterfaces::AddTexture(sprite, "shadow_map", TEXTURE_2D); }

using SPIRVTranslatorTest = GlslTranslatorFixture;

TEST_F(SPIRVTranslatorTest, TranslationCorpus)
{
    CheckCases({
        {"spirv/sprite_vertex_shader"},
        {"spirv/sprite_pixel_shader_samples_through_separate_samplers"},
        {"spirv/two_pixel_textures_take_consecutive_bindings_of_sets_two_and_three",
         [](ShaderDescription& sprite) { ShaderInterfaces::AddTexture(sprite, "detail", TEXTURE_CUBE); }},
        {"spirv/push_constant_block_carries_the_offset_on_its_first_member",
         [](ShaderDescription& sprite) { sprite.pixelConstants.first = 16; }},
        {"spirv/push_constant_block_at_offset_zero_has_no_offset",
         [](ShaderDescription& sprite) { sprite.pixelConstants.first = 0; }},
        {"spirv/push_constant_block_keeps_a_first_matrix_row_major_at_its_offset",
         [](ShaderDescription& sprite) {
             sprite.pixelConstants.first = 16;
             const ConstantVariable tint = sprite.pixelConstants.variables[0];
             sprite.pixelConstants.variables.Clear();
             ShaderInterfaces::AddConstant(sprite.pixelConstants, "turn", Type::MakeMatrix(2));
             sprite.pixelConstants.variables.Add(tint);
         }},
        {"spirv/vulkan_vertex_and_instance_indexes"},
        {"spirv/blend_indices_arrive_unsigned_and_read_as_their_type", ShaderInterfaces::AddBoneIndices},
        {"spirv/integer_varyings_are_flat",
         [](ShaderDescription& sprite) {
             ShaderInterfaces::AddOutput(sprite, "tile", Type::MakeVector(BaseType::INT, 2),
                                         VERTEX_OUTPUT_TEXTURE_COORDINATE);
         }},
        {"spirv/matrix_varying_takes_a_location_per_column",
         [](ShaderDescription& sprite) {
             ShaderInterfaces::AddOutput(sprite, "basis", Type::MakeMatrix(3), VERTEX_OUTPUT_TEXTURE_COORDINATE);
             ShaderInterfaces::AddOutput(sprite, "fade", ShaderInterfaces::Float(1), VERTEX_OUTPUT_TEXTURE_COORDINATE);
         }},
        {"spirv/ray_generation_shader"},
        {"spirv/closest_hit_shader_reads_indices_and_the_two_component_hit_attribute"},
        {"spirv/arrays_of_buffers_and_textures_are_indexed_non_uniformly",
         [](ShaderDescription& scene) {
             scene.buffers[0].type.arraySize = -1;
             scene.pixelTextures[1].type.arraySize = -1;
         }},
        {"spirv/pixel_texture_array_is_sampled_through_its_sampler",
         [](ShaderDescription& sprite) { sprite.pixelTextures[0].type.arraySize = -1; }},
        {"spirv/miss_shader_with_an_incoming_payload_and_unsigned_types"},
        {"spirv/payloads_are_declared_once_before_the_first_definition"},
        {"spirv/struct_payload_waits_for_its_struct"},
        {"spirv/trace_payload_slot_2_is_refused"},
        {"spirv/trace_payload_slot_0x10u_is_refused"},
        {"spirv/trace_payload_slot_1u_is_an_int"},
        {"spirv/trace_payload_slot_0x1_is_an_int"},
        {"spirv/comparison_sampling_is_refused", AddShadowMap},
        {"spirv/every_constant_reads_its_own_slot_after_smaller_matrices"},
    });
}

}  // namespace
