// The Shader XML corpus through the whole translator: every file translates
// for HLSL9 and HLSL11, glslangValidator and spirv-val accept every text,
// and the HLSL11 text compiles for each of its feature levels.
#include "shadertool/support/driver_corpus_test_support.h"

using namespace ShaderTool;

namespace {

// The files whose targets include HLSL9 and HLSL11.
constexpr const char* kTranslatable[] = {"sprite_v22.xml", "lit_v24.xml", "skinned_v23.xml", "quad_v23.xml"};

TEST_F(DriverCorpusTest, EveryFileTranslatesForHLSL9AndPassesTheDx9Validator)
{
    for (const char* file : kTranslatable) {
        ASSERT_TRUE(TranslateFile(file, TARGET_HLSL9, false)) << MainLog();
        for (const char* stage : {"vertex", "pixel"}) {
            const std::filesystem::path text = OutputPath(file, stage);
            ASSERT_TRUE(std::filesystem::exists(text)) << text;
            std::string output;
            EXPECT_TRUE(Judge(std::string("glslangValidator -D -V --hlsl-dx9-compatible -e main -S ") +
                                  (std::strcmp(stage, "vertex") == 0 ? "vert " : "frag ") + text.string() + " -o " +
                                  (m_folder / "x.spv").string(),
                              &output))
                << file << " " << stage << "\n"
                << output;
        }
        EXPECT_NE(GetGlobalState().stageMask & 3u, 0u);
    }
    // The quad's albedo texture names its bitmap.
    EXPECT_EQ(g_bitmapLookups, 1);
}

TEST_F(DriverCorpusTest, EveryFileTranslatesForHLSL11AndPassesTheValidators)
{
    for (const char* file : kTranslatable) {
        ASSERT_TRUE(TranslateFile(file, TARGET_HLSL11, false)) << MainLog();
        for (const char* stage : {"vertex", "pixel"}) {
            const std::filesystem::path text = OutputPath(file, stage);
            const std::filesystem::path spirv = m_folder / "x.spv";
            std::string output;
            EXPECT_TRUE(Judge(std::string("glslangValidator -D -V -e main -S ") +
                                  (std::strcmp(stage, "vertex") == 0 ? "vert " : "frag ") + text.string() + " -o " +
                                  spirv.string() + " && spirv-val " + spirv.string(),
                              &output))
                << file << " " << stage << "\n"
                << output;
        }
    }
}

TEST_F(DriverCorpusTest, EveryHLSL11TextCompilesForEachFeatureLevel)
{
    for (const char* file : kTranslatable) {
        ASSERT_TRUE(TranslateFile(file, TARGET_HLSL11, true)) << MainLog();
        const GlobalState& state = GetGlobalState();
        EXPECT_EQ(state.stageMask, 3u);
        for (int stage = 0; stage < 2; ++stage) {
            // Three code blocks one after the other, one per feature level.
            const ByteBuffer& code = state.stageOutputs[stage];
            int offset = 0;
            int blocks = 0;
            while (offset + 24 <= code.GetSize()) {
                ASSERT_EQ(std::memcmp(code.GetData() + offset, "HVSC", 4), 0) << file;
                uint32_t words = 0;
                std::memcpy(&words, code.GetData() + offset + 20, 4);
                offset += 24 + static_cast<int>(words) * 4;
                ++blocks;
            }
            EXPECT_EQ(offset, code.GetSize());
            EXPECT_EQ(blocks, 3) << file;
        }
    }
}

TEST_F(DriverCorpusTest, RayTracingFileIsRefusedByTheCapabilityCheck)
{
    EXPECT_FALSE(TranslateFile("raytrace_v24.xml", TARGET_HLSL9 | TARGET_HLSL11, false));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://raytrace_v24.xml'...\n"
              "Error: target 'HLSL9' does not support buffers.\n"
              "Error: target 'HLSL9' does not support ray tracing.\n"
              "Error: target 'HLSL11' does not support buffers.\n"
              "Error: target 'HLSL11' does not support ray tracing.\n"
              "\nTranslation FAILED\n");
}

}  // namespace
