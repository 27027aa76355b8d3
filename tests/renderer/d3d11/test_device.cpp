// Device creation with its retries and capability bits, the constant
// answers, the entry points, calls without a device, and the leak sweep of
// Initialize.
#include <string>

#include "graphics/renderer_entry_points.h"
#include "renderer/d3d11/renderer_test_support.h"
#include "winapi/com/live_objects.h"

namespace {

using RendererDevice = RendererTest;

TEST_P(RendererDevice, EntryPointGivesTheSameObjectUntilUnloaded)
{
    EXPECT_EQ(HALVO_RendImp_GetInterface(), renderer_);
    EXPECT_EQ(HALVO_RendImp_GetInterface(), renderer_);
    HALVO_RendImp_Unload();
    HALVO_RendImp_Unload();  // nothing left to destroy
    renderer_ = HALVO_RendImp_GetInterface();
    ASSERT_NE(renderer_, nullptr);
    EXPECT_STREQ(renderer_->GetName(), "Direct3D11");
}

TEST_P(RendererDevice, ConstantAnswersOfThisBackEnd)
{
    EXPECT_TRUE(renderer_->Reserved1());
    EXPECT_TRUE(renderer_->CanDraw());
    EXPECT_EQ(renderer_->GetRendererId(), 3);
    EXPECT_EQ(renderer_->GetTextureChannelOrder(), 0);
    EXPECT_EQ(renderer_->GetVertexColorOrder(), 1);
    EXPECT_EQ(renderer_->GetShaderTarget(), 32u);
    EXPECT_TRUE(renderer_->IsShaderProgramReady(nullptr));
    EXPECT_EQ(renderer_->Reserved44(), 0);
    EXPECT_FALSE(renderer_->NeedsProjectionFlipY());
    EXPECT_FALSE(renderer_->Unsupported67());
    EXPECT_EQ(renderer_->Unsupported71(), 0);
    EXPECT_EQ(renderer_->Unsupported82(), 0);
    float x = 1.0f;
    float y = 1.0f;
    renderer_->GetPixelCenterOffset(x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    // Before any device: feature level 9_1 and no capability bits.
    EXPECT_EQ(renderer_->GetMaxTextureSize(), 2048);
    EXPECT_EQ(renderer_->GetShaderFeatureLevel(), 2u);
    EXPECT_EQ(renderer_->GetThreadingCapabilities(), 0u);
    EXPECT_FALSE(renderer_->SupportsNonPowerOfTwoTextures());
}

// The device is made once, on the first driver and level that work, and its
// feature level sets the limits.
TEST_P(RendererDevice, TheDeviceIsMadeOnTheFirstDriverAndLevelThatWork)
{
    constexpr D3D_DRIVER_TYPE kHardware = D3D_DRIVER_TYPE_HARDWARE;
    constexpr D3D_DRIVER_TYPE kWarp = D3D_DRIVER_TYPE_WARP;
    const struct {
        D3D_DRIVER_TYPE driver;
        D3D_FEATURE_LEVEL highestLevel;  // 0: the driver is not there
        BOOL runtimeKnowsLevel11_1;
        const char* created;
        int32_t maxTextureSize;
        uint32_t shaderFeatureLevel;
    } rows[] = {
        {kHardware, D3D_FEATURE_LEVEL(0), TRUE, "a WARP device of feature level 11_1", 16384, 1},
        {kHardware, D3D_FEATURE_LEVEL_10_1, TRUE, "a hardware device of feature level 10_1", 16384, 1},
        {kWarp, D3D_FEATURE_LEVEL_11_1, FALSE, "a WARP device of feature level 11_0", 16384, 1},  // asked again
        {kWarp, D3D_FEATURE_LEVEL_9_1, TRUE, "a WARP device of feature level 9_1", 2048, 2},
        {kWarp, D3D_FEATURE_LEVEL_9_2, TRUE, "a WARP device of feature level 9_2", 2048, 2},
        {kWarp, D3D_FEATURE_LEVEL_9_3, TRUE, "a WARP device of feature level 9_3", 4096, 2},
        {kWarp, D3D_FEATURE_LEVEL_10_0, TRUE, "a WARP device of feature level 10_0", 16384, 1},
    };
    const auto devicesCreated = [this] {
        int count = 0;
        for (const std::string& line : log_.Lines())
            count += line.find("D3D11 renderer created a ") != std::string::npos;
        return count;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.created);
        HalvoD3D11_ResetHooks();
        HalvoD3D11_SetDriverType(row.driver, row.highestLevel);
        HalvoD3D11_SetRuntimeKnowsLevel11_1(row.runtimeKnowsLevel11_1);
        const int before = devicesCreated();
        ASSERT_TRUE(Initialize());
        EXPECT_TRUE(IsLogged(std::string("D3D11 renderer created ") + row.created));
        EXPECT_EQ(devicesCreated(), before + 1);
        EXPECT_EQ(renderer_->GetMaxTextureSize(), row.maxTextureSize);
        EXPECT_EQ(renderer_->GetShaderFeatureLevel(), row.shaderFeatureLevel);
        renderer_->Shutdown();
    }
}

TEST_P(RendererDevice, NonPowerOfTwoTexturesBelowLevel10AreWhatTheDeviceReports)
{
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_WARP, D3D_FEATURE_LEVEL_9_3);
    for (BOOL full : {FALSE, TRUE}) {
        D3D11_FEATURE_DATA_D3D9_OPTIONS options{full};
        HalvoD3D11_SetFeatureAnswer(D3D11_FEATURE_D3D9_OPTIONS, S_OK, &options, sizeof options);
        ASSERT_TRUE(Initialize());
        EXPECT_EQ(renderer_->SupportsNonPowerOfTwoTextures(), bool(full));
        renderer_->Shutdown();
    }
}

