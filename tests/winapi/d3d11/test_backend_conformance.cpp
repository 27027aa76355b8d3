// The storage operations of every back end answer exactly alike: each case
// runs on "memory" and on "vulkan" through the platform's interfaces, and
// reads back the renderer's way (staging texture, CopyResource, Map READ).
// On Vulkan the validation layer is on when installed, and must stay silent.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "support/png_reader.h"
#include "support/temporary_folder.h"

#include "winapi/d3d11/backend_test_support.h"

namespace {

using BackendConformance = BackendTest;

TEST_P(BackendConformance, InitialDataComesBackExactlyWhateverTheSourcePitch)
{
    // Rows of 3 texels, 16 bytes apart in the source: the gaps are not part of the texture.
    std::vector<uint32_t> source(4 * 2, 0xdeadbeefu);
    const std::vector<uint32_t> texels = Ramp(6, 10);
    for (UINT y = 0; y < 2; ++y) {
        for (UINT x = 0; x < 3; ++x) source[y * 4 + x] = texels[y * 3 + x];
    }
    Ref<ID3D11Texture2D> texture =
        MakeTexture(3, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, source.data(), 16);
    ExpectPixels(Named("Initial"), ReadBack(texture.get()), texels, false);

    Ref<ID3D11Texture2D> empty = MakeTexture(2, 2, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    ExpectPixels(Named("Zeroed"), ReadBack(empty.get()), std::vector<uint32_t>(4, 0u), true);

    // Each face of an immutable cube takes its own initial data.
    const std::vector<uint32_t> faces = Ramp(6 * 4, 70);
    Ref<ID3D11Texture2D> cube = MakeImmutableCube(2, faces);
    for (UINT face = 0; face < 6; ++face) {
        ExpectPixels(Named("CubeFace" + std::to_string(face)), ReadBack(cube.get(), face),
                     std::vector<uint32_t>(faces.begin() + face * 4, faces.begin() + face * 4 + 4), false);
    }
}

TEST_P(BackendConformance, UpdateSubresourceWritesOnlyItsBoxAndRefusesWhatThePlatformRefuses)
{
    Ref<ID3D11Texture2D> texture = MakeTexture(4, 3, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 2);
    const std::vector<uint32_t> patch = Ramp(4, 40);
    const D3D11_BOX box{1, 1, 0, 3, 3, 1};
    context_->UpdateSubresource(texture.get(), 0, &box, patch.data(), 8, 0);
    std::vector<uint32_t> expected(12, 0u);
    expected[1 * 4 + 1] = patch[0];
    expected[1 * 4 + 2] = patch[1];
    expected[2 * 4 + 1] = patch[2];
    expected[2 * 4 + 2] = patch[3];
    ExpectPixels(Named("Update"), ReadBack(texture.get()), expected, false);

    const uint32_t second[2] = {Rgba(1, 2, 3, 4), Rgba(5, 6, 7, 8)};
    context_->UpdateSubresource(texture.get(), 1, nullptr, second, 8, 0);
    ExpectPixels(Named("UpdateMip1"), ReadBack(texture.get(), 1), {second[0], second[1]}, false);

    const D3D11_BOX outside{3, 2, 0, 5, 3, 1};
    context_->UpdateSubresource(texture.get(), 0, &outside, patch.data(), 8, 0);
    const D3D11_BOX empty{2, 2, 0, 2, 3, 1};
    context_->UpdateSubresource(texture.get(), 0, &empty, patch.data(), 8, 0);
    ExpectPixels(Named("UpdateRefused"), ReadBack(texture.get()), expected, false);
    EXPECT_EQ(NewMessages().size(), 1u) << "the box outside is logged; the empty box is not an error";
    Ref<ID3D11Buffer> dynamic = MakeBuffer(16, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE);
    context_->UpdateSubresource(dynamic.get(), 0, nullptr, patch.data(), 0, 0);
    EXPECT_EQ(NewMessages().size(), 2u) << "a dynamic resource is not updated this way";
}

TEST_P(BackendConformance, CopiesMoveBoxesBetweenTexturesAndBuffersAndRefuseWhatDoesNotFit)
{
    const std::vector<uint32_t> texels = Ramp(16, 3);
    Ref<ID3D11Texture2D> source =
        MakeTexture(4, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 1, 1, 0, texels.data(), 16);
    Ref<ID3D11Texture2D> target = MakeTexture(3, 3, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    const D3D11_BOX box{2, 1, 0, 4, 3, 1};
    context_->CopySubresourceRegion(target.get(), 0, 0, 1, 0, source.get(), 0, &box);
    std::vector<uint32_t> expected(9, 0u);
    expected[3] = texels[1 * 4 + 2];
    expected[4] = texels[1 * 4 + 3];
    expected[6] = texels[2 * 4 + 2];
    expected[7] = texels[2 * 4 + 3];
    ExpectPixels(Named("CopyRegion"), ReadBack(target.get()), expected, false);

    // Copies that do not fit are logged and change nothing.
    context_->CopySubresourceRegion(target.get(), 0, 2, 2, 0, source.get(), 0, &box);
    Ref<ID3D11Texture2D> wider = MakeTexture(8, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE);
    Ref<ID3D11Texture2D> other = MakeTexture(4, 4, DXGI_FORMAT_B8G8R8A8_UNORM, D3D11_BIND_SHADER_RESOURCE);
    context_->CopyResource(source.get(), wider.get());
    context_->CopyResource(source.get(), other.get());
    context_->CopyResource(source.get(), source.get());
    ExpectPixels(Named("CopyRefused"), ReadBack(target.get()), expected, false);
    ExpectPixels(Named("CopyResourceRefused"), ReadBack(source.get()), texels, false);
    EXPECT_EQ(NewMessages().size(), 4u);

    // A dynamic buffer written through Map, copied to a staging buffer and read through Map.
    Ref<ID3D11Buffer> dynamic = MakeBuffer(32, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE);
    Ref<ID3D11Buffer> staging = MakeBuffer(32, D3D11_USAGE_STAGING, 0, D3D11_CPU_ACCESS_READ);
    D3D11_MAPPED_SUBRESOURCE mapped;
    ASSERT_EQ(context_->Map(dynamic.get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
    for (int byte = 0; byte < 32; ++byte) static_cast<uint8_t*>(mapped.pData)[byte] = uint8_t(byte * 5);
    context_->Unmap(dynamic.get(), 0);
    const D3D11_BOX bytes{4, 0, 0, 12, 1, 1};
    context_->CopySubresourceRegion(staging.get(), 0, 20, 0, 0, dynamic.get(), 0, &bytes);
    ASSERT_EQ(context_->Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped), S_OK);
    const auto* read = static_cast<const uint8_t*>(mapped.pData);
    for (int byte = 0; byte < 32; ++byte) {
        EXPECT_EQ(read[byte], byte >= 20 && byte < 28 ? uint8_t((byte - 16) * 5) : 0) << "byte " << byte;
    }
    context_->Unmap(staging.get(), 0);
}

TEST_P(BackendConformance, WritesThroughMapsOfDynamicAndStagingTexturesAreKept)
{
    const std::vector<uint32_t> texels = Ramp(4, 99);
    for (D3D11_USAGE usage : {D3D11_USAGE_DYNAMIC, D3D11_USAGE_STAGING}) {
        const bool dynamic = usage == D3D11_USAGE_DYNAMIC;
        SCOPED_TRACE(dynamic ? "dynamic" : "staging");
        const D3D11_TEXTURE2D_DESC desc =
            TextureDesc(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM, dynamic ? D3D11_BIND_SHADER_RESOURCE : 0, 1, 1, 0, usage,
                        D3D11_CPU_ACCESS_WRITE);
        Ref<ID3D11Texture2D> texture;
        ASSERT_EQ(device_->CreateTexture2D(&desc, nullptr, texture.Put()), S_OK);
        D3D11_MAPPED_SUBRESOURCE mapped;
        ASSERT_EQ(context_->Map(texture.get(), 0, dynamic ? D3D11_MAP_WRITE_DISCARD : D3D11_MAP_WRITE, 0, &mapped),
                  S_OK);
        ASSERT_GE(mapped.RowPitch, 8u);
        for (UINT y = 0; y < 2; ++y) {
            std::memcpy(static_cast<uint8_t*>(mapped.pData) + y * mapped.RowPitch, &texels[y * 2], 8);
        }
        context_->Unmap(texture.get(), 0);
        // An upload through a staging texture reaches the texture it is copied into.
        Ref<ID3D11Texture2D> seen = texture;
        if (!dynamic) {
            seen = MakeTexture(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE);
            context_->CopyResource(seen.get(), texture.get());
        }
        ExpectPixels(Named(dynamic ? "Dynamic" : "StagingUpload"), ReadBack(seen.get()), texels, false);
    }
}

TEST_P(BackendConformance, ColourClearsConvertToTheViewsFormat)
{
    struct Case {
        const char* name;
        DXGI_FORMAT format;
        DXGI_FORMAT viewFormat;  // UNKNOWN: the texture's own
        FLOAT colour[4];
        uint32_t stored;  // the bytes of each texel as read, byte 0 lowest
    };
    const Case cases[] = {
        // 0.5 x 255 = 127.5 rounds up to 128; 0.25 x 255 = 63.75 to 64.
        {"Rgba", DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_FORMAT_UNKNOWN, {1.0f, 0.5f, 0.25f, 0.0f}, Rgba(255, 128, 64, 0)},
        {"Bgra", DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_UNKNOWN, {1.0f, 0.5f, 0.25f, 0.0f}, Rgba(64, 128, 255, 0)},
        // The X byte is written as 255.
        {"Bgrx", DXGI_FORMAT_B8G8R8X8_UNORM, DXGI_FORMAT_UNKNOWN, {0.2f, 0.4f, 0.6f, 0.0f}, Rgba(153, 102, 51, 255)},
        // A typeless texture seen as unsigned integers takes the integers themselves.
        {"Typeless", DXGI_FORMAT_R8G8B8A8_TYPELESS, DXGI_FORMAT_R8G8B8A8_UINT, {1, 2, 3, 250}, Rgba(1, 2, 3, 250)},
        // Half floats: 0.5 is 0x3800, -2 is 0xC000.
        {"Half", DXGI_FORMAT_R16G16_FLOAT, DXGI_FORMAT_UNKNOWN, {0.5f, -2.0f, 0.0f, 0.0f}, 0xC0003800u},
    };
    for (const Case& clear : cases) {
        Ref<ID3D11Texture2D> texture = MakeTexture(3, 2, clear.format, D3D11_BIND_RENDER_TARGET);
        context_->ClearRenderTargetView(TargetView(texture.get(), clear.viewFormat).get(), clear.colour);
        ExpectPixels(Named(std::string("Clear") + clear.name), ReadBack(texture.get()),
                     std::vector<uint32_t>(6, clear.stored),
                     clear.format == DXGI_FORMAT_B8G8R8A8_UNORM || clear.format == DXGI_FORMAT_B8G8R8X8_UNORM);
    }
}

TEST_P(BackendConformance, DepthAndStencilClearOnlyWhatTheFlagsNameAndRefuseDepthsOutsideZeroToOne)
{
    Ref<ID3D11Texture2D> depth = MakeTexture(2, 2, DXGI_FORMAT_D24_UNORM_S8_UINT, D3D11_BIND_DEPTH_STENCIL);
    Ref<ID3D11DepthStencilView> view = DepthView(depth.get());
    context_->ClearDepthStencilView(view.get(), D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, 1.0f, 7);
    EXPECT_EQ(ReadBack(depth.get()).At(0, 0), 0x07FFFFFFu) << "depth in the low 24 bits, stencil above";
    context_->ClearDepthStencilView(view.get(), D3D11_CLEAR_STENCIL, 0.0f, 3);
    EXPECT_EQ(ReadBack(depth.get()).At(1, 1), 0x03FFFFFFu);
    context_->ClearDepthStencilView(view.get(), D3D11_CLEAR_DEPTH, 0.0f, 9);
    EXPECT_EQ(ReadBack(depth.get()).At(1, 0), 0x03000000u);
    // Without flags, or outside 0 to 1: logged, and nothing changes.
    context_->ClearDepthStencilView(view.get(), 0, 0.5f, 0);
    context_->ClearDepthStencilView(view.get(), D3D11_CLEAR_DEPTH, 1.5f, 0);
    EXPECT_EQ(ReadBack(depth.get()).At(0, 1), 0x03000000u);
    EXPECT_EQ(NewMessages().size(), 2u);

    Ref<ID3D11Texture2D> single = MakeTexture(2, 2, DXGI_FORMAT_D32_FLOAT, D3D11_BIND_DEPTH_STENCIL);
    context_->ClearDepthStencilView(DepthView(single.get()).get(), D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, 0.25f, 0);
    EXPECT_EQ(ReadBack(single.get()).At(0, 1), 0x3E800000u) << "0.25 as a 32-bit float";
}

TEST_P(BackendConformance, GenerateMipsAveragesEachTwoByTwoBlock)
{
    // Averages that need rounding, (a + b + c + d + 2) / 4, which a device may round the other way; and blocks
    // that each sum to a multiple of 4 in every channel, whose averages are exact whatever the rounding.
    std::vector<uint32_t> rounded(16);
    std::vector<uint32_t> exact(16);
    for (UINT index = 0; index < 16; ++index) {
        rounded[index] = Rgba(uint8_t(index * 17), uint8_t(255 - index * 3), uint8_t(index % 3 == 0 ? 1 : 0), 255);
        const uint8_t block = uint8_t((index / 8) * 2 + (index % 4) / 2);
        const uint8_t odd = uint8_t((index % 4 + index / 4) % 2);
        exact[index] = Rgba(uint8_t(block * 40 + odd * 20), uint8_t(200 - odd * 100), uint8_t(block * 8), 255);
    }
    const std::tuple<std::string, std::vector<uint32_t>, int> tops[] = {{"Rounded", rounded, Rasterises() ? 1 : 0},
                                                                        {"Exact", exact, 0}};
    for (const auto& [name, top, tolerance] : tops) {
        Ref<ID3D11Texture2D> texture = MakeGeneratedMips(4, 3, top);
        const std::vector<uint32_t> second = BoxFiltered(top, 4, 4);
        ExpectPixels(Named(name + "Mip1"), ReadBack(texture.get(), 1), second, false, tolerance);
        ExpectPixels(Named(name + "Mip2"), ReadBack(texture.get(), 2), BoxFiltered(second, 2, 2), false, tolerance);
        ExpectPixels(Named(name + "Mip0Kept"), ReadBack(texture.get(), 0), top, false);
    }
}

TEST_P(BackendConformance, PresentingWithoutADisplayCopiesTheBackBuffer)
{
    Ref<IDXGISwapChain1> swapChain = SwapChainOver(MakeWindow(16, 8), FlipSwapChainDesc(16, 8));
    ASSERT_TRUE(swapChain);
    Ref<ID3D11Texture2D> backBuffer;
    ASSERT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(backBuffer.Put())), S_OK);
    const FLOAT colours[2][4] = {{1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f}};
    for (const FLOAT* colour : colours) {
        context_->ClearRenderTargetView(TargetView(backBuffer.get()).get(), colour);
        EXPECT_EQ(swapChain->Present(1, 0), S_OK);
    }
    EXPECT_EQ(HalvoD3D11_PresentCount(swapChain.get()), 2u);
    // The back buffer itself is left as it was drawn.
    EXPECT_EQ(ReadBack(backBuffer.get()).At(15, 7), Rgba(255, 0, 0, 255)) << "B, G, R, A: blue";
}

INSTANTIATE_ON_EVERY_BACKEND(BackendConformance);

// ---- Frames captured at present (HALVO_D3D11_OUTPUT=capture:...)

class FrameCapture : public BackendConformance {
protected:
    // A two-buffer swap chain over an 8 x 4 window, made while the variable names `output`.
    Ref<IDXGISwapChain1> MakeSwapChain(const std::string& output, DXGI_FORMAT format)
    {
        setenv("HALVO_D3D11_OUTPUT", output.c_str(), 1);
        Ref<IDXGISwapChain1> swapChain = SwapChainOver(MakeWindow(8, 4), FlipSwapChainDesc(8, 4, format));
        unsetenv("HALVO_D3D11_OUTPUT");
        return swapChain;
    }

    void ClearAndPresent(IDXGISwapChain1* swapChain, const FLOAT colour[4])
    {
        Ref<ID3D11Texture2D> buffer;
        ASSERT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())), S_OK);
        context_->ClearRenderTargetView(TargetView(buffer.get()).get(), colour);
        EXPECT_EQ(swapChain->Present(0, 0), S_OK);
    }

    // The PNG files of a folder by name.
    static std::vector<std::string> FilesIn(const std::filesystem::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Each pixel of an 8 x 4 PNG file must be `rgba`.
    void ExpectPngOf(const std::filesystem::path& file, uint32_t rgba)
    {
        Pixels png;
        png.bytes = ReadRgbaPng(file, &png.width, &png.height);
        ExpectPixels(Named(file.stem()), png, std::vector<uint32_t>(32, rgba), false);
    }
};

