#pragma once

#include <cstdint>

struct HV_Bitmap;

// Pixel buffers of bitmaps and the decoding of image files into them. One
// loader serves the engine (HVI_GetImageLoader); its calls are safe from any
// thread as long as each bitmap is used by one thread at a time.
class ImageLoaderImp {
public:
    // The widest and tallest image a bitmap takes: the largest texture any
    // renderer makes.
    static constexpr int32_t kMaxImageSide = 16384;

    virtual ~ImageLoaderImp() = default;

    // Gives the bitmap a pixel buffer of width x height x 4 bytes (not
    // cleared), freeing the one it had, and sets its pixel size. False,
    // with the bitmap left as it was, for a size that is not positive or
    // larger than kMaxImageSide on a side, or when memory runs out.
    virtual bool AllocateImagePixels(HV_Bitmap* bitmap, int32_t width, int32_t height);
    // Frees the bitmap's pixel buffer; its sizes stay.
    virtual void FreeImagePixels(HV_Bitmap* bitmap);

    // Decodes a PNG file's bytes into the bitmap's pixels, 4 bytes a pixel in
    // the channel order a renderer asks for (0 R, G, B, A; 1 B, G, R, A), and
    // sets its pixel and logical size. False, with the bitmap left as it was
    // and the reason logged, for anything but a whole, sound PNG image.
    virtual bool LoadImage(HV_Bitmap* bitmap, const uint8_t* bytes, int64_t size, int32_t channelOrder);
};

// The engine's image loader.
ImageLoaderImp* HVI_GetImageLoader();
