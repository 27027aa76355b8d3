// Our Direct3D 11 and DXGI layer's own additions for tests, never part of
// the platform's interface: they make the layer answer as a particular
// system would (which driver types and interfaces exist, what formats and
// features it supports, its outputs and display modes) and make calls fail
// on purpose. Every hook stays set until HalvoD3D11_ResetHooks.
//
// The back end is chosen when a factory or device is made, from the
// environment variable HALVO_D3D11_BACKEND, a list of back ends separated by
// ',' tried in order ("memory" when unset or when none of them can start):
//   memory   every subresource in CPU memory, draws recorded but not drawn
#pragma once

#include <d3d11_1.h>
#include <dxgi1_2.h>

#ifdef __cplusplus
extern "C" {
#endif

// Back to the system as the back end describes it, with no failures planned.
void HalvoD3D11_ResetHooks(void);

// The n-th call from now (1 for the next) of the named entry point answers
// `result` and does nothing else. Names are "D3D11CreateDevice",
// "CreateDXGIFactory1" or "Interface::Method" ("ID3D11Device::CreateTexture2D",
// "IDXGIOutput::GetDesc", "IDXGISwapChain::Present").
void HalvoD3D11_FailCall(const char* entryPoint, UINT n, HRESULT result);

// Every creation from the n-th on (1 for the next) fails with E_OUTOFMEMORY:
// D3D11CreateDevice, CreateDXGIFactory(1), the device's Create* methods and
// the factories' CreateSwapChain*. 0 ends it. For leak sweeps checked
// against the live-object count.
void HalvoD3D11_FailCreationsFrom(UINT n);
// The creations counted since the last reset (successful or failed).
UINT HalvoD3D11_CreationCount(void);

// The device is removed: from now on it answers `reason` from
// GetDeviceRemovedReason and DXGI_ERROR_DEVICE_REMOVED where the platform does.
void HalvoD3D11_RemoveDevice(ID3D11Device* device, HRESULT reason);

// Whether a driver type exists, and the highest feature level it runs
// (0 removes it). Unset types follow the back end (WARP for a CPU device,
// HARDWARE for a GPU).
void HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE type, D3D_FEATURE_LEVEL highestLevel);
// Whether the runtime knows feature level 11_1: without it, a list naming
// 11_1 is refused with E_INVALIDARG, as an older runtime does.
void HalvoD3D11_SetRuntimeKnowsLevel11_1(BOOL known);
// Whether IDXGIFactory2 and ID3D11Device1 exist.
void HalvoD3D11_SetInterfacesPresent(BOOL factory2, BOOL device1);

// CheckFormatSupport answers `support` for the format (and S_OK when
// support is not 0, E_FAIL when it is).
void HalvoD3D11_SetFormatSupport(DXGI_FORMAT format, UINT support);
// CheckFeatureSupport for the feature answers `result` and copies `data`
// (size bytes, when result succeeds).
void HalvoD3D11_SetFeatureAnswer(D3D11_FEATURE feature, HRESULT result, const void* data, UINT size);

// One output of the adapter as tests describe it.
typedef struct HALVO_D3D11_OUTPUT {
    const WCHAR* name;
    RECT desktop;
    BOOL attached;
    BOOL getDescFails;            // GetDesc answers E_FAIL
    const DXGI_MODE_DESC* modes;  // the display-mode list, in order
    UINT modeCount;
    UINT modesAddedAfterCount;  // the list grows by this many modes after a call that only counted
} HALVO_D3D11_OUTPUT;
// The adapter's outputs replace those of the back end (count 0: none).
void HalvoD3D11_SetOutputs(const HALVO_D3D11_OUTPUT* outputs, UINT count);
// EnumAdapters answers `result` for index 0 (S_OK restores the adapter).
void HalvoD3D11_SetAdapterResult(HRESULT result);
// EnumOutputs answers `result` at index k.
void HalvoD3D11_FailEnumOutputsAt(UINT k, HRESULT result);
// FindClosestMatchingMode answers `result` and, when it succeeds, `mode`.
void HalvoD3D11_SetClosestMode(HRESULT result, const DXGI_MODE_DESC* mode);
// SetFullscreenState(TRUE) answers `result` (S_OK allows it again).
void HalvoD3D11_SetFullscreenResult(HRESULT result);

// Draw calls that passed validation and reached the back end, for the device.
UINT64 HalvoD3D11_DrawCount(ID3D11Device* device);
// The back end the device runs on ("memory").
const char* HalvoD3D11_BackendName(ID3D11Device* device);
// The newest swap chain alive that presents to the window, or null; no
// reference is added. For tests of code that keeps its swap chain to itself.
IDXGISwapChain* HalvoD3D11_SwapChainOfWindow(HWND window);
// Presents that reached the back end for the swap chain.
UINT HalvoD3D11_PresentCount(IDXGISwapChain* swapChain);

// Lines that the layer logged where the platform's debug layer would
// complain ("D3D11 ERROR: ..."), oldest first, since the last reset (the
// first 4096 are kept); each also goes to OutputDebugStringA. Null past the
// last.
UINT HalvoD3D11_MessageCount(void);
const char* HalvoD3D11_Message(UINT index);

#ifdef __cplusplus
}
#endif
