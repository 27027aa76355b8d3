// The Shader XML corpus through the HLSL12 and PSSL translators: every file
// whose targets name them translates; glslang's HLSL front end and spirv-val
// judge the HLSL12 texts, each for its own stage, the ray-tracing stages
// with the ray-tracing vocabulary that the front end lacks declared in front
// of them.
#include "shadertool/support/driver_test_support.h"

using namespace ShaderTool;

namespace {

// The files whose targets include HLSL12 with vertex and pixel sources, and with a ray-tracing source.
constexpr const char* kHLSL12VertexPixelFiles[] = {"sprite_v22.xml", "lit_v24.xml", "skinned_v23.xml", "quad_v23.xml"};
constexpr const char* kHLSL12RayFiles[] = {
    "raytrace_v24.xml",          "raytrace_camera_v24.xml",      "raytrace_hit_v24.xml",
    "raytrace_sky_miss_v24.xml", "raytrace_shadow_miss_v24.xml", "raytrace_layers_v24.xml"};
// The files whose targets include PSSL; the ray-tracing file naming all targets is refused by PSSL's capabilities.
constexpr const char* kPSSLFiles[] = {"lit_v24.xml", "skinned_v23.xml", "quad_v23.xml"};
constexpr const char* kRefusedByPSSL = "raytrace_v24.xml";

constexpr uint32_t kHLSL12Levels[] = {FEATURE_LEVEL_HLSL12_DEFAULT, FEATURE_LEVEL_HLSL12_XBOX_SX};

class HLSL12CorpusTest : public DriverCorpusTest {
protected:
    // glslang's HLSL front end for the stage, then spirv-val. In the Vulkan 1.2
    // environment glslang 12 crashes legalising the ByteAddressBuffer parameter
    // of _loadIndices; the default environment, as for HLSL11, does not.
    bool Validate(const std::filesystem::path& text, const char* stage, const char* entry, std::string* output)
    {
        const std::filesystem::path spirv = m_folder / "x.spv";
        return Judge(std::string("glslangValidator -D -V -e ") + entry + " -S " + stage + " " + text.string() + " -o " +
                         spirv.string() + " && spirv-val " + spirv.string(),
                     output);
    }
};

TEST_F(HLSL12CorpusTest, ListsCoverEveryFileThatNamesTheTargets)
{
    for (const std::string& name : CorpusFiles()) {
        Reset();
        ASSERT_TRUE(ReadShaderXML(String(("res://" + name).c_str()), nullptr, true, true)) << MainLog();
        const uint32_t targets = GetGlobalState().reader.GetDescription().targetMask;
        const auto listed = [&name](const auto& list) {
            return std::find(std::begin(list), std::end(list), name) != std::end(list);
        };
        EXPECT_EQ((targets & TARGET_HLSL12) != 0, listed(kHLSL12VertexPixelFiles) || listed(kHLSL12RayFiles)) << name;
        EXPECT_EQ((targets & TARGET_PSSL) != 0, listed(kPSSLFiles) || name == kRefusedByPSSL) << name;
    }
}

TEST_F(HLSL12CorpusTest, VertexAndPixelTextsPassGlslangAndSpirvVal)
{
    for (const char* file : kHLSL12VertexPixelFiles) {
        for (uint32_t level : kHLSL12Levels) {
            ASSERT_TRUE(TranslateFile(file, TARGET_HLSL12, false, level)) << MainLog();
            for (const char* stage : {"vertex", "pixel"}) {
                std::string output;
                EXPECT_TRUE(Validate(OutputPath(file, stage), std::strcmp(stage, "vertex") == 0 ? "vert" : "frag",
                                     "main", &output))
                    << file << " " << stage << " " << GetFeatureLevelName(level) << "\n"
                    << output << ReadFileText(OutputPath(file, stage));
            }
        }
    }
}

// The Direct3D 12 ray-tracing types and intrinsics (and the non-uniform index
// marker of shader model 5.1) that glslang's HLSL front end does not know are
// declared with their documented shapes in tests/data/shaders/
// hlsl12_ray_tracing_prelude.hlsl, put in front of a ray-tracing stage so that
// the front end checks everything else: declarations, scopes, types, sampler
// kinds and registers.
TEST_F(HLSL12CorpusTest, RayStagesPassGlslangWithTheRayTracingVocabularyDeclared)
{
    const std::string prelude =
        ReadFileText(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaders" / "hlsl12_ray_tracing_prelude.hlsl");
    for (const char* file : kHLSL12RayFiles) {
        for (uint32_t level : kHLSL12Levels) {
            ASSERT_TRUE(TranslateFile(file, TARGET_HLSL12, false, level)) << MainLog();
            const uint32_t stage = GetGlobalState().reader.GetDescription().sources[0].stage;
            const std::string text = ReadFileText(OutputPath(file, GetStageName(static_cast<int32_t>(stage))));
            const std::filesystem::path judged = m_folder / "judged.hlsl";
            std::ofstream(judged, std::ios::binary) << prelude << text;
            std::string output;
            EXPECT_TRUE(Validate(judged, GetStageName(static_cast<int32_t>(stage)), "main", &output))
                << file << " " << GetFeatureLevelName(level) << "\n"
                << output << text;
        }
    }
}

TEST_F(HLSL12CorpusTest, EveryFileNamingPSSLTranslatesForIt)
{
    for (const char* file : kPSSLFiles) {
        ASSERT_TRUE(TranslateFile(file, TARGET_PSSL, false, FEATURE_LEVEL_PSSL_GNM)) << MainLog();
        EXPECT_EQ(ReadFileText(OutputPath(file, "vertex")).rfind("struct VertexInput\n", 0), 0u) << file;
        EXPECT_EQ(ReadFileText(OutputPath(file, "pixel")).rfind("struct PixelInput\n", 0), 0u) << file;
    }
    EXPECT_FALSE(TranslateFile(kRefusedByPSSL, TARGET_PSSL, false, FEATURE_LEVEL_PSSL_GNM));
    EXPECT_EQ(MainLog(),
              "Translating Shader XML 'res://raytrace_v24.xml'...\n"
              "Error: target 'PSSL' does not support buffers.\n"
              "Error: target 'PSSL' does not support ray tracing.\n"
              "\nTranslation FAILED\n");
}

}  // namespace
