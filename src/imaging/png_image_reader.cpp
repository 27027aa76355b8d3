#include <png.h>

#include <cstdlib>

#include "foundation/engine_log.h"
#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"
#include "imaging/image_messages.h"

namespace {

// Deflate gives at most about 1032 bytes for one; a pixel takes at least one
// bit. A header asking for more pixels than the file could hold is refused
// before any memory is taken for them.
constexpr uint64_t kMaxPixelsPerFileByte = 8u * 1100u;

// Whether every chunk after the signature lies inside the data. libpng spends
// seconds and gigabytes on a text chunk that claims more bytes than the file
// holds before it fails, so such a file is refused before libpng sees it.
bool ChunksFitInData(const uint8_t* bytes, int64_t size)
{
    constexpr int64_t kSignatureSize = 8;
    constexpr int64_t kChunkHeaderSize = 8;  // length and type
    constexpr int64_t kChunkFrameSize = 12;  // length, type and CRC
    for (int64_t at = kSignatureSize; at + kChunkHeaderSize <= size;) {
        const uint32_t length = (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) |
                                (uint32_t(bytes[at + 2]) << 8) | uint32_t(bytes[at + 3]);
        const int64_t end = at + kChunkFrameSize + int64_t(length);
        if (end > size) return false;
        at = end;
    }
    return true;
}

// Frees what the reader holds on every path.
class PngImage {
public:
    PngImage() { m_image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&m_image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    png_image& Get() { return m_image; }

private:
    png_image m_image{};
};

}  // namespace

bool ImageLoaderImp::LoadImage(HV_Bitmap* bitmap, const uint8_t* bytes, int64_t size, int32_t channelOrder)
{
    if (bitmap == nullptr) return false;
    const char* name = bitmap->name.GetText();
    PngImage reader;
    png_image& image = reader.Get();
    if (bytes == nullptr || size <= 0) {
        HVI_Log(HV_LOG_ERROR, kImageNotPNG, name, "no bytes");
        return false;
    }
    if (!ChunksFitInData(bytes, size)) {
        HVI_Log(HV_LOG_ERROR, kImageNotPNG, name, kImageChunkPastEnd);
        return false;
    }
    if (!png_image_begin_read_from_memory(&image, bytes, static_cast<size_t>(size))) {
        HVI_Log(HV_LOG_ERROR, kImageNotPNG, name, image.message);
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > static_cast<png_uint_32>(kMaxImageSide) ||
        image.height > static_cast<png_uint_32>(kMaxImageSide)) {
        HVI_Log(HV_LOG_ERROR, kImageTooLarge, name, image.width, image.height, kMaxImageSide, kMaxImageSide);
        return false;
    }
    if (static_cast<uint64_t>(image.width) * image.height > static_cast<uint64_t>(size) * kMaxPixelsPerFileByte) {
        HVI_Log(HV_LOG_ERROR, kImageTooShort, name, image.width, image.height);
        return false;
    }
    image.format = channelOrder == 1 ? PNG_FORMAT_BGRA : PNG_FORMAT_RGBA;
    HV_Bitmap decoded;
    decoded.name = bitmap->name;
    if (!AllocateImagePixels(&decoded, static_cast<int32_t>(image.width), static_cast<int32_t>(image.height))) {
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, decoded.pixels, 0, nullptr)) {
        HVI_Log(HV_LOG_ERROR, kImageDecodeFailed, name, image.message);
        FreeImagePixels(&decoded);
        return false;
    }
    FreeImagePixels(bitmap);
    bitmap->pixels = decoded.pixels;
    decoded.pixels = nullptr;
    bitmap->pixelWidth = bitmap->width = decoded.pixelWidth;
    bitmap->pixelHeight = bitmap->height = decoded.pixelHeight;
    return true;
}
