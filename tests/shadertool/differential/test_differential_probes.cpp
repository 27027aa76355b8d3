// Every probe of tests/data/shaders/probes means the same on every target
// that runs here: the engine's translation driver translates it, each
// target's text runs on a real driver, and the row of pixels it writes must
// hold the values worked out by hand from the language's rules.
//   HLSL11: compiled by our HLSL compiler library, drawn by our Direct3D 11
//           layer on its Vulkan back end (the engine's own route);
//   SPIRV:  compiled by glslangValidator (judged by spirv-val), drawn by a
//           plain Vulkan program on the first device (lavapipe here);
//   GLSL21, GLSL31: Mesa's desktop GL; ESSL20, ESSL30: Mesa's GL ES.
// Each stage gets the engine's constant block of its constants.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shadertool/differential/d3d11_row.h"
#include "shadertool/differential/probe.h"
#include "shadertool/differential/probe_translation.h"
#include "shadertool/support/file_text.h"
#include "shadertool/support/glsl_translator_test_support.h"
#include "support/mesa_gl.h"
#include "support/temporary_folder.h"
#include "support/vulkan_driver_keeper.h"
#include "support/vulkan_row.h"

using namespace ShaderTool;

namespace {

namespace fs = std::filesystem;

// ESSL20 writes its pixel output through gl_FragColor, which that language declares mediump: what is read
// back there has mediump's relative precision (2 to the -10) at best, whatever the shader computed in.
constexpr double kMediumpPrecision = 1.0 / 1024;

constexpr uint32_t kRunnableTargets =
    TARGET_HLSL11 | TARGET_SPIRV | TARGET_GLSL21 | TARGET_GLSL31 | TARGET_ESSL20 | TARGET_ESSL30;

// The drivers, opened once for all probes; a driver that cannot start here leaves its reason.
struct Drivers {
    D3D11Row d3d11;
    VulkanRow vulkan;
    MesaGl mesa;
    std::string d3d11Missing;
    std::string vulkanMissing;
    std::string mesaMissing;
};

Drivers* g_drivers = nullptr;

std::string Quad(const float* values)
{
    std::ostringstream text;
    text << "(" << values[0] << ", " << values[1] << ", " << values[2] << ", " << values[3] << ")";
    return text.str();
}

std::string Quad(const double* values)
{
    const float narrowed[4] = {float(values[0]), float(values[1]), float(values[2]), float(values[3])};
    return Quad(narrowed);
}

// Each uniform filled from its constant's slot bytes the default way: four-component types a register
// per element, an N x N matrix from registers 0 to N-1 of each element, first N floats each, not
// transposed.
bool SetUniforms(const MesaGl& mesa, GLuint program, const ShaderDescription& description, const Probe& probe,
                 std::string* error)
{
    const GlFunctions& gl = mesa.gl();
    for (const GlUniform& uniform : mesa.Uniforms(program)) {
        std::string name = uniform.name.substr(0, uniform.name.find('['));
        if (uniform.type == GL_SAMPLER_2D && name.rfind("_tex_", 0) == 0) {
            // Texture i is bound to unit i.
            for (int index = 0; index < int(description.pixelTextures.GetCount()); ++index) {
                if (name.substr(std::strlen("_tex_")) == description.pixelTextures[index].name.GetText()) {
                    gl.Uniform1i(uniform.location, index);
                }
            }
            continue;
        }
        if (name.rfind("_const_", 0) == 0) name = name.substr(std::strlen("_const_"));
        const ConstantVariable* constant = nullptr;
        for (const ConstantList* list :
             {&description.vertexConstants, &description.pixelConstants, &description.constants}) {
            for (const ConstantVariable& candidate : list->variables) {
                if (name == candidate.name.GetText()) constant = &candidate;
            }
        }
        std::vector<uint8_t> slot;
        if (constant == nullptr) {
            *error = "uniform " + uniform.name + " is no constant of the probe";
            return false;
        }
        if (!ConstantSlot(*constant, probe, &slot, error)) return false;
        const auto* floats = reinterpret_cast<const float*>(slot.data());
        int size = 0;
        switch (uniform.type) {
        case GL_FLOAT_VEC4: gl.Uniform4fv(uniform.location, uniform.count, floats); continue;
        case GL_INT_VEC4:
            gl.Uniform4iv(uniform.location, uniform.count, reinterpret_cast<const GLint*>(floats));
            continue;
        case GL_FLOAT_MAT2: size = 2; break;
        case GL_FLOAT_MAT3: size = 3; break;
        case GL_FLOAT_MAT4: size = 4; break;
        default: *error = "uniform " + uniform.name + " has a type no constant has"; return false;
        }
        std::vector<float> columns;
        for (GLint element = 0; element < uniform.count && size_t(element + 1) * 64 <= slot.size(); ++element) {
            for (int column = 0; column < size; ++column) {
                for (int row = 0; row < size; ++row) columns.push_back(floats[element * 16 + column * 4 + row]);
            }
        }
        const GLsizei count = GLsizei(columns.size() / size_t(size * size));
        if (size == 2) gl.UniformMatrix2fv(uniform.location, count, GL_FALSE, columns.data());
        if (size == 3) gl.UniformMatrix3fv(uniform.location, count, GL_FALSE, columns.data());
        if (size == 4) gl.UniformMatrix4fv(uniform.location, count, GL_FALSE, columns.data());
    }
    return true;
}

// Texture i on unit i: every level given, the nearest texel and level, clamped.
void BindTextures(const GlFunctions& gl, const std::vector<RowTexture>& textures, std::vector<GLuint>* names)
{
    if (textures.empty()) return;
    gl.GenTextures(GLsizei(names->size()), names->data());
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t index = 0; index < textures.size(); ++index) {
        const RowTexture& texture = textures[index];
        gl.ActiveTexture(GLenum(GL_TEXTURE0 + index));
        gl.BindTexture(GL_TEXTURE_2D, (*names)[index]);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(texture.levels - 1));
        for (uint32_t level = 0; level < texture.levels; ++level) {
            gl.TexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGBA, GLsizei(texture.LevelWidth(level)),
                          GLsizei(texture.LevelHeight(level)), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                          texture.texels.data() + texture.LevelOffset(level));
        }
    }
    gl.ActiveTexture(GL_TEXTURE0);
}

