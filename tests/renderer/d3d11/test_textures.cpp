// Textures from bitmaps through the renderer's own interface, on both back
// ends: padding to powers of two with the uv rectangle, the mip rule, cube
// maps, the format check, every failure text, and leak sweeps.
#include <algorithm>
#include <cstdio>
#include <string>

#include "renderer/d3d11/texture_data.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

class TextureTest : public TextureRendererTest {
protected:
    TextureTest() { expectedComplaints_ = 0; }

    // Level 0 of a texture holding a width x height pattern image with a
    // one-texel expanded border, in a texture of the given size; texels past
    // the border are transparent black.
    static RgbaImage PaddedPattern(uint32_t textureWidth, uint32_t textureHeight, int width, int height)
    {
        RgbaImage image = Filled(textureWidth, textureHeight, 0);
        for (int y = 0; y <= height + 1; ++y) {
            for (int x = 0; x <= width + 1; ++x) {
                image.Set(x, y, PatternTexel(std::clamp(x - 1, 0, width - 1), std::clamp(y - 1, 0, height - 1)));
            }
        }
        return image;
    }

    // The next level of a mip chain: every texel the average of a 2 x 2
    // block, halves rounded up.
    static RgbaImage BoxHalf(const RgbaImage& level)
    {
        RgbaImage half{level.width / 2, level.height / 2, std::vector<uint8_t>(level.bytes.size() / 4)};
        for (uint32_t y = 0; y < half.height; ++y) {
            for (uint32_t x = 0; x < half.width; ++x) {
                for (int channel = 0; channel < 4; ++channel) {
                    auto at = [&](uint32_t sx, uint32_t sy) {
                        return int(level.bytes[(size_t(sy) * level.width + sx) * 4 + channel]);
                    };
                    const int sum =
                        at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1);
                    half.bytes[(size_t(y) * half.width + x) * 4 + channel] = uint8_t((sum + 2) / 4);
                }
            }
        }
        return half;
    }

    static void ExpectUv(const HV_Bitmap& bitmap, float left, float top, float right, float bottom)
    {
        EXPECT_FLOAT_EQ(bitmap.renderer.uv[0], left);
        EXPECT_FLOAT_EQ(bitmap.renderer.uv[1], top);
        EXPECT_FLOAT_EQ(bitmap.renderer.uv[2], right);
        EXPECT_FLOAT_EQ(bitmap.renderer.uv[3], bottom);
    }

    // GenerateMips on Vulkan is a linear blit that may round the other way.
    int MipTolerance() const { return OnVulkan() ? 1 : 0; }
};

TEST_P(TextureTest, PaddedBitmapBecomesAPowerOfTwoTextureWithItsMipChain)
{
    HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60, HV_TEXTURE_TYPE_2D, 0);
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    EXPECT_TRUE(bitmap.renderer.loaded);
    EXPECT_EQ(bitmap.renderer.textureWidth, 128);
    EXPECT_EQ(bitmap.renderer.textureHeight, 64);
    ExpectUv(bitmap, 1.0f / 128, 1.0f / 64, 101.0f / 128, 61.0f / 64);

    ID3D11Texture2D* texture = TextureOf(bitmap);
    ASSERT_NE(texture, nullptr);
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    EXPECT_EQ(desc.MipLevels, 3u);  // 128 x 64, 64 x 32, 32 x 16
    EXPECT_EQ(desc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(desc.Usage, D3D11_USAGE_DEFAULT);
    EXPECT_EQ(desc.MiscFlags, UINT(D3D11_RESOURCE_MISC_GENERATE_MIPS));
    EXPECT_TRUE(bitmap.renderer.texture->generatesMips);
    EXPECT_TRUE(bitmap.renderer.texture->mipsCurrent);

    const RgbaImage level0 = PaddedPattern(128, 64, 100, 60);
    ExpectImage(std::string("padded-level0-") + GetParam(), ReadSubresource(texture, 0), level0);
    const RgbaImage level1 = BoxHalf(level0);
    ExpectImage(std::string("padded-level1-") + GetParam(), ReadSubresource(texture, 1), level1, MipTolerance());
    ExpectImage(std::string("padded-level2-") + GetParam(), ReadSubresource(texture, 2), BoxHalf(level1),
                MipTolerance() * 2);
}

TEST_P(TextureTest, OneLevelOnANonPowerOfTwoDeviceKeepsTheExactPaddedSize)
{
    ASSERT_TRUE(renderer_->SupportsNonPowerOfTwoTextures());
    HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60);
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    EXPECT_EQ(bitmap.renderer.textureWidth, 102);
    EXPECT_EQ(bitmap.renderer.textureHeight, 62);
    ExpectUv(bitmap, 1.0f / 102, 1.0f / 62, 101.0f / 102, 61.0f / 62);
    D3D11_TEXTURE2D_DESC desc{};
    TextureOf(bitmap)->GetDesc(&desc);
    EXPECT_EQ(desc.MipLevels, 1u);
    EXPECT_EQ(desc.Usage, D3D11_USAGE_IMMUTABLE);
    EXPECT_FALSE(bitmap.renderer.texture->generatesMips);
    ExpectImage(std::string("exact-") + GetParam(), ReadSubresource(TextureOf(bitmap), 0),
                PaddedPattern(102, 62, 100, 60));
}

