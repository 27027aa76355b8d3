#include "winapi/d3d11/device.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "winapi/d3d11/context.h"
#include "winapi/d3d11/dxgi_objects.h"
#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/hooks.h"
#include "winapi/d3d11/resource_rules.h"
#include "winapi/d3d11/shader_code.h"
#include "winapi/d3d11/shaders.h"
#include "winapi/d3d11/state_rules.h"
#include "winapi/d3d11/views.h"
#include "winapi/d3d11/messages.h"

namespace halvo::d3d11 {

namespace {

void Report(const char* severity, const char* entryPoint, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    hooks::LogMessage(std::string("D3D11 ") + severity + ": " + entryPoint + ": " + text);
}

// Hands out a new object through `out`, or keeps it when the caller only
// asked for validation (a null `out`, answered with S_FALSE).
template <typename Interface, typename Made>
HRESULT HandOut(Made* made, Interface** out)
{
    if (out == nullptr) {
        made->Release();
        return S_FALSE;
    }
    *out = made;
    return S_OK;
}

// Makes a view of a resource once `check` has passed its description (and
// resolved its defaults), with the platform's results for each way out.
template <typename View, typename Desc, typename Interface, typename Check>
HRESULT CreateView(const char* entryPoint, Device* device, ID3D11Resource* resource, const Desc* desc, Interface** view,
                   Check check)
{
    if (view != nullptr) *view = nullptr;
    const HRESULT result = device->CreationResult(entryPoint);
    if (result != S_OK) return result;
    ResourceCore* core = CoreOf(resource);
    Desc resolved;
    ViewRange range;
    if (!check(core, desc, &resolved, &range)) return E_INVALIDARG;
    if (view == nullptr) return S_FALSE;
    auto* made = new (std::nothrow) View(device, core, resolved, range);
    if (made == nullptr) return E_OUTOFMEMORY;
    return HandOut(made, view);
}

}  // namespace

void ReportError(const char* entryPoint, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Report("ERROR", entryPoint, format, arguments);
    va_end(arguments);
}

bool DescriptionGiven(const char* entryPoint, const void* desc)
{
    if (desc == nullptr) ReportError(entryPoint, kDescriptionNull);
    return desc != nullptr;
}

void ReportWarning(const char* entryPoint, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    Report("WARNING", entryPoint, format, arguments);
    va_end(arguments);
}

HRESULT Device::Create(std::shared_ptr<Backend> backend, Adapter* adapter, D3D_DRIVER_TYPE driverType,
                       D3D_FEATURE_LEVEL level, UINT flags, Device** device)
{
    Device* made = new (std::nothrow) Device(std::move(backend), adapter, driverType, level, flags);
    if (made == nullptr) return E_OUTOFMEMORY;
    made->context_ = new (std::nothrow) ImmediateContext(made);
    if (made->context_ == nullptr) {
        made->Release();
        return E_OUTOFMEMORY;
    }
    *device = made;
    return S_OK;
}

Device::Device(std::shared_ptr<Backend> backend, Adapter* adapter, D3D_DRIVER_TYPE driverType, D3D_FEATURE_LEVEL level,
               UINT flags)
    : backend_(std::move(backend)),
      adapter_(adapter),
      driverType_(driverType),
      level_(level),
      flags_(flags),
      device1_(hooks::Device1Present())
{}

Device::~Device()
{
    if (context_ != nullptr) context_->ReleaseInternalReference();
}

void* Device::FindInterface(REFIID riid)
{
    if (riid == __uuidof(ID3D11Device1) && !device1_) return nullptr;
    if (riid == __uuidof(IDXGIDevice) || riid == __uuidof(IDXGIObject)) return static_cast<IDXGIDevice*>(this);
    return FindInChain(riid);
}

void Device::LastReferenceReleased()
{
    // Nobody can reach the pipeline any more: what it holds goes now.
    if (context_ != nullptr && context_->HandedOutReferences() == 0) context_->ClearState();
}

HRESULT Device::CreationResult(const char* entryPoint)
{
    HRESULT planned;
    if (hooks::PlannedFailure(entryPoint, &planned)) return planned;
    if (hooks::CreationFails()) return E_OUTOFMEMORY;
    if (Removed()) return DXGI_ERROR_DEVICE_REMOVED;
    return S_OK;
}

void Device::GetImmediateContext(ID3D11DeviceContext** context)
{
    if (context == nullptr) return;
    context_->HandOut();
    *context = context_;
}

HRESULT Device::CreateBuffer(const D3D11_BUFFER_DESC* desc, const D3D11_SUBRESOURCE_DATA* initial,
                             ID3D11Buffer** buffer)
{
    static const char* const kEntry = "ID3D11Device::CreateBuffer";
    if (buffer != nullptr) *buffer = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    if (!CheckBufferDesc(kEntry, desc, initial, level_)) return E_INVALIDARG;
    const ResourceShape shape = BufferShape(*desc);
    if (buffer == nullptr) return S_FALSE;
    std::unique_ptr<BackendResource> storage = backend_->CreateResource(shape, initial);
    if (storage == nullptr) return E_OUTOFMEMORY;
    Buffer* made = new (std::nothrow) Buffer(this, *desc, shape, std::move(storage));
    if (made == nullptr) return E_OUTOFMEMORY;
    return HandOut(made, buffer);
}

HRESULT Device::CreateTexture2D(const D3D11_TEXTURE2D_DESC* desc, const D3D11_SUBRESOURCE_DATA* initial,
                                ID3D11Texture2D** texture)
{
    static const char* const kEntry = "ID3D11Device::CreateTexture2D";
    if (texture != nullptr) *texture = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    D3D11_TEXTURE2D_DESC resolved;
    if (!CheckTexture2DDesc(kEntry, this, desc, initial, &resolved)) return E_INVALIDARG;
    if (texture == nullptr) return S_FALSE;
    const ResourceShape shape = TextureShape(resolved);
    std::unique_ptr<BackendResource> storage = backend_->CreateResource(shape, initial);
    if (storage == nullptr) return E_OUTOFMEMORY;
    Texture2D* made = new (std::nothrow) Texture2D(this, resolved, shape, std::move(storage));
    if (made == nullptr) return E_OUTOFMEMORY;
    return HandOut(made, texture);
}

HRESULT Device::CreateShaderResourceView(ID3D11Resource* resource, const D3D11_SHADER_RESOURCE_VIEW_DESC* desc,
                                         ID3D11ShaderResourceView** view)
{
    static const char* const kEntry = "ID3D11Device::CreateShaderResourceView";
    return CreateView<ShaderResourceView>(kEntry, this, resource, desc, view,
                                          [&](ResourceCore* core, const auto* given, auto* resolved, ViewRange* range) {
                                              return CheckShaderResourceViewDesc(kEntry, this, core, given, resolved,
                                                                                 range);
                                          });
}

HRESULT Device::CreateRenderTargetView(ID3D11Resource* resource, const D3D11_RENDER_TARGET_VIEW_DESC* desc,
                                       ID3D11RenderTargetView** view)
{
    static const char* const kEntry = "ID3D11Device::CreateRenderTargetView";
    return CreateView<RenderTargetView>(kEntry, this, resource, desc, view,
                                        [&](ResourceCore* core, const auto* given, auto* resolved, ViewRange* range) {
                                            return CheckRenderTargetViewDesc(kEntry, this, core, given, resolved,
                                                                             range);
                                        });
}

HRESULT Device::CreateDepthStencilView(ID3D11Resource* resource, const D3D11_DEPTH_STENCIL_VIEW_DESC* desc,
                                       ID3D11DepthStencilView** view)
{
    static const char* const kEntry = "ID3D11Device::CreateDepthStencilView";
    return CreateView<DepthStencilView>(kEntry, this, resource, desc, view,
                                        [&](ResourceCore* core, const auto* given, auto* resolved, ViewRange* range) {
                                            return CheckDepthStencilViewDesc(kEntry, core, given, resolved, range);
                                        });
}

HRESULT Device::CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* elements, UINT count, const void* code, SIZE_T size,
                                  ID3D11InputLayout** layout)
{
    static const char* const kEntry = "ID3D11Device::CreateInputLayout";
    if (layout != nullptr) *layout = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    ShaderCode shader;
    std::string reason;
    if (!ReadShaderCode(code, size, &shader, &reason)) {
        ReportError(kEntry, "the vertex code cannot be read: %s.", reason.c_str());
        return E_INVALIDARG;
    }
    if (shader.programType != kVertexProgram) {
        ReportError(kEntry, "the code with the input signature is not vertex code.");
        return E_INVALIDARG;
    }
    std::vector<UINT> offsets;
    if (!CheckInputLayout(kEntry, elements, count, shader.inputs, &offsets)) return E_INVALIDARG;
    if (layout == nullptr) return S_FALSE;
    auto* made = new (std::nothrow) InputLayout(this, elements, count, offsets.data());
    if (made == nullptr) return E_OUTOFMEMORY;
    return HandOut(made, layout);
}

