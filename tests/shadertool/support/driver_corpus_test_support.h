#pragma once

// The Shader XML corpus of tests/data/shaderxml copied into a fresh "res://"
// folder, translated through the driver, and its texts judged by outside tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shadertool/support/shader_xml_test_support.h"
#include "shadertool/driver/driver.h"

constexpr uint32_t kAllHLSL11Levels = ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT | ShaderTool::FEATURE_LEVEL_HLSL11_LOW |
                                      ShaderTool::FEATURE_LEVEL_HLSL11_XBOX;

// The bitmaps that pixel textures of the corpus name as their source.
inline int g_quadAlbedo = 0;
inline int g_bitmapLookups = 0;

inline void* FindCorpusBitmap(const char* name)
{
    ++g_bitmapLookups;
    return std::strcmp(name, "quad_albedo") == 0 ? &g_quadAlbedo : nullptr;
}

class DriverCorpusTest : public ShaderXmlFolderTest {
protected:
    void SetUp() override
    {
        ShaderXmlFolderTest::SetUp();
        ShaderTool::GetGlobalState().reader.SetBitmapGetter(FindCorpusBitmap);
        g_bitmapLookups = 0;
        std::filesystem::copy(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml", m_folder,
                              std::filesystem::copy_options::recursive);
        ASSERT_TRUE(ShaderTool::Initialize(ShaderTool::TARGET_MASK_ALL, ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT,
                                           "res://out", false))
            << ShaderTool::GetGlobalState().mainLog.text.GetText();
        ShaderTool::Reset();
    }

    // The Shader XML files of the corpus, by name; the included definitions file is none.
    static std::vector<std::string> CorpusFiles()
    {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml")) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".xml" && name != "lit_definitions.xml") names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    bool TranslateFile(const std::string& name, uint32_t target, bool compile, uint32_t featureLevel = kAllHLSL11Levels)
    {
        ShaderTool::Reset();
        ShaderTool::TranslationSettings settings;
        settings.inputRoot = "res://";
        settings.targetMask = target;
        settings.featureLevel = featureLevel;
        settings.compile = compile ? 1 : 0;
        return ShaderTool::TranslateShaderXML(String(("res://" + name).c_str()), settings, true);
    }
    std::string MainLog() const { return ShaderTool::GetGlobalState().mainLog.text.GetText(); }

    // The file the last translation wrote for a stage of the named Shader XML.
    std::filesystem::path OutputPath(const std::string& name, const char* stage) const
    {
        return m_folder / "out" / (std::filesystem::path(name).stem().string() + "." + stage);
    }

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
