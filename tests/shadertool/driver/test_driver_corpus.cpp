// The Shader XML corpus through the whole translator: every file translates
// for HLSL9 and HLSL11, glslangValidator and spirv-val accept every text,
// and the HLSL11 text compiles for each of its feature levels.
#include "shadertool/support/driver_test_support.h"

using namespace ShaderTool;

namespace {

// The files whose targets include HLSL9 and HLSL11.
constexpr const char* kTranslatable[] = {"sprite_v22.xml", "lit_v24.xml", "skinned_v23.xml", "quad_v23.xml"};

// glslang's HLSL front end judges each text: HLSL9's in its Direct3D 9
// mode, HLSL11's with spirv-val after it.
TEST_F(DriverCorpusTest, EveryFileTranslatesForHLSL9AndHLSL11AndPassesTheValidators)
{
    const struct {
        uint32_t target;
        const char* options;
        bool spirvVal;
    } judges[] = {{TARGET_HLSL9, "--hlsl-dx9-compatible ", false}, {TARGET_HLSL11, "", true}};
    const std::string spirv = (m_folder / "x.spv").string();
    for (const auto& judge : judges) {
        for (const char* file : kTranslatable) {
            ASSERT_TRUE(TranslateFile(file, judge.target, false)) << MainLog();
            EXPECT_TRUE(judge.target != TARGET_HLSL9 || (GetGlobalState().stageMask & 3u) != 0u) << file;
            for (const char* stage : {"vertex", "pixel"}) {
                const std::filesystem::path text = OutputPath(file, stage);
                ASSERT_TRUE(std::filesystem::exists(text)) << text;
                std::string output;
                EXPECT_TRUE(Judge(std::string("glslangValidator -D -V ") + judge.options + "-e main -S " +
                                      (std::strcmp(stage, "vertex") == 0 ? "vert " : "frag ") + text.string() + " -o " +
                                      spirv + (judge.spirvVal ? " && spirv-val " + spirv : ""),
                                  &output))
                    << GetTargetName(judge.target) << " " << file << " " << stage << "\n"
                    << output;
            }
        }
    }
    // The quad's albedo texture names its bitmap; it is looked up once per translation.
    EXPECT_EQ(g_bitmapLookups, 2);
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
