#include "winapi/d3d11/state_rules.h"

#include <cmath>
#include <cstring>

#include "winapi/d3d11/device.h"
#include "winapi/d3d11/messages.h"

namespace halvo::d3d11 {

namespace {

bool IsBlend(D3D11_BLEND blend)
{
    return (blend >= D3D11_BLEND_ZERO && blend <= D3D11_BLEND_SRC_ALPHA_SAT) ||
           (blend >= D3D11_BLEND_BLEND_FACTOR && blend <= D3D11_BLEND_INV_SRC1_ALPHA);
}

bool IsColorBlend(D3D11_BLEND blend)
{
    return blend == D3D11_BLEND_SRC_COLOR || blend == D3D11_BLEND_INV_SRC_COLOR || blend == D3D11_BLEND_DEST_COLOR ||
           blend == D3D11_BLEND_INV_DEST_COLOR || blend == D3D11_BLEND_SRC1_COLOR ||
           blend == D3D11_BLEND_INV_SRC1_COLOR;
}

bool IsBlendOp(D3D11_BLEND_OP op) { return op >= D3D11_BLEND_OP_ADD && op <= D3D11_BLEND_OP_MAX; }

bool IsComparison(D3D11_COMPARISON_FUNC func)
{
    return func >= D3D11_COMPARISON_NEVER && func <= D3D11_COMPARISON_ALWAYS;
}

bool IsStencilOp(D3D11_STENCIL_OP op) { return op >= D3D11_STENCIL_OP_KEEP && op <= D3D11_STENCIL_OP_DECR; }

bool IsAddress(D3D11_TEXTURE_ADDRESS_MODE mode)
{
    return mode >= D3D11_TEXTURE_ADDRESS_WRAP && mode <= D3D11_TEXTURE_ADDRESS_MIRROR_ONCE;
}

bool IsFilter(D3D11_FILTER filter)
{
    // Bit 7 marks comparison; the rest is min (bits 4-5), mag (2-3), mip (0-1), each 0 or 1, or 0x55 for anisotropic.
    const UINT plain = UINT(filter) & ~0x80u;
    if (UINT(filter) & ~0xffu) return false;
    return plain == 0x55 || (plain & ~0x15u) == 0;
}

bool IsComparisonFilter(D3D11_FILTER filter) { return (UINT(filter) & 0x80u) != 0; }

// Appends the values of a description field by field, so that padding never counts.
class KeyWriter {
public:
    template <typename Value>
    KeyWriter& operator<<(Value value)
    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
        key_.insert(key_.end(), bytes, bytes + sizeof value);
        return *this;
    }
    std::vector<unsigned char> Take() { return std::move(key_); }

private:
    std::vector<unsigned char> key_;
};

}  // namespace

bool CheckBlendDesc(const char* entryPoint, const D3D11_BLEND_DESC1& desc)
{
    const int targets = desc.IndependentBlendEnable ? 8 : 1;
    for (int index = 0; index < targets; ++index) {
        const D3D11_RENDER_TARGET_BLEND_DESC1& target = desc.RenderTarget[index];
        if (target.RenderTargetWriteMask > D3D11_COLOR_WRITE_ENABLE_ALL) {
            ReportError(entryPoint, "RenderTarget[%d].RenderTargetWriteMask 0x%x names unknown channels.", index,
                        unsigned(target.RenderTargetWriteMask));
            return false;
        }
        if (target.BlendEnable && target.LogicOpEnable) {
            ReportError(entryPoint, "RenderTarget[%d] enables both blending and a logic operation.", index);
            return false;
        }
        if (target.LogicOpEnable && UINT(target.LogicOp) > 15) {
            ReportError(entryPoint, "RenderTarget[%d] asks for logic operation %d, which is not a D3D11_LOGIC_OP.",
                        index, int(target.LogicOp));
            return false;
        }
        if (!target.BlendEnable) continue;
        if (!IsBlend(target.SrcBlend) || !IsBlend(target.DestBlend) || !IsBlend(target.SrcBlendAlpha) ||
            !IsBlend(target.DestBlendAlpha) || !IsBlendOp(target.BlendOp) || !IsBlendOp(target.BlendOpAlpha)) {
            ReportError(entryPoint, "RenderTarget[%d] has a blend factor or operation out of range.", index);
            return false;
        }
        if (IsColorBlend(target.SrcBlendAlpha) || IsColorBlend(target.DestBlendAlpha)) {
            ReportError(entryPoint, "RenderTarget[%d] blends alpha with a colour factor.", index);
            return false;
        }
    }
    return true;
}

