#pragma once

#include <d3d11_1.h>

#include <atomic>
#include <memory>

#include "winapi/com/com_object.h"
#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/device_child.h"
#include "winapi/d3d11/private_data.h"
#include "winapi/d3d11/state_cache.h"
#include "winapi/d3d11/states.h"

namespace halvo::d3d11 {

class Adapter;
class ImmediateContext;

// The device: makes every resource, view, shader and state object, answers
// the capability questions, and owns the immediate context. It is also the
// IDXGIDevice that swap chains are made for.
class Device final : public com::Object<ID3D11Device1, ID3D11Device>, public IDXGIDevice {
public:
    // The device and its context; E_OUTOFMEMORY when they cannot be made.
    static HRESULT Create(std::shared_ptr<Backend> backend, Adapter* adapter, D3D_DRIVER_TYPE driverType,
                          D3D_FEATURE_LEVEL level, UINT flags, Device** device);

    // IUnknown of both interface families.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return Object::QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Object::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Object::Release(); }

    // ID3D11Device
    HRESULT STDMETHODCALLTYPE CreateBuffer(const D3D11_BUFFER_DESC* desc, const D3D11_SUBRESOURCE_DATA* initial,
                                           ID3D11Buffer** buffer) override;
    HRESULT STDMETHODCALLTYPE CreateTexture2D(const D3D11_TEXTURE2D_DESC* desc, const D3D11_SUBRESOURCE_DATA* initial,
                                              ID3D11Texture2D** texture) override;
    HRESULT STDMETHODCALLTYPE CreateShaderResourceView(ID3D11Resource* resource,
                                                       const D3D11_SHADER_RESOURCE_VIEW_DESC* desc,
                                                       ID3D11ShaderResourceView** view) override;
    HRESULT STDMETHODCALLTYPE CreateRenderTargetView(ID3D11Resource* resource,
                                                     const D3D11_RENDER_TARGET_VIEW_DESC* desc,
                                                     ID3D11RenderTargetView** view) override;
    HRESULT STDMETHODCALLTYPE CreateDepthStencilView(ID3D11Resource* resource,
                                                     const D3D11_DEPTH_STENCIL_VIEW_DESC* desc,
                                                     ID3D11DepthStencilView** view) override;
    HRESULT STDMETHODCALLTYPE CreateInputLayout(const D3D11_INPUT_ELEMENT_DESC* elements, UINT count, const void* code,
                                                SIZE_T size, ID3D11InputLayout** layout) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const void* code, SIZE_T size, ID3D11ClassLinkage* linkage,
                                                 ID3D11VertexShader** shader) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const void* code, SIZE_T size, ID3D11ClassLinkage* linkage,
                                                ID3D11PixelShader** shader) override;
    HRESULT STDMETHODCALLTYPE CreateBlendState(const D3D11_BLEND_DESC* desc, ID3D11BlendState** state) override;
    HRESULT STDMETHODCALLTYPE CreateDepthStencilState(const D3D11_DEPTH_STENCIL_DESC* desc,
                                                      ID3D11DepthStencilState** state) override;
    HRESULT STDMETHODCALLTYPE CreateRasterizerState(const D3D11_RASTERIZER_DESC* desc,
                                                    ID3D11RasterizerState** state) override;
    HRESULT STDMETHODCALLTYPE CreateSamplerState(const D3D11_SAMPLER_DESC* desc, ID3D11SamplerState** state) override;
    HRESULT STDMETHODCALLTYPE CheckFormatSupport(DXGI_FORMAT format, UINT* support) override;
    HRESULT STDMETHODCALLTYPE CheckMultisampleQualityLevels(DXGI_FORMAT format, UINT sampleCount,
                                                            UINT* levels) override;
    HRESULT STDMETHODCALLTYPE CheckFeatureSupport(D3D11_FEATURE feature, void* data, UINT size) override;
    D3D_FEATURE_LEVEL STDMETHODCALLTYPE GetFeatureLevel() override { return level_; }
    UINT STDMETHODCALLTYPE GetCreationFlags() override { return flags_; }
    HRESULT STDMETHODCALLTYPE GetDeviceRemovedReason() override { return removedReason_; }
    void STDMETHODCALLTYPE GetImmediateContext(ID3D11DeviceContext** context) override;

    // ID3D11Device1
    HRESULT STDMETHODCALLTYPE CreateBlendState1(const D3D11_BLEND_DESC1* desc, ID3D11BlendState1** state) override;
    HRESULT STDMETHODCALLTYPE CreateRasterizerState1(const D3D11_RASTERIZER_DESC1* desc,
                                                     ID3D11RasterizerState1** state) override;

    // IDXGIObject and IDXGIDevice
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID guid, UINT size, const void* data) override
    {
        return privateData_.Set(guid, size, data);
    }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID guid, const IUnknown* object) override
    {
        return privateData_.SetInterface(guid, object);
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID guid, UINT* size, void* data) override
    {
        return privateData_.Get(guid, size, data);
    }
    HRESULT STDMETHODCALLTYPE GetParent(REFIID riid, void** parent) override;
    HRESULT STDMETHODCALLTYPE GetAdapter(IDXGIAdapter** adapter) override;
    HRESULT STDMETHODCALLTYPE SetGPUThreadPriority(INT priority) override;
    HRESULT STDMETHODCALLTYPE GetGPUThreadPriority(INT* priority) override;

    // For the rest of the layer.
    Backend& backend() { return *backend_; }
    // Whether the 11.1 interfaces (ID3D11Device1 and its states) are answered.
    bool QueryAnswersVersion1() const { return device1_; }
    D3D_DRIVER_TYPE driverType() const { return driverType_; }
    bool Removed() const { return removedReason_ != S_OK; }
    void Remove(HRESULT reason) { removedReason_ = reason; }
    ImmediateContext& context() { return *context_; }
    void CountDraw() { ++draws_; }
    uint64_t draws() const { return draws_; }

    StateCache<BlendState>& blendStates() { return blendStates_; }
    StateCache<RasterizerState>& rasterizerStates() { return rasterizerStates_; }
    StateCache<SamplerState>& samplerStates() { return samplerStates_; }
    StateCache<DepthStencilState>& depthStencilStates() { return depthStencilStates_; }

    // The result for a creation: a planned failure, removal or E_OUTOFMEMORY
    // from the creation hooks; S_OK when the creation may go on.
    HRESULT CreationResult(const char* entryPoint);

