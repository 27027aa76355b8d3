#include "winapi/d3d11/dxgi_objects.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "winapi/d3d11/device.h"
#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/resource_rules.h"
#include "winapi/d3d11/resources.h"
#include "winapi/user/native_window.h"

namespace halvo::d3d11 {

namespace {

// The formats a swap chain's buffers may have; the flip model refuses the sRGB ones.
bool IsSwapChainFormat(DXGI_FORMAT format, bool flipModel)
{
    switch (format) {
    case DXGI_FORMAT_R8G8B8A8_UNORM:
    case DXGI_FORMAT_B8G8R8A8_UNORM:
    case DXGI_FORMAT_R16G16B16A16_FLOAT:
    case DXGI_FORMAT_R10G10B10A2_UNORM: return true;
    case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB:
    case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB: return !flipModel;
    default: return false;
    }
}

bool IsFlipModel(DXGI_SWAP_EFFECT effect)
{
    return effect == DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL || effect == DXGI_SWAP_EFFECT_FLIP_DISCARD;
}

// The formats in which the back end's outputs list their modes.
constexpr DXGI_FORMAT kModeFormats[] = {DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_R8G8B8A8_UNORM};

hooks::OutputHook FromBackend(const OutputInfo& output)
{
    hooks::OutputHook description;
    description.name = output.name;
    description.desktop = output.desktop;
    description.attached = output.attached;
    for (DXGI_FORMAT format : kModeFormats) {
        for (const DisplayMode& mode : output.modes) {
            description.modes.push_back({mode.width, mode.height, mode.refreshRate, format,
                                         DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE, DXGI_MODE_SCALING_UNSPECIFIED});
        }
    }
    return description;
}

void CopyName(const std::wstring& name, WCHAR* target, size_t capacity)
{
    const size_t length = std::min(name.size(), capacity - 1);
    std::wmemcpy(target, name.data(), length);
    target[length] = L'\0';
}

}  // namespace

void ClientSize(HWND window, UINT* width, UINT* height)
{
    RECT client{};
    if (window == nullptr || !GetClientRect(window, &client)) client = RECT{};
    *width = UINT(std::max<LONG>(client.right - client.left, 0));
    *height = UINT(std::max<LONG>(client.bottom - client.top, 0));
}

// ---- Factory

Factory::Factory(std::shared_ptr<Backend> backend) : backend_(std::move(backend)), factory2_(hooks::Factory2Present())
{}

HRESULT Factory::Create(const char* entryPoint, Factory** factory)
{
    HRESULT planned;
    if (entryPoint != nullptr && hooks::PlannedFailure(entryPoint, &planned)) return planned;
    if (hooks::CreationFails()) return E_OUTOFMEMORY;
    std::shared_ptr<Backend> backend = CreateConfiguredBackend();
    if (backend == nullptr) return DXGI_ERROR_UNSUPPORTED;
    *factory = new (std::nothrow) Factory(std::move(backend));
    return *factory == nullptr ? E_OUTOFMEMORY : S_OK;
}

void* Factory::FindInterface(REFIID riid)
{
    if (riid == __uuidof(IDXGIFactory2) && !factory2_) return nullptr;
    return FindInChain(riid);
}

HRESULT Factory::GetParent(REFIID, void** parent)
{
    if (parent != nullptr) *parent = nullptr;
    return E_NOINTERFACE;
}

HRESULT Factory::EnumAdapters1(UINT index, IDXGIAdapter1** adapter)
{
    if (adapter == nullptr) return DXGI_ERROR_INVALID_CALL;
    *adapter = nullptr;
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGIFactory::EnumAdapters", &planned)) return planned;
    if (index > 0) return DXGI_ERROR_NOT_FOUND;
    const HRESULT result = hooks::AdapterResult();
    if (FAILED(result)) return result;
    Adapter* made = new (std::nothrow) Adapter(this, backend_->Describe());
    if (made == nullptr) return E_OUTOFMEMORY;
    *adapter = made;
    return S_OK;
}

HRESULT Factory::EnumAdapters(UINT index, IDXGIAdapter** adapter)
{
    return EnumAdapters1(index, reinterpret_cast<IDXGIAdapter1**>(adapter));
}

HRESULT Factory::MakeWindowAssociation(HWND window, UINT flags)
{
    if (flags & ~UINT(DXGI_MWA_VALID)) return DXGI_ERROR_INVALID_CALL;
    associatedWindow_ = window;
    return S_OK;
}

HRESULT Factory::GetWindowAssociation(HWND* window)
{
    if (window == nullptr) return DXGI_ERROR_INVALID_CALL;
    *window = associatedWindow_;
    return S_OK;
}

HRESULT Factory::CreateSoftwareAdapter(HMODULE, IDXGIAdapter** adapter)
{
    if (adapter != nullptr) *adapter = nullptr;
    return DXGI_ERROR_UNSUPPORTED;
}

HRESULT Factory::CreateSwapChain(IUnknown* device, DXGI_SWAP_CHAIN_DESC* desc, IDXGISwapChain** swapChain)
{
    if (swapChain != nullptr) *swapChain = nullptr;
    if (desc == nullptr || swapChain == nullptr) return DXGI_ERROR_INVALID_CALL;
    DXGI_SWAP_CHAIN_DESC1 wide{};
    wide.Width = desc->BufferDesc.Width;
    wide.Height = desc->BufferDesc.Height;
    wide.Format = desc->BufferDesc.Format;
    wide.SampleDesc = desc->SampleDesc;
    wide.BufferUsage = desc->BufferUsage;
    wide.BufferCount = desc->BufferCount;
    wide.Scaling = DXGI_SCALING_STRETCH;
    wide.SwapEffect = desc->SwapEffect;
    wide.AlphaMode = DXGI_ALPHA_MODE_UNSPECIFIED;
    wide.Flags = desc->Flags;
    IDXGISwapChain1* made = nullptr;
    const HRESULT result =
        MakeSwapChain("IDXGIFactory::CreateSwapChain", device, desc->OutputWindow, wide, desc->Windowed, &made);
    if (SUCCEEDED(result)) *swapChain = made;
    return result;
}

HRESULT Factory::CreateSwapChainForHwnd(IUnknown* device, HWND window, const DXGI_SWAP_CHAIN_DESC1* desc,
                                        const DXGI_SWAP_CHAIN_FULLSCREEN_DESC* fullscreenDesc,
                                        IDXGIOutput* /*restrictToOutput*/, IDXGISwapChain1** swapChain)
{
    if (swapChain != nullptr) *swapChain = nullptr;
    if (desc == nullptr || swapChain == nullptr) return DXGI_ERROR_INVALID_CALL;
    return MakeSwapChain("IDXGIFactory2::CreateSwapChainForHwnd", device, window, *desc,
                         fullscreenDesc == nullptr ? TRUE : fullscreenDesc->Windowed, swapChain);
}

HRESULT Factory::MakeSwapChain(const char* entryPoint, IUnknown* device, HWND window, const DXGI_SWAP_CHAIN_DESC1& desc,
                               BOOL windowed, IDXGISwapChain1** swapChain)
{
    HRESULT planned;
    if (hooks::PlannedFailure(entryPoint, &planned)) return planned;
    ID3D11Device* d3dDevice = nullptr;
    if (device == nullptr || window == nullptr ||
        FAILED(device->QueryInterface(__uuidof(ID3D11Device), reinterpret_cast<void**>(&d3dDevice)))) {
        ReportError(entryPoint, "the device or the window is missing.");
        return DXGI_ERROR_INVALID_CALL;
    }
    auto* ours = static_cast<Device*>(d3dDevice);
    d3dDevice->Release();
    const bool flip = IsFlipModel(desc.SwapEffect);
    const UINT knownUsage = DXGI_USAGE_SHADER_INPUT | DXGI_USAGE_RENDER_TARGET_OUTPUT | DXGI_USAGE_BACK_BUFFER |
                            DXGI_USAGE_DISCARD_ON_PRESENT;
    if (!IsSwapChainFormat(desc.Format, flip) || desc.BufferCount < (flip ? 2u : 1u) ||
        desc.BufferCount > DXGI_MAX_SWAP_CHAIN_BUFFERS || desc.SampleDesc.Count != 1 || desc.SampleDesc.Quality != 0 ||
        (desc.BufferUsage & ~knownUsage) || desc.Stereo ||
        (desc.SwapEffect != DXGI_SWAP_EFFECT_DISCARD && desc.SwapEffect != DXGI_SWAP_EFFECT_SEQUENTIAL && !flip) ||
        UINT(desc.Scaling) > DXGI_SCALING_ASPECT_RATIO_STRETCH || UINT(desc.AlphaMode) > DXGI_ALPHA_MODE_IGNORE) {
        ReportError(entryPoint, "the description (format %d, %u buffers, effect %d) is not one a swap chain can have.",
                    int(desc.Format), desc.BufferCount, int(desc.SwapEffect));
        return DXGI_ERROR_INVALID_CALL;
    }
    if (hooks::CreationFails()) return E_OUTOFMEMORY;
    if (ours->Removed()) return DXGI_ERROR_DEVICE_REMOVED;
    DXGI_SWAP_CHAIN_DESC1 sized = desc;
    UINT clientWidth;
    UINT clientHeight;
    ClientSize(window, &clientWidth, &clientHeight);
    if (sized.Width == 0) sized.Width = std::max(clientWidth, 1u);
    if (sized.Height == 0) sized.Height = std::max(clientHeight, 1u);
    SwapChain* made = new (std::nothrow) SwapChain(this, ours, window, sized, factory2_);
    if (made == nullptr) return E_OUTOFMEMORY;
    const HRESULT buffers = made->MakeBuffers();
    if (FAILED(buffers)) {
        made->Release();
        return buffers;
    }
    if (!windowed) made->SetFullscreenState(TRUE, nullptr);
    *swapChain = made;
    return S_OK;
}

// ---- Adapter

Adapter::Adapter(Factory* factory, AdapterInfo info) : factory_(factory), info_(std::move(info))
{
    if (!hooks::OutputsAnswer(&outputs_)) {
        for (const OutputInfo& output : info_.outputs) outputs_.push_back(FromBackend(output));
    }
}

HRESULT Adapter::GetParent(REFIID riid, void** parent)
{
    if (parent == nullptr) return DXGI_ERROR_INVALID_CALL;
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGIAdapter::GetParent", &planned)) {
        *parent = nullptr;
        return planned;
    }
    return factory_->QueryInterface(riid, parent);
}

