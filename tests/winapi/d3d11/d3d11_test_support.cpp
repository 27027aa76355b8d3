#include "winapi/d3d11/d3d11_test_support.h"

#include <filesystem>

#include "support/png_writer.h"
#include "winapi/com/live_objects.h"

uint32_t Pixels::At(UINT x, UINT y) const
{
    const size_t at = (size_t(y) * width + x) * 4;
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

uint32_t Rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}

void D3D11Test::SetUp()
{
    HalvoD3D11_ResetHooks();
    messagesAtStart_ = HalvoD3D11_MessageCount();
    ASSERT_EQ(halvo::com::LiveObjectCount(), 0) << "an earlier test left objects alive";
    ASSERT_EQ(MakeDevice(), S_OK);
}

void D3D11Test::TearDown()
{
    context_.Reset();
    device_.Reset();
    for (HWND window : windows_) DestroyWindow(window);
    if (compiler_ != nullptr) FreeLibrary(compiler_);
    EXPECT_EQ(halvo::com::LiveObjectCount(), 0) << "objects are still alive after the test";
    HalvoD3D11_ResetHooks();
}

extern const D3D_FEATURE_LEVEL kAllLevels[7] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1,
                                                D3D_FEATURE_LEVEL_10_0, D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,
                                                D3D_FEATURE_LEVEL_9_1};

HRESULT CreateDeviceAsTheRendererDoes(ID3D11Device** device, D3D_FEATURE_LEVEL* level, ID3D11DeviceContext** context)
{
    HRESULT result = E_FAIL;
    for (D3D_DRIVER_TYPE type : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        result = D3D11CreateDevice(nullptr, type, nullptr, 0, kAllLevels, 7, D3D11_SDK_VERSION, device, level, context);
        if (result == E_INVALIDARG) {
            result = D3D11CreateDevice(nullptr, type, nullptr, 0, kAllLevels + 1, 6, D3D11_SDK_VERSION, device, level,
                                       context);
        }
        if (SUCCEEDED(result)) return result;
    }
    return result;
}

HRESULT D3D11Test::MakeDevice() { return CreateDeviceAsTheRendererDoes(device_.Put(), &level_, context_.Put()); }

std::vector<uint8_t> D3D11Test::Compile(const std::string& source, const char* profile)
{
    if (compiler_ == nullptr) compiler_ = LoadLibraryA("d3dcompiler_47.dll");
    EXPECT_NE(compiler_, nullptr) << "d3dcompiler_47.dll not found; HALVO_LIBRARY_PATH must name " HALVO_MODULE_DIR;
    if (compiler_ == nullptr) return {};
    auto compile = reinterpret_cast<pD3DCompile>(reinterpret_cast<void (*)()>(GetProcAddress(compiler_, "D3DCompile")));
    ID3DBlob* code = nullptr;
    ID3DBlob* messages = nullptr;
    const HRESULT result =
        compile(source.data(), source.size(), "test", nullptr, nullptr, "main", profile, 0, 0, &code, &messages);
    std::vector<uint8_t> bytes;
    if (SUCCEEDED(result)) {
        const auto* start = static_cast<const uint8_t*>(code->GetBufferPointer());
        bytes.assign(start, start + code->GetBufferSize());
    } else {
        ADD_FAILURE() << "compile failed: "
                      << (messages != nullptr ? static_cast<const char*>(messages->GetBufferPointer()) : "");
    }
    if (code != nullptr) code->Release();
    if (messages != nullptr) messages->Release();
    return bytes;
}

D3D11_TEXTURE2D_DESC TextureDesc(UINT width, UINT height, DXGI_FORMAT format, UINT bindFlags, UINT mipLevels,
                                 UINT arraySize, UINT miscFlags, D3D11_USAGE usage, UINT cpuAccess)
{
    return {width, height, mipLevels, arraySize, format, {1, 0}, usage, bindFlags, cpuAccess, miscFlags};
}

Ref<ID3D11Texture2D> D3D11Test::MakeTexture(UINT width, UINT height, DXGI_FORMAT format, UINT bindFlags, UINT mipLevels,
                                            UINT arraySize, UINT miscFlags, const void* pixels, UINT rowPitch)
{
    const D3D11_TEXTURE2D_DESC desc = TextureDesc(width, height, format, bindFlags, mipLevels, arraySize, miscFlags);
    D3D11_SUBRESOURCE_DATA initial{pixels, rowPitch, 0};
    Ref<ID3D11Texture2D> texture;
    EXPECT_EQ(device_->CreateTexture2D(&desc, pixels != nullptr ? &initial : nullptr, texture.Put()), S_OK);
    return texture;
}