namespace {

template <typename Made>
HRESULT CreateShader(Device* device, const char* entryPoint, uint32_t programType, ShaderStage stage, const void* code,
                     SIZE_T size, ID3D11ClassLinkage* linkage, Made** made)
{
    ShaderCode shader;
    std::string reason;
    if (!ReadShaderCode(code, size, &shader, &reason)) {
        ReportError(entryPoint, "the code cannot be read: %s.", reason.c_str());
        return E_INVALIDARG;
    }
    if (shader.programType != programType) {
        ReportError(entryPoint, "the code is for another stage (program type %u).", shader.programType);
        return E_INVALIDARG;
    }
    if (shader.minimumFeatureLevel > uint32_t(device->GetFeatureLevel())) {
        ReportError(entryPoint, "the code needs feature level 0x%x; the device has 0x%x.", shader.minimumFeatureLevel,
                    unsigned(device->GetFeatureLevel()));
        return E_INVALIDARG;
    }
    if (linkage != nullptr) {
        ReportError(entryPoint, "class linkage is not supported by this layer.");
        return E_INVALIDARG;
    }
    if (made == nullptr) return S_FALSE;
    std::unique_ptr<BackendShader> backendShader =
        device->backend().CreateShader(stage, shader.words.data(), shader.words.size());
    if (backendShader == nullptr) return E_OUTOFMEMORY;
    *made =
        new (std::nothrow) Made(device, std::move(backendShader), std::move(shader.inputs), std::move(shader.outputs));
    return *made == nullptr ? E_OUTOFMEMORY : S_OK;
}

}  // namespace

