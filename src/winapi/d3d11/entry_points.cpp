// D3D11CreateDevice, CreateDXGIFactory and CreateDXGIFactory1.
#include <d3d11_1.h>

#include <algorithm>
#include <iterator>

#include "winapi/d3d11/context.h"
#include "winapi/d3d11/device.h"
#include "winapi/d3d11/dxgi_objects.h"
#include "winapi/d3d11/hooks.h"

using namespace halvo::d3d11;

namespace {

constexpr D3D_FEATURE_LEVEL kDefaultLevels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
                                                D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,  D3D_FEATURE_LEVEL_9_1};

constexpr UINT kKnownCreationFlags =
    D3D11_CREATE_DEVICE_SINGLETHREADED | D3D11_CREATE_DEVICE_DEBUG | D3D11_CREATE_DEVICE_SWITCH_TO_REF |
    D3D11_CREATE_DEVICE_PREVENT_INTERNAL_THREADING_OPTIMIZATIONS | D3D11_CREATE_DEVICE_BGRA_SUPPORT |
    D3D11_CREATE_DEVICE_DEBUGGABLE | D3D11_CREATE_DEVICE_PREVENT_ALTERING_LAYER_SETTINGS_FROM_REGISTRY |
    D3D11_CREATE_DEVICE_DISABLE_GPU_TIMEOUT | D3D11_CREATE_DEVICE_VIDEO_SUPPORT;

bool IsLevel(D3D_FEATURE_LEVEL level)
{
    switch (level) {
    case D3D_FEATURE_LEVEL_9_1:
    case D3D_FEATURE_LEVEL_9_2:
    case D3D_FEATURE_LEVEL_9_3:
    case D3D_FEATURE_LEVEL_10_0:
    case D3D_FEATURE_LEVEL_10_1:
    case D3D_FEATURE_LEVEL_11_0:
    case D3D_FEATURE_LEVEL_11_1: return true;
    }
    return false;
}

// The highest level a driver type runs on this system; false when the type is not there.
bool DriverTypeLevel(D3D_DRIVER_TYPE type, const AdapterInfo& adapter, D3D_FEATURE_LEVEL* level)
{
    if (hooks::DriverTypeLevel(type, level)) return *level != 0;
    const D3D_DRIVER_TYPE backendType = adapter.software ? D3D_DRIVER_TYPE_WARP : D3D_DRIVER_TYPE_HARDWARE;
    if (type != backendType && type != D3D_DRIVER_TYPE_UNKNOWN) return false;
    *level = adapter.highestFeatureLevel;
    return true;
}

}  // namespace

extern "C" HRESULT WINAPI D3D11CreateDevice(IDXGIAdapter* pAdapter, D3D_DRIVER_TYPE DriverType, HMODULE Software,
                                            UINT Flags, const D3D_FEATURE_LEVEL* pFeatureLevels, UINT FeatureLevels,
                                            UINT SDKVersion, ID3D11Device** ppDevice, D3D_FEATURE_LEVEL* pFeatureLevel,
                                            ID3D11DeviceContext** ppImmediateContext)
{
    static const char* const kEntry = "D3D11CreateDevice";
    if (ppDevice != nullptr) *ppDevice = nullptr;
    if (ppImmediateContext != nullptr) *ppImmediateContext = nullptr;
    HRESULT planned;
    if (hooks::PlannedFailure(kEntry, &planned)) return planned;
    if (SDKVersion != D3D11_SDK_VERSION) return E_INVALIDARG;
    if ((pAdapter != nullptr) != (DriverType == D3D_DRIVER_TYPE_UNKNOWN) ||
        (Software != nullptr) != (DriverType == D3D_DRIVER_TYPE_SOFTWARE) || (Flags & ~kKnownCreationFlags)) {
        return E_INVALIDARG;
    }
    const D3D_FEATURE_LEVEL* levels = pFeatureLevels != nullptr ? pFeatureLevels : kDefaultLevels;
    const UINT levelCount = pFeatureLevels != nullptr ? FeatureLevels : UINT(std::size(kDefaultLevels));
    if (levelCount == 0) return E_INVALIDARG;
    for (UINT index = 0; index < levelCount; ++index) {
        // A runtime older than 11.1 does not know that level and refuses the list.
        if (!IsLevel(levels[index]) || (levels[index] == D3D_FEATURE_LEVEL_11_1 && !hooks::RuntimeKnowsLevel11_1())) {
            return E_INVALIDARG;
        }
    }

    // The adapter the device runs on: the given one, or the first of a new factory.
    IDXGIAdapter* adapter = pAdapter;
    if (adapter != nullptr) {
        adapter->AddRef();
    } else {
        Factory* factory = nullptr;
        HRESULT made = Factory::Create(nullptr, &factory);
        if (FAILED(made)) return made;
        made = factory->EnumAdapters(0, &adapter);
        factory->Release();
        if (FAILED(made)) return made;
    }
    auto* ours = static_cast<Adapter*>(adapter);
    D3D_FEATURE_LEVEL highest;
    if (!DriverTypeLevel(DriverType, ours->info(), &highest)) {
        adapter->Release();
        return DXGI_ERROR_UNSUPPORTED;
    }
    const D3D_FEATURE_LEVEL* chosen =
        std::find_if(levels, levels + levelCount, [&](D3D_FEATURE_LEVEL level) { return level <= highest; });
    if (chosen == levels + levelCount) {
        adapter->Release();
        return E_INVALIDARG;
    }
    if (pFeatureLevel != nullptr) *pFeatureLevel = *chosen;
    if (ppDevice == nullptr && ppImmediateContext == nullptr) {
        adapter->Release();
        return S_FALSE;
    }
    Device* device = nullptr;
    const HRESULT made = Device::Create(ours->factory()->backend(), ours, DriverType, *chosen, Flags, &device);
    adapter->Release();
    if (FAILED(made)) return made;
    if (ppImmediateContext != nullptr) device->GetImmediateContext(ppImmediateContext);
    if (ppDevice != nullptr) {
        *ppDevice = device;
    } else {
        device->Release();
    }
    return S_OK;
}

namespace {

HRESULT CreateFactory(const char* entryPoint, REFIID riid, void** factory)
{
    if (factory == nullptr) return E_INVALIDARG;
    *factory = nullptr;
    Factory* made = nullptr;
    const HRESULT result = Factory::Create(entryPoint, &made);
    if (FAILED(result)) return result;
    const HRESULT answered = made->QueryInterface(riid, factory);
    made->Release();
    return answered;
}

}  // namespace

extern "C" HRESULT WINAPI CreateDXGIFactory(REFIID riid, void** ppFactory)
{
    return CreateFactory("CreateDXGIFactory", riid, ppFactory);
}

extern "C" HRESULT WINAPI CreateDXGIFactory1(REFIID riid, void** ppFactory)
{
    return CreateFactory("CreateDXGIFactory1", riid, ppFactory);
}
