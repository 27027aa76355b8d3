#pragma once

#include <dxgi1_2.h>

#include <memory>
#include <vector>

#include "winapi/com/com_object.h"
#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/frame_capture.h"
#include "winapi/d3d11/hooks.h"
#include "winapi/d3d11/private_data.h"

namespace halvo::d3d11 {

class Device;
class Texture2D;

// IDXGIObject's private data for every DXGI object.
template <typename Primary, typename... Bases>
using DxgiObject = WithPrivateData<com::Object<Primary, Bases..., IDXGIObject>>;

class Factory final : public DxgiObject<IDXGIFactory2, IDXGIFactory1, IDXGIFactory> {
public:
    // E_OUTOFMEMORY (or the planned failure of entryPoint, when one is named)
    // when it cannot be made.
    static HRESULT Create(const char* entryPoint, Factory** factory);

    HRESULT STDMETHODCALLTYPE GetParent(REFIID riid, void** parent) override;
    HRESULT STDMETHODCALLTYPE EnumAdapters(UINT index, IDXGIAdapter** adapter) override;
    HRESULT STDMETHODCALLTYPE MakeWindowAssociation(HWND window, UINT flags) override;
    HRESULT STDMETHODCALLTYPE GetWindowAssociation(HWND* window) override;
    HRESULT STDMETHODCALLTYPE CreateSwapChain(IUnknown* device, DXGI_SWAP_CHAIN_DESC* desc,
                                              IDXGISwapChain** swapChain) override;
    HRESULT STDMETHODCALLTYPE CreateSoftwareAdapter(HMODULE module, IDXGIAdapter** adapter) override;
    HRESULT STDMETHODCALLTYPE EnumAdapters1(UINT index, IDXGIAdapter1** adapter) override;
    BOOL STDMETHODCALLTYPE IsCurrent() override { return TRUE; }
    BOOL STDMETHODCALLTYPE IsWindowedStereoEnabled() override { return FALSE; }
    HRESULT STDMETHODCALLTYPE CreateSwapChainForHwnd(IUnknown* device, HWND window, const DXGI_SWAP_CHAIN_DESC1* desc,
                                                     const DXGI_SWAP_CHAIN_FULLSCREEN_DESC* fullscreenDesc,
                                                     IDXGIOutput* restrictToOutput,
                                                     IDXGISwapChain1** swapChain) override;

    const std::shared_ptr<Backend>& backend() const { return backend_; }
    bool factory2() const { return factory2_; }

private:
    explicit Factory(std::shared_ptr<Backend> backend);
    void* FindInterface(REFIID riid) override;
    HRESULT MakeSwapChain(const char* entryPoint, IUnknown* device, HWND window, const DXGI_SWAP_CHAIN_DESC1& desc,
                          BOOL windowed, IDXGISwapChain1** swapChain);

    std::shared_ptr<Backend> backend_;
    const bool factory2_;
    HWND associatedWindow_ = nullptr;
};

class Adapter final : public DxgiObject<IDXGIAdapter1, IDXGIAdapter> {
public:
    Adapter(Factory* factory, AdapterInfo info);

    HRESULT STDMETHODCALLTYPE GetParent(REFIID riid, void** parent) override;
    HRESULT STDMETHODCALLTYPE EnumOutputs(UINT index, IDXGIOutput** output) override;
    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_ADAPTER_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetDesc1(DXGI_ADAPTER_DESC1* desc) override;
    HRESULT STDMETHODCALLTYPE CheckInterfaceSupport(REFGUID interfaceName, LARGE_INTEGER* version) override;

    Factory* factory() const { return factory_.get(); }
    const AdapterInfo& info() const { return info_; }

private:
    com::Held<Factory> factory_;
    AdapterInfo info_;
    std::vector<hooks::OutputHook> outputs_;
};

class Output final : public DxgiObject<IDXGIOutput> {
public:
    Output(Adapter* adapter, hooks::OutputHook description);

