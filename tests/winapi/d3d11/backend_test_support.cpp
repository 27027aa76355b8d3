#include "winapi/d3d11/backend_test_support.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "support/vulkan_driver_keeper.h"
#include "winapi/d3d11/vulkan/vulkan_backend.h"

void BackendTest::SetUp()
{
    KeepVulkanDriverLoaded();
    setenv("HALVO_D3D11_BACKEND", GetParam(), 1);
    setenv("HALVO_VULKAN_VALIDATION", "1", 1);
    validationAtStart_ = halvo::d3d11::vulkan::ValidationMessageCount();
    D3D11Test::SetUp();
    unsetenv("HALVO_D3D11_BACKEND");
    unsetenv("HALVO_VULKAN_VALIDATION");
    if (HasFatalFailure()) return;
    if (std::strcmp(HalvoD3D11_BackendName(device_.get()), GetParam()) != 0) {
        GTEST_SKIP() << "the " << GetParam() << " back end cannot start here (no Vulkan device)";
    }
}

void BackendTest::TearDown()
{
    buffers_.clear();
    D3D11Test::TearDown();
    EXPECT_EQ(halvo::d3d11::vulkan::ValidationMessageCount(), validationAtStart_)
        << "the Vulkan validation layer complained (the messages are in the log)";
}

bool BackendTest::Rasterises() const { return std::strcmp(GetParam(), "memory") != 0; }

std::string BackendTest::Named(const std::string& name) const { return std::string(GetParam()) + "-" + name; }

Ref<ID3D11RenderTargetView> BackendTest::TargetView(ID3D11Texture2D* texture, DXGI_FORMAT format)
{
    D3D11_RENDER_TARGET_VIEW_DESC desc{};
    desc.Format = format;
    desc.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
    Ref<ID3D11RenderTargetView> view;
    EXPECT_EQ(device_->CreateRenderTargetView(texture, format == DXGI_FORMAT_UNKNOWN ? nullptr : &desc, view.Put()),
              S_OK);
    return view;
}

Ref<ID3D11ShaderResourceView> BackendTest::ShaderView(ID3D11Texture2D* texture,
                                                      const D3D11_SHADER_RESOURCE_VIEW_DESC* desc)
{
    Ref<ID3D11ShaderResourceView> view;
    EXPECT_EQ(device_->CreateShaderResourceView(texture, desc, view.Put()), S_OK);
    return view;
}

Ref<ID3D11SamplerState> BackendTest::MakeSampler(D3D11_FILTER filter, D3D11_TEXTURE_ADDRESS_MODE address, FLOAT minLod,
                                                 FLOAT maxLod)
{
    const D3D11_SAMPLER_DESC desc{filter,       address, address, address, 0.0f, 1, D3D11_COMPARISON_NEVER,
                                  {0, 0, 0, 0}, minLod,  maxLod};
    Ref<ID3D11SamplerState> sampler;
    EXPECT_EQ(device_->CreateSamplerState(&desc, sampler.Put()), S_OK);
    return sampler;
}

Program BackendTest::MakeProgram(const std::string& vertexSource, const std::string& pixelSource,
                                 const std::vector<D3D11_INPUT_ELEMENT_DESC>& elements)
{
    Program program;
    const std::vector<uint8_t> vertex = Compile(vertexSource, "vs_4_0");
    const std::vector<uint8_t> pixel = Compile(pixelSource, "ps_4_0");
    if (vertex.empty() || pixel.empty()) return program;
    EXPECT_EQ(device_->CreateVertexShader(vertex.data(), vertex.size(), nullptr, program.vertex.Put()), S_OK);
    EXPECT_EQ(device_->CreatePixelShader(pixel.data(), pixel.size(), nullptr, program.pixel.Put()), S_OK);
    EXPECT_EQ(device_->CreateInputLayout(elements.data(), UINT(elements.size()), vertex.data(), vertex.size(),
                                         program.layout.Put()),
              S_OK);
    return program;
}

void BackendTest::UseProgram(const Program& program)
{
    context_->IASetInputLayout(program.layout.get());
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->VSSetShader(program.vertex.get(), nullptr, 0);
    context_->PSSetShader(program.pixel.get(), nullptr, 0);
}

