// Feeds arbitrary bytes to the PNG reader as a whole file.
#include <cstddef>
#include <cstdint>

#include "foundation/engine_log.h"
#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"

namespace {
void Discard(void*, int, bool, const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HVI_SetLogSink(Discard, nullptr);
    HV_Bitmap bitmap;
    bitmap.name = "fuzz.png";
    if (HVI_GetImageLoader()->LoadImage(&bitmap, data, static_cast<int64_t>(size), static_cast<int32_t>(size & 1))) {
        // Every pixel byte must be readable, and the sizes must agree.
        if (bitmap.pixels == nullptr || bitmap.pixelWidth <= 0 || bitmap.pixelHeight <= 0 ||
            bitmap.width != bitmap.pixelWidth || bitmap.height != bitmap.pixelHeight) {
            __builtin_trap();
        }
        volatile uint8_t sum = 0;
        const int64_t bytes = int64_t(bitmap.pixelWidth) * bitmap.pixelHeight * 4;
        for (int64_t i = 0; i < bytes; ++i) {
            sum = sum + bitmap.pixels[i];
        }
    }
    HVI_GetImageLoader()->FreeImagePixels(&bitmap);
    return 0;
}
