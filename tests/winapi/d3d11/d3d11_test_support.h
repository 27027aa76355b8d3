// What the conformance tests of our Direct3D 11 layer share: a reference
// holder, a fixture that makes a device the way the renderer does and checks
// that every object is gone afterwards, shader code from our HLSL compiler
// library, pixel read-back through a staging texture, and pixel comparison
// that writes expected and actual PNGs when it fails.
#pragma once

#include <d3d11_1.h>
#include <d3dcompiler.h>
#include <dxgi1_2.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "support/com_reference.h"
#include "winapi/d3d11/d3d11_test_hooks.h"

// The references an object has: AddRef then Release.
template <typename T>
ULONG References(T* object)
{
    object->AddRef();
    return object->Release();
}

// 8-bit four-channel pixels of one subresource, rows without gaps.
struct Pixels {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint8_t> bytes;
    uint32_t At(UINT x, UINT y) const;  // the four bytes as read, byte 0 lowest
};

// A vertex shader, a pixel shader and the input layout that feeds the first.
struct Program {
    Ref<ID3D11VertexShader> vertex;
    Ref<ID3D11PixelShader> pixel;
    Ref<ID3D11InputLayout> layout;
};

class D3D11Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes device_ and context_ as the renderer does.
    HRESULT MakeDevice();

    // Code blob of HLSL compiled by our compiler library ("vs_4_0", "ps_4_0" ...).
    std::vector<uint8_t> Compile(const std::string& source, const char* profile);

    Ref<ID3D11Texture2D> MakeTexture(UINT width, UINT height, DXGI_FORMAT format, UINT bindFlags, UINT mipLevels = 1,
                                     UINT arraySize = 1, UINT miscFlags = 0, const void* pixels = nullptr,
                                     UINT rowPitch = 0);
    // A buffer of `bytes` bytes holding `data` from the start when given; expected to succeed.
    Ref<ID3D11Buffer> MakeBuffer(UINT bytes, D3D11_USAGE usage, UINT bindFlags, UINT cpuAccess = 0,
                                 const void* data = nullptr);
    // Views and samplers expected to succeed; a format of UNKNOWN or no description takes the resource's own.
    Ref<ID3D11RenderTargetView> TargetView(ID3D11Texture2D* texture, DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN);
    Ref<ID3D11ShaderResourceView> ShaderView(ID3D11Texture2D* texture,
                                             const D3D11_SHADER_RESOURCE_VIEW_DESC* desc = nullptr);
    Ref<ID3D11DepthStencilView> DepthView(ID3D11Texture2D* texture);
    Ref<ID3D11SamplerState> MakeSampler(D3D11_FILTER filter,
                                        D3D11_TEXTURE_ADDRESS_MODE address = D3D11_TEXTURE_ADDRESS_CLAMP,
                                        FLOAT minLod = 0.0f, FLOAT maxLod = D3D11_FLOAT32_MAX, UINT maxAnisotropy = 1);
    // An immutable R8G8B8A8 cube of one level, `size` x `size` texels a face,
    // `texels` face after face in the platform's order, rows without gaps.
    Ref<ID3D11Texture2D> MakeImmutableCube(UINT size, const std::vector<uint32_t>& texels);
    // A square R8G8B8A8 texture of `levels` levels: `top` written into level 0,
    // the rest made by GenerateMips.
    Ref<ID3D11Texture2D> MakeGeneratedMips(UINT size, UINT levels, const std::vector<uint32_t>& top);
    // Compiles both stages with our compiler library ("vs_4_0", "ps_4_0") and
    // makes the layout of `elements` against the vertex code, each expected to succeed.
    Program MakeProgram(const std::string& vertexSource, const std::string& pixelSource,
                        const std::vector<D3D11_INPUT_ELEMENT_DESC>& elements);
    // Binds the program's stages and layout, for triangle lists.
    void UseProgram(const Program& program);
    // Reads a subresource of a 4-byte format back the renderer's way: staging
    // copy of the texture, CopyResource, Map READ.
    Pixels ReadBack(ID3D11Texture2D* texture, UINT subresource = 0);
    // The bytes of a subresource of any format, rows without gaps, read back the same way.
    std::vector<uint8_t> ReadBytes(ID3D11Texture2D* texture, UINT bytesPerTexel, UINT subresource = 0);
    // Compares pixels, each channel within `tolerance`; on a mismatch writes
    // <name>-expected.png and <name>-actual.png into the pixel-failures folder
    // beside the test program's output and says where. `bgra` says the bytes
    // are B, G, R, A.
    void ExpectPixels(const std::string& name, const Pixels& actual, const std::vector<uint32_t>& expected, bool bgra,
                      int tolerance = 0);

    // A window of the window layer with the given client size.
    HWND MakeWindow(int width, int height);
    // The adapter of device_, reached through its DXGI interface.
    Ref<IDXGIAdapter> DeviceAdapter();
    // A swap chain over `window` made by the factory that made device_, expected to succeed.
    Ref<IDXGISwapChain1> SwapChainOver(HWND window, const DXGI_SWAP_CHAIN_DESC1& desc);

    // Messages the layer logged since SetUp.
    std::vector<std::string> NewMessages() const;

    Ref<ID3D11Device> device_;
    Ref<ID3D11DeviceContext> context_;
    D3D_FEATURE_LEVEL level_ = D3D_FEATURE_LEVEL_9_1;

