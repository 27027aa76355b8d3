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
    colour_ = {};
    D3D11Test::TearDown();
    EXPECT_EQ(halvo::d3d11::vulkan::ValidationMessageCount(), validationAtStart_)
        << "the Vulkan validation layer complained (the messages are in the log)";
}

bool BackendTest::Rasterises() const { return std::strcmp(GetParam(), "memory") != 0; }

std::string BackendTest::Named(const std::string& name) const { return std::string(GetParam()) + "-" + name; }

namespace {

constexpr char kPositionVertexSource[] =
    "struct VertexInput { float3 position : POSITION; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = float4(input.position, 1.0);\n"
    "  return output;\n"
    "}\n";

constexpr char kColourPixelSource[] =
    "cbuffer Colour : register(b0) { float4 colour; };\n"
    "struct PixelInput { float4 position : SV_POSITION; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 { return colour; }\n";

}  // namespace

void BackendTest::UseColourProgram()
{
    if (!colour_.layout) {
        colour_ = MakeProgram(kPositionVertexSource, kColourPixelSource,
                              {Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0)});
    }
    UseProgram(colour_);
}

void BackendTest::DrawColoured(const std::vector<float>& vertices, const FLOAT colour[4],
                               D3D11_PRIMITIVE_TOPOLOGY topology)
{
    UseColourProgram();
    context_->IASetPrimitiveTopology(topology);
    if (colour != nullptr) {
        SetPixelConstants(colour, 16);
    } else {
        context_->PSSetShader(nullptr, nullptr, 0);
    }
    SetVertices(vertices, 12);
    context_->Draw(UINT(vertices.size() / 3), 0);
}

void BackendTest::SetVertices(const std::vector<float>& floats, UINT stride, UINT slot)
{
    buffers_.push_back(MakeBuffer(UINT(floats.size() * sizeof(float)), D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER,
                                  0, floats.data()));
    ID3D11Buffer* buffers[] = {buffers_.back().get()};
    const UINT offset = 0;
    context_->IASetVertexBuffers(slot, 1, buffers, &stride, &offset);
}

Ref<ID3D11Buffer> BackendTest::MakeConstantBuffer(const void* data, UINT size)
{
    std::vector<uint8_t> bytes((size + 15) / 16 * 16, 0);
    std::memcpy(bytes.data(), data, size);
    buffers_.push_back(
        MakeBuffer(UINT(bytes.size()), D3D11_USAGE_IMMUTABLE, D3D11_BIND_CONSTANT_BUFFER, 0, bytes.data()));
    return buffers_.back();
}

void BackendTest::SetVertexConstants(const void* data, UINT size)
{
    ID3D11Buffer* buffers[] = {MakeConstantBuffer(data, size).get()};
    context_->VSSetConstantBuffers(0, 1, buffers);
}

void BackendTest::SetPixelConstants(const void* data, UINT size)
{
    ID3D11Buffer* buffers[] = {MakeConstantBuffer(data, size).get()};
    context_->PSSetConstantBuffers(0, 1, buffers);
}

void BackendTest::SetTarget(ID3D11RenderTargetView* target, UINT width, UINT height, ID3D11DepthStencilView* depth)
{
    ID3D11RenderTargetView* targets[] = {target};
    context_->OMSetRenderTargets(target != nullptr ? 1 : 0, targets, depth);
    const D3D11_VIEWPORT viewport{0, 0, FLOAT(width), FLOAT(height), 0, 1};
    context_->RSSetViewports(1, &viewport);
}

Ref<ID3D11Texture2D> BackendTest::BoundTarget(UINT width, UINT height, DXGI_FORMAT format)
{
    Ref<ID3D11Texture2D> target = MakeTexture(width, height, format, D3D11_BIND_RENDER_TARGET);
    SetTarget(TargetView(target.get()).get(), width, height);
    return target;
}

void BackendTest::SetRasterizer(D3D11_CULL_MODE cull, BOOL frontCounterClockwise, BOOL scissor)
{
    const D3D11_RASTERIZER_DESC desc{
        D3D11_FILL_SOLID, cull, frontCounterClockwise, 0, 0.0f, 0.0f, TRUE, scissor, FALSE, FALSE};
    Ref<ID3D11RasterizerState> state;
    ASSERT_EQ(device_->CreateRasterizerState(&desc, state.Put()), S_OK);
    context_->RSSetState(state.get());
}

void BackendTest::SetDepthState(BOOL enabled, D3D11_DEPTH_WRITE_MASK writes, D3D11_COMPARISON_FUNC func)
{
    D3D11_DEPTH_STENCIL_DESC desc{};
    desc.DepthEnable = enabled;
    desc.DepthWriteMask = writes;
    desc.DepthFunc = func;
    Ref<ID3D11DepthStencilState> state;
    ASSERT_EQ(device_->CreateDepthStencilState(&desc, state.Put()), S_OK);
    context_->OMSetDepthStencilState(state.get(), 0);
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
