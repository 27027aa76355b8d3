// The engine with its real renderer back end, as the host executable runs it:
// the back end that this test program exports (linked whole, as the host's)
// over the memory back end of our Direct3D 11 layer, the real main window,
// and the frames the swap chain presents written by the layer's capture
// output, read back from their PNG files.
#include <gtest/gtest.h>

#include <windows.h>

#include <png.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/engine_lifecycle.h"
#include "core/engine_test_support.h"
#include "graphics/bitmap_table.h"
#include "graphics/graphics_startup.h"
#include "graphics/render_states.h"
#include "graphics/renderer_implementation.h"
#include "platform/windows/process_entry.h"
#include "winapi/com/live_objects.h"
#include "winapi/d3d11/d3d11_test_hooks.h"

namespace {

struct Frame {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

Frame ReadFrame(const std::filesystem::path& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    Frame frame;
    if (!png_image_begin_read_from_file(&image, path.string().c_str())) return frame;
    image.format = PNG_FORMAT_RGBA;
    frame.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, frame.rgba.data(), 0, nullptr)) return Frame{};
    frame.width = image.width;
    frame.height = image.height;
    return frame;
}

bool ProgramInit() { return true; }

class HostRenderer : public testing::Test {
protected:
    void SetUp() override
    {
        HalvoD3D11_ResetHooks();
        HVI_SetLogThreshold(HV_LOG_INFO);
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_folder.Path().string().c_str());
        m_liveObjects = halvo::com::LiveObjectCount();
        m_program = HV_ProgramInterface{};
        std::strcpy(m_program.title, "Host renderer");
        m_program.video.width = 320;
        m_program.video.height = 200;
        m_program.video.windowed = 1;
        m_program.Init = ProgramInit;
        HVI_EngineState& state = HVI_GetEngineState();
        state.engine = &m_engine;
        state.program = &m_program;
        state.video = m_program.video;
        HVI_RegisterPlatformSubsystem();
        HVI_RegisterGraphicsSubsystem();
    }
    void TearDown() override
    {
        if (!m_shutDown) ShutDown();
        HVI_PumpMessages();
        HVI_ResetBitmapTable();
        HVI_ResetRenderStates();
        HVI_CreateEngineLocks();
        HalvoD3D11_ResetHooks();
    }

    void Start()
    {
        HVI_GetRunState().broughtUp[HVI_SUBSYSTEM_RENDERER] = true;
        ASSERT_TRUE(HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER).Preinitialize(HVI_GetEngineState()));
        ASSERT_TRUE(HVI_Startup());
        ASSERT_NE(nullptr, HVI_GetRenderer());
        ASSERT_STREQ("Direct3D11", HVI_GetRenderer()->GetName());
    }
    void ShutDown()
    {
        HVI_Shutdown();
        m_shutDown = true;
    }
    // The captured frames, oldest first (the names count up with leading zeros).
    std::vector<std::filesystem::path> Frames() const
    {
        std::vector<std::filesystem::path> frames;
        if (!std::filesystem::exists(m_frames)) return frames;
        for (const auto& entry : std::filesystem::directory_iterator(m_frames)) frames.push_back(entry.path());
        std::sort(frames.begin(), frames.end());
        return frames;
    }
    // k of "swapchain-<k>-frame-<m>.png": the swap chain that presented it (k counts the process's swap chains).
    static std::string SwapChainOf(const std::filesystem::path& frame)
    {
        const std::string name = frame.filename().string();
        return name.substr(0, name.find("-frame-"));
    }
    static int CountLogged(const std::string& prefix)
    {
        int count = 0;
        for (const std::string& line : LoggedTexts()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }

    TemporaryFolder m_folder;
    const std::filesystem::path m_frames = m_folder.Path() / "frames";
    ScopedVariable m_backEnd{"HALVO_D3D11_BACKEND", "memory"};
    ScopedVariable m_output{"HALVO_D3D11_OUTPUT", "capture:" + m_frames.string()};
    HV_EngineInterface m_engine = {};
    HV_ProgramInterface m_program;
    int64_t m_liveObjects = 0;
    bool m_shutDown = false;
};