HRESULT Device::CreateVertexShader(const void* code, SIZE_T size, ID3D11ClassLinkage* linkage,
                                   ID3D11VertexShader** shader)
{
    static const char* const kEntry = "ID3D11Device::CreateVertexShader";
    if (shader != nullptr) *shader = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    VertexShader* made = nullptr;
    const HRESULT created = CreateShader(this, kEntry, kVertexProgram, ShaderStage::kVertex, code, size, linkage,
                                         shader == nullptr ? nullptr : &made);
    if (created == S_OK) *shader = made;
    return created;
}

HRESULT Device::CreatePixelShader(const void* code, SIZE_T size, ID3D11ClassLinkage* linkage,
                                  ID3D11PixelShader** shader)
{
    static const char* const kEntry = "ID3D11Device::CreatePixelShader";
    if (shader != nullptr) *shader = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    PixelShader* made = nullptr;
    const HRESULT created = CreateShader(this, kEntry, kPixelProgram, ShaderStage::kPixel, code, size, linkage,
                                         shader == nullptr ? nullptr : &made);
    if (created == S_OK) *shader = made;
    return created;
}

namespace {

// The platform keeps at most this many distinct state objects of a kind per device.
constexpr size_t kUniqueStateLimit = 4096;

template <typename State, typename Desc>
HRESULT FindOrMakeState(Device* device, StateCache<State>& cache, const char* entryPoint, const Desc& given,
                        State** state)
{
    const Desc desc = Normalized(given);
    const std::vector<unsigned char> key = StateKey(desc);
    if (state == nullptr) return S_FALSE;
    bool overLimit = false;
    *state = cache.FindOrMake(key, kUniqueStateLimit, &overLimit,
                              [&] { return new (std::nothrow) State(device, desc, key); });
    if (overLimit) {
        ReportError(entryPoint, "the device already has %zu distinct states of this kind.", kUniqueStateLimit);
        return D3D11_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS;
    }
    return *state == nullptr ? E_OUTOFMEMORY : S_OK;
}

}  // namespace

HRESULT Device::CreateBlendStateFrom(const D3D11_BLEND_DESC1& desc, const char* entryPoint, BlendState** state)
{
    const HRESULT result = CreationResult(entryPoint);
    if (result != S_OK) return result;
    if (!CheckBlendDesc(entryPoint, desc)) return E_INVALIDARG;
    return FindOrMakeState(this, blendStates_, entryPoint, desc, state);
}