class DifferentialProbes : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite()
    {
        KeepVulkanDriverLoaded();
        g_drivers = new Drivers;
        if (!g_drivers->d3d11.Open(&g_drivers->d3d11Missing)) g_drivers->d3d11Missing += " (HLSL11 not run)";
        if (!g_drivers->vulkan.Open(&g_drivers->vulkanMissing)) g_drivers->vulkanMissing += " (SPIRV not run)";
        if (!g_drivers->mesa.Open(&g_drivers->mesaMissing)) g_drivers->mesaMissing += " (GL family not run)";
    }
    static void TearDownTestSuite()
    {
        delete g_drivers;
        g_drivers = nullptr;
    }

    void SetUp() override
    {
        fs::copy(fs::path(HALVO_TEST_DATA_DIR) / "shaders" / "probes", folder_.Path(), fs::copy_options::recursive);
        std::string log;
        ASSERT_TRUE(PrepareProbeDriver(folder_.Path().string(), kRunnableTargets, &log)) << log;
        std::string error;
        ASSERT_TRUE(ReadProbe(folder_.Path() / GetParam(), &probe_, &error)) << GetParam() << ": " << error;
    }

    // Runs the translated probe on the target's driver; the pixels, or false with the reason.
    bool Run(uint32_t target, const ProbeStages& stages, std::vector<float>* pixels, std::string* reason)
    {
        const int width = probe_.width;
        const int outputs = std::max(1, int(stages.description.pixelOutput.GetCount()));
        std::vector<uint8_t> blocks[2];
        const ShaderDescription& description = stages.description;
        if (!ConstantBlock(description.vertexConstants, description.constants, probe_, &blocks[0], reason) ||
            !ConstantBlock(description.pixelConstants, description.constants, probe_, &blocks[1], reason)) {
            return false;
        }
        RowVertices vertices;
        if (!ProbeVertices(description, probe_, &vertices, reason)) return false;
        std::vector<RowTexture> textures;
        for (const PixelTextureVariable& texture : description.pixelTextures) {
            const auto found = probe_.textures.find(texture.name.GetText());
            if (found == probe_.textures.end()) {
                *reason = std::string("the probe gives no texels for texture ") + texture.name.GetText();
                return false;
            }
            textures.push_back(found->second);
        }
        if (target == TARGET_HLSL11) {
            return g_drivers->d3d11.DrawRow(stages.codes[0], stages.codes[1], blocks[0], blocks[1], textures, vertices,
                                            width, outputs, pixels, reason);
        }
        const GlslTarget* glsl = FindGlslTarget(target);
        if (target == TARGET_SPIRV) {
            std::vector<uint32_t> modules[2];
            for (int stage = 0; stage < 2; ++stage) {
                const char* name = stage == 0 ? "vert" : "frag";
                const fs::path path = folder_.Path() / (std::string("probe.") + name);
                std::ofstream(path, std::ios::binary) << glsl->versionLine << stages.texts[stage];
                std::string output;
                if (!JudgeGlsl(path, name, true, &output)) {
                    *reason = std::string(name) + " stage refused by glslangValidator or spirv-val:\n" + output +
                              glsl->versionLine + stages.texts[stage];
                    return false;
                }
                const std::string words = ReadFileText(path.string() + ".spv");
                modules[stage].resize(words.size() / 4);
                std::memcpy(modules[stage].data(), words.data(), modules[stage].size() * 4);
            }
            return g_drivers->vulkan.DrawRow(modules[0], modules[1], blocks[0], blocks[1], textures, vertices, width,
                                             outputs, pixels, reason);
        }
        MesaGl& mesa = g_drivers->mesa;
        mesa.Use(target == TARGET_ESSL20 || target == TARGET_ESSL30 ? GlApi::Es : GlApi::Desktop);
        // A GL renderer binds the pixel outputs to its draw buffers in declaration order.
        std::vector<std::string> outputNames;
        for (const String& name : description.pixelOutput) outputNames.push_back(std::string("_out_") + name.GetText());
        std::string log;
        const GLuint program =
            mesa.Build(glsl->versionLine + stages.texts[0], glsl->versionLine + stages.texts[1], &log, outputNames);
        if (program == 0) {
            *reason = "Mesa refuses the texts:\n" + log + "\n" + stages.texts[0] + "\n" + stages.texts[1];
            return false;
        }
        std::string uniformError;
        std::vector<GLuint> names(textures.size());
        const bool drawn = mesa.DrawRow(
            program, width, outputs, vertices,
            [&] {
                BindTextures(mesa.gl(), textures, &names);
                SetUniforms(mesa, program, description, probe_, &uniformError);
            },
            pixels, reason);
        if (!names.empty()) mesa.gl().DeleteTextures(GLsizei(names.size()), names.data());
        mesa.gl().DeleteProgram(program);
        if (!uniformError.empty()) *reason = uniformError;
        return drawn && uniformError.empty();
    }

    // Why the target's driver is not there, or empty.
    static const std::string& Missing(uint32_t target)
    {
        if (target == TARGET_HLSL11) return g_drivers->d3d11Missing;
        if (target == TARGET_SPIRV) return g_drivers->vulkanMissing;
        return g_drivers->mesaMissing;
    }

    // The columns that differ from the expected values, one line each.
    std::string Differences(uint32_t target, const std::vector<float>& pixels) const
    {
        std::string lines;
        for (const ProbeColumn& column : probe_.columns) {
            const float* actual =
                pixels.data() + (size_t(column.output) * size_t(probe_.width) + size_t(column.index)) * 4;
            const double tolerance =
                target == TARGET_ESSL20 ? std::max(column.tolerance, kMediumpPrecision) : column.tolerance;
            bool same = true;
            for (int c = 0; c < 4; ++c) {
                const double allowed = tolerance * std::max(1.0, std::abs(column.values[c]));
                same = same && std::abs(double(actual[c]) - column.values[c]) <= allowed;
            }
            if (same) continue;
            lines += (column.output > 0 ? "  output " + std::to_string(column.output) + "," : std::string("")) +
                     "  pixel " + std::to_string(column.index) + ": expected " + Quad(column.values) + ", actual " +
                     Quad(actual) + (column.note.empty() ? "" : "  [" + column.note + "]") + "\n";
        }
        return lines;
    }

    TemporaryFolder folder_{"halvo-probes"};
    Probe probe_;
};

