// Initialize and Shutdown, device creation with its capability bits, and the
// answers that depend only on the device.
#include <iterator>

#include "core/engine_state.h"
#include "core/logging.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "shadertool/basic/targets.h"

namespace {

// The levels asked for, best first; a runtime without Direct3D 11.1
// refuses the whole list with E_INVALIDARG and is asked again without it.
constexpr D3D_FEATURE_LEVEL kFeatureLevels[] = {
    D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
    D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,  D3D_FEATURE_LEVEL_9_1,
};
constexpr UINT kFeatureLevelCount = UINT(std::size(kFeatureLevels));

// Driver types in the order they are tried, with the name the log gives.
struct DriverTypeRow {
    D3D_DRIVER_TYPE type;
    const char* name;
};
constexpr DriverTypeRow kDriverTypes[] = {
    {D3D_DRIVER_TYPE_HARDWARE, kHardwareDriverName},
    {D3D_DRIVER_TYPE_WARP, kWarpDriverName},
};

// Feature levels and the names the log gives them.
struct FeatureLevelNameRow {
    D3D_FEATURE_LEVEL level;
    const char* name;
};
constexpr FeatureLevelNameRow kFeatureLevelNames[] = {
    {D3D_FEATURE_LEVEL_11_1, "11_1"}, {D3D_FEATURE_LEVEL_11_0, "11_0"}, {D3D_FEATURE_LEVEL_10_1, "10_1"},
    {D3D_FEATURE_LEVEL_10_0, "10_0"}, {D3D_FEATURE_LEVEL_9_3, "9_3"},   {D3D_FEATURE_LEVEL_9_2, "9_2"},
    {D3D_FEATURE_LEVEL_9_1, "9_1"},
};

const char* FeatureLevelName(D3D_FEATURE_LEVEL level)
{
    for (const FeatureLevelNameRow& row : kFeatureLevelNames) {
        if (row.level == level) return row.name;
    }
    return "";
}

bool FormatSupports(ID3D11Device* device, DXGI_FORMAT format, UINT wanted)
{
    UINT support = 0;
    return SUCCEEDED(device->CheckFormatSupport(format, &support)) && (support & wanted) != 0;
}

}  // namespace

RendImpDirect3D11::~RendImpDirect3D11()
{
    ReleaseOutputs();
    ReleaseReference(m_adapter);
}

bool RendImpDirect3D11::Initialize(HV_EngineInterface*, HVI_EngineState* state, const HV_VideoParameters&)
{
    if (state == nullptr || state->program == nullptr) {
        HV_Log(HV_LOG_ERROR, kNoEngineStateText);
        return false;
    }
    // A second Initialize without Shutdown would orphan the first device.
    if (m_device != nullptr) Shutdown();
    m_engineState = state;
    m_presentInterval = uint32_t(state->presentInterval);
    const bool made = (m_adapter != nullptr || SelectAdapter()) && CreateDevice() && CreateSwapChain() &&
                      CreateBackBufferViews() && CreateRasterizerState() && CreateSamplerStates() &&
                      ApplyDepthState() && CreateBlendStates();
    if (!made) {
        Shutdown();
        return false;
    }
    ResetTextureUnits();
    m_initialized = true;
    return true;
}

void RendImpDirect3D11::Shutdown()
{
    if (m_context != nullptr) m_context->ClearState();
    ReleaseStateObjects();
    for (ID3D11RenderTargetView*& view : m_currentColorViews) view = nullptr;
    m_currentDepthView = nullptr;
    if (m_context != nullptr) {
        ID3D11RenderTargetView* const none[4] = {};
        m_context->OMSetRenderTargets(4, none, nullptr);
        m_context->Flush();
    }
    // A swap chain must leave fullscreen before it is released.
    if (m_swapChain != nullptr) m_swapChain->SetFullscreenState(FALSE, nullptr);
    ReleaseReference(m_depthView);
    ReleaseReference(m_depthTexture);
    ReleaseReference(m_backBufferView);
    ReleaseReference(m_swapChain1);
    ReleaseReference(m_swapChain);
    ReleaseReference(m_device1);
    ReleaseReference(m_context);
    ReleaseReference(m_device);
    // Programs bound before belong to the device that is gone.
    std::lock_guard<std::mutex> hold(m_programLock);
    m_currentShader = nullptr;
    m_boundProgram = 0;
}

