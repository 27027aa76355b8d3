#include "renderer/d3d11/renderer_test_support.h"

#include <d3dcompiler.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "graphics/render_states.h"
#include "graphics/renderer_entry_points.h"
#include "renderer/d3d11/buffers.h"
#include "renderer/d3d11/texture_data.h"
#include "shadertool/basic/targets.h"
#include "support/png_writer.h"
#include "support/vulkan_driver_keeper.h"
#include "winapi/com/live_objects.h"
#include "winapi/d3d11/vulkan/vulkan_backend.h"

namespace {

RendererTest* g_current = nullptr;  // the running test, for the engine's callbacks

// Whether the layer runs the named back end here.
bool BackendStarts(const char* name)
{
    ID3D11Device* device = nullptr;
    if (FAILED(D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &device,
                                 nullptr, nullptr))) {
        return false;
    }
    const bool starts = std::strcmp(HalvoD3D11_BackendName(device), name) == 0;
    device->Release();
    return starts;
}

LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

class RendererTestAccess {
public:
    static bool Reinitialize(const HV_VideoParameters* parameters)
    {
        g_current->reinitializeRequests_.push_back(*parameters);
        return true;
    }
    // Records the call and gives the window that client size, as the platform does.
    static void SetWindowStyle(HWND__* window, const tagRECT& desktop, int width, int height, bool windowed)
    {
        g_current->windowStyleCalls_.push_back({desktop, width, height, windowed});
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        SetWindowPos(window, nullptr, desktop.left, desktop.top, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

void RendererTest::SetUp()
{
    g_current = this;
    KeepVulkanDriverLoaded();
    HalvoD3D11_ResetHooks();
    setenv("HALVO_D3D11_BACKEND", GetParam(), 1);
    setenv("HALVO_VULKAN_VALIDATION", "1", 1);
    validationAtStart_ = halvo::d3d11::vulkan::ValidationMessageCount();
    if (!BackendStarts(GetParam())) GTEST_SKIP() << "the " << GetParam() << " back end cannot start here";
    liveAtStart_ = halvo::com::LiveObjectCount();
    layerMessagesAtStart_ = HalvoD3D11_MessageCount();

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlainWindowProcedure;
    windowClass.lpszClassName = "RendererTestWindow";
    RegisterClassExA(&windowClass);
    program_.video.width = 640;
    program_.video.height = 480;
    program_.video.windowed = true;
    RECT frame{0, 0, program_.video.width, program_.video.height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window_ = CreateWindowExA(0, "RendererTestWindow", "renderer test", WS_OVERLAPPEDWINDOW, 0, 0,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);

    engine_.ReinitializeWithParameters = &RendererTestAccess::Reinitialize;
    state_.engine = &engine_;
    state_.window = window_;
    state_.program = &program_;
    state_.presentInterval = 1;
    state_.setWindowStyle = &RendererTestAccess::SetWindowStyle;
    renderer_ = HALVO_RendImp_GetInterface();
}

void RendererTest::TearDown()
{
    if (renderer_ != nullptr) renderer_->Shutdown();
    HALVO_RendImp_Unload();
    renderer_ = nullptr;
    if (window_ != nullptr) DestroyWindow(window_);
    if (!IsSkipped()) {
        EXPECT_EQ(NewLiveObjects(), 0) << "the renderer left objects of the layer alive";
        EXPECT_EQ(halvo::d3d11::vulkan::ValidationMessageCount(), validationAtStart_)
            << "the Vulkan validation layer complained (the messages are in the log)";
    }
    HalvoD3D11_ResetHooks();
    unsetenv("HALVO_D3D11_BACKEND");
    unsetenv("HALVO_VULKAN_VALIDATION");
    g_current = nullptr;
}

bool RendererTest::Initialize() { return renderer_->Initialize(&engine_, &state_, program_.video); }

void RendererTest::ReloadRenderer()
{
    renderer_->Shutdown();
    HALVO_RendImp_Unload();
    renderer_ = HALVO_RendImp_GetInterface();
}

long RendererTest::NewLiveObjects() const { return long(halvo::com::LiveObjectCount()) - liveAtStart_; }

IDXGISwapChain* RendererTest::SwapChain() const { return HalvoD3D11_SwapChainOfWindow(window_); }

ID3D11Device* RendererTest::Device() const
{
    IDXGISwapChain* swapChain = SwapChain();
    ID3D11Device* device = nullptr;
    if (swapChain == nullptr ||
        FAILED(swapChain->GetDevice(__uuidof(ID3D11Device), reinterpret_cast<void**>(&device)))) {
        return nullptr;
    }
    device->Release();  // the renderer keeps it alive
    return device;
}

bool RendererTest::IsFullscreen() const
{
    BOOL fullscreen = FALSE;
    IDXGISwapChain* swapChain = SwapChain();
    return swapChain != nullptr && SUCCEEDED(swapChain->GetFullscreenState(&fullscreen, nullptr)) && fullscreen;
}

SIZE RendererTest::BufferSize() const
{
    DXGI_SWAP_CHAIN_DESC description{};
    IDXGISwapChain* swapChain = SwapChain();
    if (swapChain == nullptr || FAILED(swapChain->GetDesc(&description))) return SIZE{0, 0};
    return SIZE{LONG(description.BufferDesc.Width), LONG(description.BufferDesc.Height)};
}

DXGI_MODE_DESC RendererTest::Mode(UINT width, UINT height, UINT rate)
{
    DXGI_MODE_DESC mode{};
    mode.Width = width;
    mode.Height = height;
    mode.RefreshRate = {rate, 1};
    mode.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    return mode;
}

std::vector<std::string> RendererTest::LayerComplaints() const
{
    std::vector<std::string> lines;
    for (UINT index = layerMessagesAtStart_; index < HalvoD3D11_MessageCount(); ++index) {
        lines.emplace_back(HalvoD3D11_Message(index));
    }
    return lines;
}

uint32_t RgbaImage::At(uint32_t x, uint32_t y) const
{
    uint32_t texel;
    std::memcpy(&texel, bytes.data() + (size_t(y) * width + x) * 4, 4);
    return texel;
}

void RgbaImage::Set(uint32_t x, uint32_t y, uint32_t texel)
{
    std::memcpy(bytes.data() + (size_t(y) * width + x) * 4, &texel, 4);
}

uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a) { return r | g << 8 | b << 16 | a << 24; }

RgbaImage Filled(uint32_t width, uint32_t height, uint32_t texel)
{
    RgbaImage image{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) image.Set(x, y, texel);
    }
    return image;
}

uint32_t PatternTexel(int x, int y)
{
    return uint32_t(x & 0xff) | uint32_t(y & 0xff) << 8 | uint32_t((x * 7 + y * 3) & 0xff) << 16 |
           uint32_t(255 - (x & 0xff)) << 24;
}

RgbaImage PatternImage(uint32_t width, uint32_t height, uint32_t firstRow)
{
    RgbaImage image = Filled(width, height, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) image.Set(x, y, PatternTexel(int(x), int(firstRow + y)));
    }
    return image;
}

RgbaImage PixelsOf(const HV_Bitmap& bitmap)
{
    RgbaImage image{uint32_t(bitmap.pixelWidth), uint32_t(bitmap.pixelHeight), {}};
    image.bytes.assign(bitmap.pixels, bitmap.pixels + size_t(bitmap.pixelWidth) * bitmap.pixelHeight * 4);
    return image;
}

void FillWithPattern(HV_Bitmap& bitmap, const char* name, int32_t width, int32_t height)
{
    bitmap.name = name;
    EXPECT_TRUE(HVI_GetImageLoader()->AllocateImagePixels(&bitmap, width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t texel = PatternTexel(x, y);
            std::memcpy(bitmap.pixels + (size_t(y) * width + x) * 4, &texel, 4);
        }
    }
    bitmap.width = width;
    bitmap.height = height;
}

void TextureRendererTest::SetUp()
{
    RendererTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(Initialize());
}

void TextureRendererTest::TearDown()
{
    if (!IsSkipped() && expectedComplaints_.has_value()) {
        const std::vector<std::string> complaints = LayerComplaints();
        EXPECT_EQ(complaints.size(), *expectedComplaints_)
            << "the layer complained; the first: " << (complaints.empty() ? "" : complaints.front());
    }
    for (HV_Bitmap& bitmap : bitmaps_) {
        if (renderer_ != nullptr) renderer_->ReleaseTexture(bitmap.renderer);
        HVI_GetImageLoader()->FreeImagePixels(&bitmap);
    }
    RendererTest::TearDown();
}

HV_Bitmap& TextureRendererTest::MakeBitmap(const char* name, int32_t width, int32_t height, int32_t type, uint16_t mips)
{
    HV_Bitmap& bitmap = bitmaps_.emplace_back();
    FillWithPattern(bitmap, name, width, height);
    bitmap.type = type;
    bitmap.mips = mips;
    return bitmap;
}

HV_Bitmap& TextureRendererTest::MakeTarget(const char* name, int32_t width, int32_t height, int32_t format,
                                           int32_t type, uint16_t mips)
{
    HV_Bitmap& bitmap = bitmaps_.emplace_back();
    bitmap.name = name;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.format = format;
    bitmap.type = type;
    bitmap.mips = mips;
    return bitmap;
}

ID3D11Texture2D* TextureRendererTest::TextureOf(const HV_Bitmap& bitmap)
{
    if (bitmap.renderer.texture == nullptr) return nullptr;
    return static_cast<ID3D11Texture2D*>(bitmap.renderer.texture->texture);
}

ID3D11DeviceContext* TextureRendererTest::ContextOf(ID3D11Resource* resource)
{
    ID3D11Device* device = nullptr;
    resource->GetDevice(&device);
    ID3D11DeviceContext* context = nullptr;
    device->GetImmediateContext(&context);
    device->Release();
    return context;
}

RgbaImage TextureRendererTest::ReadSubresource(ID3D11Texture2D* texture, UINT subresource)
{
    RgbaImage image;
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    const UINT mip = subresource % desc.MipLevels;
    image.width = std::max(desc.Width >> mip, 1u);
    image.height = std::max(desc.Height >> mip, 1u);
    image.bytes.resize(size_t(image.width) * image.height * 4);

    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    Ref<ID3D11Device> device;
    texture->GetDevice(device.Put());
    Ref<ID3D11Texture2D> staging;
    EXPECT_EQ(device->CreateTexture2D(&desc, nullptr, staging.Put()), S_OK);
    if (!staging) return image;
    Ref<ID3D11DeviceContext> context;
    device->GetImmediateContext(context.Put());
    context->CopyResource(staging.get(), texture);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    EXPECT_EQ(context->Map(staging.get(), subresource, D3D11_MAP_READ, 0, &mapped), S_OK);
    if (mapped.pData != nullptr) {
        for (UINT row = 0; row < image.height; ++row) {
            std::memcpy(image.bytes.data() + size_t(row) * image.width * 4,
                        static_cast<const uint8_t*>(mapped.pData) + size_t(row) * mapped.RowPitch, image.width * 4);
        }
        context->Unmap(staging.get(), subresource);
    }
    if (desc.Format == DXGI_FORMAT_B8G8R8A8_UNORM || desc.Format == DXGI_FORMAT_B8G8R8X8_UNORM) {
        for (size_t at = 0; at < image.bytes.size(); at += 4) std::swap(image.bytes[at], image.bytes[at + 2]);
    }
    return image;
}

void TextureRendererTest::ExpectImage(const std::string& name, const RgbaImage& actual, const RgbaImage& expected,
                                      int tolerance)
{
    ASSERT_EQ(actual.width, expected.width) << name;
    ASSERT_EQ(actual.height, expected.height) << name;
    size_t first = actual.bytes.size();
    for (size_t at = 0; at < actual.bytes.size() && first == actual.bytes.size(); ++at) {
        if (std::abs(int(actual.bytes[at]) - int(expected.bytes[at])) > tolerance) first = at / 4 * 4;
    }
    if (first == actual.bytes.size()) return;
    const std::filesystem::path folder = std::filesystem::current_path() / "pixel-failures";
    std::filesystem::create_directories(folder);
    const std::string expectedPath = (folder / (name + "-expected.png")).string();
    const std::string actualPath = (folder / (name + "-actual.png")).string();
    WriteRgbaPng(expectedPath, expected.width, expected.height, expected.bytes);
    WriteRgbaPng(actualPath, actual.width, actual.height, actual.bytes);
    const uint32_t x = uint32_t(first / 4 % actual.width);
    const uint32_t y = uint32_t(first / 4 / actual.width);
    ADD_FAILURE() << name << ": pixel (" << x << ", " << y << ") is 0x" << std::hex << actual.At(x, y)
                  << ", expected 0x" << expected.At(x, y) << std::dec << "; see " << expectedPath << " and "
                  << actualPath;
}

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
    ReloadRenderer();
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
    Ref<ID3D11Buffer> staging;
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
    Ref<ID3D11RenderTargetView> view;
    context_->OMGetRenderTargets(1, view.Put(), nullptr);
    EXPECT_TRUE(view) << "no colour target is bound";
    if (!view) return {};
    Ref<ID3D11Resource> resource;
    view->GetResource(resource.Put());
    Ref<ID3D11Texture2D> texture;
    resource->QueryInterface(__uuidof(ID3D11Texture2D), reinterpret_cast<void**>(texture.Put()));
    return ReadSubresource(texture.get(), 0);
}

bool StateTest::IsReported(const std::string& description, const std::string& extra) const
{
    const std::string ending = "\n\n" + extra;
    for (const std::string& line : log_.Lines()) {
        if (line.find(description) != std::string::npos && line.size() >= ending.size() &&
            line.compare(line.size() - ending.size(), ending.size(), ending) == 0) {
            return true;
        }
    }
    return false;
}

bool StateTest::MakeColourProgram()
{
    ByteBuffer* outputs = colourProgramCode_;
    for (int stage = 0; stage < ShaderTool::STAGE_COUNT; ++stage) outputs[stage] = ByteBuffer();  // made anew
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
