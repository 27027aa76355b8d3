// HLSL for shader models 4 and 5: system values, the constant buffer,
// texture and sampler objects and sampling methods, as cases of
// tests/data/shaders/expected/hlsl11.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

using HLSL11TranslatorTest = TranslatorFixture;

// Interface names that the shading language leaves free and HLSL reserves.
void AddReservedInterfaceNames(ShaderDescription& sprite)
{
    ShaderInterfaces::AddInput(sprite, "unsigned", 16, ShaderInterfaces::Float(2));
    ShaderInterfaces::AddOutput(sprite, "shared", ShaderInterfaces::Float(4), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    sprite.vertexOutput[sprite.vertexOutput.GetCount() - 1].semanticIndex = 1;  // after uv
    sprite.pixelOutput.Add("vector");
}

TEST_F(HLSL11TranslatorTest, TranslationCorpus)
{
    CheckCases({
        {"hlsl11/sprite_pixel_shader_of_version_2_4"},
        {"hlsl11/sprite_vertex_shader_of_version_2_3"},
        {"hlsl11/stage_without_constants_has_no_buffer",
         [](ShaderDescription& sprite) { sprite.pixelConstants.variables.Clear(); }},
        {"hlsl11/shared_constants_join_the_vertex_buffer"},
        {"hlsl11/comparison_sampler_only_for_the_compared_texture"},
        {"hlsl11/stage_after_a_comparison_compares_nothing"},
        {"hlsl11/failed_stage_compares_then_fails"},
        {"hlsl11/stage_after_a_failed_one_compares_nothing"},
        {"hlsl11/texture_sampled_both_with_and_without_a_comparison_is_refused_once"},
        {"hlsl11/lod_offset_is_a_samplelevel_with_four_arguments"},
        {"hlsl11/bitwise_operators_are_written_at_the_default_level"},
        {"hlsl11/bitwise_operators_are_refused_at_the_low_level"},
        {"hlsl11/instance_id_comes_before_vertex_id_whatever_was_read_first"},
        {"hlsl11/float_bits_are_refused"},
        {"hlsl11/face_direction_is_minus_one_for_a_back_face"},
        {"hlsl11/vector_and_matrix_comparisons_give_one_bool_over_all_components"},
        {"hlsl11/every_constant_reads_its_own_slot_after_smaller_matrices"},
        {"hlsl11/an_array_of_matrix_constants_is_read_one_element_at_a_time"},
        {"hlsl11/a_matrix_of_a_larger_one_is_a_cast"},
        {"hlsl11/reserved_names_of_hlsl_get_a_leading_underscore", AddReservedInterfaceNames},
        {"hlsl11/reserved_interface_names_get_a_leading_underscore_in_the_pixel_stage", AddReservedInterfaceNames},
        {"hlsl11/blend_indices_arrive_unsigned_and_read_as_their_type", ShaderInterfaces::AddBoneIndices},
    });
}

TEST_F(HLSL11TranslatorTest, RayTracingInputsAreNotSupported)
{
    std::unique_ptr<Translator> translator = Make(TARGET_HLSL11);
    EXPECT_FALSE(Translate(*translator, Main("\toutput.color = float4(input.ray_length);\n"), STAGE_PIXEL,
                           TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT));
}

}  // namespace
