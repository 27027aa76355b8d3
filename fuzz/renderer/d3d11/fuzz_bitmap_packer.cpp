// Lays out bitmaps of any size, pixel pitch, pack mode and flags for upload,
// and reads every byte of the result: the packer must never read or write
// outside the bitmap's pixels or its own target.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/engine_log.h"
#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"
#include "renderer/d3d11/bitmap_packer.h"

namespace {

void Discard(void*, int, bool, const char*) {}

// Sides up to 1100 reach the rules for sides of 1023 and 1024; the area is
// kept small enough for quick runs.
constexpr int32_t kLongestSide = 1100;
constexpr int64_t kLargestArea = 1100 * 64;

int32_t Side(const uint8_t* bytes) { return 1 + (int32_t(bytes[0]) | int32_t(bytes[1]) << 8) % kLongestSide; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8) return 0;
    HVI_SetLogSink(Discard, nullptr);
    const int32_t width = Side(data);
    const int32_t height = Side(data + 2);
    if (int64_t(width) * height > kLargestArea) return 0;
    const uint8_t extra = data[4];
    const uint8_t mode = data[5];
    const uint8_t choices = data[6];

    HV_Bitmap bitmap;
    bitmap.name = (choices & 1) != 0 ? "level/textures/wall" : "sprite";
    // The pixels may be larger than the image, and the logical size may be
    // left 0 or be larger than the pixels.
    const int32_t pixelWidth = width + (extra & 3);
    const int32_t pixelHeight = height + ((extra >> 2) & 3);
    ImageLoaderImp& loader = *HVI_GetImageLoader();
    if (!loader.AllocateImagePixels(&bitmap, pixelWidth, pixelHeight)) return 0;
    std::memset(bitmap.pixels, 0x5a, size_t(pixelWidth) * size_t(pixelHeight) * 4);
    bitmap.width = (choices & 2) != 0 ? 0 : width + ((extra >> 4) & 1);
    bitmap.height = height;
    bitmap.packMode = int32_t(mode % 6) - 1;
    bitmap.flags = (choices >> 2) & 1;

    BitmapPacker packer(loader);
    if (packer.BeginPacking(&bitmap, (choices & 8) != 0)) {
        float uv[4];
        packer.GetUvRectangle(uv);
        if (packer.PaddingX() < 0 || packer.PaddingX() > 1 || packer.PaddingY() < 0 || packer.PaddingY() > 1 ||
            uv[0] < 0.0f || uv[2] > 1.0f || uv[1] < 0.0f || uv[3] > 1.0f || uv[0] >= uv[2] || uv[1] >= uv[3]) {
            __builtin_trap();
        }
        if (packer.BitmapTexturePacker()) {
            // Every row of the target is there to read, RowPitch bytes apart.
            volatile uint8_t sum = 0;
            const uint8_t* pixels = packer.Pixels();
            for (int32_t row = 0; row < packer.TargetHeight(); ++row) {
                for (int32_t byte = 0; byte < packer.TargetWidth() * 4; ++byte) {
                    sum = sum + pixels[size_t(row) * packer.RowPitch() + size_t(byte)];
                }
            }
        }
    }
    loader.FreeImagePixels(&bitmap);
    return 0;
}