HRESULT Adapter::EnumOutputs(UINT index, IDXGIOutput** output)
{
    if (output == nullptr) return DXGI_ERROR_INVALID_CALL;
    *output = nullptr;
    HRESULT failure;
    if (hooks::PlannedFailure("IDXGIAdapter::EnumOutputs", &failure) || hooks::EnumOutputsFailure(index, &failure)) {
        return failure;
    }
    if (index >= outputs_.size()) return DXGI_ERROR_NOT_FOUND;
    Output* made = new (std::nothrow) Output(this, outputs_[index]);
    if (made == nullptr) return E_OUTOFMEMORY;
    *output = made;
    return S_OK;
}

HRESULT Adapter::GetDesc1(DXGI_ADAPTER_DESC1* desc)
{
    if (desc == nullptr) return E_INVALIDARG;
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGIAdapter::GetDesc", &planned)) return planned;
    *desc = DXGI_ADAPTER_DESC1{};
    CopyName(info_.description, desc->Description, std::size(desc->Description));
    desc->VendorId = info_.vendorId;
    desc->DeviceId = info_.deviceId;
    desc->DedicatedVideoMemory = info_.dedicatedVideoMemory;
    desc->SharedSystemMemory = info_.sharedSystemMemory;
    desc->AdapterLuid = {1, 0};
    desc->Flags = info_.software ? DXGI_ADAPTER_FLAG_SOFTWARE : DXGI_ADAPTER_FLAG_NONE;
    return S_OK;
}

