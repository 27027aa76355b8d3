#include "winapi/d3d11/frame_pixels.h"

#include <algorithm>
#include <cmath>

#include "winapi/d3d11/memory/texel_codec.h"

namespace halvo::d3d11 {

namespace {

uint8_t ToByte(double value) { return uint8_t(std::lround(std::clamp(value, 0.0, 1.0) * 255.0)); }

void ConvertRow(const FormatInfo& info, const uint8_t* texels, uint32_t width, uint8_t* rgba)
{
    for (uint32_t x = 0; x < width; ++x, texels += info.bytesPerBlock, rgba += 4) {
        switch (info.format) {
        case DXGI_FORMAT_R8G8B8A8_UNORM:
        case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB: std::copy(texels, texels + 4, rgba); break;
        case DXGI_FORMAT_B8G8R8A8_UNORM:
        case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB:
            rgba[0] = texels[2];
            rgba[1] = texels[1];
            rgba[2] = texels[0];
            rgba[3] = texels[3];
            break;
        default: {
            const memory::Texel texel = memory::DecodeTexel(info, texels);
            for (int c = 0; c < 4; ++c) rgba[c] = ToByte(texel.values[c]);
        }
        }
    }
}

}  // namespace

std::vector<uint8_t> ToRgba(const FormatInfo& info, const uint8_t* texels, size_t rowPitch, uint32_t width,
                            uint32_t height)
{
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
        ConvertRow(info, texels + y * rowPitch, width, rgba.data() + size_t(y) * width * 4);
    }
    return rgba;
}

}  // namespace halvo::d3d11
