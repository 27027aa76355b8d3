#pragma once

// Shader XML documents in a fresh "res://" folder translated through the
// driver: a sprite document that tests vary, and the corpus of
// tests/data/shaderxml whose texts outside tools judge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "outside_judge.h"
#include "shader_xml_test_support.h"
#include "shadertool/driver/driver.h"

constexpr uint32_t kAllHLSL11Levels = ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT | ShaderTool::FEATURE_LEVEL_HLSL11_LOW |
                                      ShaderTool::FEATURE_LEVEL_HLSL11_XBOX;

inline const std::string kSpriteXmlVertexMain =
    "void main()\n{\n\toutput.position = input.position;\n\toutput.uv = input.uv;\n}\n";
inline const std::string kSpriteXmlPixelMain =
    "void main()\n{\n\toutput.color = sampleTexture(texture.albedo, input.uv);\n}\n";

// A source node of the stage, for the targets when they are named.
inline std::string SourceNode(const char* stage, const std::string& text, const char* targets = nullptr)
{
    std::string node = std::string("<node type=\"") + stage + "\"";
    if (targets != nullptr) node += std::string(" target=\"") + targets + "\"";
    return node + "><![CDATA[" + text + "]]></node>\n";
}

inline const std::string kSpriteXmlSources =
    SourceNode("vertex", kSpriteXmlVertexMain) + SourceNode("pixel", kSpriteXmlPixelMain);

// A sprite-like Shader XML of version 2.4 with the sources, more info settings and more arrays.
inline std::string SpriteXml(const std::string& sources = kSpriteXmlSources, const std::string& info = "",
                             const std::string& arrays = "")
{
    return Document(
        InfoArray(4, info) +
        "<array id=\"vertex_input\"><node id=\"position\" semantic=\"POSITION\"/>"
        "<node id=\"color\" semantic=\"COLOR\"/><node id=\"uv\" semantic=\"TEXTURE_COORDINATE_0\"/></array>\n"
        "<array id=\"vertex_output\"><node id=\"position\" type=\"FLOAT4\" semantic=\"POSITION\"/>"
        "<node id=\"uv\" type=\"FLOAT2\" semantic=\"TEXTURE_COORDINATE\"/></array>\n"
        "<array id=\"pixel_textures\"><node id=\"albedo\" type=\"2D\"/></array>\n"
        "<array id=\"pixel_output\"><node id=\"color\"/></array>\n" +
        arrays + "<array id=\"sources\">\n" + sources + "</array>\n");
}

class DriverFolderTest : public ShaderXmlFolderTest {
protected:
    void SetUp() override
    {
        ShaderXmlFolderTest::SetUp();
        settings.inputRoot = "res://";
    }

    // Writes the Shader XML to the "res://" path and translates it with the settings.
    bool Translate(const std::string& xml, const std::string& path = "res://sprite.xml")
    {
        WriteFile(path.substr(std::strlen("res://")), xml);
        return ShaderTool::TranslateShaderXML(String(path.c_str()), settings, true);
    }
    std::string MainLog() const { return ShaderTool::GetGlobalState().mainLog.text.GetText(); }

    // Runs a command; true when it exits with 0. Its output goes to *output.
    bool Judge(const std::string& command, std::string* output) const
    {
        return RunJudge(command, m_folder / "judge.txt", output);
    }

    ShaderTool::TranslationSettings settings;
};

// The bitmaps that pixel textures of the corpus name as their source.
inline int g_quadAlbedo = 0;
inline int g_bitmapLookups = 0;

inline void* FindCorpusBitmap(const char* name)
{
    ++g_bitmapLookups;
    return std::strcmp(name, "quad_albedo") == 0 ? &g_quadAlbedo : nullptr;
}

// The corpus copied into the folder, the driver set up for the targets.
class DriverCorpusTest : public DriverFolderTest {
protected:
    void SetUp() override
    {
        DriverFolderTest::SetUp();
        ShaderTool::GetGlobalState().reader.SetBitmapGetter(FindCorpusBitmap);
        g_bitmapLookups = 0;
        std::filesystem::copy(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml", m_folder,
                              std::filesystem::copy_options::recursive);
        ASSERT_TRUE(
            ShaderTool::Initialize(InitializedTargets(), ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT, "res://out", false))
            << MainLog();
        ShaderTool::Reset();
    }
    virtual uint32_t InitializedTargets() const { return ShaderTool::TARGET_MASK_ALL; }

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
        settings.targetMask = target;
        settings.featureLevel = featureLevel;
        settings.compile = compile ? 1 : 0;
        return ShaderTool::TranslateShaderXML(String(("res://" + name).c_str()), settings, true);
    }

    // The file the last translation wrote for a stage of the named Shader XML.
    std::filesystem::path OutputPath(const std::string& name, const char* stage) const
    {
        return m_folder / "out" / (std::filesystem::path(name).stem().string() + "." + stage);
    }
};
