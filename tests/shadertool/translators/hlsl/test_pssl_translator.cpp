// PSSL: HLSL11's forms with the platform's semantic words, constant buffer
// keyword, sampling methods, all/any casts and the vertex colour swizzle, as
// cases of tests/data/shaders/expected/pssl. No PSSL compiler exists here:
// these golden texts are the judge.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

using PSSLTranslatorTest = TranslatorFixture;

TEST_F(PSSLTranslatorTest, TranslationCorpus)
{
    CheckCases({
        {"pssl/sprite_vertex_shader_swizzles_its_colour_input_on_the_platform"},
        {"pssl/sprite_pixel_shader_has_no_pragma_and_the_platform_semantics"},
        {"pssl/every_read_of_the_colour_input_is_swizzled_in_the_vertex_stage"},
        {"pssl/pixel_colour_input_is_not_swizzled"},
        {"pssl/vertex_shader_without_colour_input_has_no_conditional_block",
         [](ShaderDescription& sprite) { sprite.vertexInput.DeleteAt(1); }},
        {"pssl/all_and_any_cast_their_argument_to_a_boolean_vector"},
        {"pssl/sampling_methods_have_the_platform_names"},
        {"pssl/comparison_sampling_is_refused"},
        {"pssl/vertex_and_instance_ids_have_the_platform_semantics"},
        {"pssl/facing_has_the_platform_semantic"},
        {"pssl/bitwise_operators_are_written_whatever_other_levels_are_asked"},
        {"pssl/vector_and_matrix_comparisons_give_one_bool_over_all_components"},
        {"pssl/blend_indices_arrive_unsigned_and_read_as_their_type", ShaderInterfaces::AddBoneIndices},
    });
}

}  // namespace