TEST_P(FrameCapture, EveryPresentedFrameIsWrittenWithItsExactPixels)
{
    for (DXGI_FORMAT format :
         {DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_R8G8B8A8_UNORM, DXGI_FORMAT_R16G16B16A16_FLOAT}) {
        SCOPED_TRACE(int(format));
        TemporaryFolder folder("halvo-capture");
        const std::filesystem::path frames = folder.Path() / "frames";  // made by the first capture
        Ref<IDXGISwapChain1> swapChain = MakeSwapChain("capture:" + frames.string(), format);
        // 0.2 x 255 = 51; values outside 0..1 of the float buffer are clamped.
        const FLOAT first[4] = {1.0f, 0.2f, 0.0f, 1.0f};
        const FLOAT second[4] = {0.0f, 0.0f, format == DXGI_FORMAT_R16G16B16A16_FLOAT ? 2.0f : 1.0f, 0.2f};
        ClearAndPresent(swapChain.get(), first);
        ClearAndPresent(swapChain.get(), second);
        const std::vector<std::string> files = FilesIn(frames);
        ASSERT_EQ(files.size(), 2u);
        EXPECT_TRUE(files[0].starts_with("swapchain-") && files[0].ends_with("-frame-000001.png")) << files[0];
        EXPECT_TRUE(files[1].ends_with("-frame-000002.png")) << files[1];
        ExpectPngOf(frames / files[0], Rgba(255, 51, 0, 255));
        ExpectPngOf(frames / files[1], Rgba(0, 0, 255, 51));
    }
}

