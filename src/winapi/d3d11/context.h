#pragma once

#include <d3d11_1.h>

#include <vector>

#include "winapi/com/com_object.h"
#include "winapi/d3d11/device_child.h"
#include "winapi/d3d11/resources.h"
#include "winapi/d3d11/shaders.h"
#include "winapi/d3d11/states.h"
#include "winapi/d3d11/views.h"

namespace halvo::d3d11 {

// The immediate context: the pipeline state that draws are made with, and
// the copies, clears, maps and mips that run in order with them. Everything
// bound is held (an internal reference) until it is unbound or the state is
// cleared. Calls the platform rejects are logged and change nothing.
class ImmediateContext final : public WithPrivateData<com::Object<ID3D11DeviceContext, ID3D11DeviceChild>> {
public:
    explicit ImmediateContext(Device* device);

    // Hands out a reference; the handed-out references keep the device alive.
    void HandOut();

    void STDMETHODCALLTYPE GetDevice(ID3D11Device** device) override;

    void STDMETHODCALLTYPE VSSetConstantBuffers(UINT start, UINT count, ID3D11Buffer* const* buffers) override;
    void STDMETHODCALLTYPE PSSetShaderResources(UINT start, UINT count,
                                                ID3D11ShaderResourceView* const* views) override;
    void STDMETHODCALLTYPE PSSetShader(ID3D11PixelShader* shader, ID3D11ClassInstance* const* instances,
                                       UINT instanceCount) override;
    void STDMETHODCALLTYPE PSSetSamplers(UINT start, UINT count, ID3D11SamplerState* const* samplers) override;
    void STDMETHODCALLTYPE VSSetShader(ID3D11VertexShader* shader, ID3D11ClassInstance* const* instances,
                                       UINT instanceCount) override;
    void STDMETHODCALLTYPE DrawIndexed(UINT indexCount, UINT startIndex, INT baseVertex) override;
    void STDMETHODCALLTYPE Draw(UINT vertexCount, UINT startVertex) override;
    HRESULT STDMETHODCALLTYPE Map(ID3D11Resource* resource, UINT subresource, D3D11_MAP type, UINT flags,
                                  D3D11_MAPPED_SUBRESOURCE* mapped) override;
    void STDMETHODCALLTYPE Unmap(ID3D11Resource* resource, UINT subresource) override;
    void STDMETHODCALLTYPE PSSetConstantBuffers(UINT start, UINT count, ID3D11Buffer* const* buffers) override;
    void STDMETHODCALLTYPE IASetInputLayout(ID3D11InputLayout* layout) override;
    void STDMETHODCALLTYPE IASetVertexBuffers(UINT start, UINT count, ID3D11Buffer* const* buffers, const UINT* strides,
                                              const UINT* offsets) override;
    void STDMETHODCALLTYPE IASetIndexBuffer(ID3D11Buffer* buffer, DXGI_FORMAT format, UINT offset) override;
    void STDMETHODCALLTYPE DrawIndexedInstanced(UINT indexCount, UINT instanceCount, UINT startIndex, INT baseVertex,
                                                UINT startInstance) override;
    void STDMETHODCALLTYPE DrawInstanced(UINT vertexCount, UINT instanceCount, UINT startVertex,
                                         UINT startInstance) override;
    void STDMETHODCALLTYPE IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY topology) override;
    void STDMETHODCALLTYPE OMSetRenderTargets(UINT count, ID3D11RenderTargetView* const* views,
                                              ID3D11DepthStencilView* depthView) override;
    void STDMETHODCALLTYPE OMSetBlendState(ID3D11BlendState* state, const FLOAT factor[4], UINT sampleMask) override;
    void STDMETHODCALLTYPE OMSetDepthStencilState(ID3D11DepthStencilState* state, UINT reference) override;
    void STDMETHODCALLTYPE RSSetState(ID3D11RasterizerState* state) override;
    void STDMETHODCALLTYPE RSSetViewports(UINT count, const D3D11_VIEWPORT* viewports) override;
    void STDMETHODCALLTYPE RSSetScissorRects(UINT count, const D3D11_RECT* rects) override;
    void STDMETHODCALLTYPE CopySubresourceRegion(ID3D11Resource* destination, UINT destinationSubresource, UINT x,
                                                 UINT y, UINT z, ID3D11Resource* source, UINT sourceSubresource,
                                                 const D3D11_BOX* box) override;
    void STDMETHODCALLTYPE CopyResource(ID3D11Resource* destination, ID3D11Resource* source) override;
    void STDMETHODCALLTYPE UpdateSubresource(ID3D11Resource* destination, UINT subresource, const D3D11_BOX* box,
                                             const void* data, UINT rowPitch, UINT depthPitch) override;
    void STDMETHODCALLTYPE ClearRenderTargetView(ID3D11RenderTargetView* view, const FLOAT color[4]) override;
    void STDMETHODCALLTYPE ClearDepthStencilView(ID3D11DepthStencilView* view, UINT flags, FLOAT depth,
                                                 UINT8 stencil) override;
    void STDMETHODCALLTYPE GenerateMips(ID3D11ShaderResourceView* view) override;
    void STDMETHODCALLTYPE VSGetConstantBuffers(UINT start, UINT count, ID3D11Buffer** buffers) override;
    void STDMETHODCALLTYPE PSGetShaderResources(UINT start, UINT count, ID3D11ShaderResourceView** views) override;
    void STDMETHODCALLTYPE PSGetShader(ID3D11PixelShader** shader, ID3D11ClassInstance** instances,
                                       UINT* instanceCount) override;
    void STDMETHODCALLTYPE PSGetSamplers(UINT start, UINT count, ID3D11SamplerState** samplers) override;
    void STDMETHODCALLTYPE VSGetShader(ID3D11VertexShader** shader, ID3D11ClassInstance** instances,
                                       UINT* instanceCount) override;
    void STDMETHODCALLTYPE PSGetConstantBuffers(UINT start, UINT count, ID3D11Buffer** buffers) override;
    void STDMETHODCALLTYPE IAGetInputLayout(ID3D11InputLayout** layout) override;
    void STDMETHODCALLTYPE IAGetVertexBuffers(UINT start, UINT count, ID3D11Buffer** buffers, UINT* strides,
                                              UINT* offsets) override;
    void STDMETHODCALLTYPE IAGetIndexBuffer(ID3D11Buffer** buffer, DXGI_FORMAT* format, UINT* offset) override;
    void STDMETHODCALLTYPE IAGetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY* topology) override;
    void STDMETHODCALLTYPE OMGetRenderTargets(UINT count, ID3D11RenderTargetView** views,
                                              ID3D11DepthStencilView** depthView) override;
    void STDMETHODCALLTYPE OMGetBlendState(ID3D11BlendState** state, FLOAT factor[4], UINT* sampleMask) override;
    void STDMETHODCALLTYPE OMGetDepthStencilState(ID3D11DepthStencilState** state, UINT* reference) override;
    void STDMETHODCALLTYPE RSGetState(ID3D11RasterizerState** state) override;
    void STDMETHODCALLTYPE RSGetViewports(UINT* count, D3D11_VIEWPORT* viewports) override;
    void STDMETHODCALLTYPE RSGetScissorRects(UINT* count, D3D11_RECT* rects) override;
    void STDMETHODCALLTYPE ClearState() override;
    void STDMETHODCALLTYPE Flush() override;
    D3D11_DEVICE_CONTEXT_TYPE STDMETHODCALLTYPE GetType() override { return D3D11_DEVICE_CONTEXT_IMMEDIATE; }
    UINT STDMETHODCALLTYPE GetContextFlags() override { return 0; }

