// Frame begin and present.
#include "core/logging.h"
#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

void RendImpDirect3D11::BeginFrame()
{
    if (m_context == nullptr) return;
    m_currentColorViews[0] = m_backBufferView;
    for (int i = 1; i < 4; ++i) m_currentColorViews[i] = nullptr;
    m_currentDepthView = m_depthView;
    m_context->OMSetRenderTargets(4, m_currentColorViews, m_currentDepthView);
    m_context->OMSetDepthStencilState(m_depthStencilState, 0);
}

void RendImpDirect3D11::Present()
{
    if (m_device == nullptr || !m_initialized) return;
    const HRESULT result = m_swapChain->Present(m_presentInterval, 0);
    if (SUCCEEDED(result)) return;
    HV_Log(HV_LOG_WARNING, kPresentFailedText);
    if (result == DXGI_ERROR_DEVICE_REMOVED) {
        HV_Log(HV_LOG_WARNING, kPresentDeviceRemovedText, unsigned(m_device->GetDeviceRemovedReason()));
    } else if (result == DXGI_ERROR_DEVICE_RESET) {
        HV_Log(HV_LOG_WARNING, kPresentDeviceResetText);
    }
}

void RendImpDirect3D11::SetPresentInterval(uint32_t interval) { m_presentInterval = interval; }
