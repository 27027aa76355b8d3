// A presented frame is seen in a real window: under an X server of the test's
// own (Xvfb), a swap chain over a shown window presents a frame of known
// pixels, and the window's pixels are read back through X11 (XGetImage) and
// compared exactly, on the memory back end (an SDL window surface) and on
// Vulkan (a surface and swap chain). Skipped, saying why, when no X server
// can be started.
#include <chrono>
#include <cstring>
#include <utility>
#include <thread>

#include "support/xvfb_display.h"
#include "winapi/d3d11/backend_test_support.h"
#include "winapi/user/native_window.h"

// X11's headers define short macros (None, Bool) that other headers would trip over: they come last.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr UINT kWidth = 64;
constexpr UINT kHeight = 48;

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int Shift(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

struct Patch {
    UINT left;
    UINT top;
    UINT width;
    UINT height;
    uint32_t rgba;
};

// A frame of one colour with patches over it, as R, G, B, A pixels.
std::vector<uint32_t> Frame(UINT width, UINT height, uint32_t background, const std::vector<Patch>& patches)
{
    return Image(width, height, [&](UINT x, UINT y) {
        uint32_t pixel = background;
        for (const Patch& r : patches) {
            if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height) pixel = r.rgba;
        }
        return pixel;
    });
}

class WindowPresent : public BackendTest {
protected:
    void SetUp() override
    {
        const XvfbDisplay& server = ProgramXvfbDisplay();
        if (!server.Started()) GTEST_SKIP() << "no display server to present into: " << server.Failure();
        XSetErrorHandler(IgnoreXError);
        x_ = XOpenDisplay(server.Name().c_str());
        ASSERT_NE(x_, nullptr);
        BackendTest::SetUp();
    }

    void TearDown() override
    {
        if (x_ != nullptr) XCloseDisplay(x_);
        BackendTest::TearDown();
    }

    // A shown window of the given client size with a two-buffer flip swap chain over it, sized by the window.
    Ref<IDXGISwapChain1> MakeSwapChain(UINT width, UINT height, HWND* window)
    {
        *window = MakeWindow(int(width), int(height));
        ShowWindow(*window, SW_SHOW);
        EXPECT_NE(HVU_GetNativeWindow(*window), nullptr) << "a display is present, so the window should be real";
        return SwapChainOver(*window, FlipSwapChainDesc(0, 0));
    }

    // Clears the back buffer to `background` and copies cleared textures over it as the patches.
    void Draw(IDXGISwapChain1* swapChain, const FLOAT background[4], const std::vector<Patch>& patches)
    {
        Ref<ID3D11Texture2D> buffer;
        ASSERT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())), S_OK);
        context_->ClearRenderTargetView(TargetView(buffer.get()).get(), background);
        for (const Patch& r : patches) {
            Ref<ID3D11Texture2D> patch =
                MakeTexture(r.width, r.height, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_BIND_RENDER_TARGET);
            const FLOAT colour[4] = {(r.rgba & 0xff) / 255.0f, ((r.rgba >> 8) & 0xff) / 255.0f,
                                     ((r.rgba >> 16) & 0xff) / 255.0f, 1.0f};
            context_->ClearRenderTargetView(TargetView(patch.get()).get(), colour);
            context_->CopySubresourceRegion(buffer.get(), 0, r.left, r.top, 0, patch.get(), 0, nullptr);
        }
    }

    // The window's client pixels as the X server holds them, as R, G, B, 255.
    Pixels Seen(HWND window, UINT width, UINT height)
    {
        Pixels pixels;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(HVU_GetNativeWindow(window), &info) || info.subsystem != SDL_SYSWM_X11) return pixels;
        XImage* image = XGetImage(x_, info.info.x11.window, 0, 0, width, height, AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        pixels.width = width;
        pixels.height = height;
        for (UINT y = 0; y < height; ++y) {
            for (UINT x = 0; x < width; ++x) {
                const unsigned long value = XGetPixel(image, int(x), int(y));
                pixels.bytes.push_back(uint8_t((value & image->red_mask) >> Shift(image->red_mask)));
                pixels.bytes.push_back(uint8_t((value & image->green_mask) >> Shift(image->green_mask)));
                pixels.bytes.push_back(uint8_t((value & image->blue_mask) >> Shift(image->blue_mask)));
                pixels.bytes.push_back(255);
            }
        }
        XDestroyImage(image);
        return pixels;
    }

    // Presents, then reads the window until it shows `expected` (the display
    // may take a moment) or two seconds pass, and compares what it shows.
    void PresentAndExpect(IDXGISwapChain1* swapChain, UINT syncInterval, HWND window, UINT width, UINT height,
                          const std::vector<uint32_t>& expected, const std::string& name)
    {
        ASSERT_EQ(swapChain->Present(syncInterval, 0), S_OK);
        Pixels seen;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        do {
            XSync(x_, False);
            seen = Seen(window, width, height);
            if (seen.width == width && std::memcmp(seen.bytes.data(), expected.data(), seen.bytes.size()) == 0) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < end);
        ASSERT_EQ(seen.width, width) << "the window's pixels cannot be read through X11";
        ExpectPixels(std::string(GetParam()) + "-" + name, seen, expected, false);
    }

    // Pumps the window layer's queue, as the engine's loop does.
    static void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    Display* x_ = nullptr;
};

