#pragma once

#include <d3d11_1.h>

#include <vector>

#include "winapi/d3d11/device_child.h"

namespace halvo::d3d11 {

// A state object: its description, and the key it is cached under.
template <typename Primary, typename Desc, typename... Bases>
class StateObject : public DeviceChild<Primary, Bases...> {
public:
    StateObject(Device* device, const Desc& desc, std::vector<unsigned char> key)
        : DeviceChild<Primary, Bases...>(device), desc_(desc), key_(std::move(key))
    {}
    const Desc& desc() const { return desc_; }
    const std::vector<unsigned char>& key() const { return key_; }

private:
    Desc desc_;
    std::vector<unsigned char> key_;
};

class BlendState final : public StateObject<ID3D11BlendState1, D3D11_BLEND_DESC1, ID3D11BlendState> {
public:
    using StateObject::StateObject;
    ~BlendState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_BLEND_DESC* desc) override;
    void STDMETHODCALLTYPE GetDesc1(D3D11_BLEND_DESC1* desc) override;

private:
    void* FindInterface(REFIID riid) override;
};

class RasterizerState final
    : public StateObject<ID3D11RasterizerState1, D3D11_RASTERIZER_DESC1, ID3D11RasterizerState> {
public:
    using StateObject::StateObject;
    ~RasterizerState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_RASTERIZER_DESC* desc) override;
    void STDMETHODCALLTYPE GetDesc1(D3D11_RASTERIZER_DESC1* desc) override;

private:
    void* FindInterface(REFIID riid) override;
};

class SamplerState final : public StateObject<ID3D11SamplerState, D3D11_SAMPLER_DESC> {
public:
    using StateObject::StateObject;
    ~SamplerState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_SAMPLER_DESC* desc) override
    {
        if (desc != nullptr) *desc = this->desc();
    }
};

class DepthStencilState final : public StateObject<ID3D11DepthStencilState, D3D11_DEPTH_STENCIL_DESC> {
public:
    using StateObject::StateObject;
    ~DepthStencilState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_DEPTH_STENCIL_DESC* desc) override
    {
        if (desc != nullptr) *desc = this->desc();
    }
};

}  // namespace halvo::d3d11
