// GLSL for the newer desktop language and for OpenGL ES 3: in and out
// declarations, one output variable per pixel output, native integers, the
// overloaded texture functions and flat integer varyings, as cases of
// tests/data/shaders/expected/glsl31 and essl30.
#include "shadertool/support/glsl_translator_test_support.h"

using namespace ShaderTool;

namespace {

void AddTileOutput(ShaderDescription& sprite)
{
    ShaderInterfaces::AddOutput(sprite, "tile", Type::MakeVector(BaseType::INT, 2), VERTEX_OUTPUT_TEXTURE_COORDINATE);
}

using GLSL31TranslatorTest = GlslTranslatorFixture;

TEST_F(GLSL31TranslatorTest, TranslationCorpus)
{
    CheckCases({
        {"glsl31/sprite_vertex_shader"},
        {"essl30/sprite_vertex_shader"},
        {"glsl31/sprite_pixel_shader"},
        {"essl30/sprite_pixel_shader"},
        {"glsl31/each_pixel_output_has_its_own_variable"},
        {"essl30/each_pixel_output_has_its_own_location"},
        {"glsl31/modulo_truncates_and_bitwise_operators_are_written_as_they_stand"},
        {"glsl31/level_sampling_needs_no_extension"},
        {"essl30/vertex_and_instance_ids_are_the_language_variables"},
        {"glsl31/integer_varyings_are_flat_outputs", AddTileOutput},
        {"essl30/integer_varyings_are_flat_inputs", AddTileOutput},
        {"glsl31/bool_varyings_are_refused",
         [](ShaderDescription& sprite) {
             AddTileOutput(sprite);
             ShaderInterfaces::AddOutput(sprite, "lit", Type::MakeVector(BaseType::BOOL, 1),
                                         VERTEX_OUTPUT_TEXTURE_COORDINATE);
         }},
        {"glsl31/comparison_sampling_is_refused"},
        {"essl30/unsigned_integers_are_refused"},
        {"glsl31/an_array_of_matrix_constants_is_read_one_element_at_a_time"},
    });
}

}  // namespace
