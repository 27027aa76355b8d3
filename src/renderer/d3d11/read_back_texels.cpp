#include "renderer/d3d11/read_back_texels.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

uint8_t ToByte(float value)
{
    if (!(value > 0.0f)) return 0;  // NaN too
    if (value >= 1.0f) return 255;
    return uint8_t(std::floor(value * 255.0f + 0.5f));
}

float HalfToFloat(uint16_t half)
{
    const uint32_t sign = uint32_t(half & 0x8000) << 16;
    const uint32_t exponent = (half >> 10) & 0x1f;
    const uint32_t mantissa = half & 0x3ff;
    if (exponent == 0) {
        const float value = std::ldexp(float(mantissa), -24);  // zero or subnormal
        return sign != 0 ? -value : value;
    }
    const uint32_t bits =
        exponent == 0x1f ? sign | 0x7f800000u | (mantissa << 13) : sign | ((exponent + 112) << 23) | (mantissa << 13);
    return std::bit_cast<float>(bits);
}

uint16_t Read16(const uint8_t* bytes)
{
    uint16_t value;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

uint32_t Read32(const uint8_t* bytes)
{
    uint32_t value;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

void Store(uint8_t* pixel, float r, float g, float b, float a)
{
    pixel[0] = ToByte(r);
    pixel[1] = ToByte(g);
    pixel[2] = ToByte(b);
    pixel[3] = ToByte(a);
}

}  // namespace

uint32_t ReadBackTexelSize(DXGI_FORMAT format)
{
    switch (format) {
    case DXGI_FORMAT_D16_UNORM:
    case DXGI_FORMAT_R16_FLOAT: return 2;
    case DXGI_FORMAT_D24_UNORM_S8_UINT:
    case DXGI_FORMAT_D32_FLOAT:
    case DXGI_FORMAT_R32_FLOAT:
    case DXGI_FORMAT_B8G8R8A8_UNORM:
    case DXGI_FORMAT_B8G8R8X8_UNORM:
    case DXGI_FORMAT_R8G8B8A8_UNORM: return 4;
    case DXGI_FORMAT_R16G16B16A16_FLOAT: return 8;
    default: return 0;
    }
}

void ConvertTexelRow(DXGI_FORMAT format, const uint8_t* texels, uint8_t* pixels, int32_t width)
{
    const uint32_t size = ReadBackTexelSize(format);
    for (int32_t x = 0; x < width; ++x, texels += size, pixels += 4) {
        switch (format) {
        case DXGI_FORMAT_B8G8R8A8_UNORM:
        case DXGI_FORMAT_B8G8R8X8_UNORM:
            pixels[0] = texels[2];
            pixels[1] = texels[1];
            pixels[2] = texels[0];
            pixels[3] = format == DXGI_FORMAT_B8G8R8X8_UNORM ? 255 : texels[3];
            break;
        case DXGI_FORMAT_R8G8B8A8_UNORM: std::memcpy(pixels, texels, 4); break;
        case DXGI_FORMAT_D16_UNORM: Store(pixels, float(Read16(texels)) / 65535.0f, 0, 0, 1); break;
        case DXGI_FORMAT_D24_UNORM_S8_UINT:
            Store(pixels, float(Read32(texels) & 0xffffff) / 16777215.0f, 0, 0, 1);
            break;
        case DXGI_FORMAT_D32_FLOAT:
        case DXGI_FORMAT_R32_FLOAT: Store(pixels, std::bit_cast<float>(Read32(texels)), 0, 0, 1); break;
        case DXGI_FORMAT_R16_FLOAT: Store(pixels, HalfToFloat(Read16(texels)), 0, 0, 1); break;
        case DXGI_FORMAT_R16G16B16A16_FLOAT:
            Store(pixels, HalfToFloat(Read16(texels)), HalfToFloat(Read16(texels + 2)), HalfToFloat(Read16(texels + 4)),
                  HalfToFloat(Read16(texels + 6)));
            break;
        default: std::memset(pixels, 0, 4); break;
        }
    }
}