HRESULT Device::CreateBlendState(const D3D11_BLEND_DESC* desc, ID3D11BlendState** state)
{
    static const char* const kEntry = "ID3D11Device::CreateBlendState";
    if (state != nullptr) *state = nullptr;
    if (!DescriptionGiven(kEntry, desc)) return E_INVALIDARG;
    BlendState* made = nullptr;
    const HRESULT result = CreateBlendStateFrom(WidenBlendDesc(*desc), kEntry, state == nullptr ? nullptr : &made);
    if (result == S_OK) *state = made;
    return result;
}

HRESULT Device::CreateBlendState1(const D3D11_BLEND_DESC1* desc, ID3D11BlendState1** state)
{
    static const char* const kEntry = "ID3D11Device1::CreateBlendState1";
    if (state != nullptr) *state = nullptr;
    if (!DescriptionGiven(kEntry, desc)) return E_INVALIDARG;
    BlendState* made = nullptr;
    const HRESULT result = CreateBlendStateFrom(*desc, kEntry, state == nullptr ? nullptr : &made);
    if (result == S_OK) *state = made;
    return result;
}

HRESULT Device::CreateRasterizerStateFrom(const D3D11_RASTERIZER_DESC1& desc, const char* entryPoint,
                                          RasterizerState** state)
{
    const HRESULT result = CreationResult(entryPoint);
    if (result != S_OK) return result;
    if (!CheckRasterizerDesc(entryPoint, desc)) return E_INVALIDARG;
    return FindOrMakeState(this, rasterizerStates_, entryPoint, desc, state);
}

HRESULT Device::CreateRasterizerState(const D3D11_RASTERIZER_DESC* desc, ID3D11RasterizerState** state)
{
    static const char* const kEntry = "ID3D11Device::CreateRasterizerState";
    if (state != nullptr) *state = nullptr;
    if (!DescriptionGiven(kEntry, desc)) return E_INVALIDARG;
    RasterizerState* made = nullptr;
    const HRESULT result =
        CreateRasterizerStateFrom(WidenRasterizerDesc(*desc), kEntry, state == nullptr ? nullptr : &made);
    if (result == S_OK) *state = made;
    return result;
}

HRESULT Device::CreateRasterizerState1(const D3D11_RASTERIZER_DESC1* desc, ID3D11RasterizerState1** state)
{
    static const char* const kEntry = "ID3D11Device1::CreateRasterizerState1";
    if (state != nullptr) *state = nullptr;
    if (!DescriptionGiven(kEntry, desc)) return E_INVALIDARG;
    RasterizerState* made = nullptr;
    const HRESULT result = CreateRasterizerStateFrom(*desc, kEntry, state == nullptr ? nullptr : &made);
    if (result == S_OK) *state = made;
    return result;
}

HRESULT Device::CreateSamplerState(const D3D11_SAMPLER_DESC* desc, ID3D11SamplerState** state)
{
    static const char* const kEntry = "ID3D11Device::CreateSamplerState";
    if (state != nullptr) *state = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    if (!CheckSamplerDesc(kEntry, desc)) return E_INVALIDARG;
    SamplerState* made = nullptr;
    const HRESULT found = FindOrMakeState(this, samplerStates_, kEntry, *desc, state == nullptr ? nullptr : &made);
    if (found == S_OK) *state = made;
    return found;
}

HRESULT Device::CreateDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* desc, ID3D11DepthStencilState** state)
{
    static const char* const kEntry = "ID3D11Device::CreateDepthStencilState";
    if (state != nullptr) *state = nullptr;
    const HRESULT result = CreationResult(kEntry);
    if (result != S_OK) return result;
    if (!CheckDepthStencilDesc(kEntry, desc)) return E_INVALIDARG;
    DepthStencilState* made = nullptr;
    const HRESULT found = FindOrMakeState(this, depthStencilStates_, kEntry, *desc, state == nullptr ? nullptr : &made);
    if (found == S_OK) *state = made;
    return found;
}

HRESULT Device::CheckFormatSupport(DXGI_FORMAT format, UINT* support)
{
    if (support == nullptr) return E_INVALIDARG;
    HRESULT planned;
    if (hooks::PlannedFailure("ID3D11Device::CheckFormatSupport", &planned)) return planned;
    *support = SupportOf(format);
    return *support == 0 ? E_FAIL : S_OK;
}

