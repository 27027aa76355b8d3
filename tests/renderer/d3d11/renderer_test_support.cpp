#include "renderer/d3d11/renderer_test_support.h"

#include <cstdlib>
#include <cstring>

#include "core/logging.h"
#include "graphics/renderer_entry_points.h"
#include "support/log_capture.h"
#include "support/vulkan_driver_keeper.h"
#include "winapi/com/live_objects.h"
#include "winapi/d3d11/vulkan/vulkan_backend.h"

namespace {

RendererTest* g_current = nullptr;  // the running test, for the engine's callbacks

// Whether the layer runs the named back end here.
bool BackendStarts(const char* name)
{
    ID3D11Device* device = nullptr;
    if (FAILED(D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &device,
                                 nullptr, nullptr))) {
        return false;
    }
    const bool starts = std::strcmp(HalvoD3D11_BackendName(device), name) == 0;
    device->Release();
    return starts;
}

LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

class RendererTestAccess {
public:
    static bool Reinitialize(const HV_VideoParameters* parameters)
    {
        g_current->reinitializeRequests_.push_back(*parameters);
        return true;
    }
    // Records the call and gives the window that client size, as the platform does.
    static void SetWindowStyle(HWND__* window, const tagRECT& desktop, int width, int height, bool windowed)
    {
        g_current->windowStyleCalls_.push_back({desktop, width, height, windowed});
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        SetWindowPos(window, nullptr, desktop.left, desktop.top, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

void RendererTest::SetUp()
{
    g_current = this;
    HVI_SetLogThreshold(0);
    KeepVulkanDriverLoaded();
    HalvoD3D11_ResetHooks();
    setenv("HALVO_D3D11_BACKEND", GetParam(), 1);
    setenv("HALVO_VULKAN_VALIDATION", "1", 1);
    validationAtStart_ = halvo::d3d11::vulkan::ValidationMessageCount();
    if (!BackendStarts(GetParam())) GTEST_SKIP() << "the " << GetParam() << " back end cannot start here";
    liveAtStart_ = halvo::com::LiveObjectCount();
    layerMessagesAtStart_ = HalvoD3D11_MessageCount();

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlainWindowProcedure;
    windowClass.lpszClassName = "RendererTestWindow";
    RegisterClassExA(&windowClass);
    program_.video.width = 640;
    program_.video.height = 480;
    program_.video.windowed = true;
    RECT frame{0, 0, program_.video.width, program_.video.height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window_ = CreateWindowExA(0, "RendererTestWindow", "renderer test", WS_OVERLAPPEDWINDOW, 0, 0,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);

    engine_.ReinitializeWithParameters = &RendererTestAccess::Reinitialize;
    state_.engine = &engine_;
    state_.window = window_;
    state_.program = &program_;
    state_.presentInterval = 1;
    state_.setWindowStyle = &RendererTestAccess::SetWindowStyle;
    renderer_ = HALVO_RendImp_GetInterface();
}

void RendererTest::TearDown()
{
    if (renderer_ != nullptr) renderer_->Shutdown();
    HALVO_RendImp_Unload();
    renderer_ = nullptr;
    if (window_ != nullptr) DestroyWindow(window_);
    if (!IsSkipped()) {
        EXPECT_EQ(NewLiveObjects(), 0) << "the renderer left objects of the layer alive";
        EXPECT_EQ(halvo::d3d11::vulkan::ValidationMessageCount(), validationAtStart_)
            << "the Vulkan validation layer complained (the messages are in the log)";
    }
    HalvoD3D11_ResetHooks();
    unsetenv("HALVO_D3D11_BACKEND");
    unsetenv("HALVO_VULKAN_VALIDATION");
    g_current = nullptr;
}

bool RendererTest::Initialize() { return renderer_->Initialize(&engine_, &state_, program_.video); }

void RendererTest::ReloadRenderer()
{
    renderer_->Shutdown();
    HALVO_RendImp_Unload();
    renderer_ = HALVO_RendImp_GetInterface();
}

std::vector<std::string> RendererTest::Logged() { return LogCapture::AllWritten(); }

int RendererTest::CountLogged(const std::string& text)
{
    int count = 0;
    for (const std::string& line : LogCapture::AllWritten()) {
        const size_t end = line.find("] ");
        if (line == text ||
            (line[0] == '[' && end != std::string::npos && line.compare(end + 2, std::string::npos, text) == 0)) {
            ++count;
        }
    }
    return count;
}

bool RendererTest::IsLogged(const std::string& text) { return CountLogged(text) > 0; }

long RendererTest::NewLiveObjects() const { return long(halvo::com::LiveObjectCount()) - liveAtStart_; }

IDXGISwapChain* RendererTest::SwapChain() const { return HalvoD3D11_SwapChainOfWindow(window_); }

ID3D11Device* RendererTest::Device() const
{
    IDXGISwapChain* swapChain = SwapChain();
    ID3D11Device* device = nullptr;
    if (swapChain == nullptr ||
        FAILED(swapChain->GetDevice(__uuidof(ID3D11Device), reinterpret_cast<void**>(&device)))) {
        return nullptr;
    }
    device->Release();  // the renderer keeps it alive
    return device;
}

bool RendererTest::IsFullscreen() const
{
    BOOL fullscreen = FALSE;
    IDXGISwapChain* swapChain = SwapChain();
    return swapChain != nullptr && SUCCEEDED(swapChain->GetFullscreenState(&fullscreen, nullptr)) && fullscreen;
}

SIZE RendererTest::BufferSize() const
{
    DXGI_SWAP_CHAIN_DESC description{};
    IDXGISwapChain* swapChain = SwapChain();
    if (swapChain == nullptr || FAILED(swapChain->GetDesc(&description))) return SIZE{0, 0};
    return SIZE{LONG(description.BufferDesc.Width), LONG(description.BufferDesc.Height)};
}

DXGI_MODE_DESC RendererTest::Mode(UINT width, UINT height, UINT rate)
{
    DXGI_MODE_DESC mode{};
    mode.Width = width;
    mode.Height = height;
    mode.RefreshRate = {rate, 1};
    mode.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    return mode;
}

std::vector<std::string> RendererTest::LayerComplaints() const
{
    std::vector<std::string> lines;
    for (UINT index = layerMessagesAtStart_; index < HalvoD3D11_MessageCount(); ++index) {
        lines.emplace_back(HalvoD3D11_Message(index));
    }
    return lines;
}
