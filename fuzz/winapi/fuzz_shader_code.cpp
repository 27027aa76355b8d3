// Any bytes handed to our Direct3D 11 layer as shader code: the code blob's
// header, its SPIR-V and the input signature read from it, as the vertex and
// pixel stages and an input layout take them.
#include <d3d11_1.h>

#include <cstddef>
#include <cstdint>

namespace {

ID3D11Device* Device()
{
    static ID3D11Device* device = [] {
        ID3D11Device* made = nullptr;
        D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &made, nullptr,
                          nullptr);
        return made;
    }();
    return device;
}

template <typename T>
void Release(T* object)
{
    if (object != nullptr) object->Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ID3D11Device* device = Device();
    if (device == nullptr) return 0;
    ID3D11VertexShader* vertex = nullptr;
    ID3D11PixelShader* pixel = nullptr;
    ID3D11InputLayout* layout = nullptr;
    device->CreateVertexShader(data, size, nullptr, &vertex);
    device->CreatePixelShader(data, size, nullptr, &pixel);
    const D3D11_INPUT_ELEMENT_DESC elements[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0}};
    device->CreateInputLayout(elements, 2, data, size, &layout);
    Release(vertex);
    Release(pixel);
    Release(layout);
    return 0;
}