private:
    HMODULE compiler_ = nullptr;
    std::vector<HWND> windows_;
    UINT messagesAtStart_ = 0;
};

// Every feature level, highest first.
extern const D3D_FEATURE_LEVEL kAllLevels[7];

// D3D11CreateDevice as the renderer calls it: HARDWARE, then WARP, each with
// 11_1 first and again without it when the runtime refuses it.
HRESULT CreateDeviceAsTheRendererDoes(ID3D11Device** device, D3D_FEATURE_LEVEL* level, ID3D11DeviceContext** context);

struct BlendMode {
    D3D11_BLEND source;
    D3D11_BLEND destination;
    D3D11_BLEND_OP operation;
    bool enabled;
};

// The renderer's blend modes 1 to 8 (colour source, destination, operation);
// alpha adds the source alpha times itself to the destination alpha, except
// in mode 3, which does not blend.
constexpr BlendMode kBlendModes[] = {
    {D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD, true},  // 1 alpha blending
    {D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_ONE, D3D11_BLEND_OP_ADD, true},            // 2 additive
    {D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, false},                // 3 opaque
    {D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_ONE, D3D11_BLEND_OP_REV_SUBTRACT, true},   // 4 subtractive
    {D3D11_BLEND_DEST_COLOR, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, true},          // 5 multiply
    {D3D11_BLEND_DEST_COLOR, D3D11_BLEND_SRC_COLOR, D3D11_BLEND_OP_ADD, true},     // 6 double multiply
    {D3D11_BLEND_DEST_COLOR, D3D11_BLEND_ONE, D3D11_BLEND_OP_ADD, true},           // 7 multiply and add
    {D3D11_BLEND_ONE, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD, true},        // 8 premultiplied alpha
};
static_assert(std::size(kBlendModes) == 8);

// The renderer's description of a mode: render targets 0 to 3 alike.
D3D11_BLEND_DESC BlendDescription(const BlendMode& mode, bool colourWrites);

uint32_t Rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// A 2D texture description without multisampling.
D3D11_TEXTURE2D_DESC TextureDesc(UINT width, UINT height, DXGI_FORMAT format, UINT bindFlags, UINT mipLevels = 1,
                                 UINT arraySize = 1, UINT miscFlags = 0, D3D11_USAGE usage = D3D11_USAGE_DEFAULT,
                                 UINT cpuAccess = 0);

// The mip level below 4-byte texels, each channel (a + b + c + d + 2) / 4 of the 2 x 2 block above it.
std::vector<uint32_t> BoxFiltered(const std::vector<uint32_t>& level, UINT width, UINT height);

// A display mode of B8G8R8A8 at `rate` Hz; a rate of 0 asks for none ({0, 0}).
DXGI_MODE_DESC Mode(UINT width, UINT height, UINT rate,
                    DXGI_MODE_SCANLINE_ORDER order = DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED);

// The older factory's two-buffer discard swap chain over `window`, windowed, sized by the window, that
// may switch modes.
DXGI_SWAP_CHAIN_DESC DiscardSwapChainDesc(HWND window);

// A two-buffer flip-model swap chain description; a size of 0 takes the window's client size.
DXGI_SWAP_CHAIN_DESC1 FlipSwapChainDesc(UINT width, UINT height, DXGI_FORMAT format = DXGI_FORMAT_B8G8R8A8_UNORM,
                                        UINT flags = 0);

// The input element of a named semantic in slot 0 at an offset, per vertex.
D3D11_INPUT_ELEMENT_DESC Element(const char* semantic, UINT index, DXGI_FORMAT format, UINT offset, UINT slot = 0);
