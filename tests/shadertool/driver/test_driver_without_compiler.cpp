// The driver when no HLSL compiler library can be found: Initialize fails
// cleanly and later translations report the missing compiler instead of
// calling it; a target never set up reports its missing translator.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "shadertool/support/driver_test_support.h"

using namespace ShaderTool;

namespace {

class DriverWithoutCompilerTest : public DriverFolderTest {
protected:
    void SetUp() override
    {
        DriverFolderTest::SetUp();
        std::filesystem::create_directories(m_folder / "no-libraries");
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", (m_folder / "no-libraries").string().c_str());
    }
};

TEST_F(DriverWithoutCompilerTest, TranslationReportsTheMissingCompiler)
{
    EXPECT_FALSE(Initialize(TARGET_HLSL9 | TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, "", false));
    EXPECT_EQ(MainLog(), "Failed to initialize the compiler for target 'HLSL11':\nError: unknown error.\n");
    Reset();

    settings.targetMask = TARGET_HLSL9 | TARGET_HLSL11;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
    settings.compile = 1;
    EXPECT_FALSE(Translate(SpriteXml()));
    const std::string noCompiler =
        "Error: target 'HLSL11' does not have a compiler set up. If this occurred at runtime, most likely the target "
        "does not support runtime compilation.\n";
    EXPECT_EQ(MainLog(),
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
    settings.targetMask = TARGET_GLSL31;
    EXPECT_FALSE(Translate(SpriteXml()));
    EXPECT_NE(MainLog().find("Translating for target 'GLSL31'...\n"
                             "Error: target 'GLSL31' does not have a translator set up.\n"),
              std::string::npos)
        << MainLog();
}

}  // namespace
