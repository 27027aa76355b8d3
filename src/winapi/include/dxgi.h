// DXGI: factories, adapters, outputs and their display modes, swap chains.
// Our layer provides the adapters and outputs that its back end reports
// (see src/winapi/d3d11); without a display a swap chain keeps its own
// buffers.
#pragma once

#include <dxgitype.h>
#include <unknwn.h>
#include <windows.h>

#define DXGI_USAGE_SHADER_INPUT 0x00000010UL
#define DXGI_USAGE_RENDER_TARGET_OUTPUT 0x00000020UL
#define DXGI_USAGE_BACK_BUFFER 0x00000040UL
#define DXGI_USAGE_SHARED 0x00000080UL
#define DXGI_USAGE_READ_ONLY 0x00000100UL
#define DXGI_USAGE_DISCARD_ON_PRESENT 0x00000200UL
#define DXGI_USAGE_UNORDERED_ACCESS 0x00000400UL
typedef UINT DXGI_USAGE;

#define DXGI_MAX_SWAP_CHAIN_BUFFERS 16

#define DXGI_ENUM_MODES_INTERLACED 1UL
#define DXGI_ENUM_MODES_SCALING 2UL

#define DXGI_PRESENT_TEST 0x00000001UL
#define DXGI_PRESENT_DO_NOT_SEQUENCE 0x00000002UL
#define DXGI_PRESENT_RESTART 0x00000004UL

#define DXGI_MWA_NO_WINDOW_CHANGES (1 << 0)
#define DXGI_MWA_NO_ALT_ENTER (1 << 1)
#define DXGI_MWA_NO_PRINT_SCREEN (1 << 2)
#define DXGI_MWA_VALID (0x7)

#define DXGI_ADAPTER_FLAG_NONE 0
#define DXGI_ADAPTER_FLAG_REMOTE 1
#define DXGI_ADAPTER_FLAG_SOFTWARE 2

typedef enum DXGI_SWAP_EFFECT {
    DXGI_SWAP_EFFECT_DISCARD = 0,
    DXGI_SWAP_EFFECT_SEQUENTIAL = 1,
    DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL = 3,
    DXGI_SWAP_EFFECT_FLIP_DISCARD = 4
} DXGI_SWAP_EFFECT;

typedef enum DXGI_SWAP_CHAIN_FLAG {
    DXGI_SWAP_CHAIN_FLAG_NONPREROTATED = 1,
    DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH = 2,
    DXGI_SWAP_CHAIN_FLAG_GDI_COMPATIBLE = 4
} DXGI_SWAP_CHAIN_FLAG;

typedef struct DXGI_SWAP_CHAIN_DESC {
    DXGI_MODE_DESC BufferDesc;
    DXGI_SAMPLE_DESC SampleDesc;
    DXGI_USAGE BufferUsage;
    UINT BufferCount;
    HWND OutputWindow;
    BOOL Windowed;
    DXGI_SWAP_EFFECT SwapEffect;
    UINT Flags;
} DXGI_SWAP_CHAIN_DESC;

typedef struct DXGI_ADAPTER_DESC {
    WCHAR Description[128];
    UINT VendorId;
    UINT DeviceId;
    UINT SubSysId;
    UINT Revision;
    SIZE_T DedicatedVideoMemory;
    SIZE_T DedicatedSystemMemory;
    SIZE_T SharedSystemMemory;
    LUID AdapterLuid;
} DXGI_ADAPTER_DESC;

typedef struct DXGI_ADAPTER_DESC1 {
    WCHAR Description[128];
    UINT VendorId;
    UINT DeviceId;
    UINT SubSysId;
    UINT Revision;
    SIZE_T DedicatedVideoMemory;
    SIZE_T DedicatedSystemMemory;
    SIZE_T SharedSystemMemory;
    LUID AdapterLuid;
    UINT Flags;
} DXGI_ADAPTER_DESC1;

typedef struct DXGI_OUTPUT_DESC {
    WCHAR DeviceName[32];
    RECT DesktopCoordinates;
    BOOL AttachedToDesktop;
    DXGI_MODE_ROTATION Rotation;
    HMONITOR Monitor;
} DXGI_OUTPUT_DESC;