TEST_P(WindowPresent, APresentedFrameIsSeenInTheWindowExactly)
{
    HWND window;
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(kWidth, kHeight, &window);
    ASSERT_TRUE(swapChain);
    const FLOAT background[4] = {0.2f, 0.6f, 1.0f, 1.0f};  // 51, 153, 255
    const std::vector<Patch> patches = {{8, 8, 16, 8, Rgba(255, 0, 0, 255)},
                                        {40, 20, 10, 20, Rgba(0, 255, 0, 255)},
                                        {0, 40, 64, 8, Rgba(255, 255, 255, 255)}};
    Draw(swapChain.get(), background, patches);
    const std::vector<uint32_t> expected = Frame(kWidth, kHeight, Rgba(51, 153, 255, 255), patches);
    PresentAndExpect(swapChain.get(), 1, window, kWidth, kHeight, expected, "Frame");

    // The next frame, presented at once (sync interval 0), replaces it.
    const FLOAT black[4] = {0, 0, 0, 1};
    Draw(swapChain.get(), black, {{4, 4, 8, 8, Rgba(255, 0, 255, 255)}});
    PresentAndExpect(swapChain.get(), 0, window, kWidth, kHeight,
                     Frame(kWidth, kHeight, Rgba(0, 0, 0, 255), {{4, 4, 8, 8, Rgba(255, 0, 255, 255)}}), "NextFrame");
    EXPECT_EQ(HalvoD3D11_PresentCount(swapChain.get()), 2u);
}

TEST_P(WindowPresent, AResizedWindowShowsStretchedFramesUntilTheBuffersFollow)
{
    HWND window;
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(kWidth, kHeight, &window);
    ASSERT_TRUE(swapChain);
    // The window grows: the old buffers are stretched over it.
    SDL_SetWindowSize(HVU_GetNativeWindow(window), 96, 80);
    Pump();
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_EQ(client.right, 96);
    ASSERT_EQ(client.bottom, 80);
    const FLOAT red[4] = {1, 0, 0, 1};
    Draw(swapChain.get(), red, {});
    PresentAndExpect(swapChain.get(), 1, window, 96, 80, Frame(96, 80, Rgba(255, 0, 0, 255), {}), "Stretched");

    // Buffers of the window's new size show their pixels exactly again.
    ASSERT_EQ(swapChain->ResizeBuffers(0, 0, 0, DXGI_FORMAT_UNKNOWN, 0), S_OK);
    DXGI_SWAP_CHAIN_DESC1 desc;
    ASSERT_EQ(swapChain->GetDesc1(&desc), S_OK);
    ASSERT_EQ(desc.Width, 96u);
    const FLOAT grey[4] = {0.2f, 0.2f, 0.2f, 1};
    const std::vector<Patch> corner = {{80, 64, 16, 16, Rgba(0, 0, 255, 255)}};
    Draw(swapChain.get(), grey, corner);
    PresentAndExpect(swapChain.get(), 1, window, 96, 80, Frame(96, 80, Rgba(51, 51, 51, 255), corner), "Resized");
}

