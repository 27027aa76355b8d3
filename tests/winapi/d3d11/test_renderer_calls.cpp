// The calls the engine's Direct3D 11 renderer makes, in its order: adapter
// and outputs, device with its capability questions, swap chain, back-buffer
// views, the state tables, a frame, read-back, window-mode changes and
// shutdown. Run whole, and again with every creation
// from the n-th on failing, where nothing may be left alive.
#include "winapi/d3d11/d3d11_test_support.h"

#include <cstring>

#include "winapi/com/live_objects.h"

namespace {

struct RendererObjects {
    Ref<IDXGIAdapter> adapter;
    std::vector<Ref<IDXGIOutput>> outputs;
    Ref<ID3D11Device> device;
    Ref<ID3D11Device1> device1;
    Ref<ID3D11DeviceContext> context;
    Ref<IDXGISwapChain> swapChain;
    Ref<IDXGISwapChain1> swapChain1;
    Ref<ID3D11RenderTargetView> backBufferView;
    Ref<ID3D11Texture2D> depthTexture;
    Ref<ID3D11DepthStencilView> depthView;
    Ref<ID3D11RasterizerState> rasterizer[3][2];
    Ref<ID3D11SamplerState> samplers[9][27];
    Ref<ID3D11BlendState> blends[9][2];
    Ref<ID3D11DepthStencilState> depthState;
    D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_9_1;
    UINT capabilities = 0;
};

bool SelectAdapter(RendererObjects& r)
{
    Ref<IDXGIFactory1> factory;
    if (FAILED(CreateDXGIFactory1(IID_PPV_ARGS(factory.Put())))) return false;
    if (FAILED(factory->EnumAdapters(0, r.adapter.Put()))) return false;
    for (UINT index = 0;; ++index) {
        Ref<IDXGIOutput> output;
        const HRESULT result = r.adapter->EnumOutputs(index, output.Put());
        if (result == DXGI_ERROR_NOT_FOUND) break;
        if (FAILED(result)) {
            r.outputs.clear();
            break;
        }
        DXGI_OUTPUT_DESC desc;
        if (SUCCEEDED(output->GetDesc(&desc)) && desc.AttachedToDesktop) r.outputs.push_back(output);
    }
    return !r.outputs.empty();
}

bool CreateDevice(RendererObjects& r)
{
    if (FAILED(CreateDeviceAsTheRendererDoes(r.device.Put(), &r.level, r.context.Put()))) return false;
    r.device->QueryInterface(IID_PPV_ARGS(r.device1.Put()));
    UINT support = 0;
    if (SUCCEEDED(r.device->CheckFormatSupport(DXGI_FORMAT_B8G8R8A8_UNORM, &support)) &&
        (support & D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER)) {
        r.capabilities |= 2;
    }
    if (SUCCEEDED(r.device->CheckFormatSupport(DXGI_FORMAT_D32_FLOAT, &support)) &&
        (support & D3D11_FORMAT_SUPPORT_DEPTH_STENCIL)) {
        r.capabilities |= 1;
    }
    r.capabilities |= 8;
    D3D11_FEATURE_DATA_THREADING threading{};
    if (r.device->CheckFeatureSupport(D3D11_FEATURE_THREADING, &threading, sizeof threading) == S_OK &&
        threading.DriverConcurrentCreates == 1) {
        r.capabilities |= 4;
    }
    return true;
}

bool CreateSwapChain(RendererObjects& r, HWND window)
{
    Ref<IDXGIFactory1> factory;
    if (FAILED(r.adapter->GetParent(IID_PPV_ARGS(factory.Put())))) return false;
    Ref<IDXGIFactory2> factory2;
    factory->QueryInterface(IID_PPV_ARGS(factory2.Put()));
    if (factory2) {
        const DXGI_SWAP_CHAIN_DESC1 desc =
            FlipSwapChainDesc(0, 0, DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH);
        if (FAILED(factory2->CreateSwapChainForHwnd(r.device.get(), window, &desc, nullptr, nullptr,
                                                    r.swapChain1.Put()))) {
            return false;
        }
        factory2->MakeWindowAssociation(window, DXGI_MWA_NO_WINDOW_CHANGES | DXGI_MWA_NO_ALT_ENTER);
        return SUCCEEDED(r.swapChain1->QueryInterface(IID_PPV_ARGS(r.swapChain.Put())));
    }
    DXGI_SWAP_CHAIN_DESC desc = DiscardSwapChainDesc(window);
    if (FAILED(factory->CreateSwapChain(r.device.get(), &desc, r.swapChain.Put()))) return false;
    factory->MakeWindowAssociation(window, DXGI_MWA_NO_WINDOW_CHANGES | DXGI_MWA_NO_ALT_ENTER);
    return true;
}

bool CreateBackBufferViews(RendererObjects& r, UINT* width, UINT* height)
{
    Ref<ID3D11Texture2D> buffer;
    if (FAILED(r.swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())))) return false;
    if (FAILED(r.device->CreateRenderTargetView(buffer.get(), nullptr, r.backBufferView.Put()))) return false;
    D3D11_TEXTURE2D_DESC desc;
    buffer->GetDesc(&desc);
    *width = desc.Width;
    *height = desc.Height;
    const DXGI_FORMAT depthFormat = (r.capabilities & 1) ? DXGI_FORMAT_D32_FLOAT : DXGI_FORMAT_D24_UNORM_S8_UINT;
    const D3D11_TEXTURE2D_DESC depth = TextureDesc(desc.Width, desc.Height, depthFormat, D3D11_BIND_DEPTH_STENCIL);
    if (FAILED(r.device->CreateTexture2D(&depth, nullptr, r.depthTexture.Put()))) return false;
    D3D11_DEPTH_STENCIL_VIEW_DESC view{};
    view.Format = depthFormat;
    view.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
    if (FAILED(r.device->CreateDepthStencilView(r.depthTexture.get(), &view, r.depthView.Put()))) return false;
    const D3D11_VIEWPORT viewport{0, 0, FLOAT(desc.Width), FLOAT(desc.Height), 0.0f, 1.0f};
    r.context->RSSetViewports(1, &viewport);
    ID3D11RenderTargetView* views[4] = {r.backBufferView.get(), nullptr, nullptr, nullptr};
    r.context->OMSetRenderTargets(4, views, r.depthView.get());
    return true;
}

