// Shader programs through the renderer's own interface, on both back ends:
// a Shader XML of the corpus read and translated by the graphics front end
// becomes a program with its input layout and constant buffers; every
// failure text, and a leak sweep.
#include <cstring>
#include <filesystem>

#include "core/configuration.h"
#include "filesystem/scheme_roots.h"
#include "graphics/shader_translation.h"
#include "renderer/d3d11/shader_program.h"
#include "renderer/d3d11/renderer_test_support.h"
#include "support/temporary_folder.h"

namespace {

class ShaderProgramTest : public TextureRendererTest {
protected:
    ShaderProgramTest() { expectedComplaints_ = 0; }

    void SetUp() override
    {
        TextureRendererTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        std::filesystem::create_directories(folder_ / "res");
        std::filesystem::copy(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaderxml", folder_ / "res",
                              std::filesystem::copy_options::recursive);
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, (folder_ / "res").string().c_str());
        HVI_SetRenderer(renderer_);
        ASSERT_TRUE(HVI_InitShaders());
        shader_.name = "res://sprite_v22.xml";
        ASSERT_EQ(HVI_LoadShader(shader_, false), HVI_SHADER_TRANSLATED);
    }
    void TearDown() override
    {
        if (renderer_ != nullptr) renderer_->ReleaseShaderProgram(&shader_);
        TextureRendererTest::TearDown();
    }

    bool CreateProgram()
    {
        return renderer_->CreateShaderProgram(&shader_, &shader_.description, shader_.stageOutputs);
    }

    static UINT BufferSize(ID3D11Buffer* buffer)
    {
        D3D11_BUFFER_DESC desc{};
        buffer->GetDesc(&desc);
        return desc.ByteWidth;
    }

    // Expects the failure to be logged once, with no program attached and
    // nothing left alive.
    void ExpectFailure(const char* entryPoint, UINT n, const std::string& text)
    {
        const long before = NewLiveObjects();
        HalvoD3D11_FailCall(entryPoint, n, E_OUTOFMEMORY);
        EXPECT_FALSE(CreateProgram()) << entryPoint;
        EXPECT_EQ(shader_.program, nullptr) << entryPoint;
        EXPECT_EQ(NewLiveObjects(), before) << entryPoint;
        EXPECT_EQ(CountLogged(text), 1) << text;
    }

    TemporaryFolder temporary_{"halvo-renderer-programs"};
    const std::filesystem::path folder_ = temporary_.Path();
    HV_Shader shader_;
};

TEST_P(ShaderProgramTest, ShaderXmlBecomesAProgramThatBinds)
{
    ASSERT_EQ(shader_.vertexFormat, 7u);  // position, colour, coordinates
    ASSERT_TRUE(CreateProgram());
    ASSERT_NE(shader_.program, nullptr);
    const RendererShaderProgram& program = *shader_.program;
    EXPECT_NE(program.vertexShader, nullptr);
    EXPECT_NE(program.pixelShader, nullptr);
    EXPECT_NE(program.inputLayout, nullptr);
    // One 16-byte block more than the whole blocks: a 4 x 4 matrix of 64
    // bytes gets 80, one float4 of 16 bytes gets 32.
    ASSERT_NE(program.vertexConstants, nullptr);
    EXPECT_EQ(BufferSize(program.vertexConstants), 80u);
    ASSERT_NE(program.pixelConstants, nullptr);
    EXPECT_EQ(BufferSize(program.pixelConstants), 32u);
    D3D11_BUFFER_DESC desc{};
    program.vertexConstants->GetDesc(&desc);
    EXPECT_EQ(desc.Usage, D3D11_USAGE_DYNAMIC);
    EXPECT_EQ(desc.BindFlags, UINT(D3D11_BIND_CONSTANT_BUFFER));
    EXPECT_EQ(desc.CPUAccessFlags, UINT(D3D11_CPU_ACCESS_WRITE));

    renderer_->BindShaderProgram(&shader_);
    Ref<ID3D11DeviceContext> context;
    *context.Put() = ContextOf(program.vertexConstants);
    Ref<ID3D11VertexShader> vertexShader;
    Ref<ID3D11PixelShader> pixelShader;
    Ref<ID3D11InputLayout> layout;
    context->VSGetShader(vertexShader.Put(), nullptr, nullptr);
    context->PSGetShader(pixelShader.Put(), nullptr, nullptr);
    context->IAGetInputLayout(layout.Put());
    EXPECT_EQ(vertexShader.get(), program.vertexShader);
    EXPECT_EQ(pixelShader.get(), program.pixelShader);
    EXPECT_EQ(layout.get(), program.inputLayout);
    // No program binds nothing: what was bound stays.
    renderer_->BindShaderProgram(nullptr);
    context->VSGetShader(vertexShader.Put(), nullptr, nullptr);
    EXPECT_EQ(vertexShader.get(), program.vertexShader);
}

TEST_P(ShaderProgramTest, ProgramsWithoutConstantsHaveNoConstantBuffers)
{
    shader_.vertexConstants.byteSize = 0;
    shader_.pixelConstants.byteSize = 0;
    ASSERT_TRUE(CreateProgram());
    EXPECT_EQ(shader_.program->vertexConstants, nullptr);
    EXPECT_EQ(shader_.program->pixelConstants, nullptr);
}

TEST_P(ShaderProgramTest, ReleaseAndReplacementLeaveOnlyTheCurrentProgram)
{
    const long before = NewLiveObjects();
    ASSERT_TRUE(CreateProgram());
    const long one = NewLiveObjects();
    ASSERT_TRUE(CreateProgram());
    EXPECT_EQ(NewLiveObjects(), one);
    renderer_->ReleaseShaderProgram(&shader_);
    EXPECT_EQ(shader_.program, nullptr);
    EXPECT_EQ(NewLiveObjects(), before);
}