TEST_P(WindowPresent, FullscreenCoversTheDisplayAndLeavingItRestoresTheWindow)
{
    HWND window;
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(kWidth, kHeight, &window);
    ASSERT_TRUE(swapChain);
    ASSERT_EQ(swapChain->SetFullscreenState(TRUE, nullptr), S_OK);
    BOOL fullscreen = FALSE;
    ASSERT_EQ(swapChain->GetFullscreenState(&fullscreen, nullptr), S_OK);
    EXPECT_TRUE(fullscreen);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, XvfbDisplay::kWidth);
    EXPECT_EQ(client.bottom, XvfbDisplay::kHeight);
    ASSERT_EQ(swapChain->ResizeBuffers(0, 0, 0, DXGI_FORMAT_UNKNOWN, 0), S_OK);
    const FLOAT green[4] = {0, 1, 0, 1};
    Draw(swapChain.get(), green, {});
    PresentAndExpect(swapChain.get(), 1, window, XvfbDisplay::kWidth, XvfbDisplay::kHeight,
                     Frame(XvfbDisplay::kWidth, XvfbDisplay::kHeight, Rgba(0, 255, 0, 255), {}), "Fullscreen");

    ASSERT_EQ(swapChain->SetFullscreenState(FALSE, nullptr), S_OK);
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, LONG(kWidth));
    EXPECT_EQ(client.bottom, LONG(kHeight));
}

TEST_P(WindowPresent, TheAdaptersOutputIsTheDisplaysScreen)
{
    Ref<IDXGIAdapter> adapter = DeviceAdapter();
    ASSERT_TRUE(adapter);
    Ref<IDXGIOutput> output;
    ASSERT_EQ(adapter->EnumOutputs(0, output.Put()), S_OK);
    DXGI_OUTPUT_DESC desc;
    ASSERT_EQ(output->GetDesc(&desc), S_OK);
    EXPECT_TRUE(desc.AttachedToDesktop);
    EXPECT_EQ(desc.DesktopCoordinates.left, 0);
    EXPECT_EQ(desc.DesktopCoordinates.top, 0);
    EXPECT_EQ(desc.DesktopCoordinates.right, XvfbDisplay::kWidth);
    EXPECT_EQ(desc.DesktopCoordinates.bottom, XvfbDisplay::kHeight);
    Ref<IDXGIOutput> second;
    EXPECT_EQ(adapter->EnumOutputs(1, second.Put()), DXGI_ERROR_NOT_FOUND);  // the server has one screen

    // The screen's own size is among its modes, listed from the smallest.
    UINT count = 0;
    ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &count, nullptr), S_OK);
    ASSERT_GT(count, 0u);
    std::vector<DXGI_MODE_DESC> modes(count);
    ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &count, modes.data()), S_OK);
    bool screenSize = false;
    for (UINT index = 0; index < count; ++index) {
        screenSize = screenSize || (modes[index].Width == UINT(XvfbDisplay::kWidth) &&
                                    modes[index].Height == UINT(XvfbDisplay::kHeight));
        if (index > 0) {
            EXPECT_LE(std::make_pair(modes[index - 1].Width, modes[index - 1].Height),
                      std::make_pair(modes[index].Width, modes[index].Height));
        }
    }
    EXPECT_TRUE(screenSize);
}

INSTANTIATE_ON_EVERY_BACKEND(WindowPresent);

}  // namespace
