// The swap chain and its views, fullscreen at start-up, quick
// re-initialisation to other window modes, fullscreen on activation, and
// presentation with its failures.
#include <string>
#include <tuple>

#include "graphics/renderer_entry_points.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

class RendererSwapChain : public RendererTest {
protected:
    // One attached output with these modes at 60 Hz, placed at (100, 50).
    void SetOutput()
    {
        static const DXGI_MODE_DESC modes[] = {Mode(800, 600), Mode(1280, 720), Mode(1920, 1080)};
        HALVO_D3D11_OUTPUT output{};
        output.name = L"screen";
        output.desktop = kDesktop;
        output.attached = TRUE;
        output.modes = modes;
        output.modeCount = 3;
        HalvoD3D11_SetOutputs(&output, 1);
    }
    int ViewsCreated(int width, int height)
    {
        return CountLogged("D3D11 renderer created color render target view with dimensions " + std::to_string(width) +
                           " x " + std::to_string(height));
    }
    void ExpectBuffers(LONG width, LONG height)
    {
        const SIZE size = BufferSize();
        EXPECT_EQ(size.cx, width);
        EXPECT_EQ(size.cy, height);
    }
    void ExpectLastWindowStyle(int width, int height, bool windowed)
    {
        ASSERT_FALSE(windowStyleCalls_.empty());
        const WindowStyleCall& call = windowStyleCalls_.back();
        EXPECT_EQ(std::tie(call.desktop.left, call.desktop.top, call.desktop.right, call.desktop.bottom, call.width,
                           call.height, call.windowed),
                  std::tie(kDesktop.left, kDesktop.top, kDesktop.right, kDesktop.bottom, width, height, windowed));
    }

    static constexpr RECT kDesktop = {100, 50, 2020, 1130};
};

TEST_P(RendererSwapChain, TheSecondFactoryMakesAFlipSwapChainOfTwoBuffers)
{
    ASSERT_TRUE(Initialize());
    DXGI_SWAP_CHAIN_DESC description{};
    ASSERT_EQ(SwapChain()->GetDesc(&description), S_OK);
    EXPECT_EQ(description.SwapEffect, DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL);
    EXPECT_EQ(description.BufferCount, 2u);
    EXPECT_EQ(description.BufferDesc.Format, DXGI_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(description.Flags, UINT(DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH));
    ExpectBuffers(640, 480);
}

TEST_P(RendererSwapChain, WithoutTheSecondFactoryTheFirstMakesADiscardSwapChain)
{
    HalvoD3D11_SetInterfacesPresent(FALSE, FALSE);
    ASSERT_TRUE(Initialize());
    DXGI_SWAP_CHAIN_DESC description{};
    ASSERT_EQ(SwapChain()->GetDesc(&description), S_OK);
    EXPECT_EQ(description.SwapEffect, DXGI_SWAP_EFFECT_DISCARD);
    renderer_->BeginFrame();
    renderer_->Present();
    EXPECT_EQ(HalvoD3D11_PresentCount(SwapChain()), 1u);
}

TEST_P(RendererSwapChain, SwapChainAndBackBufferFailuresAreReportedWithTheirCodes)
{
    const struct {
        const char* call;
        HRESULT result;
        BOOL secondFactory;
        const char* report;
    } rows[] = {
        {"IDXGIFactory2::CreateSwapChainForHwnd", E_FAIL, TRUE,
         "D3D11 Renderer error: failed to create the SDR swap chain (0x00010003)\n\nWindows error 0x80004005: "
         "Unspecified error\n\ndxgi_factory2 != nullptr"},
        {"IDXGIFactory::CreateSwapChain", E_OUTOFMEMORY, FALSE,
         "D3D11 Renderer error: failed to create the SDR swap chain (0x00010003)\n\nWindows error 0x8007000E: Not "
         "enough memory resources are available to complete this operation.\n\ndxgi_factory2 == nullptr"},
        {"IDXGISwapChain::GetBuffer", E_FAIL, TRUE,
         "D3D11 Renderer error: failed to get the swap chain color buffer (0x00010005, platform error -2147467259)."},
        {"ID3D11Device::CreateRenderTargetView", E_FAIL, TRUE,
         "D3D11 Renderer error: failed to create the swap chain color render target view (0x00010006, platform "
         "error -2147467259)."},
        {"ID3D11Device::CreateTexture2D", E_FAIL, TRUE,
         "D3D11 Renderer error: failed to create the swap chain depth stencil buffer (0x00010007, platform error "
         "-2147467259)."},
        {"ID3D11Device::CreateDepthStencilView", E_FAIL, TRUE,
         "D3D11 Renderer error: failed to create the swap chain depth stencil render target view (0x00010008, "
         "platform error -2147467259)."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.call);
        HalvoD3D11_ResetHooks();
        HalvoD3D11_SetInterfacesPresent(row.secondFactory, TRUE);
        HalvoD3D11_FailCall(row.call, 1, row.result);
        EXPECT_FALSE(Initialize());
        EXPECT_EQ(CountLogged(row.report), 1);
        EXPECT_EQ(SwapChain(), nullptr) << "a failed Initialize shuts down";
    }
    EXPECT_TRUE(Initialize());
}

TEST_P(RendererSwapChain, RefusedFullscreenAtStartAsksForTheSameModeInAWindow)
{
    program_.video.windowed = false;
    program_.video.frameTimeMs = 16;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 0) {
            HalvoD3D11_SetFullscreenResult(DXGI_ERROR_NOT_CURRENTLY_AVAILABLE);
        } else {
            HalvoD3D11_ResetHooks();
            HalvoD3D11_FailCall("IDXGISwapChain::ResizeBuffers", 1, E_FAIL);
        }
        ASSERT_TRUE(Initialize());
        ASSERT_EQ(reinitializeRequests_.size(), size_t(attempt + 1));
        const HV_VideoParameters& asked = reinitializeRequests_.back();
        EXPECT_TRUE(asked.windowed);
        EXPECT_EQ(asked.width, 640);
        EXPECT_EQ(asked.height, 480);
        EXPECT_EQ(asked.frameTimeMs, 16);
        renderer_->Shutdown();
    }
}

