#pragma once

#include <cstdint>

#include "graphics/bitmap_record.h"

class ImageLoaderImp;

// Lays a bitmap's pixels out for a texture upload: a one-pixel border on each
// padded axis (so that filtering at the image's edge does not reach into
// unrelated texels) and sides rounded up to powers of two unless the exact
// size is asked. Built on the stack for one upload; the target memory comes
// from the image loader and is freed with the packer. The bitmap itself is
// only read.
class BitmapPacker {
public:
    explicit BitmapPacker(ImageLoaderImp& loader) : m_loader(loader) {}
    ~BitmapPacker();
    BitmapPacker(const BitmapPacker&) = delete;
    BitmapPacker& operator=(const BitmapPacker&) = delete;

    // The image's size: its logical size, or its pixel size when a logical
    // side is 0. False, with a popup, when the bitmap has no pixels or the
    // size does not lie within them.
    static bool ImageSize(const HV_Bitmap* bitmap, int32_t& width, int32_t& height);

    // Chooses the pack mode, the padding and the target size. False, with a
    // popup, when no texture can be made of the bitmap.
    bool BeginPacking(const HV_Bitmap* bitmap, bool exact);
    // Lays the pixels out in the target (the bitmap's own pixels when the
    // target is the image itself) and fills the border. False, with a log
    // line, when there is no memory for the target.
    bool BitmapTexturePacker();
    // Writes the border of the padded axes: mode 0 repeats the image's edge
    // texels, mode 2 does the same with alpha 0, other modes leave the border
    // transparent black.
    void FillPadding(int32_t mode);

    int32_t TargetWidth() const { return m_targetWidth; }
    int32_t TargetHeight() const { return m_targetHeight; }
    int32_t PaddingX() const { return m_paddingX; }
    int32_t PaddingY() const { return m_paddingY; }
    int32_t PackMode() const { return m_packMode; }
    // The laid-out pixels, RowPitch bytes from one row to the next.
    const uint8_t* Pixels() const { return m_pixels; }
    uint32_t RowPitch() const { return m_rowPitch; }
    // Where the image lies in the target: left, top, right, bottom in 0..1.
    void GetUvRectangle(float (&uv)[4]) const;

private:
    uint8_t* Texel(int32_t x, int32_t y) { return m_target.pixels + int64_t(y) * m_rowPitch + int64_t(x) * 4; }
    void ExpandBorder();
    void ClearBorderAlpha();

    ImageLoaderImp& m_loader;
    const HV_Bitmap* m_bitmap = nullptr;
    int32_t m_packMode = 0;
    int32_t m_width = 0;  // the image's logical size
    int32_t m_height = 0;
    int32_t m_paddingX = 0;
    int32_t m_paddingY = 0;
    int32_t m_targetWidth = 0;
    int32_t m_targetHeight = 0;
    uint32_t m_rowPitch = 0;
    const uint8_t* m_pixels = nullptr;
    HV_Bitmap m_target;  // holds the target memory when the packer allocated it
};
