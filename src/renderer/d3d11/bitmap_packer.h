// Pads a bitmap's pixels for upload as a texture whose sides are powers of
// two; made on the stack for one upload.
#pragma once

#include <cstdint>

struct HV_Bitmap;

class BitmapPacker {
public:
    BitmapPacker() = default;
    BitmapPacker(const BitmapPacker&) = delete;
    BitmapPacker& operator=(const BitmapPacker&) = delete;
    ~BitmapPacker();

    // Works out padding and target size; false when there is nothing to pack.
    bool BeginPacking(HV_Bitmap* bitmap, bool exact);
    // Fills the target memory; false when there is none.
    bool BitmapTexturePacker();

    int32_t GetPaddingX() const { return m_paddingX; }
    int32_t GetPaddingY() const { return m_paddingY; }
    int32_t GetTargetWidth() const { return m_targetWidth; }
    int32_t GetTargetHeight() const { return m_targetHeight; }
    int32_t GetRowPitch() const { return m_rowPitch; }
    const uint8_t* GetTargetPixels() const { return m_target; }

private:
    void FillPadding(int32_t packMode);

    HV_Bitmap* m_bitmap = nullptr;
    bool m_exact = false;
    int32_t m_paddingX = 0;
    int32_t m_paddingY = 0;
    int32_t m_targetWidth = 0;
    int32_t m_targetHeight = 0;
    int32_t m_rowPitch = 0;
    uint8_t* m_target = nullptr;
    bool m_ownsTarget = false;
};
