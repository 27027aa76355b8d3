#include <cstdlib>

#include "foundation/engine_log.h"
#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"
#include "imaging/image_messages.h"

bool ImageLoaderImp::AllocateImagePixels(HV_Bitmap* bitmap, int32_t width, int32_t height)
{
    if (bitmap == nullptr) return false;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        HVI_Log(HV_LOG_ERROR, kImagePixelsBadSize, bitmap->name.GetText(), width, height);
        return false;
    }
    // Both sides are at most 2^14, so the product fits 64 bits with room.
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
    auto* pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes)));
    if (pixels == nullptr) {
        HVI_Log(HV_LOG_ERROR, kImagePixelsNoMemory, width, height, bitmap->name.GetText());
        return false;
    }
    std::free(bitmap->pixels);
    bitmap->pixels = pixels;
    bitmap->pixelWidth = width;
    bitmap->pixelHeight = height;
    return true;
}

void ImageLoaderImp::FreeImagePixels(HV_Bitmap* bitmap)
{
    if (bitmap == nullptr) return;
    std::free(bitmap->pixels);
    bitmap->pixels = nullptr;
}

ImageLoaderImp* HVI_GetImageLoader()
{
    static ImageLoaderImp loader;
    return &loader;
}