bool CreateStates(RendererObjects& r)
{
    const D3D11_CULL_MODE culls[3] = {D3D11_CULL_NONE, D3D11_CULL_FRONT, D3D11_CULL_BACK};
    for (int scissor = 0; scissor < 2; ++scissor) {
        for (int cull = 0; cull < 3; ++cull) {
            if (r.device1) {
                D3D11_RASTERIZER_DESC1 desc{D3D11_FILL_SOLID, culls[cull], FALSE, 0, 0.0f, 0.0f, TRUE,
                                            scissor,          FALSE,       FALSE, 0};
                Ref<ID3D11RasterizerState1> state;
                if (FAILED(r.device1->CreateRasterizerState1(&desc, state.Put()))) return false;
                if (FAILED(state->QueryInterface(IID_PPV_ARGS(r.rasterizer[cull][scissor].Put())))) return false;
            } else {
                D3D11_RASTERIZER_DESC desc{D3D11_FILL_SOLID, culls[cull], FALSE, 0, 0.0f, 0.0f, TRUE,
                                           scissor,          FALSE,       FALSE};
                if (FAILED(r.device->CreateRasterizerState(&desc, r.rasterizer[cull][scissor].Put()))) return false;
            }
        }
    }
    const D3D11_FILTER filters[8] = {D3D11_FILTER_MIN_MAG_MIP_POINT,
                                     D3D11_FILTER_MIN_MAG_POINT_MIP_LINEAR,
                                     D3D11_FILTER_MIN_POINT_MAG_LINEAR_MIP_POINT,
                                     D3D11_FILTER_MIN_POINT_MAG_MIP_LINEAR,
                                     D3D11_FILTER_MIN_LINEAR_MAG_MIP_POINT,
                                     D3D11_FILTER_MIN_LINEAR_MAG_POINT_MIP_LINEAR,
                                     D3D11_FILTER_MIN_MAG_LINEAR_MIP_POINT,
                                     D3D11_FILTER_MIN_MAG_MIP_LINEAR};
    const D3D11_TEXTURE_ADDRESS_MODE modes[3] = {D3D11_TEXTURE_ADDRESS_CLAMP, D3D11_TEXTURE_ADDRESS_WRAP,
                                                 D3D11_TEXTURE_ADDRESS_MIRROR};
    for (int group = 0; group < 9; ++group) {
        for (int entry = 0; entry < 27; ++entry) {
            D3D11_SAMPLER_DESC desc{};
            desc.Filter = group == 0 ? D3D11_FILTER_ANISOTROPIC : filters[group - 1];
            desc.MaxAnisotropy = group == 0 ? (r.level == D3D_FEATURE_LEVEL_9_1 ? 2 : 8) : 0;
            desc.AddressU = modes[entry / 9];
            desc.AddressV = modes[(entry / 3) % 3];
            desc.AddressW = modes[entry % 3];
            desc.ComparisonFunc = D3D11_COMPARISON_NEVER;
            desc.MaxLOD = D3D11_FLOAT32_MAX;
            if (FAILED(r.device->CreateSamplerState(&desc, r.samplers[group][entry].Put()))) return false;
        }
    }
    for (int write = 0; write < 2; ++write) {
        for (int mode = 1; mode < 9; ++mode) {
            const D3D11_BLEND_DESC desc = BlendDescription(kBlendModes[mode - 1], write != 0);
            if (FAILED(r.device->CreateBlendState(&desc, r.blends[mode][write].Put()))) return false;
        }
    }
    D3D11_DEPTH_STENCIL_DESC depth{};
    depth.DepthEnable = FALSE;
    depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ZERO;
    depth.DepthFunc = D3D11_COMPARISON_LESS;
    if (FAILED(r.device->CreateDepthStencilState(&depth, r.depthState.Put()))) return false;
    r.context->OMSetDepthStencilState(r.depthState.get(), 0);
    return true;
}