// From a fullscreen start, each quick re-initialisation in a frame resizes
// the bound buffers to the size asked for or, fullscreen, to the output's
// closest mode, and styles the window for it.
TEST_P(RendererSwapChain, QuickReinitializationsMoveBetweenSizesAndWindowModes)
{
    SetOutput();
    program_.video.windowed = false;
    ASSERT_TRUE(Initialize());
    EXPECT_TRUE(IsFullscreen());
    ExpectBuffers(640, 480);
    EXPECT_TRUE(reinitializeRequests_.empty());
    const struct {
        int width, height;
        bool windowed;
        LONG closestWidth, closestHeight;  // 0: the mode asked for is there
    } rows[] = {
        {800, 600, false, 0, 0},        // a new fullscreen size stays fullscreen
        {800, 600, true, 0, 0},         // back to a window
        {960, 540, true, 0, 0},         // a window of another size
        {1280, 720, false, 0, 0},       // fullscreen from a window
        {1000, 700, false, 1024, 768},  // fullscreen buffers take the closest mode
    };
    UINT presents = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height) +
                     (row.windowed ? " windowed" : ""));
        const DXGI_MODE_DESC closest = Mode(UINT(row.closestWidth), UINT(row.closestHeight));
        if (row.closestWidth != 0) HalvoD3D11_SetClosestMode(S_OK, &closest);
        const LONG width = row.closestWidth != 0 ? row.closestWidth : row.width;
        const LONG height = row.closestWidth != 0 ? row.closestHeight : row.height;
        const int views = ViewsCreated(width, height);
        renderer_->BeginFrame();
        ASSERT_TRUE(renderer_->QuickReinitialize(0, row.width, row.height, row.windowed));
        EXPECT_EQ(IsFullscreen(), !row.windowed);
        ExpectLastWindowStyle(row.width, row.height, row.windowed);
        ExpectBuffers(width, height);
        EXPECT_EQ(ViewsCreated(width, height), views + 1);
        renderer_->BeginFrame();
        renderer_->Present();
        EXPECT_EQ(HalvoD3D11_PresentCount(SwapChain()), ++presents);
    }
    EXPECT_TRUE(LayerComplaints().empty()) << "first: " << LayerComplaints().front();
}

TEST_P(RendererSwapChain, FullscreenWithoutAModeOrRefusedFailsTheQuickReinitialize)
{
    SetOutput();
    ASSERT_TRUE(Initialize());
    HalvoD3D11_SetClosestMode(DXGI_ERROR_NOT_FOUND, nullptr);
    EXPECT_FALSE(renderer_->QuickReinitialize(0, 1280, 720, false));
    DXGI_MODE_DESC unknown = Mode(1280, 720);
    unknown.Format = DXGI_FORMAT_UNKNOWN;
    HalvoD3D11_SetClosestMode(S_OK, &unknown);
    EXPECT_FALSE(renderer_->QuickReinitialize(0, 1280, 720, false));
    HalvoD3D11_ResetHooks();
    SetOutput();
    HalvoD3D11_SetFullscreenResult(DXGI_ERROR_NOT_CURRENTLY_AVAILABLE);
    EXPECT_FALSE(renderer_->QuickReinitialize(0, 1280, 720, false));
    HalvoD3D11_FailCall("IDXGISwapChain::GetFullscreenState", 1, E_FAIL);
    EXPECT_FALSE(renderer_->QuickReinitialize(0, 800, 600, true));
    EXPECT_FALSE(IsFullscreen());
    // Nothing is reported; the engine falls back to a full re-initialisation.
    EXPECT_EQ(CountLogged("D3D11 Renderer error"), 0);
}

TEST_P(RendererSwapChain, DeactivatingAWindowedProgramChangesNothing)
{
    ASSERT_TRUE(Initialize());
    renderer_->BeginFrame();
    renderer_->SetActive(false);
    renderer_->SetActive(true);
    EXPECT_EQ(ViewsCreated(640, 480), 1);
    EXPECT_FALSE(IsFullscreen());
}

