// The Shader XML corpus through the whole translator: every file translates
// for HLSL9 and HLSL11, glslangValidator and spirv-val accept every text,
// and the HLSL11 text compiles for each of its feature levels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shadertool/driver/driver.h"
#include "shadertool/support/shader_xml_test_support.h"

using namespace ShaderTool;

namespace {

constexpr uint32_t kAllHLSL11Levels =
    FEATURE_LEVEL_HLSL11_DEFAULT | FEATURE_LEVEL_HLSL11_LOW | FEATURE_LEVEL_HLSL11_XBOX;

// The bitmaps that pixel textures of the corpus name as their source.
int g_quadAlbedo = 0;
int g_bitmapLookups = 0;

void* FindCorpusBitmap(const char* name)
{
    ++g_bitmapLookups;
    return std::strcmp(name, "quad_albedo") == 0 ? &g_quadAlbedo : nullptr;
}

class DriverCorpusTest : public ShaderXmlFolderTest {
protected:
    void SetUp() override
    {
        ShaderXmlFolderTest::SetUp();
        GetGlobalState().reader.SetBitmapGetter(FindCorpusBitmap);
        g_bitmapLookups = 0;
        std::filesystem::copy(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml", m_folder,
                              std::filesystem::copy_options::recursive);
        ASSERT_TRUE(Initialize(TARGET_HLSL9 | TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, "res://out", false))
            << GetGlobalState().mainLog.text.GetText();
        Reset();
    }
    void TearDown() override
    {
        Reset();
        GetGlobalState().reader.SetBitmapGetter(nullptr);
        for (const char* name : {"sprite_v22.xml", "lit_v24.xml", "skinned_v23.xml", "quad_v23.xml",
                                 "raytrace_v24.xml", "lit_definitions.xml"}) {
            DataManager::UnloadDatabase((std::string("res://") + name).c_str());
        }
        ShaderXmlFolderTest::TearDown();
    }

    bool TranslateFile(const std::string& name, uint32_t target, bool compile)
    {
        Reset();
        TranslationSettings settings;
        settings.inputRoot = "res://";
        settings.targetMask = target;
        settings.featureLevel = kAllHLSL11Levels;
        settings.compile = compile ? 1 : 0;
        return TranslateShaderXML(String(("res://" + name).c_str()), settings, true);
    }
    std::string MainLog() const { return GetGlobalState().mainLog.text.GetText(); }

    // Runs a command; true when it exits with 0. Its output goes to *output.
    bool Judge(const std::string& command, std::string* output) const
    {
        const std::filesystem::path log = m_folder / "judge.txt";
        const int status = std::system((command + " > " + log.string() + " 2>&1").c_str());
        std::stringstream text;
        text << std::ifstream(log).rdbuf();
        *output = text.str();
        return status == 0;
    }
};

struct CorpusFile {
    const char* name;
    const char* base;
};

constexpr CorpusFile kTranslatable[] = {
    {"sprite_v22.xml", "sprite_v22"},
    {"lit_v24.xml", "lit_v24"},
    {"skinned_v23.xml", "skinned_v23"},
    {"quad_v23.xml", "quad_v23"},
};

TEST_F(DriverCorpusTest, EveryFileTranslatesForHLSL9AndPassesTheDx9Validator)
{
    for (const CorpusFile& file : kTranslatable) {
        ASSERT_TRUE(TranslateFile(file.name, TARGET_HLSL9, false)) << MainLog();
        for (const char* stage : {"vertex", "pixel"}) {
            const std::filesystem::path text = m_folder / "out" / (std::string(file.base) + "." + stage);
            ASSERT_TRUE(std::filesystem::exists(text)) << text;
            std::string output;
            EXPECT_TRUE(Judge(std::string("glslangValidator -D -V --hlsl-dx9-compatible -e main -S ") +
                                  (std::strcmp(stage, "vertex") == 0 ? "vert " : "frag ") + text.string() +
                                  " -o " + (m_folder / "x.spv").string(),
                              &output))
                << file.name << " " << stage << "\n" << output;
        }
        EXPECT_NE(GetGlobalState().stageMask & 3u, 0u);
    }
    // The quad's albedo texture names its bitmap.
    EXPECT_EQ(g_bitmapLookups, 1);
}

TEST_F(DriverCorpusTest, EveryFileTranslatesForHLSL11AndPassesTheValidators)
{
    for (const CorpusFile& file : kTranslatable) {
        ASSERT_TRUE(TranslateFile(file.name, TARGET_HLSL11, false)) << MainLog();
        for (const char* stage : {"vertex", "pixel"}) {
            const std::filesystem::path text = m_folder / "out" / (std::string(file.base) + "." + stage);
            const std::filesystem::path spirv = m_folder / "x.spv";
            std::string output;
            EXPECT_TRUE(Judge(std::string("glslangValidator -D -V -e main -S ") +
                                  (std::strcmp(stage, "vertex") == 0 ? "vert " : "frag ") + text.string() + " -o " +
                                  spirv.string() + " && spirv-val " + spirv.string(),
                              &output))
                << file.name << " " << stage << "\n" << output;
        }
    }
}

TEST_F(DriverCorpusTest, EveryHLSL11TextCompilesForEachFeatureLevel)
{
    for (const CorpusFile& file : kTranslatable) {
        ASSERT_TRUE(TranslateFile(file.name, TARGET_HLSL11, true)) << MainLog();
        const GlobalState& state = GetGlobalState();
        EXPECT_EQ(state.stageMask, 3u);
        for (int stage = 0; stage < 2; ++stage) {
            // Three code blocks one after the other, one per feature level.
            const ByteBuffer& code = state.stageOutputs[stage];
            int offset = 0;
            int blocks = 0;
            while (offset + 24 <= code.GetSize()) {
                ASSERT_EQ(std::memcmp(code.GetData() + offset, "HVSC", 4), 0) << file.name;
                uint32_t words = 0;
                std::memcpy(&words, code.GetData() + offset + 20, 4);
                offset += 24 + static_cast<int>(words) * 4;
                ++blocks;
            }
            EXPECT_EQ(offset, code.GetSize());
            EXPECT_EQ(blocks, 3) << file.name;
        }
    }
}

TEST_F(DriverCorpusTest, RayTracingFileIsRefusedByTheCapabilityCheck)
{
    EXPECT_FALSE(TranslateFile("raytrace_v24.xml", TARGET_HLSL9 | TARGET_HLSL11, false));
    EXPECT_EQ(MainLog(), "Translating Shader XML 'res://raytrace_v24.xml'...\n"
                         "Error: target 'HLSL9' does not support buffers.\n"
                         "Error: target 'HLSL9' does not support ray tracing.\n"
                         "Error: target 'HLSL11' does not support buffers.\n"
                         "Error: target 'HLSL11' does not support ray tracing.\n"
                         "\nTranslation FAILED\n");
}

}  // namespace