bool CheckRasterizerDesc(const char* entryPoint, const D3D11_RASTERIZER_DESC1& desc)
{
    if (desc.FillMode != D3D11_FILL_WIREFRAME && desc.FillMode != D3D11_FILL_SOLID) {
        ReportError(entryPoint, "FillMode %d is not a D3D11_FILL_MODE.", int(desc.FillMode));
        return false;
    }
    if (desc.CullMode < D3D11_CULL_NONE || desc.CullMode > D3D11_CULL_BACK) {
        ReportError(entryPoint, "CullMode %d is not a D3D11_CULL_MODE.", int(desc.CullMode));
        return false;
    }
    const UINT count = desc.ForcedSampleCount;
    if (count != 0 && count != 1 && count != 2 && count != 4 && count != 8 && count != 16) {
        ReportError(entryPoint, "ForcedSampleCount %u is not 0, 1, 2, 4, 8 or 16.", count);
        return false;
    }
    if (std::isnan(desc.DepthBiasClamp) || std::isnan(desc.SlopeScaledDepthBias)) {
        ReportError(entryPoint, "a depth bias is not a number.");
        return false;
    }
    return true;
}

bool CheckSamplerDesc(const char* entryPoint, const D3D11_SAMPLER_DESC* desc)
{
    if (!DescriptionGiven(entryPoint, desc)) return false;
    if (!IsFilter(desc->Filter)) {
        ReportError(entryPoint, "Filter 0x%x is not a D3D11_FILTER.", unsigned(desc->Filter));
        return false;
    }
    if (!IsAddress(desc->AddressU) || !IsAddress(desc->AddressV) || !IsAddress(desc->AddressW)) {
        ReportError(entryPoint, "an address mode is not a D3D11_TEXTURE_ADDRESS_MODE.");
        return false;
    }
    if (desc->MaxAnisotropy > D3D11_MAX_MAXANISOTROPY) {
        ReportError(entryPoint, "MaxAnisotropy %u is above %d.", desc->MaxAnisotropy, D3D11_MAX_MAXANISOTROPY);
        return false;
    }
    if (IsComparisonFilter(desc->Filter) && !IsComparison(desc->ComparisonFunc)) {
        ReportError(entryPoint, "ComparisonFunc %d is not a D3D11_COMPARISON_FUNC.", int(desc->ComparisonFunc));
        return false;
    }
    if (std::isnan(desc->MinLOD) || std::isnan(desc->MaxLOD) || std::isnan(desc->MipLODBias)) {
        ReportError(entryPoint, "a level-of-detail value is not a number.");
        return false;
    }
    return true;
}

bool CheckDepthStencilDesc(const char* entryPoint, const D3D11_DEPTH_STENCIL_DESC* desc)
{
    if (!DescriptionGiven(entryPoint, desc)) return false;
    if (desc->DepthWriteMask != D3D11_DEPTH_WRITE_MASK_ZERO && desc->DepthWriteMask != D3D11_DEPTH_WRITE_MASK_ALL) {
        ReportError(entryPoint, "DepthWriteMask %d is not a D3D11_DEPTH_WRITE_MASK.", int(desc->DepthWriteMask));
        return false;
    }
    if (desc->DepthEnable && !IsComparison(desc->DepthFunc)) {
        ReportError(entryPoint, "DepthFunc %d is not a D3D11_COMPARISON_FUNC.", int(desc->DepthFunc));
        return false;
    }
    if (desc->StencilEnable) {
        for (const D3D11_DEPTH_STENCILOP_DESC* face : {&desc->FrontFace, &desc->BackFace}) {
            if (!IsStencilOp(face->StencilFailOp) || !IsStencilOp(face->StencilDepthFailOp) ||
                !IsStencilOp(face->StencilPassOp) || !IsComparison(face->StencilFunc)) {
                ReportError(entryPoint, "a stencil operation or function is out of range.");
                return false;
            }
        }
    }
    return true;
}

D3D11_BLEND_DESC1 WidenBlendDesc(const D3D11_BLEND_DESC& desc)
{
    D3D11_BLEND_DESC1 wide{};
    wide.AlphaToCoverageEnable = desc.AlphaToCoverageEnable;
    wide.IndependentBlendEnable = desc.IndependentBlendEnable;
    for (int index = 0; index < 8; ++index) {
        const D3D11_RENDER_TARGET_BLEND_DESC& from = desc.RenderTarget[index];
        D3D11_RENDER_TARGET_BLEND_DESC1& to = wide.RenderTarget[index];
        to.BlendEnable = from.BlendEnable;
        to.LogicOpEnable = FALSE;
        to.SrcBlend = from.SrcBlend;
        to.DestBlend = from.DestBlend;
        to.BlendOp = from.BlendOp;
        to.SrcBlendAlpha = from.SrcBlendAlpha;
        to.DestBlendAlpha = from.DestBlendAlpha;
        to.BlendOpAlpha = from.BlendOpAlpha;
        to.LogicOp = D3D11_LOGIC_OP_NOOP;
        to.RenderTargetWriteMask = from.RenderTargetWriteMask;
    }
    return wide;
}

