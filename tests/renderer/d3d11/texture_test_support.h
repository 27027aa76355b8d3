// What the texture, render-target and program tests of the renderer share:
// bitmaps with a known pattern, read-back of any subresource through a
// staging copy, and pixel comparison that writes expected and actual PNGs
// when it fails.
#pragma once

#include <d3d11.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"
#include "renderer/d3d11/renderer_test_support.h"

// 8-bit R, G, B, A pixels, rows without gaps.
struct RgbaImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bytes;
    uint32_t At(uint32_t x, uint32_t y) const;  // byte 0 lowest
    void Set(uint32_t x, uint32_t y, uint32_t texel);
};

// R, G, B, A bytes as one texel, byte 0 lowest.
uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a);
// A width x height image of one texel.
RgbaImage Filled(uint32_t width, uint32_t height, uint32_t texel);
// The texel of the test pattern at (x, y) of an image: every texel of a
// 256 x 256 block differs, alpha 255 - x.
uint32_t PatternTexel(int x, int y);
// A width x height image of the pattern from its row `firstRow` on.
RgbaImage PatternImage(uint32_t width, uint32_t height, uint32_t firstRow = 0);
// The bitmap's pixels as an image.
RgbaImage PixelsOf(const HV_Bitmap& bitmap);
// Gives the bitmap pixels of that size (and logical size) holding the pattern.
void FillWithPattern(HV_Bitmap& bitmap, const char* name, int32_t width, int32_t height);

// An image loader that has no memory to give.
class FullImageLoader : public ImageLoaderImp {
public:
    bool AllocateImagePixels(HV_Bitmap*, int32_t, int32_t) override { return false; }
};

class TextureRendererTest : public RendererTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A bitmap of that pixel (and logical) size holding the pattern; the
    // fixture releases its texture and pixels.
    HV_Bitmap& MakeBitmap(const char* name, int32_t width, int32_t height, int32_t type = HV_TEXTURE_TYPE_2D,
                          uint16_t mips = 1);
    // A bitmap without pixels, described for a render target.
    HV_Bitmap& MakeTarget(const char* name, int32_t width, int32_t height, int32_t format,
                          int32_t type = HV_TEXTURE_TYPE_2D, uint16_t mips = 1);

    // The texture the renderer made for the bitmap (null when none).
    static ID3D11Texture2D* TextureOf(const HV_Bitmap& bitmap);
    // The immediate context of the texture's device (one reference, released
    // by the caller).
    static ID3D11DeviceContext* ContextOf(ID3D11Resource* resource);
    // A subresource of a 4-byte colour texture read through a staging copy,
    // as R, G, B, A (B8G8R8A8 textures swapped).
    static RgbaImage ReadSubresource(ID3D11Texture2D* texture, UINT subresource);

    // Expects the image to equal the expected one, each channel within
    // `tolerance`; on a mismatch writes <name>-expected.png and
    // <name>-actual.png into pixel-failures/ in the working folder.
    static void ExpectImage(const std::string& name, const RgbaImage& actual, const RgbaImage& expected,
                            int tolerance = 0);

    bool OnVulkan() const { return std::string(GetParam()) == "vulkan"; }

    std::deque<HV_Bitmap> bitmaps_;
    // When set, the number of complaints of the layer the test causes on
    // purpose; any other fails it.
    std::optional<size_t> expectedComplaints_;
};
