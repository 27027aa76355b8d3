// The driver when no HLSL compiler library can be found: Initialize fails
// cleanly and later translations report the missing compiler instead of
// calling it; a target never set up reports its missing translator.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "shadertool/driver/driver.h"
#include "shadertool/support/shader_xml_test_support.h"

using namespace ShaderTool;

namespace {

std::string SpriteXml()
{
    return Document(
        InfoArray(4) +
        "<array id=\"vertex_input\"><node id=\"position\" semantic=\"POSITION\"/></array>\n"
        "<array id=\"vertex_output\"><node id=\"position\" type=\"FLOAT4\" semantic=\"POSITION\"/></array>\n"
        "<array id=\"pixel_output\"><node id=\"color\"/></array>\n"
        "<array id=\"sources\">\n"
        "<node type=\"vertex\"><![CDATA[void main()\n{\n\toutput.position = input.position;\n}\n]]></node>\n"
        "<node type=\"pixel\"><![CDATA[void main()\n{\n\toutput.color = float4(1.0);\n}\n]]></node>\n"
        "</array>\n");
}

class DriverWithoutCompilerTest : public ShaderXmlFolderTest {
protected:
    void SetUp() override
    {
        ShaderXmlFolderTest::SetUp();
        std::filesystem::create_directories(m_folder / "no-libraries");
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", (m_folder / "no-libraries").string().c_str());
    }
};

TEST_F(DriverWithoutCompilerTest, TranslationReportsTheMissingCompiler)
{
    EXPECT_FALSE(Initialize(TARGET_HLSL9 | TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, "", false));
    EXPECT_EQ(std::string(GetGlobalState().mainLog.text.GetText()),
              "Failed to initialize the compiler for target 'HLSL11':\nError: unknown error.\n");
    Reset();

    WriteFile("sprite.xml", SpriteXml());
    TranslationSettings settings;
    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
    settings.compile = 1;
    EXPECT_FALSE(TranslateShaderXML("res://sprite.xml", settings, true));
    const std::string noCompiler =
        "Error: target 'HLSL11' does not have a compiler set up. If this occurred at runtime, most likely the target "
        "does not support runtime compilation.\n";
    EXPECT_EQ(std::string(GetGlobalState().mainLog.text.GetText()),
              "Translating Shader XML 'res://sprite.xml'...\n"
              "Translating vertex shader code of shader source 1...\n"
              "Translating for target 'HLSL9'...\n"
              "Translating for target 'HLSL11'...\n" +
                  noCompiler +
                  "Translating pixel shader code of shader source 2...\n"
                  "Translating for target 'HLSL9'...\n"
                  "Translating for target 'HLSL11'...\n" +
                  noCompiler + "\nTranslation FAILED\n");
    // HLSL9 keeps its text.
    EXPECT_EQ(GetGlobalState().stageMask, 3u);
}

// No test of this program sets up GLSL31, so its translator slot stays empty.
TEST_F(DriverWithoutCompilerTest, TargetWithoutTranslatorIsReported)
{
    WriteFile("sprite.xml", SpriteXml());
    TranslationSettings settings;
    settings.targetMask = TARGET_GLSL31;
    EXPECT_FALSE(TranslateShaderXML("res://sprite.xml", settings, true));
    const std::string log = GetGlobalState().mainLog.text.GetText();
    EXPECT_NE(log.find("Translating for target 'GLSL31'...\n"
                       "Error: target 'GLSL31' does not have a translator set up.\n"),
              std::string::npos)
        << log;
}

}  // namespace