TEST_P(FrameCapture, ACountKeepsEveryNthFrame)
{
    TemporaryFolder folder("halvo-capture");
    Ref<IDXGISwapChain1> swapChain =
        MakeSwapChain("capture:" + folder.Path().string() + ":2", DXGI_FORMAT_B8G8R8A8_UNORM);
    const FLOAT colours[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    for (const FLOAT* colour : colours) ClearAndPresent(swapChain.get(), colour);
    const std::vector<std::string> files = FilesIn(folder.Path());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_TRUE(files[0].ends_with("-frame-000001.png")) << files[0];
    EXPECT_TRUE(files[1].ends_with("-frame-000003.png")) << files[1];
    ExpectPngOf(folder.Path() / files[0], Rgba(255, 0, 0, 255));
    ExpectPngOf(folder.Path() / files[1], Rgba(0, 0, 255, 255));
}

TEST_P(FrameCapture, AFolderThatCannotBeMadeIsLoggedOnceAndPresentGoesOn)
{
    TemporaryFolder folder("halvo-capture");
    const std::filesystem::path file = folder.Path() / "a-file";
    std::fclose(std::fopen(file.c_str(), "w"));
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain("capture:" + (file / "frames").string(), DXGI_FORMAT_B8G8R8A8_UNORM);
    const FLOAT colour[4] = {1, 1, 1, 1};
    ClearAndPresent(swapChain.get(), colour);
    ClearAndPresent(swapChain.get(), colour);
    EXPECT_EQ(HalvoD3D11_PresentCount(swapChain.get()), 2u);
    const std::vector<std::string> messages = NewMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("D3D11 WARNING: the frame capture cannot write \"" + (file / "frames").string() +
                               "/swapchain-"),
              std::string::npos)
        << messages[0];

    // A value that names no output is logged, and presenting shows frames without capture.
    Ref<IDXGISwapChain1> plain = MakeSwapChain("capture", DXGI_FORMAT_B8G8R8A8_UNORM);
    ClearAndPresent(plain.get(), colour);
    ASSERT_EQ(NewMessages().size(), 2u);
    EXPECT_EQ(NewMessages()[1], "D3D11 WARNING: HALVO_D3D11_OUTPUT names \"capture\", which is not an output here.");
}

INSTANTIATE_ON_EVERY_BACKEND(FrameCapture);

}  // namespace