HRESULT Adapter::GetDesc(DXGI_ADAPTER_DESC* desc)
{
    if (desc == nullptr) return E_INVALIDARG;
    DXGI_ADAPTER_DESC1 wide;
    const HRESULT result = GetDesc1(&wide);
    if (FAILED(result)) return result;
    std::memcpy(desc, &wide, sizeof *desc);
    return S_OK;
}

HRESULT Adapter::CheckInterfaceSupport(REFGUID, LARGE_INTEGER*)
{
    // Only the Direct3D 10 device interfaces are asked about here; this layer has none.
    return DXGI_ERROR_UNSUPPORTED;
}

// ---- Output

Output::Output(Adapter* adapter, hooks::OutputHook description)
    : adapter_(adapter), description_(std::move(description))
{}

HRESULT Output::GetParent(REFIID riid, void** parent)
{
    if (parent == nullptr) return DXGI_ERROR_INVALID_CALL;
    return adapter_->QueryInterface(riid, parent);
}

HRESULT Output::GetDesc(DXGI_OUTPUT_DESC* desc)
{
    if (desc == nullptr) return E_INVALIDARG;
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGIOutput::GetDesc", &planned)) return planned;
    if (description_.getDescFails) return E_FAIL;
    *desc = DXGI_OUTPUT_DESC{};
    CopyName(description_.name, desc->DeviceName, std::size(desc->DeviceName));
    desc->DesktopCoordinates = description_.desktop;
    desc->AttachedToDesktop = description_.attached ? TRUE : FALSE;
    desc->Rotation = DXGI_MODE_ROTATION_IDENTITY;
    return S_OK;
}