TEST_P(TextureTest, PowerOfTwoBitmapIsUploadedAsItIs)
{
    HV_Bitmap& bitmap = MakeBitmap("tiles", 256, 128);
    bitmap.flags = HV_BITMAP_RENDER_TARGET;  // left from an earlier life as a target
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    EXPECT_EQ(bitmap.flags & HV_BITMAP_RENDER_TARGET, 0u);
    EXPECT_EQ(bitmap.renderer.textureWidth, 256);
    EXPECT_EQ(bitmap.renderer.textureHeight, 128);
    ExpectUv(bitmap, 0, 0, 1, 1);
    ExpectImage(std::string("unpadded-") + GetParam(), ReadSubresource(TextureOf(bitmap), 0), PatternImage(256, 128));
}

// The six faces lie one under the other in the bitmap.
TEST_P(TextureTest, CubeBitmapBecomesSixFacesWithTheirMips)
{
    HV_Bitmap& bitmap = MakeBitmap("sky", 64, 384, HV_TEXTURE_TYPE_CUBE, 0);
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    ID3D11Texture2D* texture = TextureOf(bitmap);
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 64u);
    EXPECT_EQ(desc.ArraySize, 6u);
    EXPECT_EQ(desc.MipLevels, 3u);
    EXPECT_EQ(desc.MiscFlags, UINT(D3D11_RESOURCE_MISC_GENERATE_MIPS | D3D11_RESOURCE_MISC_TEXTURECUBE));
    D3D11_SHADER_RESOURCE_VIEW_DESC view{};
    bitmap.renderer.texture->shaderView->GetDesc(&view);
    EXPECT_EQ(view.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);
    EXPECT_EQ(view.TextureCube.MipLevels, 3u);
    // Cubes are neither padded nor given a uv rectangle.
    EXPECT_EQ(bitmap.renderer.textureWidth, 0);
    ExpectUv(bitmap, 0, 0, 1, 1);

    for (UINT face = 0; face < 6; ++face) {
        const RgbaImage expected = PatternImage(64, 64, face * 64);
        const std::string name = "cube-face" + std::to_string(face) + "-" + GetParam();
        ExpectImage(name, ReadSubresource(texture, D3D11CalcSubresource(0, face, 3)), expected);
        ExpectImage(name + "-level1", ReadSubresource(texture, D3D11CalcSubresource(1, face, 3)), BoxHalf(expected),
                    MipTolerance());
    }
}

TEST_P(TextureTest, ReleaseLetsGoOfEverythingAndClearsTheLoadedFlag)
{
    const long before = NewLiveObjects();
    HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60, HV_TEXTURE_TYPE_2D, 0);
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    // A second upload replaces the first texture.
    ASSERT_TRUE(renderer_->CreateTexture(&bitmap));
    EXPECT_EQ(NewLiveObjects(), before + 2);  // the texture and its view
    renderer_->ReleaseTexture(bitmap.renderer);
    EXPECT_EQ(bitmap.renderer.texture, nullptr);
    EXPECT_FALSE(bitmap.renderer.loaded);
    EXPECT_EQ(NewLiveObjects(), before);
    renderer_->ReleaseTexture(bitmap.renderer);  // nothing left to release
}

TEST_P(TextureTest, BitmapsThatGiveNothingToUploadMakeNoTexture)
{
    EXPECT_FALSE(renderer_->CreateTexture(nullptr));
    HV_Bitmap& empty = MakeTarget("empty", 16, 16, HV_TEXTURE_FORMAT_B8G8R8A8);
    EXPECT_FALSE(renderer_->CreateTexture(&empty));
    EXPECT_EQ(CountLogged("[POPUP] BitmapPacker::BeginPacking bitmap 'empty' has no pixels. This should never happen."),
              1);
    HV_Bitmap& volume = MakeBitmap("volume", 16, 16, HV_TEXTURE_TYPE_VOLUME);
    EXPECT_FALSE(renderer_->CreateTexture(&volume));
    EXPECT_FALSE(volume.renderer.loaded);
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create texture 'volume'."), 0);

    // The packer's memory comes from the engine state's image loader.
    FullImageLoader loader;
    state_.imageLoader = &loader;
    HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60);
    EXPECT_FALSE(renderer_->CreateTexture(&bitmap));
    state_.imageLoader = nullptr;
    EXPECT_FALSE(bitmap.renderer.loaded);
    EXPECT_EQ(CountLogged("BitmapTexturePacker unable to get target pixel memory.\n"), 1);
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create texture 'sprite'."), 0);
}