void BackendTest::SetVertices(const std::vector<float>& floats, UINT stride, UINT slot)
{
    const D3D11_BUFFER_DESC desc{
        UINT(floats.size() * sizeof(float)), D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0};
    const D3D11_SUBRESOURCE_DATA data{floats.data(), 0, 0};
    Ref<ID3D11Buffer> buffer;
    ASSERT_EQ(device_->CreateBuffer(&desc, &data, buffer.Put()), S_OK);
    ID3D11Buffer* buffers[] = {buffer.get()};
    const UINT offset = 0;
    context_->IASetVertexBuffers(slot, 1, buffers, &stride, &offset);
    buffers_.push_back(buffer);
}

namespace {

Ref<ID3D11Buffer> MakeConstantBuffer(ID3D11Device* device, const void* data, UINT size)
{
    std::vector<uint8_t> bytes((size + 15) / 16 * 16, 0);
    std::memcpy(bytes.data(), data, size);
    const D3D11_BUFFER_DESC desc{UINT(bytes.size()), D3D11_USAGE_IMMUTABLE, D3D11_BIND_CONSTANT_BUFFER, 0, 0, 0};
    const D3D11_SUBRESOURCE_DATA initial{bytes.data(), 0, 0};
    Ref<ID3D11Buffer> buffer;
    EXPECT_EQ(device->CreateBuffer(&desc, &initial, buffer.Put()), S_OK);
    return buffer;
}

}  // namespace

void BackendTest::SetVertexConstants(const void* data, UINT size)
{
    buffers_.push_back(MakeConstantBuffer(device_.get(), data, size));
    ID3D11Buffer* buffers[] = {buffers_.back().get()};
    context_->VSSetConstantBuffers(0, 1, buffers);
}

void BackendTest::SetPixelConstants(const void* data, UINT size)
{
    buffers_.push_back(MakeConstantBuffer(device_.get(), data, size));
    ID3D11Buffer* buffers[] = {buffers_.back().get()};
    context_->PSSetConstantBuffers(0, 1, buffers);
}

void BackendTest::SetTarget(ID3D11RenderTargetView* target, UINT width, UINT height, ID3D11DepthStencilView* depth)
{
    ID3D11RenderTargetView* targets[] = {target};
    context_->OMSetRenderTargets(target != nullptr ? 1 : 0, targets, depth);
    const D3D11_VIEWPORT viewport{0, 0, FLOAT(width), FLOAT(height), 0, 1};
    context_->RSSetViewports(1, &viewport);
}

void BackendTest::ExpectDrawn(const std::string& name, ID3D11Texture2D* target, const std::vector<uint32_t>& expected,
                              bool bgra, int tolerance, UINT subresource)
{
    if (Rasterises()) {
        ExpectPixels(Named(name), ReadBack(target, subresource), expected, bgra, tolerance);
        return;
    }
    EXPECT_GT(HalvoD3D11_DrawCount(device_.get()), 0u) << name << ": no draw reached the back end";
    const std::vector<std::string> messages = NewMessages();
    for (size_t index = messagesChecked_; index < messages.size(); ++index) {
        EXPECT_EQ(messages[index].find("D3D11 ERROR"), std::string::npos) << name << ": " << messages[index];
    }
    messagesChecked_ = messages.size();
}

extern const char kPositionVertexSource[] =
    "struct VertexInput { float3 position : POSITION; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = float4(input.position, 1.0);\n"
    "  return output;\n"
    "}\n";

extern const char kColourPixelSource[] =
    "cbuffer Colour : register(b0) { float4 colour; };\n"
    "struct PixelInput { float4 position : SV_POSITION; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 { return colour; }\n";

std::vector<float> Rectangle(float left, float top, float right, float bottom, float z)
{
    return {left, top, z, right, top, z, left, bottom, z, right, top, z, right, bottom, z, left, bottom, z};
}

std::vector<uint32_t> Ramp(UINT count, uint8_t seed)
{
    std::vector<uint32_t> texels(count);
    for (UINT index = 0; index < count; ++index) {
        texels[index] = Rgba(uint8_t(seed + index * 7), uint8_t(index * 13), uint8_t(255 - index), uint8_t(index | 1));
    }
    return texels;
}

uint8_t Unorm8(double value) { return uint8_t(std::floor(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5)); }

D3D11_INPUT_ELEMENT_DESC Element(const char* semantic, UINT index, DXGI_FORMAT format, UINT offset, UINT slot)
{
    return {semantic, index, format, slot, offset, D3D11_INPUT_PER_VERTEX_DATA, 0};
}