TEST_F(HostRenderer, EveryFrameIsPresentedOnTheMainWindowsSwapChainAtTheProgramsSize)
{
    Start();
    HVI_RunFrame();
    HVI_RunFrame();
    HVI_RunFrame();
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(3u, frames.size());
    const Frame last = ReadFrame(frames.back());
    EXPECT_EQ(320u, last.width);
    EXPECT_EQ(200u, last.height);
    EXPECT_TRUE(WasLogged("[SYSTEM] Renderer Direct3D11 initialized at 320x200 windowed on display 0."));
}

TEST_F(HostRenderer, AWindowedSizeChangeResizesTheBackBufferInPlace)
{
    Start();
    HVI_RunFrame();
    HV_VideoParameters requested = m_program.video;
    requested.width = 256;
    requested.height = 128;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(2u, frames.size());
    const Frame resized = ReadFrame(frames.back());
    EXPECT_EQ(256u, resized.width);
    EXPECT_EQ(128u, resized.height);
    EXPECT_EQ(SwapChainOf(frames.front()), SwapChainOf(frames.back()));
    EXPECT_EQ(1, CountLogged("[SYSTEM] Window created:"));
}

TEST_F(HostRenderer, AFullscreenRequestTakesTheOutputsClosestModeAndTheWindowGoesBackWithTheWindowedSize)
{
    Start();
    const HWND window = HVI_GetEngineState().window;
    HVI_RunFrame();
    EXPECT_NE(0, GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION);
    HV_VideoParameters requested = m_program.video;
    requested.width = 1000;  // no such mode: the output's closest is 1024 x 768
    requested.height = 700;
    requested.windowed = 0;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    EXPECT_EQ(WS_POPUP, GetWindowLongPtrA(window, GWL_STYLE) & (WS_POPUP | WS_CAPTION));
    requested = m_program.video;
    requested.width = 320;
    requested.height = 200;
    requested.windowed = 1;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    EXPECT_NE(0, GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(window, HVI_GetEngineState().window);  // changed in place
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(3u, frames.size());
    const Frame fullscreen = ReadFrame(frames[1]);
    EXPECT_EQ(1024u, fullscreen.width);
    EXPECT_EQ(768u, fullscreen.height);
    const Frame windowed = ReadFrame(frames[2]);
    EXPECT_EQ(320u, windowed.width);
    EXPECT_EQ(200u, windowed.height);
}

TEST_F(HostRenderer, BackBuffersThatCannotBeResizedMakeTheEngineStartTheRendererAgainOnANewWindow)
{
    Start();
    HVI_RunFrame();
    HalvoD3D11_FailCall("IDXGISwapChain::ResizeBuffers", 1, E_OUTOFMEMORY);
    HV_VideoParameters requested = m_program.video;
    requested.width = 256;
    requested.height = 128;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    EXPECT_FALSE(HVI_IsQuitRequested());
    EXPECT_EQ(2, CountLogged("[SYSTEM] Window created:"));
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(2u, frames.size());
    EXPECT_NE(SwapChainOf(frames.front()), SwapChainOf(frames.back()));
    const Frame renewed = ReadFrame(frames.back());
    EXPECT_EQ(256u, renewed.width);
    EXPECT_EQ(128u, renewed.height);
}

TEST_F(HostRenderer, ARendererThatFailsToStartFullscreenIsStartedWindowedOnTheFirstDisplay)
{
    m_program.video.windowed = 0;
    // The back buffer's depth texture is the first texture the device is asked for.
    HalvoD3D11_FailCall("ID3D11Device::CreateTexture2D", 1, E_OUTOFMEMORY);
    Start();
    EXPECT_TRUE(
        WasLogged("[WARNING] The renderer did not start at 320x200 fullscreen on display 0; trying again "
                  "windowed on display 0."));
    EXPECT_TRUE(WasLogged("[SYSTEM] Renderer Direct3D11 initialized at 320x200 windowed on display 0."));
    EXPECT_EQ(1, m_program.video.windowed);
    HVI_RunFrame();
    EXPECT_EQ(1u, Frames().size());
}

TEST_F(HostRenderer, ExitLeavesNoObjectOfTheLayerAlive)
{
    Start();
    HVI_RunFrame();
    EXPECT_GT(halvo::com::LiveObjectCount(), m_liveObjects);
    ShutDown();
    EXPECT_EQ(m_liveObjects, halvo::com::LiveObjectCount());
    EXPECT_EQ(nullptr, HVI_GetRenderer());
}

}  // namespace
