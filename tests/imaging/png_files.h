// PNG files made at test time by libpng, and hand-made headers for images
// that libpng would not write.
#pragma once

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

// A PNG of the RGBA pixels (4 bytes each, rows without gaps).
inline std::vector<uint8_t> WritePng(const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height,
                                     uint32_t format = PNG_FORMAT_RGBA)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr)) return {};
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr)) return {};
    bytes.resize(size);
    return bytes;
}

// The signature, a sound IHDR chunk of an 8-bit RGBA image of that size, an
// empty IDAT chunk and IEND.
inline std::vector<uint8_t> PngHeaderOnly(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    auto put32 = [&bytes](uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(value >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        put32(uint32_t(data.size()));
        const size_t typeAt = bytes.size();
        bytes.insert(bytes.end(), type, type + 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        put32(uint32_t(crc32(0, bytes.data() + typeAt, uInt(bytes.size() - typeAt))));
    };
    std::vector<uint8_t> header;
    for (uint32_t side : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) header.push_back(uint8_t(side >> shift));
    }
    for (uint8_t b : {8, 6, 0, 0, 0}) header.push_back(b);  // depth, RGBA, deflate, filter, no interlace
    chunk("IHDR", header);
    chunk("IDAT", {});
    chunk("IEND", {});
    return bytes;
}

// The pixels of a 3 x 2 test image: every byte differs.
inline std::vector<uint8_t> TestPixels3x2()
{
    return {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
}