private:
    Device(std::shared_ptr<Backend> backend, Adapter* adapter, D3D_DRIVER_TYPE driverType, D3D_FEATURE_LEVEL level,
           UINT flags);
    ~Device() override;

    void* FindInterface(REFIID riid) override;
    void LastReferenceReleased() override;
    HRESULT CreateBlendStateFrom(const D3D11_BLEND_DESC1& desc, const char* entryPoint, BlendState** state);
    HRESULT CreateRasterizerStateFrom(const D3D11_RASTERIZER_DESC1& desc, const char* entryPoint,
                                      RasterizerState** state);

    std::shared_ptr<Backend> backend_;
    com::Held<Adapter> adapter_;
    const D3D_DRIVER_TYPE driverType_;
    const D3D_FEATURE_LEVEL level_;
    const UINT flags_;
    const bool device1_;  // whether ID3D11Device1 is answered
    std::atomic<HRESULT> removedReason_{S_OK};
    std::atomic<uint64_t> draws_{0};
    INT gpuThreadPriority_ = 0;
    ImmediateContext* context_ = nullptr;  // an internal reference is held
    PrivateData privateData_;
    StateCache<BlendState> blendStates_;
    StateCache<RasterizerState> rasterizerStates_;
    StateCache<SamplerState> samplerStates_;
    StateCache<DepthStencilState> depthStencilStates_;
};

template <typename Primary, typename... Bases>
void STDMETHODCALLTYPE DeviceChild<Primary, Bases...>::GetDevice(ID3D11Device** device)
{
    if (device == nullptr) return;
    *device = device_.get();
    (*device)->AddRef();
}

// Logs a line where the platform's debug layer would complain.
void ReportError(const char* entryPoint, const char* format, ...) __attribute__((format(printf, 2, 3)));
void ReportWarning(const char* entryPoint, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Whether a description was given; without one, the complaint is logged.
bool DescriptionGiven(const char* entryPoint, const void* desc);

}  // namespace halvo::d3d11
