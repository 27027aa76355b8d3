// The swap chain on the main window and the back buffer's colour and depth
// views.
#include "core/engine_state.h"
#include "core/error_texts.h"
#include "core/logging.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

namespace {

constexpr DXGI_FORMAT kBackBufferFormat = DXGI_FORMAT_B8G8R8A8_UNORM;
constexpr UINT kBufferCount = 2;
constexpr UINT kWindowAssociation = DXGI_MWA_NO_WINDOW_CHANGES | DXGI_MWA_NO_ALT_ENTER;

}  // namespace

IDXGIFactory1* RendImpDirect3D11::GetAdapterFactory()
{
    IDXGIFactory1* factory = nullptr;
    const HRESULT result = m_adapter->GetParent(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory));
    if (FAILED(result)) {
        HVI_ReportPlatformError(kErrorGetFactory, uint32_t(result), "%s", kFactoryFromAdapterText);
        return nullptr;
    }
    return factory;
}

bool RendImpDirect3D11::CreateSwapChain()
{
    IDXGIFactory1* factory = GetAdapterFactory();
    if (factory == nullptr) return false;
    IDXGIFactory2* factory2 = nullptr;
    if (FAILED(factory->QueryInterface(__uuidof(IDXGIFactory2), reinterpret_cast<void**>(&factory2)))) {
        factory2 = nullptr;
    }
    HWND window = m_engineState->window;
    HRESULT result;
    if (factory2 != nullptr) {
        DXGI_SWAP_CHAIN_DESC1 description{};
        description.Format = kBackBufferFormat;
        description.SampleDesc.Count = 1;
        description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
        description.BufferCount = kBufferCount;
        description.Scaling = DXGI_SCALING_STRETCH;
        description.SwapEffect = DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL;
        description.AlphaMode = DXGI_ALPHA_MODE_UNSPECIFIED;
        description.Flags = DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH;
        result = factory2->CreateSwapChainForHwnd(m_device, window, &description, nullptr, nullptr, &m_swapChain1);
        if (SUCCEEDED(result)) {
            factory2->MakeWindowAssociation(window, kWindowAssociation);
            result = m_swapChain1->QueryInterface(__uuidof(IDXGISwapChain), reinterpret_cast<void**>(&m_swapChain));
        }
    } else {
        DXGI_SWAP_CHAIN_DESC description{};
        description.BufferDesc.RefreshRate = {60, 1};
        description.BufferDesc.Format = kBackBufferFormat;
        description.SampleDesc.Count = 1;
        description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
        description.BufferCount = kBufferCount;
        description.OutputWindow = window;
        description.Windowed = TRUE;
        description.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
        description.Flags = DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH;
        result = factory->CreateSwapChain(m_device, &description, &m_swapChain);
        if (SUCCEEDED(result)) factory->MakeWindowAssociation(window, kWindowAssociation);
    }
    const bool hasFactory2 = factory2 != nullptr;
    ReleaseReference(factory2);
    ReleaseReference(factory);
    if (FAILED(result)) {
        m_swapChain = nullptr;
        HVI_ReportPlatformError(kErrorCreateSwapChain, uint32_t(result), kSwapChainFactoryText,
                                hasFactory2 ? kFactory2Present : kFactory2Absent);
        return false;
    }
    const HV_VideoParameters& video = m_engineState->program->video;
    if (!video.windowed) {
        // Refused fullscreen at start-up: ask for the same mode in a window instead.
        if (FAILED(m_swapChain->SetFullscreenState(TRUE, nullptr)) ||
            FAILED(ResizeSwapChainBuffers(UINT(video.width), UINT(video.height)))) {
            HV_VideoParameters windowed = video;
            windowed.windowed = true;
            if (m_engineState->engine != nullptr && m_engineState->engine->ReinitializeWithParameters != nullptr) {
                m_engineState->engine->ReinitializeWithParameters(&windowed);
            }
        }
    }
    return true;
}

bool RendImpDirect3D11::CreateBackBufferColorView(ID3D11Texture2D** buffer)
{
    HRESULT result = m_swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(buffer));
    if (FAILED(result)) {
        *buffer = nullptr;
        ReportError(kErrorGetSwapChainBuffer, result, nullptr);
        return false;
    }
    result = m_device->CreateRenderTargetView(*buffer, nullptr, &m_backBufferView);
    if (FAILED(result)) {
        m_backBufferView = nullptr;
        ReleaseReference(*buffer);
        ReportError(kErrorCreateBackBufferView, result, nullptr);
        return false;
    }
    return true;
}

bool RendImpDirect3D11::CreateBackBufferViews()
{
    ID3D11Texture2D* buffer = nullptr;
    if (!CreateBackBufferColorView(&buffer)) return false;
    D3D11_TEXTURE2D_DESC bufferDescription{};
    buffer->GetDesc(&bufferDescription);
    buffer->Release();

    const DXGI_FORMAT depthFormat =
        (m_capabilities & kCapabilityDepth32Float) != 0 ? DXGI_FORMAT_D32_FLOAT : DXGI_FORMAT_D24_UNORM_S8_UINT;
    D3D11_TEXTURE2D_DESC depthDescription{};
    depthDescription.Width = bufferDescription.Width;
    depthDescription.Height = bufferDescription.Height;
    depthDescription.MipLevels = 1;
    depthDescription.ArraySize = 1;
    depthDescription.Format = depthFormat;
    depthDescription.SampleDesc.Count = 1;
    depthDescription.Usage = D3D11_USAGE_DEFAULT;
    depthDescription.BindFlags = D3D11_BIND_DEPTH_STENCIL;
    HRESULT result = m_device->CreateTexture2D(&depthDescription, nullptr, &m_depthTexture);
    if (FAILED(result)) {
        m_depthTexture = nullptr;
        ReportError(kErrorCreateDepthBuffer, result, nullptr);
        return false;
    }
    D3D11_DEPTH_STENCIL_VIEW_DESC viewDescription{};
    viewDescription.Format = depthFormat;
    viewDescription.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
    result = m_device->CreateDepthStencilView(m_depthTexture, &viewDescription, &m_depthView);
    if (FAILED(result)) {
        m_depthView = nullptr;
        ReportError(kErrorCreateDepthView, result, nullptr);
        return false;
    }
    const int32_t width = int32_t(bufferDescription.Width);
    const int32_t height = int32_t(bufferDescription.Height);
    SetViewport(0, 0, width, height, 0.0f, 1.0f);
    HV_Log(HV_LOG_INFO, kBackBufferViewCreatedText, width, height);
    SetRenderTargets(HV_RenderTargetSet{});
    return true;
}

HRESULT RendImpDirect3D11::ResizeSwapChainBuffers(UINT width, UINT height)
{
    return m_swapChain->ResizeBuffers(kBufferCount, width, height, kBackBufferFormat,
                                      DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH);
}

void RendImpDirect3D11::ReleaseBackBufferViews()
{
    // The buffers cannot be resized while a view of them is bound.
    if (m_context != nullptr) m_context->OMSetRenderTargets(0, nullptr, nullptr);
    for (ID3D11RenderTargetView*& view : m_currentColorViews) view = nullptr;
    m_currentDepthView = nullptr;
    ReleaseReference(m_depthView);
    ReleaseReference(m_depthTexture);
    ReleaseReference(m_backBufferView);
}
