// HLSL for shader model 3: the interface structs, constants, samplers and
// the forms that differ from the base translator, as cases of
// tests/data/shaders/expected/hlsl9.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

// The sprite with a second texture coordinate of index 1 among its vertex outputs.
void AddSecondCoordinate(ShaderDescription& sprite)
{
    sprite.vertexOutput.Clear();
    ShaderInterfaces::AddOutput(sprite, "position", ShaderInterfaces::Float(4), VERTEX_OUTPUT_POSITION);
    ShaderInterfaces::AddOutput(sprite, "uv", ShaderInterfaces::Float(2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ShaderInterfaces::AddOutput(sprite, "uv2", ShaderInterfaces::Float(2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    sprite.vertexOutput[2].semanticIndex = 1;
}

using HLSL9TranslatorTest = TranslatorFixture;

TEST_F(HLSL9TranslatorTest, TranslationCorpus)
{
    CheckCases({
        {"hlsl9/sprite_vertex_shader_of_version_2_2",
         [](ShaderDescription& sprite) { sprite.vertexOutput[2].semanticIndex = 0; }},
        {"hlsl9/sprite_pixel_shader_of_version_2_4"},
        {"hlsl9/facing_adds_the_last_pixel_input_member"},
        {"hlsl9/the_next_stage_without_facing_has_no_facing_member"},
        {"hlsl9/front_facing_compares_the_facing"},
        {"hlsl9/lod_offset_declares_one_reciprocal_per_texture_first_in_the_text"},
        {"hlsl9/lod_with_two_coordinates_inserts_a_zero"},
        {"hlsl9/cube_and_gradient_sampling_names"},
        {"hlsl9/second_texture_coordinate_uses_index_one_in_the_vertex_struct", AddSecondCoordinate},
        {"hlsl9/second_texture_coordinate_uses_index_one_in_the_pixel_struct", AddSecondCoordinate},
        {"hlsl9/globals_are_static_and_locals_are_not"},
        {"hlsl9/matrix_times_vector_uses_mul_and_matrix_times_matrix_stays"},
        {"hlsl9/integer_constants_live_in_float_registers_and_convert_back_element_by_element",
         [](ShaderDescription& sprite) {
             ShaderInterfaces::AddConstant(sprite.pixelConstants, "mode", Type::MakeVector(BaseType::INT, 4));
             ShaderInterfaces::AddConstant(sprite.pixelConstants, "modes", Type::MakeVector(BaseType::INT, 4, 0, 3));
         }},
        {"hlsl9/bitwise_operators_are_refused_once_each"},
        {"hlsl9/comparison_sampling_is_refused"},
        {"hlsl9/vertex_id_is_refused"},
        {"hlsl9/every_constant_reads_its_own_slot_after_smaller_matrices"},
    });
}

}  // namespace