Ref<ID3D11Texture2D> D3D11Test::MakeImmutableCube(UINT size, const std::vector<uint32_t>& texels)
{
    D3D11_SUBRESOURCE_DATA initial[6];
    for (UINT face = 0; face < 6; ++face) initial[face] = {&texels[face * size * size], size * 4, 0};
    const D3D11_TEXTURE2D_DESC desc = TextureDesc(size, size, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1,
                                                  6, D3D11_RESOURCE_MISC_TEXTURECUBE, D3D11_USAGE_IMMUTABLE);
    Ref<ID3D11Texture2D> cube;
    EXPECT_EQ(device_->CreateTexture2D(&desc, initial, cube.Put()), S_OK);
    return cube;
}

Ref<ID3D11Buffer> D3D11Test::MakeBuffer(UINT bytes, D3D11_USAGE usage, UINT bindFlags, UINT cpuAccess, const void* data)
{
    const D3D11_BUFFER_DESC desc{bytes, usage, bindFlags, cpuAccess, 0, 0};
    const D3D11_SUBRESOURCE_DATA initial{data, 0, 0};
    Ref<ID3D11Buffer> buffer;
    EXPECT_EQ(device_->CreateBuffer(&desc, data != nullptr ? &initial : nullptr, buffer.Put()), S_OK);
    return buffer;
}

Ref<ID3D11RenderTargetView> D3D11Test::TargetView(ID3D11Texture2D* texture, DXGI_FORMAT format)
{
    D3D11_RENDER_TARGET_VIEW_DESC desc{};
    desc.Format = format;
    desc.ViewDimension = D3D11_RTV_DIMENSION_TEXTURE2D;
    Ref<ID3D11RenderTargetView> view;
    EXPECT_EQ(device_->CreateRenderTargetView(texture, format == DXGI_FORMAT_UNKNOWN ? nullptr : &desc, view.Put()),
              S_OK);
    return view;
}

Ref<ID3D11ShaderResourceView> D3D11Test::ShaderView(ID3D11Texture2D* texture,
                                                    const D3D11_SHADER_RESOURCE_VIEW_DESC* desc)
{
    Ref<ID3D11ShaderResourceView> view;
    EXPECT_EQ(device_->CreateShaderResourceView(texture, desc, view.Put()), S_OK);
    return view;
}

Ref<ID3D11DepthStencilView> D3D11Test::DepthView(ID3D11Texture2D* texture)
{
    Ref<ID3D11DepthStencilView> view;
    EXPECT_EQ(device_->CreateDepthStencilView(texture, nullptr, view.Put()), S_OK);
    return view;
}

Ref<ID3D11SamplerState> D3D11Test::MakeSampler(D3D11_FILTER filter, D3D11_TEXTURE_ADDRESS_MODE address, FLOAT minLod,
                                               FLOAT maxLod, UINT maxAnisotropy)
{
    const D3D11_SAMPLER_DESC desc{filter,       address, address, address, 0.0f, maxAnisotropy, D3D11_COMPARISON_NEVER,
                                  {0, 0, 0, 0}, minLod,  maxLod};
    Ref<ID3D11SamplerState> sampler;
    EXPECT_EQ(device_->CreateSamplerState(&desc, sampler.Put()), S_OK);
    return sampler;
}

Ref<ID3D11Texture2D> D3D11Test::MakeGeneratedMips(UINT size, UINT levels, const std::vector<uint32_t>& top)
{
    Ref<ID3D11Texture2D> texture =
        MakeTexture(size, size, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE,
                    levels, 1, D3D11_RESOURCE_MISC_GENERATE_MIPS);
    if (!texture) return texture;
    context_->UpdateSubresource(texture.get(), 0, nullptr, top.data(), size * 4, 0);
    context_->GenerateMips(ShaderView(texture.get()).get());
    return texture;
}

