// HVI_InitShaders on a system without the HLSL compiler library: a program
// of its own, because the translator keeps a compiler it once bound.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "graphics/null_renderer.h"
#include "graphics/shader_translation.h"
#include "shadertool/driver/engine_interface.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

namespace {

class HLSL11Renderer : public RendererImplementationNull {
public:
    uint32_t GetShaderTarget() override { return ShaderTool::TARGET_HLSL11; }
    uint32_t GetShaderFeatureLevel() override { return ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT; }
};

TEST(ShaderInitWithoutCompiler, FailureIsLoggedWithItsReasonAndTheFirstShaderReportsOnlyItself)
{
    const TemporaryFolder temporary("halvo-graphics-shader-init");
    const std::filesystem::path& folder = temporary.Path();
    std::filesystem::create_directories(folder / "no-libraries");
    std::filesystem::create_directories(folder / "res");
    SetEnvironmentVariableA("HALVO_LIBRARY_PATH", (folder / "no-libraries").string().c_str());
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, (folder / "res").string().c_str());
    HLSL11Renderer renderer;
    HVI_SetRenderer(&renderer);
    LogCapture log;

    EXPECT_FALSE(HVI_InitShaders());
    std::vector<LogCapture::Line> lines = log.Entries();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Failed to initialize the shader translator.");
    EXPECT_EQ(lines[1].text, "Failed to initialize the compiler for target 'HLSL11':\nError: unknown error.\n");

    HV_Shader shader;
    shader.name = "res://missing.xml";
    EXPECT_EQ(HVI_LoadShader(shader, false), HVI_SHADER_FAILED);
    lines = log.Entries();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].text,
              "Failed to translate shader 'res://missing.xml':\n"
              "Failed to read the Shader XML:\nError: file does not exist.\n");
}

}  // namespace