std::vector<DXGI_MODE_DESC> Output::ModesOf(DXGI_FORMAT format) const
{
    std::vector<DXGI_MODE_DESC> modes;
    for (const DXGI_MODE_DESC& mode : description_.modes) {
        if (mode.Format == format) modes.push_back(mode);
    }
    return modes;
}

HRESULT Output::GetDisplayModeList(DXGI_FORMAT format, UINT /*flags*/, UINT* count, DXGI_MODE_DESC* modes)
{
    if (count == nullptr) return DXGI_ERROR_INVALID_CALL;
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGIOutput::GetDisplayModeList", &planned)) return planned;
    const std::vector<DXGI_MODE_DESC> listed = ModesOf(format);
    if (modes == nullptr) {
        *count = UINT(listed.size());
        // A display whose modes change between the counting call and the reading one.
        if (!grown_ && description_.modesAddedAfterCount > 0 && !listed.empty()) {
            grown_ = true;
            for (UINT added = 1; added <= description_.modesAddedAfterCount; ++added) {
                DXGI_MODE_DESC mode = listed.back();
                mode.Width += 16 * added;
                mode.Height += 16 * added;
                description_.modes.push_back(mode);
            }
        }
        return S_OK;
    }
    if (*count < listed.size()) {
        std::copy(listed.begin(), listed.begin() + *count, modes);
        return DXGI_ERROR_MORE_DATA;
    }
    std::copy(listed.begin(), listed.end(), modes);
    *count = UINT(listed.size());
    return S_OK;
}

HRESULT Output::FindClosestMatchingMode(const DXGI_MODE_DESC* wanted, DXGI_MODE_DESC* closest, IUnknown* device)
{
    if (wanted == nullptr || closest == nullptr) return DXGI_ERROR_INVALID_CALL;
    HRESULT answer;
    if (hooks::ClosestModeAnswer(&answer, closest)) return answer;
    if ((wanted->Width == 0) != (wanted->Height == 0) || (wanted->Format == DXGI_FORMAT_UNKNOWN && device == nullptr)) {
        return DXGI_ERROR_INVALID_CALL;
    }
    const DXGI_FORMAT format = wanted->Format == DXGI_FORMAT_UNKNOWN ? DXGI_FORMAT_B8G8R8A8_UNORM : wanted->Format;
    const std::vector<DXGI_MODE_DESC> listed = ModesOf(format);
    if (listed.empty()) return DXGI_ERROR_NOT_FOUND;
    const bool anySize = wanted->Width == 0;
    const bool anyRate = wanted->RefreshRate.Numerator == 0 || wanted->RefreshRate.Denominator == 0;
    const double wantedRate = anyRate ? 0.0 : double(wanted->RefreshRate.Numerator) / wanted->RefreshRate.Denominator;
    auto rate = [](const DXGI_MODE_DESC& mode) {
        return mode.RefreshRate.Denominator == 0 ? 0.0
                                                 : double(mode.RefreshRate.Numerator) / mode.RefreshRate.Denominator;
    };
    // Nearest size first (the largest without a wish), then the nearest rate (the highest without a wish).
    auto sizeCost = [&](const DXGI_MODE_DESC& mode) {
        if (anySize) return -(double(mode.Width) * mode.Height);
        return std::abs(double(mode.Width) - wanted->Width) + std::abs(double(mode.Height) - wanted->Height);
    };
    auto rateCost = [&](const DXGI_MODE_DESC& mode) {
        return anyRate ? -rate(mode) : std::abs(rate(mode) - wantedRate);
    };
    const DXGI_MODE_DESC* best = &listed.front();
    for (const DXGI_MODE_DESC& mode : listed) {
        const double size = sizeCost(mode);
        const double bestSize = sizeCost(*best);
        if (size < bestSize || (size == bestSize && rateCost(mode) < rateCost(*best))) best = &mode;
    }
    *closest = *best;
    return S_OK;
}