    HRESULT STDMETHODCALLTYPE GetParent(REFIID riid, void** parent) override;
    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_OUTPUT_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetDisplayModeList(DXGI_FORMAT format, UINT flags, UINT* count,
                                                 DXGI_MODE_DESC* modes) override;
    HRESULT STDMETHODCALLTYPE FindClosestMatchingMode(const DXGI_MODE_DESC* wanted, DXGI_MODE_DESC* closest,
                                                      IUnknown* device) override;
    HRESULT STDMETHODCALLTYPE WaitForVBlank() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TakeOwnership(IUnknown* device, BOOL exclusive) override;
    void STDMETHODCALLTYPE ReleaseOwnership() override {}

private:
    std::vector<DXGI_MODE_DESC> ModesOf(DXGI_FORMAT format) const;

    com::Held<Adapter> adapter_;
    hooks::OutputHook description_;
    bool grown_ = false;  // whether the list already grew after a counting call
};

class SwapChain final : public DxgiObject<IDXGISwapChain1, IDXGISwapChain, IDXGIDeviceSubObject> {
public:
    SwapChain(Factory* factory, Device* device, HWND window, const DXGI_SWAP_CHAIN_DESC1& desc, bool answersVersion1);
    ~SwapChain() override;
    // Makes the buffers; E_OUTOFMEMORY when they cannot be had.
    HRESULT MakeBuffers();

    HRESULT STDMETHODCALLTYPE GetParent(REFIID riid, void** parent) override;
    HRESULT STDMETHODCALLTYPE GetDevice(REFIID riid, void** device) override;
    HRESULT STDMETHODCALLTYPE Present(UINT syncInterval, UINT flags) override;
    HRESULT STDMETHODCALLTYPE GetBuffer(UINT index, REFIID riid, void** surface) override;
    HRESULT STDMETHODCALLTYPE SetFullscreenState(BOOL fullscreen, IDXGIOutput* target) override;
    HRESULT STDMETHODCALLTYPE GetFullscreenState(BOOL* fullscreen, IDXGIOutput** target) override;
    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_SWAP_CHAIN_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE ResizeBuffers(UINT count, UINT width, UINT height, DXGI_FORMAT format,
                                            UINT flags) override;
    HRESULT STDMETHODCALLTYPE ResizeTarget(const DXGI_MODE_DESC* mode) override;
    HRESULT STDMETHODCALLTYPE GetContainingOutput(IDXGIOutput** output) override;
    HRESULT STDMETHODCALLTYPE GetFrameStatistics(DXGI_FRAME_STATISTICS* statistics) override;
    HRESULT STDMETHODCALLTYPE GetLastPresentCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetDesc1(DXGI_SWAP_CHAIN_DESC1* desc) override;
    HRESULT STDMETHODCALLTYPE GetFullscreenDesc(DXGI_SWAP_CHAIN_FULLSCREEN_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetHwnd(HWND* window) override;
    HRESULT STDMETHODCALLTYPE Present1(UINT syncInterval, UINT flags,
                                       const DXGI_PRESENT_PARAMETERS* parameters) override;
    BOOL STDMETHODCALLTYPE IsTemporaryMonoSupported() override { return FALSE; }
    HRESULT STDMETHODCALLTYPE GetRestrictToOutput(IDXGIOutput** output) override;

    UINT presents() const { return presents_; }

private:
    void* FindInterface(REFIID riid) override;
    bool BuffersInUse() const;
    HRESULT FirstOutput(IDXGIOutput** output);

    com::Held<Factory> factory_;
    com::Held<com::ObjectBase> deviceHold_;
    Device* device_;
    HWND window_;
    DXGI_SWAP_CHAIN_DESC1 desc_;
    const bool answersVersion1_;
    std::vector<Texture2D*> buffers_;  // an internal reference is held on each
    bool fullscreen_ = false;
    com::Held<com::ObjectBase> targetHold_;
    IDXGIOutput* target_ = nullptr;  // the output while fullscreen
    UINT presents_ = 0;
    std::unique_ptr<FrameCapture> capture_;  // null unless HALVO_D3D11_OUTPUT asks for one
};

// The client size of a window (0 x 0 when it has none).
void ClientSize(HWND window, UINT* width, UINT* height);

}  // namespace halvo::d3d11
