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

protected:
    // GetDesc of the description as made: nothing for a null pointer.
    void CopyDescTo(Desc* out) const
    {
        if (out != nullptr) *out = desc_;
    }

private:
    Desc desc_;
    std::vector<unsigned char> key_;
};

// A state with an 11.1 interface: it keeps the 11.1 description and answers
// the 11.1 interface only on a device that answers 11.1.
template <typename Primary1, typename Desc1, typename Primary>
class Version1StateObject : public StateObject<Primary1, Desc1, Primary> {
public:
    using StateObject<Primary1, Desc1, Primary>::StateObject;
    void STDMETHODCALLTYPE GetDesc1(Desc1* desc) override { this->CopyDescTo(desc); }

protected:
    void* FindInterface(REFIID riid) override;
};

// Made once, beside the device they ask.
extern template class Version1StateObject<ID3D11BlendState1, D3D11_BLEND_DESC1, ID3D11BlendState>;
extern template class Version1StateObject<ID3D11RasterizerState1, D3D11_RASTERIZER_DESC1, ID3D11RasterizerState>;

class BlendState final : public Version1StateObject<ID3D11BlendState1, D3D11_BLEND_DESC1, ID3D11BlendState> {
public:
    using Version1StateObject::Version1StateObject;
    ~BlendState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_BLEND_DESC* desc) override;
};

class RasterizerState final
    : public Version1StateObject<ID3D11RasterizerState1, D3D11_RASTERIZER_DESC1, ID3D11RasterizerState> {
public:
    using Version1StateObject::Version1StateObject;
    ~RasterizerState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_RASTERIZER_DESC* desc) override;
};

class SamplerState final : public StateObject<ID3D11SamplerState, D3D11_SAMPLER_DESC> {
public:
    using StateObject::StateObject;
    ~SamplerState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_SAMPLER_DESC* desc) override { this->CopyDescTo(desc); }
};

class DepthStencilState final : public StateObject<ID3D11DepthStencilState, D3D11_DEPTH_STENCIL_DESC> {
public:
    using StateObject::StateObject;
    ~DepthStencilState() override;
    void STDMETHODCALLTYPE GetDesc(D3D11_DEPTH_STENCIL_DESC* desc) override { this->CopyDescTo(desc); }
};

}  // namespace halvo::d3d11