HRESULT Output::TakeOwnership(IUnknown* device, BOOL) { return device == nullptr ? E_INVALIDARG : S_OK; }

// ---- SwapChain

SwapChain::SwapChain(Factory* factory, Device* device, HWND window, const DXGI_SWAP_CHAIN_DESC1& desc,
                     bool answersVersion1)
    : factory_(factory),
      deviceHold_(device),
      device_(device),
      window_(window),
      desc_(desc),
      answersVersion1_(answersVersion1),
      capture_(FrameCapture::FromEnvironment())
{
    hooks::NoteSwapChain(window, this);
}

SwapChain::~SwapChain()
{
    hooks::ForgetSwapChain(this);
    // A swap chain that goes while fullscreen gives the window back its placement.
    if (fullscreen_ && HVU_GetNativeWindow(window_) != nullptr) HVU_SetNativeFullscreen(window_, FALSE);
    for (Texture2D* buffer : buffers_) buffer->ReleaseInternalReference();
}

HRESULT SwapChain::MakeBuffers()
{
    std::vector<Texture2D*> made;
    for (UINT index = 0; index < desc_.BufferCount; ++index) {
        D3D11_TEXTURE2D_DESC texture{};
        texture.Width = desc_.Width;
        texture.Height = desc_.Height;
        texture.MipLevels = 1;
        texture.ArraySize = 1;
        texture.Format = desc_.Format;
        texture.SampleDesc = {1, 0};
        texture.Usage = D3D11_USAGE_DEFAULT;
        texture.BindFlags =
            D3D11_BIND_RENDER_TARGET | ((desc_.BufferUsage & DXGI_USAGE_SHADER_INPUT) ? D3D11_BIND_SHADER_RESOURCE : 0);
        const ResourceShape shape = TextureShape(texture);
        std::unique_ptr<BackendResource> storage = device_->backend().CreateResource(shape, nullptr);
        Texture2D* buffer = storage == nullptr
                                ? nullptr
                                : new (std::nothrow)
                                      Texture2D(device_, texture, shape, std::move(storage), com::StartInternal{});
        if (buffer == nullptr) {
            for (Texture2D* done : made) done->ReleaseInternalReference();
            return E_OUTOFMEMORY;
        }
        made.push_back(buffer);
    }
    for (Texture2D* buffer : buffers_) buffer->ReleaseInternalReference();
    buffers_ = std::move(made);
    return S_OK;
}

void* SwapChain::FindInterface(REFIID riid)
{
    if (riid == __uuidof(IDXGISwapChain1) && !answersVersion1_) return nullptr;
    return FindInChain(riid);
}

HRESULT SwapChain::GetParent(REFIID riid, void** parent)
{
    if (parent == nullptr) return DXGI_ERROR_INVALID_CALL;
    return factory_->QueryInterface(riid, parent);
}

HRESULT SwapChain::GetDevice(REFIID riid, void** device)
{
    if (device == nullptr) return DXGI_ERROR_INVALID_CALL;
    return device_->QueryInterface(riid, device);
}

HRESULT SwapChain::Present(UINT syncInterval, UINT flags)
{
    if (syncInterval > 4) return DXGI_ERROR_INVALID_CALL;
    if (flags & ~UINT(DXGI_PRESENT_TEST | DXGI_PRESENT_DO_NOT_SEQUENCE | DXGI_PRESENT_RESTART)) {
        return DXGI_ERROR_INVALID_CALL;
    }
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGISwapChain::Present", &planned)) return planned;
    if (device_->Removed()) return DXGI_ERROR_DEVICE_REMOVED;
    if (flags & DXGI_PRESENT_TEST) return S_OK;
    Texture2D* buffer = buffers_.front();
    if (capture_ != nullptr) capture_->Present(device_->backend(), buffer->storage(), buffer->shape());
    const HRESULT result = device_->backend().Present(buffer->storage(), buffer->shape(), window_, syncInterval);
    if (SUCCEEDED(result)) ++presents_;
    return result;
}