typedef struct DXGI_FRAME_STATISTICS {
    UINT PresentCount;
    UINT PresentRefreshCount;
    UINT SyncRefreshCount;
    LARGE_INTEGER SyncQPCTime;
    LARGE_INTEGER SyncGPUTime;
} DXGI_FRAME_STATISTICS;

DEFINE_GUID(IID_IDXGIObject, 0xaec22fb8, 0x76f3, 0x4639, 0x9b, 0xe0, 0x28, 0xeb, 0x43, 0xa6, 0x7a, 0x2e);
DEFINE_GUID(IID_IDXGIDeviceSubObject, 0x3d3e0379, 0xf9de, 0x4d58, 0xbb, 0x6c, 0x18, 0xd6, 0x29, 0x92, 0xf1, 0xa6);
DEFINE_GUID(IID_IDXGIAdapter, 0x2411e7e1, 0x12ac, 0x4ccf, 0xbd, 0x14, 0x97, 0x98, 0xe8, 0x53, 0x4d, 0xc0);
DEFINE_GUID(IID_IDXGIAdapter1, 0x29038f61, 0x3839, 0x4626, 0x91, 0xfd, 0x08, 0x68, 0x79, 0x01, 0x1a, 0x05);
DEFINE_GUID(IID_IDXGIOutput, 0xae02eedb, 0xc735, 0x4690, 0x8d, 0x52, 0x5a, 0x8d, 0xc2, 0x02, 0x13, 0xaa);
DEFINE_GUID(IID_IDXGISwapChain, 0x310d36a0, 0xd2e7, 0x4c0a, 0xaa, 0x04, 0x6a, 0x9d, 0x23, 0xb8, 0x88, 0x6a);
DEFINE_GUID(IID_IDXGIFactory, 0x7b7166ec, 0x21c7, 0x44ae, 0xb2, 0x1a, 0xc9, 0xae, 0x32, 0x1a, 0xe3, 0x69);
DEFINE_GUID(IID_IDXGIFactory1, 0x770aae78, 0xf26f, 0x4dba, 0xa8, 0x29, 0x25, 0x3c, 0x83, 0xd1, 0xb3, 0x87);
DEFINE_GUID(IID_IDXGIDevice, 0x54ec77fa, 0x1377, 0x44e6, 0x8c, 0x32, 0x88, 0xfd, 0x5f, 0x44, 0xc8, 0x4c);

struct IDXGIAdapter;
struct IDXGIOutput;

struct IDXGIObject : public IUnknown {
    STDMETHOD(SetPrivateData)(REFGUID Name, UINT DataSize, const void* pData) PURE;
    STDMETHOD(SetPrivateDataInterface)(REFGUID Name, const IUnknown* pUnknown) PURE;
    STDMETHOD(GetPrivateData)(REFGUID Name, UINT* pDataSize, void* pData) PURE;
    STDMETHOD(GetParent)(REFIID riid, void** ppParent) PURE;
};

struct IDXGIDeviceSubObject : public IDXGIObject {
    STDMETHOD(GetDevice)(REFIID riid, void** ppDevice) PURE;
};

struct IDXGIOutput : public IDXGIObject {
    STDMETHOD(GetDesc)(DXGI_OUTPUT_DESC* pDesc) PURE;
    STDMETHOD(GetDisplayModeList)(DXGI_FORMAT EnumFormat, UINT Flags, UINT* pNumModes, DXGI_MODE_DESC* pDesc) PURE;
    STDMETHOD(FindClosestMatchingMode)
    (const DXGI_MODE_DESC* pModeToMatch, DXGI_MODE_DESC* pClosestMatch, IUnknown* pConcernedDevice) PURE;
    STDMETHOD(WaitForVBlank)() PURE;
    STDMETHOD(TakeOwnership)(IUnknown* pDevice, BOOL Exclusive) PURE;
    STDMETHOD_(void, ReleaseOwnership)() PURE;
};

struct IDXGIAdapter : public IDXGIObject {
    STDMETHOD(EnumOutputs)(UINT Output, IDXGIOutput** ppOutput) PURE;
    STDMETHOD(GetDesc)(DXGI_ADAPTER_DESC* pDesc) PURE;
    STDMETHOD(CheckInterfaceSupport)(REFGUID InterfaceName, LARGE_INTEGER* pUMDVersion) PURE;
};