TEST_P(DifferentialProbes, EveryTargetComputesTheHandWorkedValues)
{
    int ran = 0;
    for (uint32_t target = 1; target <= TARGET_SPIRV; target <<= 1) {
        if ((kRunnableTargets & target) == 0) continue;
        const std::string where = GetParam() + " on " + GetTargetName(target);
        if (!Missing(target).empty()) {
            std::cout << "[ SKIPPED  ] " << where << ": " << Missing(target) << "\n";
            continue;
        }
        const ProbeStages stages = TranslateProbe(GetParam(), target);
        if (!stages.forTarget) continue;
        if (!stages.translated) {
            ADD_FAILURE() << where << ": the translation fails\n"
                          << stages.log << "--- vertex\n"
                          << stages.texts[0] << "--- pixel\n"
                          << stages.texts[1];
            continue;
        }
        std::vector<float> pixels;
        std::string reason;
        if (!Run(target, stages, &pixels, &reason)) {
            ADD_FAILURE() << where << ": " << reason;
            continue;
        }
        const std::string differences = Differences(target, pixels);
        EXPECT_TRUE(differences.empty()) << where << ":\n"
                                         << differences << "--- vertex\n"
                                         << stages.texts[0] << "--- pixel\n"
                                         << stages.texts[1];
        ++ran;
    }
    EXPECT_GT(ran, 0) << GetParam() << " ran on no target";
}

INSTANTIATE_TEST_SUITE_P(Probes, DifferentialProbes, ::testing::ValuesIn(ListProbes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return fs::path(info.param).stem().string();
                         });

}  // namespace
