// DXGI 1.2: the second factory and swap chain, with swap chains made for a
// window from a DXGI_SWAP_CHAIN_DESC1.
#pragma once

#include <dxgi.h>

typedef enum DXGI_SCALING {
    DXGI_SCALING_STRETCH = 0,
    DXGI_SCALING_NONE = 1,
    DXGI_SCALING_ASPECT_RATIO_STRETCH = 2
} DXGI_SCALING;

typedef enum DXGI_ALPHA_MODE {
    DXGI_ALPHA_MODE_UNSPECIFIED = 0,
    DXGI_ALPHA_MODE_PREMULTIPLIED = 1,
    DXGI_ALPHA_MODE_STRAIGHT = 2,
    DXGI_ALPHA_MODE_IGNORE = 3,
    DXGI_ALPHA_MODE_FORCE_DWORD = 0xffffffff
} DXGI_ALPHA_MODE;

typedef struct DXGI_SWAP_CHAIN_DESC1 {
    UINT Width;
    UINT Height;
    DXGI_FORMAT Format;
    BOOL Stereo;
    DXGI_SAMPLE_DESC SampleDesc;
    DXGI_USAGE BufferUsage;
    UINT BufferCount;
    DXGI_SCALING Scaling;
    DXGI_SWAP_EFFECT SwapEffect;
    DXGI_ALPHA_MODE AlphaMode;
    UINT Flags;
} DXGI_SWAP_CHAIN_DESC1;

typedef struct DXGI_SWAP_CHAIN_FULLSCREEN_DESC {
    DXGI_RATIONAL RefreshRate;
    DXGI_MODE_SCANLINE_ORDER ScanlineOrdering;
    DXGI_MODE_SCALING Scaling;
    BOOL Windowed;
} DXGI_SWAP_CHAIN_FULLSCREEN_DESC;

typedef struct DXGI_PRESENT_PARAMETERS {
    UINT DirtyRectsCount;
    RECT* pDirtyRects;
    RECT* pScrollRect;
    POINT* pScrollOffset;
} DXGI_PRESENT_PARAMETERS;

DEFINE_GUID(IID_IDXGISwapChain1, 0x790a45f7, 0x0d42, 0x4876, 0x98, 0x3a, 0x0a, 0x55, 0xcf, 0xe6, 0xf4, 0xaa);
DEFINE_GUID(IID_IDXGIFactory2, 0x50c83a1c, 0xe072, 0x4c48, 0x87, 0xb0, 0x36, 0x30, 0xfa, 0x36, 0xa6, 0xd0);

struct IDXGISwapChain1 : public IDXGISwapChain {
    STDMETHOD(GetDesc1)(DXGI_SWAP_CHAIN_DESC1* pDesc) PURE;
    STDMETHOD(GetFullscreenDesc)(DXGI_SWAP_CHAIN_FULLSCREEN_DESC* pDesc) PURE;
    STDMETHOD(GetHwnd)(HWND* pHwnd) PURE;
    STDMETHOD(Present1)(UINT SyncInterval, UINT PresentFlags, const DXGI_PRESENT_PARAMETERS* pPresentParameters) PURE;
    STDMETHOD_(BOOL, IsTemporaryMonoSupported)() PURE;
    STDMETHOD(GetRestrictToOutput)(IDXGIOutput** ppRestrictToOutput) PURE;
};

struct IDXGIFactory2 : public IDXGIFactory1 {
    STDMETHOD_(BOOL, IsWindowedStereoEnabled)() PURE;
    STDMETHOD(CreateSwapChainForHwnd)
    (IUnknown* pDevice, HWND hWnd, const DXGI_SWAP_CHAIN_DESC1* pDesc,
     const DXGI_SWAP_CHAIN_FULLSCREEN_DESC* pFullscreenDesc, IDXGIOutput* pRestrictToOutput,
     IDXGISwapChain1** ppSwapChain) PURE;
};

DECLARE_UUIDOF(IDXGISwapChain1, IID_IDXGISwapChain1);
DECLARE_UUIDOF(IDXGIFactory2, IID_IDXGIFactory2);