struct IDXGIAdapter1 : public IDXGIAdapter {
    STDMETHOD(GetDesc1)(DXGI_ADAPTER_DESC1* pDesc) PURE;
};

struct IDXGISwapChain : public IDXGIDeviceSubObject {
    STDMETHOD(Present)(UINT SyncInterval, UINT Flags) PURE;
    STDMETHOD(GetBuffer)(UINT Buffer, REFIID riid, void** ppSurface) PURE;
    STDMETHOD(SetFullscreenState)(BOOL Fullscreen, IDXGIOutput* pTarget) PURE;
    STDMETHOD(GetFullscreenState)(BOOL* pFullscreen, IDXGIOutput** ppTarget) PURE;
    STDMETHOD(GetDesc)(DXGI_SWAP_CHAIN_DESC* pDesc) PURE;
    STDMETHOD(ResizeBuffers)
    (UINT BufferCount, UINT Width, UINT Height, DXGI_FORMAT NewFormat, UINT SwapChainFlags) PURE;
    STDMETHOD(ResizeTarget)(const DXGI_MODE_DESC* pNewTargetParameters) PURE;
    STDMETHOD(GetContainingOutput)(IDXGIOutput** ppOutput) PURE;
    STDMETHOD(GetFrameStatistics)(DXGI_FRAME_STATISTICS* pStats) PURE;
    STDMETHOD(GetLastPresentCount)(UINT* pLastPresentCount) PURE;
};

struct IDXGIFactory : public IDXGIObject {
    STDMETHOD(EnumAdapters)(UINT Adapter, IDXGIAdapter** ppAdapter) PURE;
    STDMETHOD(MakeWindowAssociation)(HWND WindowHandle, UINT Flags) PURE;
    STDMETHOD(GetWindowAssociation)(HWND* pWindowHandle) PURE;
    STDMETHOD(CreateSwapChain)(IUnknown* pDevice, DXGI_SWAP_CHAIN_DESC* pDesc, IDXGISwapChain** ppSwapChain) PURE;
    STDMETHOD(CreateSoftwareAdapter)(HMODULE Module, IDXGIAdapter** ppAdapter) PURE;
};

struct IDXGIFactory1 : public IDXGIFactory {
    STDMETHOD(EnumAdapters1)(UINT Adapter, IDXGIAdapter1** ppAdapter) PURE;
    STDMETHOD_(BOOL, IsCurrent)() PURE;
};

struct IDXGIDevice : public IDXGIObject {
    STDMETHOD(GetAdapter)(IDXGIAdapter** pAdapter) PURE;
    STDMETHOD(SetGPUThreadPriority)(INT Priority) PURE;
    STDMETHOD(GetGPUThreadPriority)(INT* pPriority) PURE;
};

DECLARE_UUIDOF(IDXGIObject, IID_IDXGIObject);
DECLARE_UUIDOF(IDXGIDeviceSubObject, IID_IDXGIDeviceSubObject);
DECLARE_UUIDOF(IDXGIAdapter, IID_IDXGIAdapter);
DECLARE_UUIDOF(IDXGIAdapter1, IID_IDXGIAdapter1);
DECLARE_UUIDOF(IDXGIOutput, IID_IDXGIOutput);
DECLARE_UUIDOF(IDXGISwapChain, IID_IDXGISwapChain);
DECLARE_UUIDOF(IDXGIFactory, IID_IDXGIFactory);
DECLARE_UUIDOF(IDXGIFactory1, IID_IDXGIFactory1);
DECLARE_UUIDOF(IDXGIDevice, IID_IDXGIDevice);

#ifdef __cplusplus
extern "C" {
#endif
// A factory of the interface riid (IDXGIFactory, IDXGIFactory1 or, where
// the system has it, IDXGIFactory2).
HRESULT WINAPI CreateDXGIFactory(REFIID riid, void** ppFactory);
HRESULT WINAPI CreateDXGIFactory1(REFIID riid, void** ppFactory);
#ifdef __cplusplus
}
#endif