TEST_P(ShaderProgramTest, EveryFailureIsReportedAndLeavesNothingAlive)
{
    ExpectFailure("ID3D11Device::CreateVertexShader", 1,
                  "D3D11 renderer failed to create vertex shader 'res://sprite_v22.xml'.");
    ExpectFailure("ID3D11Device::CreateInputLayout", 1, "D3D11 renderer failed to create an input layout.");
    ExpectFailure("ID3D11Device::CreatePixelShader", 1,
                  "D3D11 renderer failed to create pixel shader 'res://sprite_v22.xml'.");
    ExpectFailure("ID3D11Device::CreateBuffer", 1, "D3D11 renderer failed to create a vertex constant buffer.");
    ExpectFailure("ID3D11Device::CreateBuffer", 2, "D3D11 renderer failed to create a pixel constant buffer.");
    // Vertex shader, input layout, pixel shader and the two constant buffers.
    EXPECT_EQ(SweepCreationFailures([&] { return CreateProgram(); }), 5);
}

// The corpus's sprite shader draws a padded bitmap over a target of the
// image's size through the bitmap's uv rectangle; point sampling at texel
// centres gives back the image exactly. The memory back end does not
// rasterise: there the draw must reach the layer.
TEST_P(ShaderProgramTest, SpriteShaderDrawsAPaddedBitmapTexelForTexel)
{
    HV_Bitmap& bitmap = MakeBitmap("sprite", 6, 3);
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    ASSERT_EQ(bitmap.renderer.textureWidth, 8);  // padded, not rounded: one level on a non-power-of-two device
    ASSERT_EQ(bitmap.renderer.textureHeight, 5);
    HV_Bitmap& target = MakeTarget("canvas", 6, 3, HV_TEXTURE_FORMAT_B8G8R8A8);
    ASSERT_TRUE(renderer_->CreateRenderTarget(&target));
    ASSERT_TRUE(CreateProgram());
    // The transform is the identity; the tint times BRIGHTNESS (1.25) is 1.
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float tint[4] = {0.8f, 0.8f, 0.8f, 0.8f};
    ASSERT_EQ(shader_.vertexConstants.bytes.GetSize(), int(sizeof identity));
    ASSERT_EQ(shader_.pixelConstants.bytes.GetSize(), int(sizeof tint));
    std::memcpy(shader_.vertexConstants.bytes.GetWritableData(), identity, sizeof identity);
    std::memcpy(shader_.pixelConstants.bytes.GetWritableData(), tint, sizeof tint);

    struct Vertex {
        float x, y, z;
        uint8_t color[4];
        float u, v;
    };
    static_assert(sizeof(Vertex) == 24);
    const float* uv = bitmap.renderer.uv;
    const Vertex vertices[4] = {
        {-1, 1, 0, {255, 255, 255, 255}, uv[0], uv[1]},
        {1, 1, 0, {255, 255, 255, 255}, uv[2], uv[1]},
        {-1, -1, 0, {255, 255, 255, 255}, uv[0], uv[3]},
        {1, -1, 0, {255, 255, 255, 255}, uv[2], uv[3]},
    };
    const uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
    RendererVertexBuffer* vertexBuffer = renderer_->CreateVertexBuffer(shader_.vertexFormat, 4, 1);
    RendererIndexBuffer* indexBuffer = renderer_->CreateIndexBuffer(6, 1);
    ASSERT_TRUE(renderer_->UploadVertexBuffer(vertexBuffer, vertices, sizeof vertices));
    ASSERT_TRUE(renderer_->UploadIndexBuffer(indexBuffer, indices, sizeof indices));

    HV_RenderTargetSet set;
    set.color[0] = &target;
    ASSERT_TRUE(renderer_->SetRenderTargets(set));
    renderer_->SetViewport(0, 0, 6, 3, 0.0f, 1.0f);
    renderer_->SetBlendMode(3);
    renderer_->SetCullMode(0);
    renderer_->SetTextureFilter(0, 1, 1, 1);
    renderer_->SetTextureAddressMode(0, 1, 1, 1);
    renderer_->BindShaderProgram(&shader_);
    RendererTextureData* units[kRendererTextureUnits] = {bitmap.renderer.texture};
    renderer_->BindTextures(units);
    ID3D11Device* device = nullptr;
    TextureOf(target)->GetDevice(&device);
    const UINT64 drawsBefore = HalvoD3D11_DrawCount(device);
    renderer_->DrawTriangles(vertexBuffer, 4, indexBuffer, 2);
    EXPECT_EQ(HalvoD3D11_DrawCount(device), drawsBefore + 1);
    device->Release();
    renderer_->ReleaseVertexBuffer(vertexBuffer);
    renderer_->ReleaseIndexBuffer(indexBuffer);
    if (!OnVulkan()) return;

    ASSERT_TRUE(renderer_->ReadRenderTargetPixels(&target));
    ExpectImage("sprite-drawn-vulkan", PixelsOf(target), PatternImage(6, 3));
}

// The layout must feed every input the vertex code reads.
TEST_P(ShaderProgramTest, LayoutThatMissesAVertexInputIsRefused)
{
    shader_.vertexFormat = 1;
    EXPECT_FALSE(CreateProgram());
    expectedComplaints_ = 1;  // the layer names the input no element provides
    EXPECT_EQ(CountLogged("D3D11 renderer failed to create an input layout."), 1);
}

HALVO_RENDERER_BACKENDS(ShaderProgramTest);

}  // namespace