private:
    struct VertexBinding {
        com::Held<Buffer> buffer;
        UINT stride = 0;
        UINT offset = 0;
    };

    void LastReferenceReleased() override;
    void SetConstantBuffers(const char* entryPoint, com::Held<Buffer>* slots, UINT start, UINT count,
                            ID3D11Buffer* const* buffers);
    void GetConstantBuffers(const com::Held<Buffer>* slots, UINT start, UINT count, ID3D11Buffer** buffers);
    void UnbindShaderResourcesOf(const ResourceCore* resource, const char* entryPoint);
    bool IsBoundAsOutput(const ResourceCore* resource) const;
    bool ValidDraw(const char* entryPoint, bool indexed);
    void SubmitDraw(const DrawCall& call);

    Device* device_;  // alive while references are handed out, or while the device holds this context

    com::Held<VertexShader> vertexShader_;
    com::Held<PixelShader> pixelShader_;
    com::Held<InputLayout> inputLayout_;
    bool stagesChecked_ = false;  // the three above were found to fit each other
    D3D11_PRIMITIVE_TOPOLOGY topology_ = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
    VertexBinding vertexBuffers_[D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT];
    com::Held<Buffer> indexBuffer_;
    DXGI_FORMAT indexFormat_ = DXGI_FORMAT_UNKNOWN;
    UINT indexOffset_ = 0;
    com::Held<Buffer> vertexConstantBuffers_[D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT];
    com::Held<Buffer> pixelConstantBuffers_[D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT];
    com::Held<ShaderResourceView> pixelResources_[D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT];
    UINT pixelResourceEnd_ = 0;  // no slot from here on holds a view
    com::Held<SamplerState> pixelSamplers_[D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT];
    com::Held<RenderTargetView> renderTargets_[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT];
    com::Held<DepthStencilView> depthStencilView_;
    com::Held<BlendState> blendState_;
    FLOAT blendFactor_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    UINT sampleMask_ = 0xffffffff;
    com::Held<DepthStencilState> depthStencilState_;
    UINT stencilReference_ = 0;
    com::Held<RasterizerState> rasterizerState_;
    std::vector<D3D11_VIEWPORT> viewports_;
    std::vector<D3D11_RECT> scissors_;
};

}  // namespace halvo::d3d11
