// Shaders from our compiler's code blobs, input layouts checked against the
// vertex code's input signature, and draws validated before they are recorded.
#include "winapi/d3d11/d3d11_test_support.h"

namespace {

constexpr char kVertexSource[] =
    "cbuffer Constants : register(b0) { float4x4 transform; };\n"
    "struct VertexInput { float3 position : POSITION; float4 colour : COLOR; float2 uv : TEXCOORD0; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; float4 colour : COLOR0; float2 uv : TEXCOORD0; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = mul(transform, float4(input.position, 1.0));\n"
    "  output.colour = input.colour;\n"
    "  output.uv = input.uv;\n"
    "  return output;\n"
    "}\n";

constexpr char kPixelSource[] =
    "Texture2D image : register(t0);\nSamplerState imageSampler : register(s0);\n"
    "struct PixelInput { float4 position : SV_POSITION; float4 colour : COLOR0; float2 uv : TEXCOORD0; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 { return image.Sample(imageSampler, input.uv) * input.colour; }\n";

constexpr char kIndexedSource[] =
    "struct VertexInput { uint4 indices : BLENDINDICES; float3 position : POSITION; };\n"
    "float4 main(VertexInput input) : SV_POSITION { return float4(input.position, float(input.indices.x)); }\n";

constexpr char kGeneratedSource[] =
    "float4 main(uint id : SV_VertexID) : SV_POSITION { return float4(float(id), 0.0, 0.0, 1.0); }\n";

const D3D11_INPUT_ELEMENT_DESC kLayout[] = {
    {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"COLOR", 0, DXGI_FORMAT_B8G8R8A8_UNORM, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0},
    {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0}};

using Shaders = D3D11Test;

TEST_F(Shaders, EachStageTakesOnlyItsOwnCode)
{
    const std::vector<uint8_t> vertex = Compile(kVertexSource, "vs_4_0");
    const std::vector<uint8_t> pixel = Compile(kPixelSource, "ps_4_0");
    ASSERT_FALSE(vertex.empty());
    ASSERT_FALSE(pixel.empty());
    Ref<ID3D11VertexShader> vertexShader;
    EXPECT_EQ(device_->CreateVertexShader(vertex.data(), vertex.size(), nullptr, vertexShader.Put()), S_OK);
    Ref<ID3D11PixelShader> pixelShader;
    EXPECT_EQ(device_->CreatePixelShader(pixel.data(), pixel.size(), nullptr, pixelShader.Put()), S_OK);
    EXPECT_EQ(device_->CreateVertexShader(pixel.data(), pixel.size(), nullptr, vertexShader.Put()), E_INVALIDARG);
    EXPECT_EQ(device_->CreatePixelShader(vertex.data(), vertex.size(), nullptr, pixelShader.Put()), E_INVALIDARG);
    EXPECT_EQ(device_->CreatePixelShader(pixel.data(), pixel.size() - 4, nullptr, pixelShader.Put()), E_INVALIDARG)
        << "a truncated blob";
    const uint8_t garbage[64] = {'D', 'X', 'B', 'C'};
    EXPECT_EQ(device_->CreatePixelShader(garbage, sizeof garbage, nullptr, pixelShader.Put()), E_INVALIDARG);
    EXPECT_EQ(device_->CreatePixelShader(nullptr, 0, nullptr, pixelShader.Put()), E_INVALIDARG);
    EXPECT_FALSE(pixelShader);
}

TEST_F(Shaders, CodeWhoseInstructionsOverrunOrStallIsRefused)
{
    std::vector<uint8_t> code = Compile(kPixelSource, "ps_4_0");
    ASSERT_GT(code.size(), 24u + 6 * 4);
    // The first instruction after the 24-byte header and the 5-word SPIR-V header.
    const size_t first = 24 + 5 * 4;
    std::vector<uint8_t> stalled = code;
    stalled[first + 2] = 0;
    stalled[first + 3] = 0;
    EXPECT_EQ(device_->CreatePixelShader(stalled.data(), stalled.size(), nullptr, nullptr), E_INVALIDARG)
        << "an instruction of no words";
    std::vector<uint8_t> overrun = code;
    overrun[first + 2] = 0xff;
    overrun[first + 3] = 0xff;
    EXPECT_EQ(device_->CreatePixelShader(overrun.data(), overrun.size(), nullptr, nullptr), E_INVALIDARG)
        << "an instruction longer than the module";
    std::vector<uint8_t> notSpirv = code;
    notSpirv[24] ^= 0xff;
    EXPECT_EQ(device_->CreatePixelShader(notSpirv.data(), notSpirv.size(), nullptr, nullptr), E_INVALIDARG);
}

TEST_F(Shaders, CodeNeedingAHigherLevelThanTheDevicesIsRefused)
{
    HalvoD3D11_SetDriverType(D3D_DRIVER_TYPE_WARP, D3D_FEATURE_LEVEL_9_3);
    context_.Reset();
    device_.Reset();
    ASSERT_EQ(MakeDevice(), S_OK);
    const std::vector<uint8_t> low = Compile(kPixelSource, "ps_4_0_level_9_3");
    const std::vector<uint8_t> high = Compile(kPixelSource, "ps_5_0");
    EXPECT_EQ(device_->CreatePixelShader(low.data(), low.size(), nullptr, nullptr), S_FALSE);
    EXPECT_EQ(device_->CreatePixelShader(high.data(), high.size(), nullptr, nullptr), E_INVALIDARG);
}

TEST_F(Shaders, AnInputLayoutMustFeedEveryInputOfTheVertexCodeBySemantic)
{
    const std::vector<uint8_t> vertex = Compile(kVertexSource, "vs_4_0");
    Ref<ID3D11InputLayout> layout;
    EXPECT_EQ(device_->CreateInputLayout(kLayout, 3, vertex.data(), vertex.size(), layout.Put()), S_OK);

    D3D11_INPUT_ELEMENT_DESC lowerCase[3] = {kLayout[0], kLayout[1], kLayout[2]};
    lowerCase[1].SemanticName = "color";
    EXPECT_EQ(device_->CreateInputLayout(lowerCase, 3, vertex.data(), vertex.size(), nullptr), S_FALSE)
        << "semantics match without regard to case";

    D3D11_INPUT_ELEMENT_DESC extra[4] = {
        kLayout[0],
        kLayout[1],
        kLayout[2],
        {"NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0}};
    EXPECT_EQ(device_->CreateInputLayout(extra, 4, vertex.data(), vertex.size(), nullptr), S_FALSE)
        << "elements the code does not read are allowed";

    EXPECT_EQ(device_->CreateInputLayout(kLayout, 2, vertex.data(), vertex.size(), nullptr), E_INVALIDARG)
        << "TEXCOORD0 is not fed";
    D3D11_INPUT_ELEMENT_DESC wrongIndex[3] = {kLayout[0], kLayout[1], kLayout[2]};
    wrongIndex[2].SemanticIndex = 1;
    EXPECT_EQ(device_->CreateInputLayout(wrongIndex, 3, vertex.data(), vertex.size(), nullptr), E_INVALIDARG);
    D3D11_INPUT_ELEMENT_DESC integer[3] = {kLayout[0], kLayout[1], kLayout[2]};
    integer[1].Format = DXGI_FORMAT_R8G8B8A8_UINT;
    EXPECT_EQ(device_->CreateInputLayout(integer, 3, vertex.data(), vertex.size(), nullptr), E_INVALIDARG)
        << "integers cannot feed a float input";
    D3D11_INPUT_ELEMENT_DESC twice[3] = {kLayout[0], kLayout[0], kLayout[2]};
    EXPECT_EQ(device_->CreateInputLayout(twice, 3, vertex.data(), vertex.size(), nullptr), E_INVALIDARG);
    D3D11_INPUT_ELEMENT_DESC misaligned[3] = {kLayout[0], kLayout[1], kLayout[2]};
    misaligned[1].AlignedByteOffset = 13;
    EXPECT_EQ(device_->CreateInputLayout(misaligned, 3, vertex.data(), vertex.size(), nullptr), E_INVALIDARG);
    const std::vector<uint8_t> pixel = Compile(kPixelSource, "ps_4_0");
    EXPECT_EQ(device_->CreateInputLayout(kLayout, 3, pixel.data(), pixel.size(), nullptr), E_INVALIDARG);
}

TEST_F(Shaders, IntegerInputsTakeIntegerFormatsAndSystemValuesNeedNoLayout)
{
    const std::vector<uint8_t> indexed = Compile(kIndexedSource, "vs_4_0");
    const D3D11_INPUT_ELEMENT_DESC layout[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"BLENDINDICES", 0, DXGI_FORMAT_R8G8B8A8_UINT, 0, 12, D3D11_INPUT_PER_VERTEX_DATA, 0}};
    EXPECT_EQ(device_->CreateInputLayout(layout, 2, indexed.data(), indexed.size(), nullptr), S_FALSE);
    D3D11_INPUT_ELEMENT_DESC normalised[2] = {layout[0], layout[1]};
    normalised[1].Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    EXPECT_EQ(device_->CreateInputLayout(normalised, 2, indexed.data(), indexed.size(), nullptr), E_INVALIDARG);

    const std::vector<uint8_t> generated = Compile(kGeneratedSource, "vs_4_0");
    Ref<ID3D11VertexShader> shader;
    ASSERT_EQ(device_->CreateVertexShader(generated.data(), generated.size(), nullptr, shader.Put()), S_OK);
    context_->VSSetShader(shader.get(), nullptr, 0);
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 1u) << "SV_VertexID comes from the pipeline";
}

TEST_F(Shaders, DrawsAreRecordedOnlyWithEverythingTheyNeedBound)
{
    const std::vector<uint8_t> vertex = Compile(kVertexSource, "vs_4_0");
    const std::vector<uint8_t> pixel = Compile(kPixelSource, "ps_4_0");
    Ref<ID3D11VertexShader> vertexShader;
    Ref<ID3D11PixelShader> pixelShader;
    Ref<ID3D11InputLayout> layout;
    ASSERT_EQ(device_->CreateVertexShader(vertex.data(), vertex.size(), nullptr, vertexShader.Put()), S_OK);
    ASSERT_EQ(device_->CreatePixelShader(pixel.data(), pixel.size(), nullptr, pixelShader.Put()), S_OK);
    ASSERT_EQ(device_->CreateInputLayout(kLayout, 3, vertex.data(), vertex.size(), layout.Put()), S_OK);
    const D3D11_BUFFER_DESC vertexDesc{24 * 4, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0};
    const D3D11_BUFFER_DESC indexDesc{12, D3D11_USAGE_DEFAULT, D3D11_BIND_INDEX_BUFFER, 0, 0, 0};
    Ref<ID3D11Buffer> vertices;
    Ref<ID3D11Buffer> indices;
    ASSERT_EQ(device_->CreateBuffer(&vertexDesc, nullptr, vertices.Put()), S_OK);
    ASSERT_EQ(device_->CreateBuffer(&indexDesc, nullptr, indices.Put()), S_OK);

    context_->VSSetShader(vertexShader.get(), nullptr, 0);
    context_->PSSetShader(pixelShader.get(), nullptr, 0);
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->DrawIndexed(6, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "no input layout";
    context_->IASetInputLayout(layout.get());
    context_->DrawIndexed(6, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "no index buffer";
    context_->IASetIndexBuffer(indices.get(), DXGI_FORMAT_R16_UINT, 0);
    ID3D11Buffer* raw = vertices.get();
    const UINT stride = 24;
    const UINT offset = 0;
    context_->IASetVertexBuffers(0, 1, &raw, &stride, &offset);
    context_->DrawIndexed(6, 0, 0);
    context_->DrawIndexedInstanced(6, 3, 0, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 2u);
    Ref<ID3D11VertexShader> bound;
    context_->VSGetShader(bound.Put(), nullptr, nullptr);
    EXPECT_EQ(bound.get(), vertexShader.get());
}

TEST_F(Shaders, DrawsNeedTheLayoutToFeedTheBoundVertexShaderAndTheStagesToLink)
{
    const std::vector<uint8_t> vertex = Compile(kVertexSource, "vs_4_0");
    const std::vector<uint8_t> indexed = Compile(kIndexedSource, "vs_4_0");
    const std::vector<uint8_t> pixel = Compile(kPixelSource, "ps_4_0");
    Ref<ID3D11VertexShader> vertexShader;
    Ref<ID3D11VertexShader> indexedShader;
    Ref<ID3D11PixelShader> pixelShader;
    Ref<ID3D11InputLayout> layout;
    ASSERT_EQ(device_->CreateVertexShader(vertex.data(), vertex.size(), nullptr, vertexShader.Put()), S_OK);
    ASSERT_EQ(device_->CreateVertexShader(indexed.data(), indexed.size(), nullptr, indexedShader.Put()), S_OK);
    ASSERT_EQ(device_->CreatePixelShader(pixel.data(), pixel.size(), nullptr, pixelShader.Put()), S_OK);
    ASSERT_EQ(device_->CreateInputLayout(kLayout, 3, vertex.data(), vertex.size(), layout.Put()), S_OK);
    context_->IASetInputLayout(layout.get());
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->VSSetShader(indexedShader.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "the layout does not feed BLENDINDICES";
    context_->VSSetShader(vertexShader.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 1u) << "no pixel shader is needed";
    context_->PSSetShader(pixelShader.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 2u);

    const std::vector<uint8_t> positionOnly = Compile(kGeneratedSource, "vs_4_0");
    Ref<ID3D11VertexShader> positionShader;
    ASSERT_EQ(device_->CreateVertexShader(positionOnly.data(), positionOnly.size(), nullptr, positionShader.Put()),
              S_OK);
    context_->VSSetShader(positionShader.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 2u) << "the pixel shader reads COLOR0 and TEXCOORD0";
    bool named = false;
    for (const std::string& message : NewMessages()) named = named || message.find("COLOR0") != std::string::npos;
    EXPECT_TRUE(named);
}

TEST_F(Shaders, ClassInstancesAreNotTaken)
{
    const std::vector<uint8_t> vertex = Compile(kVertexSource, "vs_4_0");
    Ref<ID3D11VertexShader> shader;
    ASSERT_EQ(device_->CreateVertexShader(vertex.data(), vertex.size(), nullptr, shader.Put()), S_OK);
    ID3D11ClassInstance* instance = nullptr;
    context_->VSSetShader(shader.get(), &instance, 1);
    Ref<ID3D11VertexShader> bound;
    context_->VSGetShader(bound.Put(), nullptr, nullptr);
    EXPECT_FALSE(bound);
}

}  // namespace
