// The graphics front end's tests on a reset engine (the test rig's): a log
// that keeps every level, "res://" and "cache://" in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/engine_locks.h"
#include "core/logging.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "graphics/bitmap_table.h"
#include "graphics/null_renderer.h"
#include "graphics/render_states.h"
#include "graphics/renderer_implementation.h"
#include "shadertool/driver/engine_interface.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

// A renderer back end that asks for HLSL11 code at the default level.
class HLSL11Renderer : public RendererImplementationNull {
public:
    uint32_t GetShaderTarget() override { return ShaderTool::TARGET_HLSL11; }
    uint32_t GetShaderFeatureLevel() override { return ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT; }
};

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_folder / "res");
        std::filesystem::create_directories(m_folder / "cache");
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, (m_folder / "res").string().c_str());
        HVI_SetSchemeRoot(HV_PATH_SCHEME_CACHE, (m_folder / "cache").string().c_str());
    }
    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream stream(m_folder / "res" / name, std::ios::binary);
        stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    bool Logged(const std::string& text) const { return m_log.Contains(text); }
    int CountLogged(const std::string& text) const { return m_log.Count(text); }

    TemporaryFolder m_temporary{"halvo-graphics"};
    const std::filesystem::path m_folder = m_temporary.Path();
    LogCapture m_log;
};
