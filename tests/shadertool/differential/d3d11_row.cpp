#include "shadertool/differential/d3d11_row.h"

#include <cstdlib>
#include <cstring>

#include "winapi/d3d11/d3d11_test_hooks.h"

namespace {

DXGI_FORMAT Format(RowFormat format)
{
    switch (format) {
    case RowFormat::Float2: return DXGI_FORMAT_R32G32_FLOAT;
    case RowFormat::Float3: return DXGI_FORMAT_R32G32B32_FLOAT;
    case RowFormat::Float4: return DXGI_FORMAT_R32G32B32A32_FLOAT;
    case RowFormat::Unorm8x4: return DXGI_FORMAT_R8G8B8A8_UNORM;
    case RowFormat::Uint8x4: return DXGI_FORMAT_R8G8B8A8_UINT;
    }
    return DXGI_FORMAT_UNKNOWN;
}

}  // namespace

bool D3D11Row::Open(std::string* reason)
{
    setenv("HALVO_D3D11_BACKEND", "vulkan", 1);
    const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
    HRESULT result = E_FAIL;
    for (D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        result = D3D11CreateDevice(nullptr, type, nullptr, 0, &level, 1, D3D11_SDK_VERSION, m_device.Put(), nullptr,
                                   m_context.Put());
        if (SUCCEEDED(result)) break;
    }
    unsetenv("HALVO_D3D11_BACKEND");
    if (FAILED(result)) {
        *reason = "D3D11CreateDevice failed";
        return false;
    }
    if (std::strcmp(HalvoD3D11_BackendName(m_device.get()), "vulkan") != 0) {
        *reason = "the layer's Vulkan back end does not start here";
        return false;
    }
    return true;
}

Ref<ID3D11Buffer> D3D11Row::ConstantBuffer(const std::vector<uint8_t>& bytes)
{
    // Whole registers, as the renderer makes its constant buffers.
    std::vector<uint8_t> padded(bytes);
    padded.resize((bytes.size() / 16 + 1) * 16, 0);
    D3D11_BUFFER_DESC desc{};
    desc.ByteWidth = UINT(padded.size());
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    const D3D11_SUBRESOURCE_DATA data{padded.data(), 0, 0};
    Ref<ID3D11Buffer> buffer;
    m_device->CreateBuffer(&desc, &data, buffer.Put());
    return buffer;
}

Ref<ID3D11ShaderResourceView> D3D11Row::TextureView(const RowTexture& texture)
{
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = texture.width;
    desc.Height = texture.height;
    desc.MipLevels = texture.levels;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_IMMUTABLE;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    std::vector<D3D11_SUBRESOURCE_DATA> levels;
    for (uint32_t level = 0; level < texture.levels; ++level) {
        levels.push_back({texture.texels.data() + texture.LevelOffset(level), texture.LevelWidth(level) * 4, 0});
    }
    Ref<ID3D11Texture2D> object;
    Ref<ID3D11ShaderResourceView> view;
    if (SUCCEEDED(m_device->CreateTexture2D(&desc, levels.data(), object.Put()))) {
        m_device->CreateShaderResourceView(object.get(), nullptr, view.Put());
    }
    return view;
}

Ref<ID3D11SamplerState> D3D11Row::NearestSampler()
{
    D3D11_SAMPLER_DESC desc{};
    desc.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    desc.AddressU = D3D11_TEXTURE_ADDRESS_CLAMP;
    desc.AddressV = D3D11_TEXTURE_ADDRESS_CLAMP;
    desc.AddressW = D3D11_TEXTURE_ADDRESS_CLAMP;
    desc.ComparisonFunc = D3D11_COMPARISON_NEVER;
    desc.MaxLOD = D3D11_FLOAT32_MAX;
    Ref<ID3D11SamplerState> sampler;
    m_device->CreateSamplerState(&desc, sampler.Put());
    return sampler;
}

