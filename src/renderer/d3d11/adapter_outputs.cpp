// The DXGI factory, the adapter and its outputs that are attached to the
// desktop; a display index indexes those outputs.
#include <utility>

#include "core/error_texts.h"
#include "core/logging.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

IDXGIFactory1* RendImpDirect3D11::CreateFactory()
{
    IDXGIFactory1* factory = nullptr;
    const HRESULT result = CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory));
    if (FAILED(result)) {
        HVI_ReportPlatformError(kErrorGetFactory, uint32_t(result), "%s", kFactoryCreateText);
        return nullptr;
    }
    return factory;
}

bool RendImpDirect3D11::SelectAdapter()
{
    IDXGIFactory1* factory = CreateFactory();
    if (factory == nullptr) return false;
    ReleaseOutputs();
    ReleaseReference(m_adapter);
    const HRESULT result = factory->EnumAdapters(0, &m_adapter);
    factory->Release();
    if (FAILED(result)) {
        m_adapter = nullptr;
        ReportError(kErrorEnumerateAdapters, result, nullptr);
        return false;
    }
    if (EnumerateOutputs()) return true;
    // An adapter without outputs cannot present; the next attempt looks again.
    ReleaseReference(m_adapter);
    return false;
}

bool RendImpDirect3D11::EnumerateOutputs()
{
    for (UINT index = 0;; ++index) {
        IDXGIOutput* output = nullptr;
        const HRESULT result = m_adapter->EnumOutputs(index, &output);
        if (result == DXGI_ERROR_NOT_FOUND) break;
        if (FAILED(result)) {
            ReportError(kErrorEnumerateOutputs, result, nullptr);
            ReleaseOutputs();
            break;
        }
        DXGI_OUTPUT_DESC description{};
        if (SUCCEEDED(output->GetDesc(&description)) && description.AttachedToDesktop) {
            m_outputs.Add(output);
        } else {
            output->Release();
        }
    }
    return m_outputs.GetCount() > 0;
}

void RendImpDirect3D11::AdoptDeviceAdapter()
{
    IDXGIDevice* dxgiDevice = nullptr;
    if (FAILED(m_device->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(&dxgiDevice)))) return;
    IDXGIAdapter* own = nullptr;
    const HRESULT result = dxgiDevice->GetAdapter(&own);
    dxgiDevice->Release();
    if (FAILED(result) || own == m_adapter) {
        if (SUCCEEDED(result)) own->Release();
        return;
    }
    IDXGIAdapter* selected = m_adapter;
    Array<IDXGIOutput*> selectedOutputs = std::move(m_outputs);
    m_outputs = Array<IDXGIOutput*>();
    m_adapter = own;
    if (EnumerateOutputs()) {
        for (int i = 0; i < selectedOutputs.GetCount(); ++i) selectedOutputs[i]->Release();
        selected->Release();
        return;
    }
    // The device's adapter shows no outputs: keep the ones selected.
    own->Release();
    m_adapter = selected;
    m_outputs = std::move(selectedOutputs);
}

void RendImpDirect3D11::ReleaseOutputs()
{
    for (int i = 0; i < m_outputs.GetCount(); ++i) m_outputs[i]->Release();
    m_outputs.Clear();
}

IDXGIOutput* RendImpDirect3D11::GetOutput(int32_t displayIndex, const char* operation)
{
    if (displayIndex < 0 || displayIndex >= m_outputs.GetCount()) {
        HV_Log(HV_LOG_WARNING, kNoSuchDisplayText, operation, displayIndex);
        return nullptr;
    }
    return m_outputs[displayIndex];
}

int32_t RendImpDirect3D11::GetDisplayOutputCount()
{
    if (m_adapter == nullptr) return SelectAdapter() ? m_outputs.GetCount() : 0;
    Array<IDXGIOutput*> kept = std::move(m_outputs);
    m_outputs = Array<IDXGIOutput*>();
    if (EnumerateOutputs()) {
        for (int i = 0; i < kept.GetCount(); ++i) kept[i]->Release();
    } else {
        m_outputs = std::move(kept);
    }
    return m_outputs.GetCount();
}

void RendImpDirect3D11::GetDesktopSize(int32_t displayIndex, int32_t& width, int32_t& height)
{
    width = 0;
    height = 0;
    IDXGIOutput* output = GetOutput(displayIndex, "GetDesktopSize");
    DXGI_OUTPUT_DESC description{};
    if (output == nullptr || FAILED(output->GetDesc(&description))) return;
    width = description.DesktopCoordinates.right - description.DesktopCoordinates.left;
    height = description.DesktopCoordinates.bottom - description.DesktopCoordinates.top;
}