bool RendImpDirect3D11::CreateDevice()
{
    HRESULT result = E_FAIL;
    const char* driverName = nullptr;
    for (const DriverTypeRow& driver : kDriverTypes) {
        result = D3D11CreateDevice(nullptr, driver.type, nullptr, 0, kFeatureLevels, kFeatureLevelCount,
                                   D3D11_SDK_VERSION, &m_device, &m_featureLevel, &m_context);
        if (result == E_INVALIDARG) {
            result = D3D11CreateDevice(nullptr, driver.type, nullptr, 0, kFeatureLevels + 1, kFeatureLevelCount - 1,
                                       D3D11_SDK_VERSION, &m_device, &m_featureLevel, &m_context);
        }
        if (SUCCEEDED(result)) {
            driverName = driver.name;
            break;
        }
    }
    if (driverName == nullptr) {
        ReportError(kErrorCreateDevice, result, nullptr);
        return false;
    }
    HV_Log(HV_LOG_SYSTEM, kDeviceCreatedText, driverName, FeatureLevelName(m_featureLevel));
    if (FAILED(m_device->QueryInterface(__uuidof(ID3D11Device1), reinterpret_cast<void**>(&m_device1)))) {
        m_device1 = nullptr;
    }
    AdoptDeviceAdapter();
    FindCapabilities();
    return true;
}

void RendImpDirect3D11::FindCapabilities()
{
    if (FormatSupports(m_device, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER)) {
        m_capabilities |= kCapabilityBgraVertexColors;
    }
    if (FormatSupports(m_device, DXGI_FORMAT_D32_FLOAT, D3D11_FORMAT_SUPPORT_DEPTH_STENCIL)) {
        m_capabilities |= kCapabilityDepth32Float;
    }
    if (m_featureLevel > D3D_FEATURE_LEVEL_9_3) {
        m_capabilities |= kCapabilityNonPowerOfTwoTextures;
    } else {
        D3D11_FEATURE_DATA_D3D9_OPTIONS options{};
        if (SUCCEEDED(m_device->CheckFeatureSupport(D3D11_FEATURE_D3D9_OPTIONS, &options, sizeof options)) &&
            options.FullNonPow2TextureSupport == TRUE) {
            m_capabilities |= kCapabilityNonPowerOfTwoTextures;
        }
    }
    D3D11_FEATURE_DATA_THREADING threading{};
    if (m_device->CheckFeatureSupport(D3D11_FEATURE_THREADING, &threading, sizeof threading) == S_OK &&
        threading.DriverConcurrentCreates == TRUE) {
        m_capabilities |= kCapabilityConcurrentCreates;
    }
}

bool RendImpDirect3D11::Reserved1() { return true; }

uint32_t RendImpDirect3D11::GetThreadingCapabilities()
{
    // Buffer releases and shader programs may be made off the main thread.
    return (m_capabilities & kCapabilityConcurrentCreates) != 0 ? 6 : 0;
}

int32_t RendImpDirect3D11::GetMaxTextureSize()
{
    if (m_featureLevel <= D3D_FEATURE_LEVEL_9_2) return 2048;
    if (m_featureLevel == D3D_FEATURE_LEVEL_9_3) return 4096;
    return 16384;
}

bool RendImpDirect3D11::CanDraw() { return true; }

int32_t RendImpDirect3D11::GetRendererId() { return 3; }

const char* RendImpDirect3D11::GetName() { return "Direct3D11"; }

int32_t RendImpDirect3D11::GetTextureChannelOrder()
{
    return 0;  // R, G, B, A in memory
}

int32_t RendImpDirect3D11::GetVertexColorOrder()
{
    return 1;  // B, G, R, A in memory
}

bool RendImpDirect3D11::SupportsNonPowerOfTwoTextures()
{
    return (m_capabilities & kCapabilityNonPowerOfTwoTextures) != 0;
}

uint32_t RendImpDirect3D11::GetShaderFeatureLevel()
{
    return m_featureLevel <= D3D_FEATURE_LEVEL_9_3 ? ShaderTool::FEATURE_LEVEL_HLSL11_LOW
                                                   : ShaderTool::FEATURE_LEVEL_HLSL11_DEFAULT;
}

uint32_t RendImpDirect3D11::GetShaderTarget() { return ShaderTool::TARGET_HLSL11; }

bool RendImpDirect3D11::IsShaderProgramReady(HV_Shader*) { return true; }

int32_t RendImpDirect3D11::Reserved44() { return 0; }

void RendImpDirect3D11::Reserved45() {}

void RendImpDirect3D11::Reserved46() {}
