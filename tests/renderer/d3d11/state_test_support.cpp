#include "renderer/d3d11/state_test_support.h"

#include <d3dcompiler.h>

#include <cstring>

#include "graphics/render_states.h"
#include "renderer/d3d11/buffers.h"
#include "graphics/renderer_entry_points.h"
#include "shadertool/basic/targets.h"

namespace {

// HLSL of the colour program: vertex colours times a pixel constant.
constexpr char kColourVertexSource[] =
    "struct VertexInput { float3 position : POSITION; float4 colour : COLOR; };\n"
    "struct VertexOutput { float4 position : SV_POSITION; float4 colour : COLOR0; };\n"
    "VertexOutput main(VertexInput input) {\n"
    "  VertexOutput output;\n"
    "  output.position = float4(input.position, 1.0);\n"
    "  output.colour = input.colour;\n"
    "  return output;\n"
    "}\n";
constexpr char kColourPixelSource[] =
    "cbuffer Constants : register(b0) { float4 tint; };\n"
    "struct PixelInput { float4 position : SV_POSITION; float4 colour : COLOR0; };\n"
    "float4 main(PixelInput input) : SV_TARGET0 { return input.colour * tint; }\n";

bool Compile(const char* source, const char* profile, ByteBuffer& code)
{
    static HMODULE compiler = LoadLibraryA("d3dcompiler_47.dll");
    EXPECT_NE(compiler, nullptr) << "d3dcompiler_47.dll not found; HALVO_LIBRARY_PATH must name " HALVO_MODULE_DIR;
    if (compiler == nullptr) return false;
    auto compile = reinterpret_cast<pD3DCompile>(reinterpret_cast<void (*)()>(GetProcAddress(compiler, "D3DCompile")));
    ID3DBlob* blob = nullptr;
    ID3DBlob* messages = nullptr;
    const HRESULT result =
        compile(source, std::strlen(source), "test", nullptr, nullptr, "main", profile, 0, 0, &blob, &messages);
    if (SUCCEEDED(result)) {
        code.WriteBytes(blob->GetBufferPointer(), int(blob->GetBufferSize()));
    } else {
        ADD_FAILURE() << "compile failed: "
                      << (messages != nullptr ? static_cast<const char*>(messages->GetBufferPointer()) : "");
    }
    if (blob != nullptr) blob->Release();
    if (messages != nullptr) messages->Release();
    return SUCCEEDED(result);
}

}  // namespace

void StateTest::SetUp()
{
    TextureRendererTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    HVI_ResetRenderStates();
    HVI_SetRenderer(renderer_);
    FindDevice();
}

void StateTest::TearDown()
{
    // Whatever the renderer asked of the layer was valid use of the platform.
    for (const std::string& complaint : LayerComplaints()) ADD_FAILURE() << "the layer complained: " << complaint;
    if (renderer_ != nullptr) renderer_->ReleaseShaderProgram(&shader_);
    context_.Reset();
    device_.Reset();
    HVI_SetRenderer(nullptr);
    HVI_ResetRenderStates();
    TextureRendererTest::TearDown();
}

void StateTest::ShutDown()
{
    context_.Reset();
    device_.Reset();
    renderer_->Shutdown();
}

bool StateTest::Restart()
{
    if (!Initialize()) return false;
    FindDevice();
    return bool(device_);
}

void StateTest::FindDevice()
{
    context_.Reset();
    device_.Reset();
    RendererVertexBuffer* probe = renderer_->CreateVertexBuffer(1, 1, kBufferUsageDynamic);
    ASSERT_NE(probe->block->buffer, nullptr) << "the renderer has no device";
    *context_.Put() = ContextOf(probe->block->buffer);
    context_->GetDevice(device_.Put());
    renderer_->ReleaseVertexBuffer(probe);
}

void StateTest::RestartWithoutBgraVertexColours()
{
    UINT support = 0;
    ASSERT_EQ(device_->CheckFormatSupport(DXGI_FORMAT_B8G8R8A8_UNORM, &support), S_OK);
    ShutDown();
    HALVO_RendImp_Unload();
    renderer_ = HALVO_RendImp_GetInterface();
    HVI_SetRenderer(renderer_);
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_B8G8R8A8_UNORM, support & ~UINT(D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER));
    ASSERT_TRUE(Initialize());
    FindDevice();
}

std::vector<uint8_t> StateTest::ReadBuffer(ID3D11Buffer* buffer, uint32_t byteCount)
{
    D3D11_BUFFER_DESC desc;
    buffer->GetDesc(&desc);
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    desc.StructureByteStride = 0;
    Held<ID3D11Buffer> staging;
    std::vector<uint8_t> bytes;
    EXPECT_EQ(device_->CreateBuffer(&desc, nullptr, staging.Put()), S_OK);
    if (!staging) return bytes;
    context_->CopyResource(staging.get(), buffer);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    EXPECT_EQ(context_->Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped), S_OK);
    if (mapped.pData == nullptr) return bytes;
    bytes.assign(static_cast<const uint8_t*>(mapped.pData), static_cast<const uint8_t*>(mapped.pData) + byteCount);
    context_->Unmap(staging.get(), 0);
    return bytes;
}

RgbaImage StateTest::ReadBoundTarget()
{
    Held<ID3D11RenderTargetView> view;
    context_->OMGetRenderTargets(1, view.Put(), nullptr);
    EXPECT_TRUE(view) << "no colour target is bound";
    if (!view) return {};
    Held<ID3D11Resource> resource;
    view->GetResource(resource.Put());
    Held<ID3D11Texture2D> texture;
    resource->QueryInterface(__uuidof(ID3D11Texture2D), reinterpret_cast<void**>(texture.Put()));
    return ReadSubresource(texture.get(), 0);
}

bool StateTest::IsReported(const std::string& description, const std::string& extra)
{
    const std::string ending = "\n\n" + extra;
    for (const std::string& line : Logged()) {
        if (line.find(description) != std::string::npos && line.size() >= ending.size() &&
            line.compare(line.size() - ending.size(), ending.size(), ending) == 0) {
            return true;
        }
    }
    return false;
}

bool StateTest::MakeColourProgram()
{
    ByteBuffer outputs[ShaderTool::STAGE_COUNT];
    if (!Compile(kColourVertexSource, "vs_4_0", outputs[ShaderTool::STAGE_VERTEX]) ||
        !Compile(kColourPixelSource, "ps_4_0", outputs[ShaderTool::STAGE_PIXEL])) {
        return false;
    }
    shader_.name = "colour";
    shader_.vertexFormat = 3;
    shader_.pixelConstants.byteSize = 16;
    shader_.pixelConstants.count = 1;
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    shader_.pixelConstants.bytes.WriteBytes(white, sizeof white);
    if (!renderer_->CreateShaderProgram(&shader_, nullptr, outputs)) return false;
    renderer_->BindShaderProgram(&shader_);
    return true;
}
