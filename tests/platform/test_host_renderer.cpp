// The engine with its real renderer back end, as the host executable runs it:
// the back end that this test program exports (linked whole, as the host's)
// over the memory back end of our Direct3D 11 layer, the real main window,
// and the frames the swap chain presents written by the layer's capture
// output, read back from their PNG files.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "graphics/renderer_implementation.h"
#include "platform/host_engine_rig.h"
#include "winapi/com/live_objects.h"
#include "imaging/png_files.h"
#include "support/png_reader.h"
#include "support/vulkan_driver_keeper.h"
#include "winapi/d3d11/d3d11_test_hooks.h"

namespace {

struct Frame {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

Frame ReadFrame(const std::filesystem::path& path)
{
    Frame frame;
    frame.rgba = ReadRgbaPng(path.string(), &frame.width, &frame.height);
    return frame;
}

// Width and height of a captured frame.
std::pair<uint32_t, uint32_t> SizeOf(const std::filesystem::path& captured)
{
    const Frame frame = ReadFrame(captured);
    return {frame.width, frame.height};
}

// The colour of a pixel of a frame, RGBA.
std::vector<uint8_t> PixelAt(const Frame& frame, uint32_t x, uint32_t y)
{
    const size_t at = (size_t(y) * frame.width + x) * 4;
    return {frame.rgba.begin() + long(at), frame.rgba.begin() + long(at) + 4};
}

class HostRenderer : public HostEngineTest {
protected:
    HostRenderer() : HostEngineTest(320, 200) {}
    void SetUp() override
    {
        HalvoD3D11_ResetHooks();
        HostEngineTest::SetUp();
        m_liveObjects = halvo::com::LiveObjectCount();
    }
    void TearDown() override
    {
        HostEngineTest::TearDown();
        HalvoD3D11_ResetHooks();
    }

