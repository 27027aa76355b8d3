// The display modes of an output, each size listed once.
#include <vector>

#include "renderer/d3d11/device_messages.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

namespace {

constexpr DXGI_FORMAT kDisplayFormat = DXGI_FORMAT_B8G8R8A8_UNORM;

}  // namespace

Array<DXGI_MODE_DESC> RendImpDirect3D11::GetOutputDisplayModes(int32_t displayIndex)
{
    Array<DXGI_MODE_DESC> modes;
    IDXGIOutput* output = GetOutput(displayIndex, "GetOutputDisplayModes");
    if (output == nullptr) return modes;
    UINT count = 0;
    HRESULT result = output->GetDisplayModeList(kDisplayFormat, 0, &count, nullptr);
    std::vector<DXGI_MODE_DESC> read;
    if (SUCCEEDED(result)) {
        read.resize(count);
        result = output->GetDisplayModeList(kDisplayFormat, 0, &count, read.data());
    }
    // MORE_DATA: the list grew between the two calls; what was read stands.
    if (FAILED(result) && result != DXGI_ERROR_MORE_DATA) {
        ReportError(kErrorGetDisplayModes, result, nullptr);
        return modes;
    }
    for (UINT i = 0; i < count && i < read.size(); ++i) modes.Add(read[i]);
    return modes;
}

void RendImpDirect3D11::EnumerateDisplayModes(int32_t displayIndex)
{
    if (m_adapter == nullptr && !SelectAdapter()) return;
    const Array<DXGI_MODE_DESC> modes = GetOutputDisplayModes(displayIndex);
    for (int i = 0; i < modes.GetCount(); ++i) {
        if (modes[i].Format == kDisplayFormat) AddDisplayMode(int32_t(modes[i].Width), int32_t(modes[i].Height));
    }
}
