// GLSL for the old desktop language and for OpenGL ES 2: attribute, varying
// and uniform declarations, gl_ variables for the stage structs, rewrites for
// what the old languages lack, and the refusals of both targets, as cases of
// tests/data/shaders/expected/glsl21 and essl20.
#include "shadertool/support/glsl_translator_test_support.h"

using namespace ShaderTool;

namespace {

// Integer and bool vertex outputs, which neither stage of the old languages can pass.
void AddIntegerAndBoolOutputs(ShaderDescription& sprite)
{
    ShaderInterfaces::AddOutput(sprite, "tile", Type::MakeVector(BaseType::INT, 2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
    ShaderInterfaces::AddOutput(sprite, "lit", Type::MakeVector(BaseType::BOOL, 1), VERTEX_OUTPUT_TEXTURE_COORDINATE);
}

using GLSL21TranslatorTest = GlslTranslatorFixture;

TEST_F(GLSL21TranslatorTest, TranslationCorpus)
{
    CheckCases({
        {"glsl21/sprite_vertex_shader"},
        {"essl20/sprite_vertex_shader"},
        {"glsl21/sprite_pixel_shader"},
        {"essl20/sprite_pixel_shader_begins_with_the_precision_block"},
        {"glsl21/level_gradient_and_offset_sampling_require_the_extension_once"},
        {"glsl21/cube_and_volume_sampling_names_the_dimension"},
        {"glsl21/position_is_the_fragment_coordinate_and_facing_the_front_facing_flag"},
        {"essl20/face_direction"},
        {"glsl21/each_of_several_pixel_outputs_writes_its_own_fragment_data"},
        {"essl20/second_pixel_output_is_refused"},
        {"glsl21/integer_vertex_input_is_a_float_attribute_read_back_as_its_type",
         [](ShaderDescription& sprite) {
             ShaderInterfaces::AddInput(sprite, "cell", 16, Type::MakeVector(BaseType::INT, 2));
         }},
        {"glsl21/modulo_truncates_toward_zero_through_a_support_function"},
        {"essl20/modulo_truncates_toward_zero_through_a_support_function"},
        {"glsl21/row_vector_products_put_the_matrix_first_and_matrix_products_go_per_component"},
        {"essl20/row_vector_products_put_the_matrix_first_and_matrix_products_go_per_component"},
        {"glsl21/every_constant_reads_its_own_slot_after_smaller_matrices"},
        {"essl20/every_constant_reads_its_own_slot_after_smaller_matrices"},
        {"glsl21/saturate_all_and_any_are_rewritten"},
        {"essl20/saturate_is_a_clamp"},
        {"glsl21/array_initialisers_are_constructors"},
        {"essl20/array_initialisers_are_assignments"},
        {"essl20/reserved_array_name_is_filled_under_its_new_name"},
        {"glsl21/global_array_initialiser_is_a_constructor"},
        {"essl20/global_array_initialiser_is_refused"},
        {"glsl21/reserved_names_of_the_language_get_a_leading_underscore"},
        {"glsl21/unsigned_integers_are_refused"},
        {"essl20/unsigned_integers_are_refused"},
        {"glsl21/comparison_sampling_is_refused"},
        {"essl20/lod_sampling_is_refused"},
        {"essl20/gradient_sampling_is_refused"},
        {"essl20/lod_offset_sampling_is_refused"},
        {"essl20/transpose_is_a_support_function"},
        {"glsl21/bitwise_operators_are_refused"},
        {"essl20/bitwise_operators_are_refused"},
        {"glsl21/instance_id_is_the_extension_built_in"},
        {"essl20/instance_id_is_refused"},
        {"glsl21/vertex_id_is_refused"},
        {"glsl21/integer_and_bool_vertex_outputs_in_the_pixel_stage", AddIntegerAndBoolOutputs},
        {"glsl21/integer_and_bool_vertex_outputs_in_the_vertex_stage", AddIntegerAndBoolOutputs},
        {"essl20/integer_and_bool_vertex_outputs_in_the_pixel_stage", AddIntegerAndBoolOutputs},
        {"essl20/integer_and_bool_vertex_outputs_in_the_vertex_stage", AddIntegerAndBoolOutputs},
    });
}

}  // namespace