Program D3D11Test::MakeProgram(const std::string& vertexSource, const std::string& pixelSource,
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

void D3D11Test::UseProgram(const Program& program)
{
    context_->IASetInputLayout(program.layout.get());
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context_->VSSetShader(program.vertex.get(), nullptr, 0);
    context_->PSSetShader(program.pixel.get(), nullptr, 0);
}

Pixels D3D11Test::ReadBack(ID3D11Texture2D* texture, UINT subresource)
{
    D3D11_TEXTURE2D_DESC desc;
    texture->GetDesc(&desc);
    Pixels pixels;
    pixels.bytes = ReadBytes(texture, 4, subresource);
    if (pixels.bytes.empty()) return pixels;
    const UINT mip = subresource % desc.MipLevels;
    pixels.width = std::max(desc.Width >> mip, 1u);
    pixels.height = std::max(desc.Height >> mip, 1u);
    return pixels;
}

std::vector<uint8_t> D3D11Test::ReadBytes(ID3D11Texture2D* texture, UINT bytesPerTexel, UINT subresource)
{
    D3D11_TEXTURE2D_DESC desc;
    texture->GetDesc(&desc);
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    desc.MiscFlags = 0;
    Ref<ID3D11Texture2D> staging;
    std::vector<uint8_t> bytes;
    EXPECT_EQ(device_->CreateTexture2D(&desc, nullptr, staging.Put()), S_OK);
    if (!staging) return bytes;
    context_->CopyResource(staging.get(), texture);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    EXPECT_EQ(context_->Map(staging.get(), subresource, D3D11_MAP_READ, 0, &mapped), S_OK);
    if (mapped.pData == nullptr) return bytes;
    const UINT mip = subresource % desc.MipLevels;
    const UINT width = std::max(desc.Width >> mip, 1u);
    const UINT height = std::max(desc.Height >> mip, 1u);
    for (UINT y = 0; y < height; ++y) {
        const auto* row = static_cast<const uint8_t*>(mapped.pData) + size_t(y) * mapped.RowPitch;
        bytes.insert(bytes.end(), row, row + width * bytesPerTexel);
    }
    context_->Unmap(staging.get(), subresource);
    return bytes;
}

namespace {

bool WithinTolerance(uint32_t actual, uint32_t expected, int tolerance)
{
    for (int byte = 0; byte < 4; ++byte) {
        const int difference = int((actual >> (8 * byte)) & 0xff) - int((expected >> (8 * byte)) & 0xff);
        if (difference > tolerance || difference < -tolerance) return false;
    }
    return true;
}

}  // namespace

void D3D11Test::ExpectPixels(const std::string& name, const Pixels& actual, const std::vector<uint32_t>& expected,
                             bool bgra, int tolerance)
{
    ASSERT_EQ(size_t(actual.width) * actual.height, expected.size()) << name << ": the sizes differ";
    Pixels wanted = actual;
    for (size_t index = 0; index < expected.size(); ++index) {
        for (int byte = 0; byte < 4; ++byte) wanted.bytes[index * 4 + byte] = uint8_t(expected[index] >> (8 * byte));
    }
    size_t first = expected.size();
    for (size_t index = 0; index < expected.size() && first == expected.size(); ++index) {
        if (!WithinTolerance(actual.At(UINT(index % actual.width), UINT(index / actual.width)), expected[index],
                             tolerance)) {
            first = index;
        }
    }
    if (first == expected.size()) return;
    const std::filesystem::path folder = std::filesystem::current_path() / "pixel-failures";
    std::filesystem::create_directories(folder);
    auto asRgba = [bgra](std::vector<uint8_t> bytes) {
        if (bgra) {
            for (size_t at = 0; at + 3 < bytes.size(); at += 4) std::swap(bytes[at], bytes[at + 2]);
        }
        return bytes;
    };
    const std::string expectedPath = (folder / (name + "-expected.png")).string();
    const std::string actualPath = (folder / (name + "-actual.png")).string();
    WriteRgbaPng(expectedPath, actual.width, actual.height, asRgba(wanted.bytes));
    WriteRgbaPng(actualPath, actual.width, actual.height, asRgba(actual.bytes));
    ADD_FAILURE() << name << ": pixel (" << first % actual.width << ", " << first / actual.width << ") is 0x"
                  << std::hex << actual.At(UINT(first % actual.width), UINT(first / actual.width)) << ", expected 0x"
                  << expected[first] << std::dec << "; see " << expectedPath << " and " << actualPath;
}

namespace {

LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND D3D11Test::MakeWindow(int width, int height)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlainWindowProcedure;
    windowClass.lpszClassName = "D3D11TestWindow";
    RegisterClassExA(&windowClass);
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND window = CreateWindowExA(0, "D3D11TestWindow", "test", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return window;
}

std::vector<std::string> D3D11Test::NewMessages() const
{
    std::vector<std::string> messages;
    for (UINT index = messagesAtStart_; index < HalvoD3D11_MessageCount(); ++index) {
        messages.emplace_back(HalvoD3D11_Message(index));
    }
    return messages;
}

Ref<IDXGIAdapter> D3D11Test::DeviceAdapter()
{
    Ref<IDXGIDevice> dxgiDevice;
    EXPECT_EQ(device_->QueryInterface(IID_PPV_ARGS(dxgiDevice.Put())), S_OK);
    Ref<IDXGIAdapter> adapter;
    EXPECT_EQ(dxgiDevice->GetAdapter(adapter.Put()), S_OK);
    return adapter;
}

Ref<IDXGISwapChain1> D3D11Test::SwapChainOver(HWND window, const DXGI_SWAP_CHAIN_DESC1& desc)
{
    Ref<IDXGIFactory2> factory;
    EXPECT_EQ(DeviceAdapter()->GetParent(IID_PPV_ARGS(factory.Put())), S_OK);
    Ref<IDXGISwapChain1> swapChain;
    EXPECT_EQ(factory->CreateSwapChainForHwnd(device_.get(), window, &desc, nullptr, nullptr, swapChain.Put()), S_OK);
    return swapChain;
}

D3D11_BLEND_DESC BlendDescription(const BlendMode& mode, bool colourWrites)
{
    D3D11_BLEND_DESC desc{};
    for (int target = 0; target < 4; ++target) {
        D3D11_RENDER_TARGET_BLEND_DESC& entry = desc.RenderTarget[target];
        entry.BlendEnable = mode.enabled;
        entry.SrcBlend = mode.source;
        entry.DestBlend = mode.destination;
        entry.BlendOp = mode.operation;
        entry.SrcBlendAlpha = mode.enabled ? D3D11_BLEND_SRC_ALPHA : D3D11_BLEND_ONE;
        entry.DestBlendAlpha = mode.enabled ? D3D11_BLEND_ONE : D3D11_BLEND_ZERO;
        entry.BlendOpAlpha = D3D11_BLEND_OP_ADD;
        entry.RenderTargetWriteMask = colourWrites ? D3D11_COLOR_WRITE_ENABLE_ALL : 0;
    }
    return desc;
}

DXGI_MODE_DESC Mode(UINT width, UINT height, UINT rate, DXGI_MODE_SCANLINE_ORDER order)
{
    return {
        width, height, {rate, rate != 0 ? 1u : 0u}, DXGI_FORMAT_B8G8R8A8_UNORM, order, DXGI_MODE_SCALING_UNSPECIFIED};
}

DXGI_SWAP_CHAIN_DESC DiscardSwapChainDesc(HWND window)
{
    DXGI_SWAP_CHAIN_DESC desc{};
    desc.BufferDesc = Mode(0, 0, 60);
    desc.SampleDesc = {1, 0};
    desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    desc.BufferCount = 2;
    desc.OutputWindow = window;
    desc.Windowed = TRUE;
    desc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    desc.Flags = DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH;
    return desc;
}

DXGI_SWAP_CHAIN_DESC1 FlipSwapChainDesc(UINT width, UINT height, DXGI_FORMAT format, UINT flags)
{
    return {width,
            height,
            format,
            FALSE,
            {1, 0},
            DXGI_USAGE_RENDER_TARGET_OUTPUT,
            2,
            DXGI_SCALING_STRETCH,
            DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL,
            DXGI_ALPHA_MODE_UNSPECIFIED,
            flags};
}

std::vector<uint32_t> BoxFiltered(const std::vector<uint32_t>& level, UINT width, UINT height)
{
    std::vector<uint32_t> next((width / 2) * (height / 2));
    for (UINT y = 0; y < height / 2; ++y) {
        for (UINT x = 0; x < width / 2; ++x) {
            uint32_t texel = 0;
            for (int c = 0; c < 4; ++c) {
                uint32_t sum = 2;
                for (UINT dy = 0; dy < 2; ++dy) {
                    for (UINT dx = 0; dx < 2; ++dx) sum += (level[(2 * y + dy) * width + 2 * x + dx] >> (8 * c)) & 0xff;
                }
                texel |= (sum / 4) << (8 * c);
            }
            next[y * (width / 2) + x] = texel;
        }
    }
    return next;
}

D3D11_INPUT_ELEMENT_DESC Element(const char* semantic, UINT index, DXGI_FORMAT format, UINT offset, UINT slot)
{
    return {semantic, index, format, slot, offset, D3D11_INPUT_PER_VERTEX_DATA, 0};
}
