// The small members of resources, states and input layouts.
#include <algorithm>

#include "winapi/d3d11/device.h"
#include "winapi/d3d11/resources.h"
#include "winapi/d3d11/shaders.h"
#include "winapi/d3d11/states.h"

namespace halvo::d3d11 {

bool ResourceCore::AnyMapped() const
{
    return std::any_of(mapped_.begin(), mapped_.end(), [](uint8_t type) { return type != 0; });
}

ResourceCore* CoreOf(ID3D11Resource* resource)
{
    if (resource == nullptr) return nullptr;
    D3D11_RESOURCE_DIMENSION dimension;
    resource->GetType(&dimension);
    if (dimension == D3D11_RESOURCE_DIMENSION_BUFFER) return static_cast<Buffer*>(static_cast<ID3D11Buffer*>(resource));
    return static_cast<Texture2D*>(static_cast<ID3D11Texture2D*>(resource));
}

template <typename Primary1, typename Desc1, typename Primary>
void* Version1StateObject<Primary1, Desc1, Primary>::FindInterface(REFIID riid)
{
    if (riid == __uuidof(Primary1) && !this->device()->QueryAnswersVersion1()) return nullptr;
    return this->FindInChain(riid);
}

template class Version1StateObject<ID3D11BlendState1, D3D11_BLEND_DESC1, ID3D11BlendState>;
template class Version1StateObject<ID3D11RasterizerState1, D3D11_RASTERIZER_DESC1, ID3D11RasterizerState>;

BlendState::~BlendState() { device()->blendStates().Remove(key(), this); }

void BlendState::GetDesc(D3D11_BLEND_DESC* desc)
{
    if (desc == nullptr) return;
    const D3D11_BLEND_DESC1& wide = this->desc();
    desc->AlphaToCoverageEnable = wide.AlphaToCoverageEnable;
    desc->IndependentBlendEnable = wide.IndependentBlendEnable;
    for (int index = 0; index < 8; ++index) {
        const D3D11_RENDER_TARGET_BLEND_DESC1& from = wide.RenderTarget[index];
        desc->RenderTarget[index] = {
            from.BlendEnable,   from.SrcBlend,       from.DestBlend,    from.BlendOp,
            from.SrcBlendAlpha, from.DestBlendAlpha, from.BlendOpAlpha, from.RenderTargetWriteMask};
    }
}

RasterizerState::~RasterizerState() { device()->rasterizerStates().Remove(key(), this); }

void RasterizerState::GetDesc(D3D11_RASTERIZER_DESC* desc)
{
    if (desc == nullptr) return;
    const D3D11_RASTERIZER_DESC1& wide = this->desc();
    *desc = {wide.FillMode,
             wide.CullMode,
             wide.FrontCounterClockwise,
             wide.DepthBias,
             wide.DepthBiasClamp,
             wide.SlopeScaledDepthBias,
             wide.DepthClipEnable,
             wide.ScissorEnable,
             wide.MultisampleEnable,
             wide.AntialiasedLineEnable};
}

SamplerState::~SamplerState() { device()->samplerStates().Remove(key(), this); }

DepthStencilState::~DepthStencilState() { device()->depthStencilStates().Remove(key(), this); }

InputLayout::InputLayout(Device* device, const D3D11_INPUT_ELEMENT_DESC* elements, UINT count, const UINT* offsets)
    : DeviceChild(device)
{
    names_.reserve(count);
    for (UINT index = 0; index < count; ++index) names_.emplace_back(elements[index].SemanticName);
    for (UINT index = 0; index < count; ++index) {
        D3D11_INPUT_ELEMENT_DESC element = elements[index];
        element.SemanticName = names_[index].c_str();
        element.AlignedByteOffset = offsets[index];
        elements_.push_back(element);
    }
}

}  // namespace halvo::d3d11