TEST_P(TextureTest, FailedCreationsAreReportedAndLeaveNothingAlive)
{
    HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60, HV_TEXTURE_TYPE_2D, 0);
    EXPECT_EQ(SweepCreationFailures([&] { return renderer_->CreateTexture(&bitmap); }), 2);  // texture, view
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create texture 'sprite'."), 1);
    EXPECT_EQ(CountLogged("Out of memory (total 0 MB)"), 1);
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create shader resource view for texture 'sprite' "
                          "(result 0x8007000e)."),
              1);

    HV_Bitmap& cube = MakeBitmap("sky", 64, 384, HV_TEXTURE_TYPE_CUBE, 1);
    EXPECT_EQ(SweepCreationFailures([&] { return renderer_->CreateTexture(&cube); }), 2);
}

TEST_P(TextureTest, DeviceRemovalIsReportedWithItsReason)
{
    HV_Bitmap& first = MakeBitmap("first", 16, 16);
    ASSERT_TRUE(renderer_->CreateTexture(&first));
    ID3D11Device* device = nullptr;
    TextureOf(first)->GetDevice(&device);
    HalvoD3D11_RemoveDevice(device, DXGI_ERROR_DEVICE_HUNG);
    device->Release();
    HV_Bitmap& second = MakeBitmap("second", 16, 16);
    EXPECT_FALSE(renderer_->CreateTexture(&second));
    EXPECT_EQ(CountLogged("[POPUP] D3D11 renderer failed to create texture 'second'."), 1);
    char text[96];
    std::snprintf(text, sizeof(text), "D3D11 renderer: device removed for reason '%d'", int(DXGI_ERROR_DEVICE_HUNG));
    EXPECT_EQ(CountLogged(text), 1);
}

TEST_P(TextureTest, FormatCheckAnswersForWhatRenderTargetsCanBe)
{
    auto supported = [this](int32_t format, int32_t type, int32_t mips, bool target) {
        HV_TextureDescription description;
        description.format = format;
        description.type = type;
        description.mips = mips;
        description.renderTarget = target ? 1 : 0;
        return renderer_->IsTextureFormatSupported(description);
    };
    for (int32_t format = HV_TEXTURE_FORMAT_D16; format <= HV_TEXTURE_FORMAT_B8G8R8X8; ++format) {
        EXPECT_TRUE(supported(format, HV_TEXTURE_TYPE_2D, 1, true)) << format;
    }
    EXPECT_TRUE(supported(HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_CUBE, 0, true));
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_NONE, HV_TEXTURE_TYPE_2D, 1, true));
    // Nothing makes volume targets, cube depth targets or other types.
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_B8G8R8A8, HV_TEXTURE_TYPE_VOLUME, 1, false));
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_D32F, HV_TEXTURE_TYPE_CUBE, 1, true));
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_B8G8R8A8, 4, 1, false));

    // What the device lacks.
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_R16_FLOAT, D3D11_FORMAT_SUPPORT_TEXTURE2D |
                                                           D3D11_FORMAT_SUPPORT_SHADER_SAMPLE |
                                                           D3D11_FORMAT_SUPPORT_RENDER_TARGET);
    EXPECT_TRUE(supported(HV_TEXTURE_FORMAT_R16F, HV_TEXTURE_TYPE_2D, 1, true));
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_R16F, HV_TEXTURE_TYPE_2D, 0, true));    // no mips
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_R16F, HV_TEXTURE_TYPE_CUBE, 1, true));  // no cubes
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_R32_FLOAT,
                                D3D11_FORMAT_SUPPORT_TEXTURE2D | D3D11_FORMAT_SUPPORT_SHADER_SAMPLE);
    EXPECT_TRUE(supported(HV_TEXTURE_FORMAT_R32F, HV_TEXTURE_TYPE_2D, 1, false));
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_R32F, HV_TEXTURE_TYPE_2D, 1, true));  // not a target
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_B8G8R8X8_UNORM,
                                D3D11_FORMAT_SUPPORT_TEXTURE2D | D3D11_FORMAT_SUPPORT_RENDER_TARGET);
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_B8G8R8X8, HV_TEXTURE_TYPE_2D, 1, true));  // not sampled
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_D16_UNORM, D3D11_FORMAT_SUPPORT_TEXTURE2D);
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_D16, HV_TEXTURE_TYPE_2D, 1, true));  // no depth
    HalvoD3D11_SetFormatSupport(DXGI_FORMAT_D32_FLOAT, 0);
    EXPECT_FALSE(supported(HV_TEXTURE_FORMAT_D32F, HV_TEXTURE_TYPE_2D, 1, true));  // E_FAIL
}

HALVO_RENDERER_BACKENDS(TextureTest);

}  // namespace