HRESULT SwapChain::Present1(UINT syncInterval, UINT flags, const DXGI_PRESENT_PARAMETERS*)
{
    return Present(syncInterval, flags);
}

HRESULT SwapChain::GetBuffer(UINT index, REFIID riid, void** surface)
{
    if (surface == nullptr) return DXGI_ERROR_INVALID_CALL;
    *surface = nullptr;
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGISwapChain::GetBuffer", &planned)) return planned;
    // The discard effect lets a program reach only the back buffer.
    if (index >= buffers_.size() || (index > 0 && desc_.SwapEffect == DXGI_SWAP_EFFECT_DISCARD)) {
        return DXGI_ERROR_INVALID_CALL;
    }
    return buffers_[index]->QueryInterface(riid, surface);
}

HRESULT SwapChain::FirstOutput(IDXGIOutput** output)
{
    IDXGIAdapter* adapter = nullptr;
    HRESULT result = device_->GetAdapter(&adapter);
    if (FAILED(result)) return result;
    result = adapter->EnumOutputs(0, output);
    adapter->Release();
    return result;
}

HRESULT SwapChain::SetFullscreenState(BOOL fullscreen, IDXGIOutput* target)
{
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGISwapChain::SetFullscreenState", &planned)) return planned;
    // A real window covers its display in SDL's desktop fullscreen (the display mode stays; the buffers are
    // stretched over it); when that is refused, so is the state, as the platform refuses it.
    const bool real = HVU_GetNativeWindow(window_) != nullptr;
    if (!fullscreen) {
        if (fullscreen_ && real) HVU_SetNativeFullscreen(window_, FALSE);
        fullscreen_ = false;
        target_ = nullptr;
        targetHold_ = {};
        return S_OK;
    }
    const HRESULT allowed = hooks::FullscreenResult();
    if (allowed != S_OK) return allowed;
    IDXGIOutput* output = target;
    if (output == nullptr) {
        const HRESULT found = FirstOutput(&output);
        if (FAILED(found)) return DXGI_ERROR_NOT_CURRENTLY_AVAILABLE;
    } else {
        output->AddRef();
    }
    if (!fullscreen_ && real && !HVU_SetNativeFullscreen(window_, TRUE)) {
        output->Release();
        return DXGI_ERROR_NOT_CURRENTLY_AVAILABLE;
    }
    targetHold_ = com::Held<com::ObjectBase>(static_cast<Output*>(output));
    target_ = output;
    output->Release();
    fullscreen_ = true;
    return S_OK;
}

HRESULT SwapChain::GetFullscreenState(BOOL* fullscreen, IDXGIOutput** target)
{
    HRESULT planned;
    if (hooks::PlannedFailure("IDXGISwapChain::GetFullscreenState", &planned)) return planned;
    if (fullscreen != nullptr) *fullscreen = fullscreen_ ? TRUE : FALSE;
    if (target != nullptr) {
        *target = fullscreen_ ? target_ : nullptr;
        if (*target != nullptr) (*target)->AddRef();
    }
    return S_OK;
}

HRESULT SwapChain::GetDesc(DXGI_SWAP_CHAIN_DESC* desc)
{
    if (desc == nullptr) return DXGI_ERROR_INVALID_CALL;
    *desc = DXGI_SWAP_CHAIN_DESC{};
    desc->BufferDesc = {desc_.Width,
                        desc_.Height,
                        {0, 1},
                        desc_.Format,
                        DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED,
                        DXGI_MODE_SCALING_UNSPECIFIED};
    desc->SampleDesc = desc_.SampleDesc;
    desc->BufferUsage = desc_.BufferUsage;
    desc->BufferCount = desc_.BufferCount;
    desc->OutputWindow = window_;
    desc->Windowed = fullscreen_ ? FALSE : TRUE;
    desc->SwapEffect = desc_.SwapEffect;
    desc->Flags = desc_.Flags;
    return S_OK;
}

HRESULT SwapChain::GetDesc1(DXGI_SWAP_CHAIN_DESC1* desc)
{
    if (desc == nullptr) return DXGI_ERROR_INVALID_CALL;
    *desc = desc_;
    return S_OK;
}

HRESULT SwapChain::GetFullscreenDesc(DXGI_SWAP_CHAIN_FULLSCREEN_DESC* desc)
{
    if (desc == nullptr) return DXGI_ERROR_INVALID_CALL;
    *desc = {{0, 1}, DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED, DXGI_MODE_SCALING_UNSPECIFIED, fullscreen_ ? FALSE : TRUE};
    return S_OK;
}

