#include "renderer/d3d11/texture_rules.h"

#include <algorithm>
#include <bit>

#include "graphics/bitmap_record.h"

namespace {

struct TextureFormatRow {
    int32_t code;  // HV_TextureFormat
    DXGI_FORMAT format;
    bool depth;
};

// One row per texture format code: code, DXGI format, depth format.
constexpr TextureFormatRow kTextureFormats[] = {
    {HV_TEXTURE_FORMAT_D16, DXGI_FORMAT_D16_UNORM, true},                // 1
    {HV_TEXTURE_FORMAT_D24S8, DXGI_FORMAT_D24_UNORM_S8_UINT, true},      // 2
    {HV_TEXTURE_FORMAT_D32F, DXGI_FORMAT_D32_FLOAT, true},               // 3
    {HV_TEXTURE_FORMAT_R16F, DXGI_FORMAT_R16_FLOAT, false},              // 4
    {HV_TEXTURE_FORMAT_RGBA16F, DXGI_FORMAT_R16G16B16A16_FLOAT, false},  // 5
    {HV_TEXTURE_FORMAT_R32F, DXGI_FORMAT_R32_FLOAT, false},              // 6
    {HV_TEXTURE_FORMAT_B8G8R8A8, DXGI_FORMAT_B8G8R8A8_UNORM, false},     // 7
    {HV_TEXTURE_FORMAT_B8G8R8X8, DXGI_FORMAT_B8G8R8X8_UNORM, false},     // 8
};
static_assert(sizeof(kTextureFormats) / sizeof(kTextureFormats[0]) == 8);

const TextureFormatRow* FindFormat(int32_t code)
{
    for (const TextureFormatRow& row : kTextureFormats) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

// Sides at or below this size end the mip chain.
constexpr int32_t kSmallestMipSide = 16;

}  // namespace

uint32_t NextPowerOfTwo(uint32_t v) { return IsPowerOfTwo(v) ? v : std::bit_ceil(v); }

bool IsPowerOfTwo(uint32_t v) { return (v & (v - 1)) == 0; }

uint32_t MipLevelCount(int32_t width, int32_t height, uint32_t setting)
{
    uint32_t levels = 1;
    if (setting != 1) {
        while (width > kSmallestMipSide && height > kSmallestMipSide) {
            ++levels;
            width /= 2;
            height /= 2;
        }
    }
    return setting != 0 ? std::min(setting, levels) : levels;
}

DXGI_FORMAT ToDXGIFormat(int32_t code)
{
    const TextureFormatRow* row = FindFormat(code);
    return row != nullptr ? row->format : DXGI_FORMAT_UNKNOWN;
}

bool IsDepthTextureFormat(int32_t code)
{
    const TextureFormatRow* row = FindFormat(code);
    return row != nullptr && row->depth;
}

D3D11_SHADER_RESOURCE_VIEW_DESC ShaderViewOfAllLevels(DXGI_FORMAT format, bool cube)
{
    constexpr UINT kAllLevels = UINT(-1);
    D3D11_SHADER_RESOURCE_VIEW_DESC view{};
    view.Format = format;
    if (cube) {
        view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
        view.TextureCube.MipLevels = kAllLevels;
    } else {
        view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
        view.Texture2D.MipLevels = kAllLevels;
    }
    return view;
}