HRESULT Device::CheckMultisampleQualityLevels(DXGI_FORMAT format, UINT sampleCount, UINT* levels)
{
    if (levels == nullptr) return E_INVALIDARG;
    // Only single sampling exists in this layer.
    *levels = (sampleCount == 1 && SupportOf(format) != 0) ? 1 : 0;
    return S_OK;
}

HRESULT Device::CheckFeatureSupport(D3D11_FEATURE feature, void* data, UINT size)
{
    static const char* const kEntry = "ID3D11Device::CheckFeatureSupport";
    if (data == nullptr) return E_INVALIDARG;
    HRESULT answer;
    std::vector<uint8_t> bytes;
    if (hooks::PlannedFailure(kEntry, &answer)) return answer;
    if (hooks::FeatureAnswer(feature, &answer, &bytes)) {
        if (SUCCEEDED(answer)) std::memcpy(data, bytes.data(), std::min<size_t>(bytes.size(), size));
        return answer;
    }
    switch (feature) {
    case D3D11_FEATURE_THREADING: {
        if (size != sizeof(D3D11_FEATURE_DATA_THREADING)) break;
        auto* threading = static_cast<D3D11_FEATURE_DATA_THREADING*>(data);
        threading->DriverConcurrentCreates = TRUE;
        threading->DriverCommandLists = FALSE;
        return S_OK;
    }
    case D3D11_FEATURE_DOUBLES: {
        if (size != sizeof(D3D11_FEATURE_DATA_DOUBLES)) break;
        static_cast<D3D11_FEATURE_DATA_DOUBLES*>(data)->DoublePrecisionFloatShaderOps = FALSE;
        return S_OK;
    }
    case D3D11_FEATURE_FORMAT_SUPPORT: {
        if (size != sizeof(D3D11_FEATURE_DATA_FORMAT_SUPPORT)) break;
        auto* format = static_cast<D3D11_FEATURE_DATA_FORMAT_SUPPORT*>(data);
        format->OutFormatSupport = SupportOf(format->InFormat);
        return format->OutFormatSupport == 0 ? E_FAIL : S_OK;
    }
    case D3D11_FEATURE_D3D9_OPTIONS: {
        if (size != sizeof(D3D11_FEATURE_DATA_D3D9_OPTIONS)) break;
        static_cast<D3D11_FEATURE_DATA_D3D9_OPTIONS*>(data)->FullNonPow2TextureSupport = TRUE;
        return S_OK;
    }
    default: ReportError(kEntry, "feature %d is not known to this layer.", int(feature)); return E_INVALIDARG;
    }
    ReportError(kEntry, "the data size %u does not match feature %d.", size, int(feature));
    return E_INVALIDARG;
}

HRESULT Device::GetParent(REFIID riid, void** parent)
{
    if (parent == nullptr) return E_INVALIDARG;
    return adapter_->QueryInterface(riid, parent);
}

HRESULT Device::GetAdapter(IDXGIAdapter** adapter)
{
    if (adapter == nullptr) return E_INVALIDARG;
    return adapter_->QueryInterface(__uuidof(IDXGIAdapter), reinterpret_cast<void**>(adapter));
}

HRESULT Device::SetGPUThreadPriority(INT priority)
{
    if (priority < -7 || priority > 7) return E_INVALIDARG;
    gpuThreadPriority_ = priority;
    return S_OK;
}

HRESULT Device::GetGPUThreadPriority(INT* priority)
{
    if (priority == nullptr) return E_INVALIDARG;
    *priority = gpuThreadPriority_;
    return S_OK;
}

}  // namespace halvo::d3d11

extern "C" void HalvoD3D11_RemoveDevice(ID3D11Device* device, HRESULT reason)
{
    if (device != nullptr) static_cast<halvo::d3d11::Device*>(device)->Remove(reason);
}

extern "C" UINT64 HalvoD3D11_DrawCount(ID3D11Device* device)
{
    return device == nullptr ? 0 : static_cast<halvo::d3d11::Device*>(device)->draws();
}

extern "C" const char* HalvoD3D11_BackendName(ID3D11Device* device)
{
    return device == nullptr ? nullptr : static_cast<halvo::d3d11::Device*>(device)->backend().Name();
}