// A refused return to fullscreen keeps drawable views and is tried again at
// the next activation.
TEST_P(RendererSwapChain, AFullscreenProgramLeavesFullscreenWhileInactive)
{
    SetOutput();
    program_.video.windowed = false;
    ASSERT_TRUE(Initialize());
    renderer_->SetActive(true);  // active already: nothing to do
    EXPECT_EQ(ViewsCreated(640, 480), 1);
    renderer_->BeginFrame();
    renderer_->SetActive(false);
    EXPECT_FALSE(IsFullscreen());
    EXPECT_EQ(ViewsCreated(640, 480), 2);
    renderer_->BeginFrame();
    renderer_->SetActive(true);
    EXPECT_TRUE(IsFullscreen());
    EXPECT_EQ(ViewsCreated(640, 480), 3);
    renderer_->SetActive(true);
    EXPECT_EQ(ViewsCreated(640, 480), 3);
    renderer_->BeginFrame();
    renderer_->Present();
    EXPECT_EQ(HalvoD3D11_PresentCount(SwapChain()), 1u);

    renderer_->BeginFrame();
    renderer_->SetActive(false);
    HalvoD3D11_SetFullscreenResult(DXGI_ERROR_NOT_CURRENTLY_AVAILABLE);
    renderer_->SetActive(true);
    EXPECT_FALSE(IsFullscreen());
    EXPECT_EQ(ViewsCreated(640, 480), 5) << "the views are made again on the old buffers";
    renderer_->BeginFrame();
    renderer_->Present();
    EXPECT_EQ(HalvoD3D11_PresentCount(SwapChain()), 2u);
    HalvoD3D11_SetFullscreenResult(S_OK);
    renderer_->SetActive(true);
    EXPECT_TRUE(IsFullscreen());
}

TEST_P(RendererSwapChain, PresentFailuresAreLoggedEachFrame)
{
    ASSERT_TRUE(Initialize());
    HalvoD3D11_FailCall("IDXGISwapChain::Present", 1, E_FAIL);
    renderer_->Present();
    EXPECT_EQ(CountLogged("D3D11 renderer failed to present a frame."), 1);
    HalvoD3D11_FailCall("IDXGISwapChain::Present", 1, DXGI_ERROR_DEVICE_RESET);
    renderer_->Present();
    EXPECT_EQ(CountLogged("D3D11 renderer failed to present a frame."), 2);
    EXPECT_TRUE(IsLogged("D3D11 renderer: the device has been reset."));
    HalvoD3D11_RemoveDevice(Device(), DXGI_ERROR_DEVICE_HUNG);
    renderer_->Present();
    renderer_->Present();
    EXPECT_EQ(CountLogged("D3D11 renderer failed to present a frame."), 4);
    EXPECT_EQ(CountLogged("D3D11 renderer: the device has been removed: 0x887a0006."), 2);
}

TEST_P(RendererSwapChain, AReportAfterTheDeviceWasRemovedNamesTheReason)
{
    SetOutput();
    program_.video.windowed = false;
    ASSERT_TRUE(Initialize());
    HalvoD3D11_RemoveDevice(Device(), DXGI_ERROR_DEVICE_HUNG);
    // Leaving fullscreen cannot resize the buffers of a removed device; making
    // the views again fails with the device's reason.
    renderer_->SetActive(false);
    EXPECT_TRUE(
        IsLogged("D3D11 Renderer error: failed to create the swap chain color render target view "
                 "(0x00010006)\n\nWindows error 0x887A0005: The GPU device instance has been suspended. Use "
                 "GetDeviceRemovedReason to determine the appropriate action.\n\n\n\nDevice was removed due to "
                 "'The GPU will not respond to more commands, most likely because of an invalid command "
                 "passed by the calling application.' (0x887A0006)."));
}

// Every creation a mode change makes fails in turn until the change
// succeeds; each time nothing of the layer stays alive after Shutdown.
TEST_P(RendererSwapChain, ModeChangesLeakNothingWhereverCreationFails)
{
    SetOutput();
    program_.video.windowed = false;
    const auto start = [this] {
        ASSERT_TRUE(Initialize());
        renderer_->BeginFrame();
    };
    const auto reload = [this] { ReloadRenderer(); };
    EXPECT_GT(
        SweepCreationFailures([this] { return renderer_->QuickReinitialize(0, 800, 600, true); }, 100, start, reload),
        1)
        << "a colour view and a depth texture and view are made";
    const auto activate = [this] {
        const int viewsBefore = ViewsCreated(640, 480);
        renderer_->SetActive(true);
        return ViewsCreated(640, 480) > viewsBefore;
    };
    const auto startInactive = [&] {
        start();
        renderer_->SetActive(false);
    };
    EXPECT_GT(SweepCreationFailures(activate, 100, startInactive, reload), 1);
}

HALVO_RENDERER_BACKENDS(RendererSwapChain);

}  // namespace