HRESULT SwapChain::GetHwnd(HWND* window)
{
    if (window == nullptr) return DXGI_ERROR_INVALID_CALL;
    *window = window_;
    return S_OK;
}

HRESULT SwapChain::GetRestrictToOutput(IDXGIOutput** output)
{
    if (output == nullptr) return DXGI_ERROR_INVALID_CALL;
    *output = nullptr;
    return S_OK;
}

bool SwapChain::BuffersInUse() const
{
    return std::any_of(buffers_.begin(), buffers_.end(), [](const Texture2D* buffer) {
        return buffer->HandedOutReferences() > 0 || buffer->InternalReferences() > 1;
    });
}

HRESULT SwapChain::ResizeBuffers(UINT count, UINT width, UINT height, DXGI_FORMAT format, UINT flags)
{
    static const char* const kEntry = "IDXGISwapChain::ResizeBuffers";
    HRESULT planned;
    if (hooks::PlannedFailure(kEntry, &planned)) return planned;
    if (BuffersInUse()) {
        ReportError(kEntry, "references to the buffers, or views of them, are still alive or bound.");
        return DXGI_ERROR_INVALID_CALL;
    }
    const bool flip = IsFlipModel(desc_.SwapEffect);
    DXGI_SWAP_CHAIN_DESC1 resized = desc_;
    if (count != 0) resized.BufferCount = count;
    if (format != DXGI_FORMAT_UNKNOWN) resized.Format = format;
    if (resized.BufferCount > DXGI_MAX_SWAP_CHAIN_BUFFERS || resized.BufferCount < (flip ? 2u : 1u) ||
        !IsSwapChainFormat(resized.Format, flip)) {
        ReportError(kEntry, "%u buffers of format %d are not possible for this swap chain.", resized.BufferCount,
                    int(resized.Format));
        return DXGI_ERROR_INVALID_CALL;
    }
    UINT clientWidth;
    UINT clientHeight;
    ClientSize(window_, &clientWidth, &clientHeight);
    resized.Width = width != 0 ? width : std::max(clientWidth, 1u);
    resized.Height = height != 0 ? height : std::max(clientHeight, 1u);
    resized.Flags = flags;
    if (device_->Removed()) return DXGI_ERROR_DEVICE_REMOVED;
    const DXGI_SWAP_CHAIN_DESC1 previous = desc_;
    desc_ = resized;
    const HRESULT made = MakeBuffers();
    if (FAILED(made)) desc_ = previous;
    return made;
}

HRESULT SwapChain::ResizeTarget(const DXGI_MODE_DESC* mode)
{
    if (mode == nullptr) return DXGI_ERROR_INVALID_CALL;
    if (!fullscreen_ && mode->Width != 0 && mode->Height != 0) {
        RECT frame{0, 0, LONG(mode->Width), LONG(mode->Height)};
        const DWORD style = DWORD(GetWindowLongPtrA(window_, GWL_STYLE));
        AdjustWindowRectEx(&frame, style, FALSE, DWORD(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return S_OK;
}

HRESULT SwapChain::GetContainingOutput(IDXGIOutput** output)
{
    if (output == nullptr) return DXGI_ERROR_INVALID_CALL;
    *output = nullptr;
    return FirstOutput(output);
}

HRESULT SwapChain::GetFrameStatistics(DXGI_FRAME_STATISTICS* statistics)
{
    if (statistics == nullptr) return DXGI_ERROR_INVALID_CALL;
    *statistics = DXGI_FRAME_STATISTICS{};
    statistics->PresentCount = presents_;
    return S_OK;
}

HRESULT SwapChain::GetLastPresentCount(UINT* count)
{
    if (count == nullptr) return DXGI_ERROR_INVALID_CALL;
    *count = presents_;
    return S_OK;
}

}  // namespace halvo::d3d11

extern "C" IDXGISwapChain* HalvoD3D11_SwapChainOfWindow(HWND window)
{
    return halvo::d3d11::hooks::SwapChainOfWindow(window);
}

extern "C" UINT HalvoD3D11_PresentCount(IDXGISwapChain* swapChain)
{
    return swapChain == nullptr ? 0 : static_cast<halvo::d3d11::SwapChain*>(swapChain)->presents();
}
