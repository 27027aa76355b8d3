// HVI_InitShaders on a system without the HLSL compiler library: a program
// of its own, because the translator keeps a compiler it once bound.
#include <windows.h>

#include "graphics/graphics_rig.h"
#include "graphics/shader_translation.h"

namespace {

using ShaderInitWithoutCompiler = GraphicsTest;

TEST_F(ShaderInitWithoutCompiler, FailureIsLoggedWithItsReasonAndTheFirstShaderReportsOnlyItself)
{
    std::filesystem::create_directories(m_folder / "no-libraries");
    SetEnvironmentVariableA("HALVO_LIBRARY_PATH", (m_folder / "no-libraries").string().c_str());
    HLSL11Renderer renderer;
    HVI_SetRenderer(&renderer);

    EXPECT_FALSE(HVI_InitShaders());
    std::vector<LogCapture::Line> lines = m_log.Entries();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Failed to initialize the shader translator.");
    EXPECT_EQ(lines[1].text, "Failed to initialize the compiler for target 'HLSL11':\nError: unknown error.\n");

    HV_Shader shader;
    shader.name = "res://missing.xml";
    EXPECT_EQ(HVI_LoadShader(shader, false), HVI_SHADER_FAILED);
    lines = m_log.Entries();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].text,
              "Failed to translate shader 'res://missing.xml':\n"
              "Failed to read the Shader XML:\nError: file does not exist.\n");
}

}  // namespace
