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

const std::vector<D3D11_INPUT_ELEMENT_DESC> kLayout = {
    Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0),
    Element("COLOR", 0, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_APPEND_ALIGNED_ELEMENT),
    Element("TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, D3D11_APPEND_ALIGNED_ELEMENT)};

class Shaders : public D3D11Test {
protected:
    Ref<ID3D11VertexShader> VertexShader(const char* source)
    {
        const std::vector<uint8_t> code = Compile(source, "vs_4_0");
        Ref<ID3D11VertexShader> shader;
        EXPECT_EQ(device_->CreateVertexShader(code.data(), code.size(), nullptr, shader.Put()), S_OK);
        return shader;
    }
};

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
    auto changed = [](size_t index, auto change) {
        std::vector<D3D11_INPUT_ELEMENT_DESC> elements = kLayout;
        change(elements[index]);
        return elements;
    };
    struct Case {
        const char* what;
        std::vector<D3D11_INPUT_ELEMENT_DESC> elements;
        HRESULT expected;
    };
    const Case cases[] = {
        {"semantics match without regard to case", changed(1, [](auto& e) { e.SemanticName = "color"; }), S_FALSE},
        {"elements the code does not read are allowed",
         {kLayout[0], kLayout[1], kLayout[2],
          Element("NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, D3D11_APPEND_ALIGNED_ELEMENT)},
         S_FALSE},
        {"TEXCOORD0 is not fed", {kLayout[0], kLayout[1]}, E_INVALIDARG},
        {"TEXCOORD1 instead of TEXCOORD0", changed(2, [](auto& e) { e.SemanticIndex = 1; }), E_INVALIDARG},
        {"integers cannot feed a float input", changed(1, [](auto& e) { e.Format = DXGI_FORMAT_R8G8B8A8_UINT; }),
         E_INVALIDARG},
        {"POSITION twice", {kLayout[0], kLayout[0], kLayout[2]}, E_INVALIDARG},
        {"a misaligned offset", changed(1, [](auto& e) { e.AlignedByteOffset = 13; }), E_INVALIDARG},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(device_->CreateInputLayout(test.elements.data(), UINT(test.elements.size()), vertex.data(),
                                             vertex.size(), nullptr),
                  test.expected)
            << test.what;
    }
    Ref<ID3D11InputLayout> layout;
    EXPECT_EQ(device_->CreateInputLayout(kLayout.data(), 3, vertex.data(), vertex.size(), layout.Put()), S_OK);
    const std::vector<uint8_t> pixel = Compile(kPixelSource, "ps_4_0");
    EXPECT_EQ(device_->CreateInputLayout(kLayout.data(), 3, pixel.data(), pixel.size(), nullptr), E_INVALIDARG);
}

TEST_F(Shaders, IntegerInputsTakeIntegerFormatsAndSystemValuesNeedNoLayout)
{
    const std::vector<uint8_t> indexed = Compile(kIndexedSource, "vs_4_0");
    std::vector<D3D11_INPUT_ELEMENT_DESC> layout = {Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0),
                                                    Element("BLENDINDICES", 0, DXGI_FORMAT_R8G8B8A8_UINT, 12)};
    EXPECT_EQ(device_->CreateInputLayout(layout.data(), 2, indexed.data(), indexed.size(), nullptr), S_FALSE);
    layout[1].Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    EXPECT_EQ(device_->CreateInputLayout(layout.data(), 2, indexed.data(), indexed.size(), nullptr), E_INVALIDARG);

    Ref<ID3D11VertexShader> generated = VertexShader(kGeneratedSource);
    context_->VSSetShader(generated.get(), nullptr, 0);
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 1u) << "SV_VertexID comes from the pipeline";
}

TEST_F(Shaders, DrawsAreRecordedOnlyWithEverythingTheyNeedBoundAndTheStagesLinked)
{
    const Program program = MakeProgram(kVertexSource, kPixelSource, kLayout);
    ASSERT_TRUE(program.layout);
    Ref<ID3D11VertexShader> indexed = VertexShader(kIndexedSource);
    Ref<ID3D11VertexShader> positionOnly = VertexShader(kGeneratedSource);
    Ref<ID3D11Buffer> vertices = MakeBuffer(24 * 4, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER);
    Ref<ID3D11Buffer> indices = MakeBuffer(12, D3D11_USAGE_DEFAULT, D3D11_BIND_INDEX_BUFFER);

    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->Draw(3, 0);
    context_->DrawIndexed(3, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "no vertex shader";
    EXPECT_EQ(NewMessages().size(), 2u) << "each refused draw is logged";
    context_->VSSetShader(program.vertex.get(), nullptr, 0);
    context_->DrawIndexed(6, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "no input layout";
    context_->IASetInputLayout(program.layout.get());
    context_->DrawIndexed(6, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "no index buffer";
    context_->VSSetShader(indexed.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 0u) << "the layout does not feed BLENDINDICES";
    context_->VSSetShader(program.vertex.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 1u) << "no pixel shader and no vertex buffer are needed";

    context_->PSSetShader(program.pixel.get(), nullptr, 0);
    context_->IASetIndexBuffer(indices.get(), DXGI_FORMAT_R16_UINT, 0);
    ID3D11Buffer* raw = vertices.get();
    const UINT stride = 24;
    const UINT offset = 0;
    context_->IASetVertexBuffers(0, 1, &raw, &stride, &offset);
    context_->DrawIndexed(6, 0, 0);
    context_->DrawIndexedInstanced(6, 3, 0, 0, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 3u);
    Ref<ID3D11VertexShader> bound;
    context_->VSGetShader(bound.Put(), nullptr, nullptr);
    EXPECT_EQ(bound.get(), program.vertex.get());

    context_->VSSetShader(positionOnly.get(), nullptr, 0);
    context_->Draw(3, 0);
    EXPECT_EQ(HalvoD3D11_DrawCount(device_.get()), 3u) << "the pixel shader reads COLOR0 and TEXCOORD0";
    bool named = false;
    for (const std::string& message : NewMessages()) named = named || message.find("COLOR0") != std::string::npos;
    EXPECT_TRUE(named);
}

TEST_F(Shaders, ClassInstancesAreNotTaken)
{
    Ref<ID3D11VertexShader> shader = VertexShader(kVertexSource);
    ID3D11ClassInstance* instance = nullptr;
    context_->VSSetShader(shader.get(), &instance, 1);
    Ref<ID3D11VertexShader> bound;
    context_->VSGetShader(bound.Put(), nullptr, nullptr);
    EXPECT_FALSE(bound);
}

}  // namespace