    // Starts the engine on the Direct3D 11 renderer and runs the first frames.
    void StartAndRunFrames(int frames)
    {
        ASSERT_TRUE(Preinitialize());
        ASSERT_TRUE(HVI_Startup());
        ASSERT_NE(nullptr, HVI_GetRenderer());
        ASSERT_STREQ("Direct3D11", HVI_GetRenderer()->GetName());
        for (int frame = 0; frame < frames; ++frame) HVI_RunFrame();
    }
    // Asks for a new windowed size in a frame whose back buffers cannot be
    // resized, so that the engine starts the renderer again on a new window.
    void ReinitializeWithUnresizableBuffers(int32_t width, int32_t height)
    {
        HalvoD3D11_FailCall("IDXGISwapChain::ResizeBuffers", 1, E_OUTOFMEMORY);
        HV_VideoParameters requested = m_program.video;
        requested.width = width;
        requested.height = height;
        ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
        HVI_RunFrame();
        EXPECT_EQ(2, CountLogged("[SYSTEM] Window created:"));
    }
    // The 3 x 2 test image as "res://tile".
    void WriteTile()
    {
        const std::vector<uint8_t> png = WritePng(TestPixels3x2(), 3, 2);
        std::ofstream(m_folder.Path() / "tile.png", std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    // The captured frames, oldest first: by swap chain, then frame, as numbers (the swap chain's number has no
    // leading zeros, so "swapchain-10" sorts before "swapchain-9" as text).
    std::vector<std::filesystem::path> Frames() const
    {
        std::vector<std::filesystem::path> frames;
        if (!std::filesystem::exists(m_frames)) return frames;
        for (const auto& entry : std::filesystem::directory_iterator(m_frames)) frames.push_back(entry.path());
        std::sort(frames.begin(), frames.end(), [](const auto& a, const auto& b) { return Order(a) < Order(b); });
        return frames;
    }
    static std::pair<unsigned long, unsigned long> Order(const std::filesystem::path& frame)
    {
        unsigned long swapChain = 0, number = 0;
        std::sscanf(frame.filename().string().c_str(), "swapchain-%lu-frame-%lu", &swapChain, &number);
        return {swapChain, number};
    }
    // k of "swapchain-<k>-frame-<m>.png": the swap chain that presented it (k counts the process's swap chains).
    static std::string SwapChainOf(const std::filesystem::path& frame)
    {
        const std::string name = frame.filename().string();
        return name.substr(0, name.find("-frame-"));
    }

    const std::filesystem::path m_frames = m_folder.Path() / "frames";
    ScopedVariable m_backEnd{"HALVO_D3D11_BACKEND", "memory"};
    ScopedVariable m_output{"HALVO_D3D11_OUTPUT", "capture:" + m_frames.string()};
    int64_t m_liveObjects = 0;
};

TEST_F(HostRenderer, EveryFrameIsPresentedOnTheMainWindowsSwapChainAtTheProgramsSizeFilledWithItsClearColour)
{
    ProgramDrawHook() = [this] { m_engine.graphics->Clear(0.2f, 0.4f, 0.6f, 1.0f); };
    StartAndRunFrames(3);
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(3u, frames.size());
    const Frame last = ReadFrame(frames.back());
    ASSERT_EQ(320u, last.width);
    ASSERT_EQ(200u, last.height);
    EXPECT_TRUE(WasLogged("[SYSTEM] Renderer Direct3D11 initialized at 320x200 windowed on display 0."));
    // 0.2, 0.4 and 0.6 of 255 are whole numbers: no rounding to argue over.
    const std::vector<uint8_t> expected = {51, 102, 153, 255};
    for (uint32_t y = 0; y < last.height; ++y) {
        for (uint32_t x = 0; x < last.width; ++x) ASSERT_EQ(expected, PixelAt(last, x, y)) << x << ", " << y;
    }
}

TEST_F(HostRenderer, AWindowedSizeChangeResizesTheBackBufferInPlaceOrWhereItCannotOnANewWindow)
{
    StartAndRunFrames(1);
    HV_VideoParameters requested = m_program.video;
    requested.width = 256;
    requested.height = 128;
    ASSERT_TRUE(HV_ReinitializeWithParameters(&requested));
    HVI_RunFrame();
    EXPECT_EQ(1, CountLogged("[SYSTEM] Window created:"));
    // Back buffers that cannot be resized make the engine start the renderer again on a new window.
    ReinitializeWithUnresizableBuffers(200, 100);
    EXPECT_FALSE(HVI_IsQuitRequested());
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ(std::make_pair(256u, 128u), SizeOf(frames[1]));
    EXPECT_EQ(SwapChainOf(frames[0]), SwapChainOf(frames[1]));
    EXPECT_NE(SwapChainOf(frames[1]), SwapChainOf(frames[2]));
    EXPECT_EQ(std::make_pair(200u, 100u), SizeOf(frames[2]));
}

TEST_F(HostRenderer, AFullscreenRequestTakesTheOutputsClosestModeAndTheWindowGoesBackWithTheWindowedSize)
{
    StartAndRunFrames(1);
    const HWND window = HVI_GetEngineState().window;
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
    EXPECT_EQ(std::make_pair(1024u, 768u), SizeOf(frames[1]));
    EXPECT_EQ(std::make_pair(320u, 200u), SizeOf(frames[2]));
}

TEST_F(HostRenderer, ARendererThatFailsToStartFullscreenIsStartedWindowedOnTheFirstDisplay)
{
    m_program.video.windowed = 0;
    // The back buffer's depth texture is the first texture the device is asked for.
    HalvoD3D11_FailCall("ID3D11Device::CreateTexture2D", 1, E_OUTOFMEMORY);
    StartAndRunFrames(1);
    EXPECT_TRUE(WasLogged("[SYSTEM] Renderer Direct3D11 initialized at 320x200 windowed on display 0."));
    EXPECT_EQ(1, m_program.video.windowed);
    EXPECT_EQ(1u, Frames().size());
}

TEST_F(HostRenderer, ExitAfterDrawingBitmapsLeavesNoObjectOfTheLayerAlive)
{
    WriteTile();
    HV_Bitmap* tile = nullptr;
    ProgramInitHook() = [this, &tile] { tile = m_engine.graphics->GetBitmap("res://tile"); };
    ProgramDrawHook() = [this, &tile] { m_engine.graphics->DrawBitmap(tile, 10, 20, 30, 20); };
    StartAndRunFrames(2);
    ASSERT_NE(nullptr, tile);
    EXPECT_TRUE(tile->renderer.loaded);
    for (const std::string& line : LogCapture::AllWritten()) {
        if (line.rfind("[ERROR]", 0) == 0) ADD_FAILURE() << line;
    }
    EXPECT_GT(halvo::com::LiveObjectCount(), m_liveObjects);
    ShutDown();
    EXPECT_EQ(m_liveObjects, halvo::com::LiveObjectCount());
    EXPECT_EQ(nullptr, HVI_GetRenderer());
}

// Whether the captured frame is black but for the 3 x 2 test pixels drawn at
// (10, 20), each texel as 10 x 10 pixels. A frame that is not is kept for a
// person to look at, in pixel-failures/ of the test's working folder.
::testing::AssertionResult ShowsTheTileAt10x20(const std::filesystem::path& captured)
{
    const Frame frame = ReadFrame(captured);
    if (frame.rgba.empty()) return ::testing::AssertionFailure() << "no frame in " << captured;
    const std::vector<uint8_t> texels = TestPixels3x2();
    for (uint32_t y = 0; y < frame.height; ++y) {
        for (uint32_t x = 0; x < frame.width; ++x) {
            std::vector<uint8_t> expected = {0, 0, 0, 255};
            if (x >= 10 && x < 40 && y >= 20 && y < 40) {
                const size_t texel = (size_t((y - 20) / 10) * 3 + (x - 10) / 10) * 4;
                expected.assign(texels.begin() + long(texel), texels.begin() + long(texel) + 4);
            }
            if (PixelAt(frame, x, y) != expected) {
                const std::filesystem::path kept =
                    std::filesystem::absolute("pixel-failures") /
                    (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-actual.png");
                std::filesystem::create_directories(kept.parent_path());
                std::filesystem::copy_file(captured, kept, std::filesystem::copy_options::overwrite_existing);
                return ::testing::AssertionFailure()
                       << "pixel " << x << ", " << y << " differs; the frame is kept as " << kept;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The same engine on the Vulkan back end, which rasterises, drawing the tile.
class HostRendererDrawingTheTile : public HostRenderer {
protected:
    void SetUp() override
    {
        KeepVulkanDriverLoaded();
        HostRenderer::SetUp();
        ID3D11Device* device = nullptr;
        D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &device, nullptr,
                          nullptr);
        const bool vulkan = device != nullptr && std::strcmp(HalvoD3D11_BackendName(device), "vulkan") == 0;
        if (device != nullptr) device->Release();
        if (!vulkan) GTEST_SKIP() << "the vulkan back end cannot start here (no Vulkan device)";
        WriteTile();
        ProgramInitHook() = [this] { m_tile = m_engine.graphics->GetBitmap("res://tile"); };
        ProgramDrawHook() = [this] {
            m_engine.graphics->Clear(0.0f, 0.0f, 0.0f, 1.0f);
            m_engine.graphics->DrawBitmap(m_tile, 10, 20, 30, 20);
        };
    }

    ScopedVariable m_vulkan{"HALVO_D3D11_BACKEND", "vulkan"};
    HV_Bitmap* m_tile = nullptr;
};

TEST_F(HostRendererDrawingTheTile,
       ABitmapIsDrawnPointSampledOverTheClearColourAndAfterAFullReinitializationByTheNewDevice)
{
    StartAndRunFrames(1);
    ReinitializeWithUnresizableBuffers(64, 48);
    const std::vector<std::filesystem::path> frames = Frames();
    ASSERT_EQ(2u, frames.size());
    EXPECT_TRUE(ShowsTheTileAt10x20(frames.front()));
    EXPECT_EQ(64u, ReadFrame(frames.back()).width);
    // The clip-space rectangle follows the new size: the tile is drawn at the same pixels.
    EXPECT_TRUE(ShowsTheTileAt10x20(frames.back()));
    ShutDown();
    EXPECT_EQ(m_liveObjects, halvo::com::LiveObjectCount());
}

}  // namespace
