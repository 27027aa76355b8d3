#include "renderer/d3d11/bitmap_packer.h"

#include <cstring>

#include "core/logging.h"
#include "imaging/image_loader.h"
#include "renderer/d3d11/texture_messages.h"
#include "renderer/d3d11/texture_rules.h"

namespace {

// Bitmaps under this folder are tiled or wrapped: a border would show.
constexpr const char* kUnpaddedFolder = "textures/";

// The padding of one side: none where the side already fills a power of two
// of at least 1024 texels, with or without the border, since a border there
// would double the texture for one texel.
int32_t SidePadding(int32_t side, int32_t padding)
{
    const uint32_t size = uint32_t(side);
    if (padding == 0) return 0;
    if (side >= 1024 && IsPowerOfTwo(size)) return 0;
    if (side >= 1023 && size == NextPowerOfTwo(size) - uint32_t(padding)) return 0;
    return padding;
}

int32_t TargetSide(int32_t side, int32_t padding, bool exact)
{
    const int32_t padded = side + 2 * padding;
    return exact ? padded : int32_t(NextPowerOfTwo(uint32_t(padded)));
}

}  // namespace

BitmapPacker::~BitmapPacker()
{
    if (m_target.pixels != nullptr) m_loader.FreeImagePixels(&m_target);
}

bool BitmapPacker::ImageSize(const HV_Bitmap* bitmap, int32_t& width, int32_t& height)
{
    if (bitmap == nullptr) {
        HV_Popup(HV_LOG_WARNING, kPackerNullBitmap);
        return false;
    }
    if (bitmap->pixels == nullptr) {
        HV_Popup(HV_LOG_WARNING, kPackerNoPixels, bitmap->name.GetText());
        return false;
    }
    width = bitmap->width;
    height = bitmap->height;
    if (width == 0 || height == 0) {
        width = bitmap->pixelWidth;
        height = bitmap->pixelHeight;
    }
    // Rows are read pixel width x 4 bytes apart; a logical size past the
    // pixels would read past the buffer.
    if (width <= 0 || height <= 0 || width > bitmap->pixelWidth || height > bitmap->pixelHeight) {
        HV_Popup(HV_LOG_WARNING, kPackerSizeOutsidePixels, bitmap->name.GetText(), width, height, bitmap->pixelWidth,
                 bitmap->pixelHeight);
        return false;
    }
    return true;
}

bool BitmapPacker::BeginPacking(const HV_Bitmap* bitmap, bool exact)
{
    if (!ImageSize(bitmap, m_width, m_height)) return false;
    m_bitmap = bitmap;

    m_packMode = bitmap->packMode;
    const char* name = bitmap->name.GetText();
    if ((name != nullptr && std::strstr(name, kUnpaddedFolder) != nullptr) ||
        (IsPowerOfTwo(uint32_t(m_width)) && IsPowerOfTwo(uint32_t(m_height)))) {
        m_packMode = HV_PACK_NO_PADDING;
    }
    if (m_packMode == HV_PACK_PAD_TRANSPARENT && (bitmap->flags & HV_BITMAP_TRANSPARENT_PADDING) == 0) {
        m_packMode = HV_PACK_PAD_EXPAND;
    }

    const int32_t padding = m_packMode < HV_PACK_NO_PADDING ? 1 : 0;
    m_paddingX = SidePadding(m_width, padding);
    m_paddingY = SidePadding(m_height, padding);
    if (m_paddingX == 0 && m_paddingY == 0) m_packMode = HV_PACK_NO_PADDING;
    m_targetWidth = TargetSide(m_width, m_paddingX, exact);
    m_targetHeight = TargetSide(m_height, m_paddingY, exact);
    return true;
}

bool BitmapPacker::BitmapTexturePacker()
{
    const uint32_t sourcePitch = uint32_t(m_bitmap->pixelWidth) * 4;
    if (m_targetWidth == m_width && m_targetHeight == m_height) {
        m_pixels = m_bitmap->pixels;
        m_rowPitch = sourcePitch;
        return true;
    }
    m_rowPitch = uint32_t(m_targetWidth) * 4;
    if (!m_loader.AllocateImagePixels(&m_target, m_targetWidth, m_targetHeight)) {
        HV_Log(HV_LOG_WARNING, kPackerNoMemory);
        return false;
    }
    // Texels outside the padded image are transparent black, not whatever
    // the allocator left there: lower mips average them in at the edges.
    std::memset(m_target.pixels, 0, size_t(m_rowPitch) * size_t(m_targetHeight));
    for (int32_t row = 0; row < m_height; ++row) {
        std::memcpy(Texel(m_paddingX, m_paddingY + row), m_bitmap->pixels + size_t(row) * sourcePitch,
                    size_t(m_width) * 4);
    }
    m_pixels = m_target.pixels;
    if (m_paddingX > 0 || m_paddingY > 0) FillPadding(m_packMode);
    return true;
}

void BitmapPacker::FillPadding(int32_t mode)
{
    if (m_target.pixels == nullptr) return;  // the image is its own target: no border
    if (mode == HV_PACK_PAD_EXPAND || mode == HV_PACK_PAD_TRANSPARENT) ExpandBorder();
    if (mode == HV_PACK_PAD_TRANSPARENT) ClearBorderAlpha();
}

void BitmapPacker::ExpandBorder()
{
    const size_t rowBytes = size_t(m_width) * 4;
    if (m_paddingY > 0) {
        std::memcpy(Texel(m_paddingX, 0), Texel(m_paddingX, m_paddingY), rowBytes);
        std::memcpy(Texel(m_paddingX, m_height + m_paddingY), Texel(m_paddingX, m_height + m_paddingY - 1), rowBytes);
    }
    if (m_paddingX > 0) {
        for (int32_t row = 0; row < m_height + 2 * m_paddingY; ++row) {
            std::memcpy(Texel(0, row), Texel(1, row), 4);
            std::memcpy(Texel(m_width + 1, row), Texel(m_width, row), 4);
        }
    }
}

// Only the border of a padded axis: on an axis without padding those texels
// are the image's own (or past the buffer).
void BitmapPacker::ClearBorderAlpha()
{
    constexpr int kAlpha = 3;
    if (m_paddingY > 0) {
        for (int32_t x = 0; x < m_targetWidth; ++x) {
            Texel(x, 0)[kAlpha] = 0;
            Texel(x, m_height + m_paddingY)[kAlpha] = 0;
        }
    }
    if (m_paddingX > 0) {
        for (int32_t row = 0; row < m_height + 2 * m_paddingY; ++row) {
            Texel(0, row)[kAlpha] = 0;
            Texel(m_width + m_paddingX, row)[kAlpha] = 0;
        }
    }
}

void BitmapPacker::GetUvRectangle(float (&uv)[4]) const
{
    uv[0] = float(m_paddingX) / float(m_targetWidth);
    uv[1] = float(m_paddingY) / float(m_targetHeight);
    uv[2] = float(m_width + m_paddingX) / float(m_targetWidth);
    uv[3] = float(m_height + m_paddingY) / float(m_targetHeight);
}