D3D11_RASTERIZER_DESC1 WidenRasterizerDesc(const D3D11_RASTERIZER_DESC& desc)
{
    D3D11_RASTERIZER_DESC1 wide{};
    wide.FillMode = desc.FillMode;
    wide.CullMode = desc.CullMode;
    wide.FrontCounterClockwise = desc.FrontCounterClockwise;
    wide.DepthBias = desc.DepthBias;
    wide.DepthBiasClamp = desc.DepthBiasClamp;
    wide.SlopeScaledDepthBias = desc.SlopeScaledDepthBias;
    wide.DepthClipEnable = desc.DepthClipEnable;
    wide.ScissorEnable = desc.ScissorEnable;
    wide.MultisampleEnable = desc.MultisampleEnable;
    wide.AntialiasedLineEnable = desc.AntialiasedLineEnable;
    wide.ForcedSampleCount = 0;
    return wide;
}

D3D11_BLEND_DESC1 Normalized(const D3D11_BLEND_DESC1& desc)
{
    D3D11_BLEND_DESC1 kept = desc;
    if (!kept.IndependentBlendEnable) {
        for (int index = 1; index < 8; ++index) kept.RenderTarget[index] = kept.RenderTarget[0];
    }
    return kept;
}

D3D11_RASTERIZER_DESC1 Normalized(const D3D11_RASTERIZER_DESC1& desc)
{
    D3D11_RASTERIZER_DESC1 kept = desc;
    if (kept.MultisampleEnable) kept.AntialiasedLineEnable = FALSE;
    return kept;
}

D3D11_SAMPLER_DESC Normalized(const D3D11_SAMPLER_DESC& desc)
{
    D3D11_SAMPLER_DESC kept = desc;
    if ((UINT(kept.Filter) & ~0x80u) != UINT(D3D11_FILTER_ANISOTROPIC)) kept.MaxAnisotropy = 1;
    const bool border = kept.AddressU == D3D11_TEXTURE_ADDRESS_BORDER ||
                        kept.AddressV == D3D11_TEXTURE_ADDRESS_BORDER || kept.AddressW == D3D11_TEXTURE_ADDRESS_BORDER;
    if (!border) {
        for (FLOAT& channel : kept.BorderColor) channel = 1.0f;
    }
    return kept;
}

D3D11_DEPTH_STENCIL_DESC Normalized(const D3D11_DEPTH_STENCIL_DESC& desc)
{
    D3D11_DEPTH_STENCIL_DESC kept = desc;
    if (!kept.StencilEnable) {
        kept.StencilReadMask = D3D11_DEFAULT_STENCIL_READ_MASK;
        kept.StencilWriteMask = D3D11_DEFAULT_STENCIL_WRITE_MASK;
        kept.FrontFace = {D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_STENCIL_OP_KEEP, D3D11_COMPARISON_ALWAYS};
        kept.BackFace = kept.FrontFace;
    }
    return kept;
}

std::vector<unsigned char> StateKey(const D3D11_BLEND_DESC1& desc)
{
    KeyWriter key;
    key << desc.AlphaToCoverageEnable << desc.IndependentBlendEnable;
    for (const D3D11_RENDER_TARGET_BLEND_DESC1& target : desc.RenderTarget) {
        key << target.BlendEnable << target.LogicOpEnable << target.SrcBlend << target.DestBlend << target.BlendOp
            << target.SrcBlendAlpha << target.DestBlendAlpha << target.BlendOpAlpha << target.LogicOp
            << target.RenderTargetWriteMask;
    }
    return key.Take();
}

std::vector<unsigned char> StateKey(const D3D11_RASTERIZER_DESC1& desc)
{
    KeyWriter key;
    key << desc.FillMode << desc.CullMode << desc.FrontCounterClockwise << desc.DepthBias << desc.DepthBiasClamp
        << desc.SlopeScaledDepthBias << desc.DepthClipEnable << desc.ScissorEnable << desc.MultisampleEnable
        << desc.AntialiasedLineEnable << desc.ForcedSampleCount;
    return key.Take();
}

std::vector<unsigned char> StateKey(const D3D11_SAMPLER_DESC& desc)
{
    KeyWriter key;
    key << desc.Filter << desc.AddressU << desc.AddressV << desc.AddressW << desc.MipLODBias << desc.MaxAnisotropy
        << desc.ComparisonFunc << desc.BorderColor[0] << desc.BorderColor[1] << desc.BorderColor[2]
        << desc.BorderColor[3] << desc.MinLOD << desc.MaxLOD;
    return key.Take();
}

std::vector<unsigned char> StateKey(const D3D11_DEPTH_STENCIL_DESC& desc)
{
    KeyWriter key;
    key << desc.DepthEnable << desc.DepthWriteMask << desc.DepthFunc << desc.StencilEnable << desc.StencilReadMask
        << desc.StencilWriteMask;
    for (const D3D11_DEPTH_STENCILOP_DESC* face : {&desc.FrontFace, &desc.BackFace}) {
        key << face->StencilFailOp << face->StencilDepthFailOp << face->StencilPassOp << face->StencilFunc;
    }
    return key.Take();
}

}  // namespace halvo::d3d11