bool Initialize(RendererObjects& r, HWND window, UINT* width, UINT* height)
{
    return SelectAdapter(r) && CreateDevice(r) && CreateSwapChain(r, window) &&
           CreateBackBufferViews(r, width, height) && CreateStates(r);
}

void Shutdown(RendererObjects& r)
{
    if (r.context) {
        r.context->ClearState();
        ID3D11RenderTargetView* none[4] = {};
        r.context->OMSetRenderTargets(4, none, nullptr);
        r.context->Flush();
    }
    if (r.swapChain) r.swapChain->SetFullscreenState(FALSE, nullptr);
    r = RendererObjects{};
}

class RendererCalls : public D3D11Test {
protected:
    void SetUp() override
    {
        D3D11Test::SetUp();
        // The renderer makes its own device; the fixture's is not needed.
        context_.Reset();
        device_.Reset();
    }
};

TEST_F(RendererCalls, InitializeDrawsAFrameAndShutsDownWithNothingLeft)
{
    HWND window = MakeWindow(160, 120);
    RendererObjects r;
    UINT width = 0;
    UINT height = 0;
    ASSERT_TRUE(Initialize(r, window, &width, &height));
    EXPECT_EQ(width, 160u);
    EXPECT_EQ(height, 120u);
    EXPECT_EQ(r.capabilities, 15u);
    EXPECT_TRUE(r.device1);
    EXPECT_TRUE(r.swapChain1);
    EXPECT_EQ(r.blends[1][1].get() == r.blends[1][0].get(), false);
    device_ = r.device;  // for the fixture's makers and read-back
    context_ = r.context;

    // One frame: clear, constants through a discard map, one indexed draw, present.
    const FLOAT clear[4] = {0.0f, 0.2f, 0.4f, 1.0f};
    r.context->ClearRenderTargetView(r.backBufferView.get(), clear);
    r.context->ClearDepthStencilView(r.depthView.get(), D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, 1.0f, 0);
    Ref<ID3D11Buffer> constants =
        MakeBuffer((64 / 16 + 1) * 16, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE);
    D3D11_MAPPED_SUBRESOURCE mapped;
    ASSERT_EQ(r.context->Map(constants.get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
    std::memset(mapped.pData, 0, 64);
    r.context->Unmap(constants.get(), 0);
    ID3D11Buffer* rawConstants = constants.get();
    r.context->VSSetConstantBuffers(0, 1, &rawConstants);
    r.context->OMSetBlendState(r.blends[1][1].get(), nullptr, 0xffffffff);
    r.context->RSSetState(r.rasterizer[2][0].get());
    ID3D11SamplerState* sampler = r.samplers[1][0].get();
    r.context->PSSetSamplers(0, 1, &sampler);
    const D3D11_RECT scissor{0, 0, 40, 30};
    r.context->RSSetScissorRects(1, &scissor);
    ASSERT_EQ(r.swapChain->Present(1, 0), S_OK);

    // The back buffer read back the renderer's way: B, G, R, A bytes.
    Ref<ID3D11Texture2D> backBuffer;
    ASSERT_EQ(r.swapChain->GetBuffer(0, IID_PPV_ARGS(backBuffer.Put())), S_OK);
    // 0.2 x 255 = 51, 0.4 x 255 = 102.
    ExpectPixels("RendererBackBuffer", ReadBack(backBuffer.get()),
                 std::vector<uint32_t>(160 * 120, Rgba(102, 51, 0, 255)), true);
    device_.Reset();
    context_.Reset();
    backBuffer.Reset();
    constants.Reset();

    // A fullscreen switch: find the closest mode, enter fullscreen, resize the buffers.
    r.backBufferView.Reset();
    r.depthView.Reset();
    r.depthTexture.Reset();
    BOOL fullscreen = TRUE;
    ASSERT_EQ(r.swapChain->GetFullscreenState(&fullscreen, nullptr), S_OK);
    EXPECT_EQ(fullscreen, FALSE);
    const DXGI_MODE_DESC wanted = Mode(1280, 720, 0);
    DXGI_MODE_DESC closest{};
    ASSERT_EQ(r.outputs[0]->FindClosestMatchingMode(&wanted, &closest, r.device.get()), S_OK);
    ASSERT_EQ(r.swapChain->SetFullscreenState(TRUE, nullptr), S_OK);
    r.context->OMSetRenderTargets(0, nullptr, nullptr);
    ASSERT_EQ(r.swapChain->ResizeBuffers(2, closest.Width, closest.Height, DXGI_FORMAT_B8G8R8A8_UNORM,
                                         DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH),
              S_OK);
    ASSERT_TRUE(CreateBackBufferViews(r, &width, &height));
    EXPECT_EQ(width, 1280u);
    EXPECT_EQ(height, 720u);
    Shutdown(r);
    EXPECT_EQ(halvo::com::LiveObjectCount(), 0);
}

TEST_F(RendererCalls, WithoutFactory2AndDevice1TheOlderPathsServe)
{
    HalvoD3D11_SetInterfacesPresent(FALSE, FALSE);
    HalvoD3D11_SetRuntimeKnowsLevel11_1(FALSE);
    HWND window = MakeWindow(64, 32);
    RendererObjects r;
    UINT width = 0;
    UINT height = 0;
    ASSERT_TRUE(Initialize(r, window, &width, &height));
    EXPECT_EQ(r.level, D3D_FEATURE_LEVEL_11_0);
    EXPECT_FALSE(r.device1);
    EXPECT_FALSE(r.swapChain1);
    EXPECT_EQ(width, 64u);
    Shutdown(r);
}

TEST_F(RendererCalls, EveryCreationFailingFromTheNthOnLeavesNothingAlive)
{
    HWND window = MakeWindow(32, 32);
    for (UINT n = 1;; ++n) {
        const UINT before = HalvoD3D11_CreationCount();
        HalvoD3D11_FailCreationsFrom(n);
        RendererObjects r;
        UINT width = 0;
        UINT height = 0;
        const bool initialized = Initialize(r, window, &width, &height);
        const UINT creations = HalvoD3D11_CreationCount() - before;
        Shutdown(r);
        HalvoD3D11_FailCreationsFrom(0);
        ASSERT_EQ(halvo::com::LiveObjectCount(), 0) << "with creations failing from number " << n;
        if (n > creations) {
            EXPECT_TRUE(initialized) << "nothing failed, so the initialisation succeeds";
            EXPECT_GT(n, 270u) << "adapter, device, swap chain, views, 6 + 243 + 16 + 1 states";
            break;
        }
        EXPECT_FALSE(initialized) << "creation " << n << " failed";
    }
}

}  // namespace