bool D3D11Row::DrawRow(const std::vector<uint8_t>& vertexCode, const std::vector<uint8_t>& pixelCode,
                       const std::vector<uint8_t>& vertexConstants, const std::vector<uint8_t>& pixelConstants,
                       const std::vector<RowTexture>& textures, const RowVertices& vertices, int width, int outputs,
                       std::vector<float>* pixels, std::string* reason)
{
    std::vector<Ref<ID3D11ShaderResourceView>> textureViews;
    std::vector<Ref<ID3D11SamplerState>> samplers;
    for (const RowTexture& texture : textures) {
        textureViews.push_back(TextureView(texture));
        samplers.push_back(NearestSampler());
        if (!textureViews.back() || !samplers.back()) {
            *reason = "the device refuses a texture or its sampler";
            return false;
        }
    }
    Ref<ID3D11VertexShader> vertexShader;
    Ref<ID3D11PixelShader> pixelShader;
    Ref<ID3D11InputLayout> layout;
    std::vector<D3D11_INPUT_ELEMENT_DESC> elements;
    for (const RowAttribute& attribute : vertices.attributes) {
        elements.push_back({attribute.semantic, attribute.semanticIndex, Format(attribute.format), 0, attribute.offset,
                            D3D11_INPUT_PER_VERTEX_DATA, 0});
    }
    if (FAILED(m_device->CreateVertexShader(vertexCode.data(), vertexCode.size(), nullptr, vertexShader.Put())) ||
        FAILED(m_device->CreatePixelShader(pixelCode.data(), pixelCode.size(), nullptr, pixelShader.Put()))) {
        *reason = "the device refuses the code";
        return false;
    }
    if (!elements.empty() && FAILED(m_device->CreateInputLayout(elements.data(), UINT(elements.size()),
                                                                vertexCode.data(), vertexCode.size(), layout.Put()))) {
        *reason = "the device refuses the input layout";
        return false;
    }
    D3D11_BUFFER_DESC vertexDesc{};
    vertexDesc.ByteWidth = UINT(vertices.bytes.size());
    vertexDesc.Usage = D3D11_USAGE_IMMUTABLE;
    vertexDesc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    const D3D11_SUBRESOURCE_DATA vertexData{vertices.bytes.data(), 0, 0};
    Ref<ID3D11Buffer> vertexBuffer;
    m_device->CreateBuffer(&vertexDesc, &vertexData, vertexBuffer.Put());
    const Ref<ID3D11Buffer> constants[2] = {ConstantBuffer(vertexConstants), ConstantBuffer(pixelConstants)};

    D3D11_TEXTURE2D_DESC targetDesc{};
    targetDesc.Width = UINT(width);
    targetDesc.Height = 1;
    targetDesc.MipLevels = 1;
    targetDesc.ArraySize = 1;
    targetDesc.Format = DXGI_FORMAT_R32G32B32A32_FLOAT;
    targetDesc.SampleDesc.Count = 1;
    targetDesc.Usage = D3D11_USAGE_DEFAULT;
    targetDesc.BindFlags = D3D11_BIND_RENDER_TARGET;
    D3D11_TEXTURE2D_DESC stagingDesc = targetDesc;
    stagingDesc.Usage = D3D11_USAGE_STAGING;
    stagingDesc.BindFlags = 0;
    stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    // A target per pixel output, each with a copy to read back.
    std::vector<Ref<ID3D11Texture2D>> targets(static_cast<size_t>(outputs));
    std::vector<Ref<ID3D11RenderTargetView>> targetViews(static_cast<size_t>(outputs));
    std::vector<Ref<ID3D11Texture2D>> stagings(static_cast<size_t>(outputs));
    bool made = vertexBuffer && constants[0] && constants[1];
    for (size_t output = 0; output < size_t(outputs) && made; ++output) {
        made = SUCCEEDED(m_device->CreateTexture2D(&targetDesc, nullptr, targets[output].Put())) &&
               SUCCEEDED(m_device->CreateRenderTargetView(targets[output].get(), nullptr, targetViews[output].Put())) &&
               SUCCEEDED(m_device->CreateTexture2D(&stagingDesc, nullptr, stagings[output].Put()));
    }
    if (!made) {
        *reason = "the device refuses a buffer or a target";
        return false;
    }
    // Both faces are drawn, whichever way the triangles turn.
    D3D11_RASTERIZER_DESC rasterDesc{};
    rasterDesc.FillMode = D3D11_FILL_SOLID;
    rasterDesc.CullMode = D3D11_CULL_NONE;
    rasterDesc.DepthClipEnable = TRUE;
    Ref<ID3D11RasterizerState> raster;
    m_device->CreateRasterizerState(&rasterDesc, raster.Put());

    ID3D11DeviceContext* context = m_context.get();
    std::vector<ID3D11ShaderResourceView*> boundViews;
    std::vector<ID3D11SamplerState*> boundSamplers;
    for (size_t index = 0; index < textureViews.size(); ++index) {
        boundViews.push_back(textureViews[index].get());
        boundSamplers.push_back(samplers[index].get());
    }
    if (!boundViews.empty()) {
        context->PSSetShaderResources(0, UINT(boundViews.size()), boundViews.data());
        context->PSSetSamplers(0, UINT(boundSamplers.size()), boundSamplers.data());
    }
    const FLOAT clear[4] = {-7, -7, -7, -7};  // a value no probe writes
    std::vector<ID3D11RenderTargetView*> views;
    for (const Ref<ID3D11RenderTargetView>& view : targetViews) {
        context->ClearRenderTargetView(view.get(), clear);
        views.push_back(view.get());
    }
    context->OMSetRenderTargets(UINT(outputs), views.data(), nullptr);
    const D3D11_VIEWPORT viewport{0, 0, FLOAT(width), 1, 0, 1};
    context->RSSetViewports(1, &viewport);
    context->RSSetState(raster.get());
    context->IASetInputLayout(layout.get());
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    ID3D11Buffer* vertexBuffers[] = {vertexBuffer.get()};
    const UINT stride = vertices.stride;
    const UINT offset = 0;
    context->IASetVertexBuffers(0, 1, vertexBuffers, &stride, &offset);
    context->VSSetShader(vertexShader.get(), nullptr, 0);
    context->PSSetShader(pixelShader.get(), nullptr, 0);
    ID3D11Buffer* vertexBlock[] = {constants[0].get()};
    ID3D11Buffer* pixelBlock[] = {constants[1].get()};
    context->VSSetConstantBuffers(0, 1, vertexBlock);
    context->PSSetConstantBuffers(0, 1, pixelBlock);
    context->Draw(6, 0);
    pixels->assign(size_t(width) * 4 * size_t(outputs), 0.0f);
    bool read = true;
    for (size_t output = 0; output < size_t(outputs) && read; ++output) {
        context->CopyResource(stagings[output].get(), targets[output].get());
        D3D11_MAPPED_SUBRESOURCE mapped{};
        read = SUCCEEDED(context->Map(stagings[output].get(), 0, D3D11_MAP_READ, 0, &mapped));
        if (!read) break;
        std::memcpy(pixels->data() + output * size_t(width) * 4, mapped.pData, size_t(width) * 16);
        context->Unmap(stagings[output].get(), 0);
    }
    if (!read) *reason = "a read-back copy cannot be mapped";
    context->ClearState();
    return read;
}