TEST_P(RendererDevice, ConcurrentCreatesNeedExactlySOkAndTheDriversWord)
{
    // Bits are only ever added: a later device without the answer keeps them.
    const struct {
        HRESULT result;
        BOOL concurrentCreates;
        uint32_t capabilities;
    } rows[] = {{S_FALSE, TRUE, 0}, {S_OK, FALSE, 0}, {S_OK, TRUE, 6}, {E_FAIL, FALSE, 6}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.result);
        D3D11_FEATURE_DATA_THREADING threading{};
        threading.DriverConcurrentCreates = row.concurrentCreates;
        HalvoD3D11_SetFeatureAnswer(D3D11_FEATURE_THREADING, row.result, &threading, sizeof threading);
        ASSERT_TRUE(Initialize());
        EXPECT_EQ(renderer_->GetThreadingCapabilities(), row.capabilities);
        renderer_->Shutdown();
    }
}

TEST_P(RendererDevice, NoDriverAtAllFailsInitializeWithTheDeviceReport)
{
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_HARDWARE, D3D_FEATURE_LEVEL(0));
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_WARP, D3D_FEATURE_LEVEL(0));
    EXPECT_FALSE(Initialize());
    EXPECT_TRUE(
        IsLogged("D3D11 Renderer error: failed to create the D3D device (0x00010000, platform error "
                 "-2005270524)."));
    // Shut down already; once more changes nothing, and no call needs a device.
    renderer_->Shutdown();
    renderer_->BeginFrame();
    renderer_->Present();
    renderer_->SetViewport(0, 0, 10, 10, 0.0f, 1.0f);
    EXPECT_TRUE(renderer_->SetRenderTargets(HV_RenderTargetSet{}));
    renderer_->SetActive(false);
    renderer_->SetActive(true);
    EXPECT_FALSE(renderer_->QuickReinitialize(0, 800, 600, true));
    // The drivers come back: the same object initialises.
    HalvoD3D11_ResetHooks();
    EXPECT_TRUE(Initialize());
}

TEST_P(RendererDevice, InitializeWithoutAProgramBlockFails)
{
    state_.program = nullptr;
    EXPECT_FALSE(renderer_->Initialize(&engine_, &state_, program_.video));
    EXPECT_TRUE(IsLogged("Initialize: no engine state with a program block."));
    EXPECT_FALSE(renderer_->Initialize(&engine_, nullptr, program_.video));
}

// The depth format BeginFrame binds with the back buffer.
DXGI_FORMAT BoundDepthFormat(ID3D11Device* device, bool* backBufferBound)
{
    ID3D11DeviceContext* context = nullptr;
    device->GetImmediateContext(&context);
    ID3D11RenderTargetView* colors[4] = {};
    ID3D11DepthStencilView* depth = nullptr;
    context->OMGetRenderTargets(4, colors, &depth);
    context->Release();
    *backBufferBound = colors[0] != nullptr && colors[1] == nullptr && depth != nullptr;
    DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;
    if (depth != nullptr) {
        D3D11_DEPTH_STENCIL_VIEW_DESC description{};
        depth->GetDesc(&description);
        format = description.Format;
        depth->Release();
    }
    for (ID3D11RenderTargetView* view : colors) {
        if (view != nullptr) view->Release();
    }
    return format;
}

TEST_P(RendererDevice, TheBackBufferDepthIs32BitFloatWhereTheDeviceCanUseIt)
{
    ASSERT_TRUE(Initialize());
    renderer_->BeginFrame();
    bool bound = false;
    EXPECT_EQ(BoundDepthFormat(Device(), &bound), DXGI_FORMAT_D32_FLOAT);
    EXPECT_TRUE(bound);
    ReloadRenderer();  // capability bits are never cleared: a new object starts without them
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_D32_FLOAT, D3D11_FORMAT_SUPPORT_TEXTURE2D);
    ASSERT_TRUE(Initialize());
    renderer_->BeginFrame();
    EXPECT_EQ(BoundDepthFormat(Device(), &bound), DXGI_FORMAT_D24_UNORM_S8_UINT);
    EXPECT_TRUE(bound);
}

// A second Initialize replaces the first device: TearDown finds nothing of
// the first alive.
TEST_P(RendererDevice, PresentNeedsASuccessfulInitializeAndASecondReplacesTheFirstDevice)
{
    renderer_->Present();
    ASSERT_TRUE(Initialize());
    ASSERT_TRUE(Initialize());
    renderer_->BeginFrame();
    renderer_->Present();
    EXPECT_EQ(HalvoD3D11_PresentCount(SwapChain()), 1u);
    renderer_->SetPresentInterval(0);
    renderer_->Present();
    EXPECT_EQ(HalvoD3D11_PresentCount(SwapChain()), 2u);
}

// Every creation Initialize makes fails in turn, from the first on, until
// Initialize succeeds; each failure leaves nothing of the layer alive. The
// live objects are counted by the object layer whatever the back end, so the
// sweep of some hundred device creations runs on the memory back end only.
TEST_P(RendererDevice, InitializeLeaksNothingWhereverCreationFails)
{
    if (std::string(GetParam()) != "memory") GTEST_SKIP() << "the sweep runs on the memory back end";
    const int failures =
        SweepCreationFailures([this] { return Initialize(); }, 2000, [] {}, [this] { ReloadRenderer(); });
    EXPECT_GE(failures, 5) << "fewer creations than a factory, a device, a swap chain and three views";
}

HALVO_RENDERER_BACKENDS(RendererDevice);

}  // namespace
