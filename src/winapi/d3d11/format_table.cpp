#include "winapi/d3d11/format_table.h"

#include <d3d11.h>

#include <iterator>

namespace halvo::d3d11 {

namespace {

constexpr Channel Un(uint8_t component, uint8_t bits) { return {component, ChannelKind::kUnorm, bits}; }
constexpr Channel Sn(uint8_t component, uint8_t bits) { return {component, ChannelKind::kSnorm, bits}; }
constexpr Channel Ui(uint8_t component, uint8_t bits) { return {component, ChannelKind::kUint, bits}; }
constexpr Channel Si(uint8_t component, uint8_t bits) { return {component, ChannelKind::kSint, bits}; }
constexpr Channel Fl(uint8_t component, uint8_t bits) { return {component, ChannelKind::kFloat, bits}; }
constexpr Channel Sr(uint8_t component, uint8_t bits) { return {component, ChannelKind::kSrgb, bits}; }
constexpr Channel Tl(uint8_t component, uint8_t bits) { return {component, ChannelKind::kTypeless, bits}; }
constexpr Channel Xo(uint8_t bits) { return {3, ChannelKind::kOpaquePad, bits}; }
constexpr Channel Xz(uint8_t bits) { return {0, ChannelKind::kZeroPad, bits}; }

// format, bytes per block, block size, class, cast group, channel count, channels, displayable, index format
constexpr FormatInfo kFormats[] = {
    {DXGI_FORMAT_R32G32B32A32_TYPELESS,
     16,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R32G32B32A32_TYPELESS,
     4,
     {Tl(0, 32), Tl(1, 32), Tl(2, 32), Tl(3, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32A32_FLOAT,
     16,
     1,
     kColor,
     DXGI_FORMAT_R32G32B32A32_TYPELESS,
     4,
     {Fl(0, 32), Fl(1, 32), Fl(2, 32), Fl(3, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32A32_UINT,
     16,
     1,
     kColorInteger,
     DXGI_FORMAT_R32G32B32A32_TYPELESS,
     4,
     {Ui(0, 32), Ui(1, 32), Ui(2, 32), Ui(3, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32A32_SINT,
     16,
     1,
     kColorInteger,
     DXGI_FORMAT_R32G32B32A32_TYPELESS,
     4,
     {Si(0, 32), Si(1, 32), Si(2, 32), Si(3, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32_TYPELESS,
     12,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R32G32B32_TYPELESS,
     3,
     {Tl(0, 32), Tl(1, 32), Tl(2, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32_FLOAT,
     12,
     1,
     kVertexOnly,
     DXGI_FORMAT_R32G32B32_TYPELESS,
     3,
     {Fl(0, 32), Fl(1, 32), Fl(2, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32_UINT,
     12,
     1,
     kVertexOnly,
     DXGI_FORMAT_R32G32B32_TYPELESS,
     3,
     {Ui(0, 32), Ui(1, 32), Ui(2, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32B32_SINT,
     12,
     1,
     kVertexOnly,
     DXGI_FORMAT_R32G32B32_TYPELESS,
     3,
     {Si(0, 32), Si(1, 32), Si(2, 32)},
     false,
     false},
    {DXGI_FORMAT_R16G16B16A16_TYPELESS,
     8,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R16G16B16A16_TYPELESS,
     4,
     {Tl(0, 16), Tl(1, 16), Tl(2, 16), Tl(3, 16)},
     false,
     false},
    {DXGI_FORMAT_R16G16B16A16_FLOAT,
     8,
     1,
     kColor,
     DXGI_FORMAT_R16G16B16A16_TYPELESS,
     4,
     {Fl(0, 16), Fl(1, 16), Fl(2, 16), Fl(3, 16)},
     true,
     false},
    {DXGI_FORMAT_R16G16B16A16_UNORM,
     8,
     1,
     kColor,
     DXGI_FORMAT_R16G16B16A16_TYPELESS,
     4,
     {Un(0, 16), Un(1, 16), Un(2, 16), Un(3, 16)},
     false,
     false},
    {DXGI_FORMAT_R16G16B16A16_UINT,
     8,
     1,
     kColorInteger,
     DXGI_FORMAT_R16G16B16A16_TYPELESS,
     4,
     {Ui(0, 16), Ui(1, 16), Ui(2, 16), Ui(3, 16)},
     false,
     false},
    {DXGI_FORMAT_R16G16B16A16_SNORM,
     8,
     1,
     kColor,
     DXGI_FORMAT_R16G16B16A16_TYPELESS,
     4,
     {Sn(0, 16), Sn(1, 16), Sn(2, 16), Sn(3, 16)},
     false,
     false},
    {DXGI_FORMAT_R16G16B16A16_SINT,
     8,
     1,
     kColorInteger,
     DXGI_FORMAT_R16G16B16A16_TYPELESS,
     4,
     {Si(0, 16), Si(1, 16), Si(2, 16), Si(3, 16)},
     false,
     false},
    {DXGI_FORMAT_R32G32_TYPELESS,
     8,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R32G32_TYPELESS,
     2,
     {Tl(0, 32), Tl(1, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32_FLOAT, 8, 1, kColor, DXGI_FORMAT_R32G32_TYPELESS, 2, {Fl(0, 32), Fl(1, 32)}, false, false},
    {DXGI_FORMAT_R32G32_UINT,
     8,
     1,
     kColorInteger,
     DXGI_FORMAT_R32G32_TYPELESS,
     2,
     {Ui(0, 32), Ui(1, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G32_SINT,
     8,
     1,
     kColorInteger,
     DXGI_FORMAT_R32G32_TYPELESS,
     2,
     {Si(0, 32), Si(1, 32)},
     false,
     false},
    {DXGI_FORMAT_R32G8X24_TYPELESS,
     8,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R32G8X24_TYPELESS,
     3,
     {Tl(0, 32), Tl(1, 8), Xz(24)},
     false,
     false},
    {DXGI_FORMAT_D32_FLOAT_S8X24_UINT,
     8,
     1,
     kDepth,
     DXGI_FORMAT_R32G8X24_TYPELESS,
     3,
     {Fl(0, 32), Ui(1, 8), Xz(24)},
     false,
     false},
    {DXGI_FORMAT_R10G10B10A2_TYPELESS,
     4,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R10G10B10A2_TYPELESS,
     4,
     {Tl(0, 10), Tl(1, 10), Tl(2, 10), Tl(3, 2)},
     false,
     false},
    {DXGI_FORMAT_R10G10B10A2_UNORM,
     4,
     1,
     kColor,
     DXGI_FORMAT_R10G10B10A2_TYPELESS,
     4,
     {Un(0, 10), Un(1, 10), Un(2, 10), Un(3, 2)},
     true,
     false},
    {DXGI_FORMAT_R10G10B10A2_UINT,
     4,
     1,
     kColorInteger,
     DXGI_FORMAT_R10G10B10A2_TYPELESS,
     4,
     {Ui(0, 10), Ui(1, 10), Ui(2, 10), Ui(3, 2)},
     false,
     false},
    {DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     {Tl(0, 8), Tl(1, 8), Tl(2, 8), Tl(3, 8)},
     false,
     false},
    {DXGI_FORMAT_R8G8B8A8_UNORM,
     4,
     1,
     kColor,
     DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     {Un(0, 8), Un(1, 8), Un(2, 8), Un(3, 8)},
     true,
     false},
    {DXGI_FORMAT_R8G8B8A8_UNORM_SRGB,
     4,
     1,
     kColor,
     DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     {Sr(0, 8), Sr(1, 8), Sr(2, 8), Un(3, 8)},
     true,
     false},
    {DXGI_FORMAT_R8G8B8A8_UINT,
     4,
     1,
     kColorInteger,
     DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     {Ui(0, 8), Ui(1, 8), Ui(2, 8), Ui(3, 8)},
     false,
     false},
    {DXGI_FORMAT_R8G8B8A8_SNORM,
     4,
     1,
     kColor,
     DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     {Sn(0, 8), Sn(1, 8), Sn(2, 8), Sn(3, 8)},
     false,
     false},
    {DXGI_FORMAT_R8G8B8A8_SINT,
     4,
     1,
     kColorInteger,
     DXGI_FORMAT_R8G8B8A8_TYPELESS,
     4,
     {Si(0, 8), Si(1, 8), Si(2, 8), Si(3, 8)},
     false,
     false},
    {DXGI_FORMAT_R16G16_TYPELESS,
     4,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R16G16_TYPELESS,
     2,
     {Tl(0, 16), Tl(1, 16)},
     false,
     false},
    {DXGI_FORMAT_R16G16_FLOAT, 4, 1, kColor, DXGI_FORMAT_R16G16_TYPELESS, 2, {Fl(0, 16), Fl(1, 16)}, false, false},
    {DXGI_FORMAT_R16G16_UNORM, 4, 1, kColor, DXGI_FORMAT_R16G16_TYPELESS, 2, {Un(0, 16), Un(1, 16)}, false, false},
    {DXGI_FORMAT_R16G16_UINT,
     4,
     1,
     kColorInteger,
     DXGI_FORMAT_R16G16_TYPELESS,
     2,
     {Ui(0, 16), Ui(1, 16)},
     false,
     false},
    {DXGI_FORMAT_R16G16_SNORM, 4, 1, kColor, DXGI_FORMAT_R16G16_TYPELESS, 2, {Sn(0, 16), Sn(1, 16)}, false, false},
    {DXGI_FORMAT_R16G16_SINT,
     4,
     1,
     kColorInteger,
     DXGI_FORMAT_R16G16_TYPELESS,
     2,
     {Si(0, 16), Si(1, 16)},
     false,
     false},
    {DXGI_FORMAT_R32_TYPELESS, 4, 1, kTypelessGroup, DXGI_FORMAT_R32_TYPELESS, 1, {Tl(0, 32)}, false, false},
    {DXGI_FORMAT_D32_FLOAT, 4, 1, kDepth, DXGI_FORMAT_R32_TYPELESS, 1, {Fl(0, 32)}, false, false},
    {DXGI_FORMAT_R32_FLOAT, 4, 1, kColor, DXGI_FORMAT_R32_TYPELESS, 1, {Fl(0, 32)}, false, false},
    {DXGI_FORMAT_R32_UINT, 4, 1, kColorInteger, DXGI_FORMAT_R32_TYPELESS, 1, {Ui(0, 32)}, false, true},
    {DXGI_FORMAT_R32_SINT, 4, 1, kColorInteger, DXGI_FORMAT_R32_TYPELESS, 1, {Si(0, 32)}, false, false},
    {DXGI_FORMAT_R24G8_TYPELESS,
     4,
     1,
     kTypelessGroup,
     DXGI_FORMAT_R24G8_TYPELESS,
     2,
     {Tl(0, 24), Tl(1, 8)},
     false,
     false},
    {DXGI_FORMAT_D24_UNORM_S8_UINT, 4, 1, kDepth, DXGI_FORMAT_R24G8_TYPELESS, 2, {Un(0, 24), Ui(1, 8)}, false, false},
    {DXGI_FORMAT_R8G8_TYPELESS, 2, 1, kTypelessGroup, DXGI_FORMAT_R8G8_TYPELESS, 2, {Tl(0, 8), Tl(1, 8)}, false, false},
    {DXGI_FORMAT_R8G8_UNORM, 2, 1, kColor, DXGI_FORMAT_R8G8_TYPELESS, 2, {Un(0, 8), Un(1, 8)}, false, false},
    {DXGI_FORMAT_R8G8_UINT, 2, 1, kColorInteger, DXGI_FORMAT_R8G8_TYPELESS, 2, {Ui(0, 8), Ui(1, 8)}, false, false},
    {DXGI_FORMAT_R8G8_SNORM, 2, 1, kColor, DXGI_FORMAT_R8G8_TYPELESS, 2, {Sn(0, 8), Sn(1, 8)}, false, false},
    {DXGI_FORMAT_R8G8_SINT, 2, 1, kColorInteger, DXGI_FORMAT_R8G8_TYPELESS, 2, {Si(0, 8), Si(1, 8)}, false, false},
    {DXGI_FORMAT_R16_TYPELESS, 2, 1, kTypelessGroup, DXGI_FORMAT_R16_TYPELESS, 1, {Tl(0, 16)}, false, false},
    {DXGI_FORMAT_R16_FLOAT, 2, 1, kColor, DXGI_FORMAT_R16_TYPELESS, 1, {Fl(0, 16)}, false, false},
    {DXGI_FORMAT_D16_UNORM, 2, 1, kDepth, DXGI_FORMAT_R16_TYPELESS, 1, {Un(0, 16)}, false, false},
    {DXGI_FORMAT_R16_UNORM, 2, 1, kColor, DXGI_FORMAT_R16_TYPELESS, 1, {Un(0, 16)}, false, false},
    {DXGI_FORMAT_R16_UINT, 2, 1, kColorInteger, DXGI_FORMAT_R16_TYPELESS, 1, {Ui(0, 16)}, false, true},
    {DXGI_FORMAT_R16_SNORM, 2, 1, kColor, DXGI_FORMAT_R16_TYPELESS, 1, {Sn(0, 16)}, false, false},
    {DXGI_FORMAT_R16_SINT, 2, 1, kColorInteger, DXGI_FORMAT_R16_TYPELESS, 1, {Si(0, 16)}, false, false},
    {DXGI_FORMAT_R8_TYPELESS, 1, 1, kTypelessGroup, DXGI_FORMAT_R8_TYPELESS, 1, {Tl(0, 8)}, false, false},
    {DXGI_FORMAT_R8_UNORM, 1, 1, kColor, DXGI_FORMAT_R8_TYPELESS, 1, {Un(0, 8)}, false, false},
    {DXGI_FORMAT_R8_UINT, 1, 1, kColorInteger, DXGI_FORMAT_R8_TYPELESS, 1, {Ui(0, 8)}, false, false},
    {DXGI_FORMAT_R8_SNORM, 1, 1, kColor, DXGI_FORMAT_R8_TYPELESS, 1, {Sn(0, 8)}, false, false},
    {DXGI_FORMAT_R8_SINT, 1, 1, kColorInteger, DXGI_FORMAT_R8_TYPELESS, 1, {Si(0, 8)}, false, false},
    {DXGI_FORMAT_A8_UNORM, 1, 1, kColor, DXGI_FORMAT_A8_UNORM, 1, {Un(3, 8)}, false, false},
    {DXGI_FORMAT_R9G9B9E5_SHAREDEXP, 4, 1, kSampledOnly, DXGI_FORMAT_R9G9B9E5_SHAREDEXP, 0, {}, false, false},
    {DXGI_FORMAT_BC1_TYPELESS, 8, 4, kTypelessGroup, DXGI_FORMAT_BC1_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC1_UNORM, 8, 4, kBlockCompressed, DXGI_FORMAT_BC1_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC1_UNORM_SRGB, 8, 4, kBlockCompressed, DXGI_FORMAT_BC1_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC2_TYPELESS, 16, 4, kTypelessGroup, DXGI_FORMAT_BC2_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC2_UNORM, 16, 4, kBlockCompressed, DXGI_FORMAT_BC2_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC2_UNORM_SRGB, 16, 4, kBlockCompressed, DXGI_FORMAT_BC2_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC3_TYPELESS, 16, 4, kTypelessGroup, DXGI_FORMAT_BC3_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC3_UNORM, 16, 4, kBlockCompressed, DXGI_FORMAT_BC3_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC3_UNORM_SRGB, 16, 4, kBlockCompressed, DXGI_FORMAT_BC3_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_B5G6R5_UNORM, 2, 1, kColor, DXGI_FORMAT_B5G6R5_UNORM, 3, {Un(2, 5), Un(1, 6), Un(0, 5)}, false, false},
    {DXGI_FORMAT_B5G5R5A1_UNORM,
     2,
     1,
     kColor,
     DXGI_FORMAT_B5G5R5A1_UNORM,
     4,
     {Un(2, 5), Un(1, 5), Un(0, 5), Un(3, 1)},
     false,
     false},
    {DXGI_FORMAT_B8G8R8A8_UNORM,
     4,
     1,
     kColor,
     DXGI_FORMAT_B8G8R8A8_TYPELESS,
     4,
     {Un(2, 8), Un(1, 8), Un(0, 8), Un(3, 8)},
     true,
     false},
    {DXGI_FORMAT_B8G8R8X8_UNORM,
     4,
     1,
     kColor,
     DXGI_FORMAT_B8G8R8X8_TYPELESS,
     4,
     {Un(2, 8), Un(1, 8), Un(0, 8), Xo(8)},
     false,
     false},
    {DXGI_FORMAT_B8G8R8A8_TYPELESS,
     4,
     1,
     kTypelessGroup,
     DXGI_FORMAT_B8G8R8A8_TYPELESS,
     4,
     {Tl(2, 8), Tl(1, 8), Tl(0, 8), Tl(3, 8)},
     false,
     false},
    {DXGI_FORMAT_B8G8R8A8_UNORM_SRGB,
     4,
     1,
     kColor,
     DXGI_FORMAT_B8G8R8A8_TYPELESS,
     4,
     {Sr(2, 8), Sr(1, 8), Sr(0, 8), Un(3, 8)},
     true,
     false},
    {DXGI_FORMAT_B8G8R8X8_TYPELESS,
     4,
     1,
     kTypelessGroup,
     DXGI_FORMAT_B8G8R8X8_TYPELESS,
     4,
     {Tl(2, 8), Tl(1, 8), Tl(0, 8), Xo(8)},
     false,
     false},
    {DXGI_FORMAT_B8G8R8X8_UNORM_SRGB,
     4,
     1,
     kColor,
     DXGI_FORMAT_B8G8R8X8_TYPELESS,
     4,
     {Sr(2, 8), Sr(1, 8), Sr(0, 8), Xo(8)},
     false,
     false},
    {DXGI_FORMAT_BC7_TYPELESS, 16, 4, kTypelessGroup, DXGI_FORMAT_BC7_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC7_UNORM, 16, 4, kBlockCompressed, DXGI_FORMAT_BC7_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_BC7_UNORM_SRGB, 16, 4, kBlockCompressed, DXGI_FORMAT_BC7_TYPELESS, 0, {}, false, false},
    {DXGI_FORMAT_B4G4R4A4_UNORM,
     2,
     1,
     kColor,
     DXGI_FORMAT_B4G4R4A4_UNORM,
     4,
     {Un(2, 4), Un(1, 4), Un(0, 4), Un(3, 4)},
     false,
     false},
};

// This layer makes 2D textures, arrays and cubes only; no format answers TEXTURE1D or TEXTURE3D.
constexpr uint32_t kTextureSupport =
    D3D11_FORMAT_SUPPORT_TEXTURE2D | D3D11_FORMAT_SUPPORT_TEXTURECUBE | D3D11_FORMAT_SUPPORT_MIP;
constexpr uint32_t kLoadSupport =
    D3D11_FORMAT_SUPPORT_SHADER_LOAD | D3D11_FORMAT_SUPPORT_CPU_LOCKABLE | D3D11_FORMAT_SUPPORT_CAST_WITHIN_BIT_LAYOUT;
constexpr uint32_t kBufferSupport = D3D11_FORMAT_SUPPORT_BUFFER | D3D11_FORMAT_SUPPORT_IA_VERTEX_BUFFER;

}  // namespace

const FormatInfo* FindFormat(DXGI_FORMAT format)
{
    for (const FormatInfo& info : kFormats) {
        if (info.format == format) return &info;
    }
    return nullptr;
}

uint32_t FormatSupport(DXGI_FORMAT format)
{
    const FormatInfo* info = FindFormat(format);
    if (info == nullptr) return 0;
    uint32_t support = 0;
    switch (info->formatClass) {
    case kColor:
        support = kBufferSupport | kTextureSupport | kLoadSupport | D3D11_FORMAT_SUPPORT_SHADER_SAMPLE |
                  D3D11_FORMAT_SUPPORT_MIP_AUTOGEN | D3D11_FORMAT_SUPPORT_RENDER_TARGET |
                  D3D11_FORMAT_SUPPORT_BLENDABLE | D3D11_FORMAT_SUPPORT_SHADER_GATHER;
        break;
    case kColorInteger:
        support = kBufferSupport | kTextureSupport | kLoadSupport | D3D11_FORMAT_SUPPORT_RENDER_TARGET;
        break;
    case kVertexOnly:
        support = kBufferSupport | kTextureSupport | kLoadSupport |
                  (info->channels[0].kind == ChannelKind::kFloat ? D3D11_FORMAT_SUPPORT_SHADER_SAMPLE : 0);
        break;
    case kDepth:
        support = D3D11_FORMAT_SUPPORT_TEXTURE2D | D3D11_FORMAT_SUPPORT_TEXTURECUBE | D3D11_FORMAT_SUPPORT_MIP |
                  D3D11_FORMAT_SUPPORT_DEPTH_STENCIL;
        break;
    case kBlockCompressed: support = kTextureSupport | kLoadSupport | D3D11_FORMAT_SUPPORT_SHADER_SAMPLE; break;
    case kTypelessGroup: support = kTextureSupport | D3D11_FORMAT_SUPPORT_CPU_LOCKABLE; break;
    case kSampledOnly: support = kTextureSupport | kLoadSupport | D3D11_FORMAT_SUPPORT_SHADER_SAMPLE; break;
    }
    if (info->displayable) support |= D3D11_FORMAT_SUPPORT_DISPLAY | D3D11_FORMAT_SUPPORT_BACK_BUFFER_CAST;
    if (info->indexFormat) support |= D3D11_FORMAT_SUPPORT_IA_INDEX_BUFFER;
    // Packed 16-bit formats with B first and the X formats are never vertex data.
    if (info->format == DXGI_FORMAT_B8G8R8X8_UNORM || info->format == DXGI_FORMAT_B5G6R5_UNORM ||
        info->format == DXGI_FORMAT_B5G5R5A1_UNORM || info->format == DXGI_FORMAT_B4G4R4A4_UNORM ||
        info->format == DXGI_FORMAT_B8G8R8A8_UNORM_SRGB || info->format == DXGI_FORMAT_B8G8R8X8_UNORM_SRGB ||
        info->format == DXGI_FORMAT_R8G8B8A8_UNORM_SRGB || info->format == DXGI_FORMAT_A8_UNORM) {
        support &= ~uint32_t{kBufferSupport};
    }
    return support;
}

bool FormatsAreCastCompatible(DXGI_FORMAT resource, DXGI_FORMAT view)
{
    if (resource == view) return true;
    const FormatInfo* resourceInfo = FindFormat(resource);
    const FormatInfo* viewInfo = FindFormat(view);
    if (resourceInfo == nullptr || viewInfo == nullptr) return false;
    // Only a typeless resource may be seen through another member of its group.
    return resourceInfo->formatClass == kTypelessGroup && viewInfo->group == resource;
}

uint64_t RowBytes(const FormatInfo& info, uint32_t width)
{
    const uint64_t blocks = (uint64_t{width} + info.blockSize - 1) / info.blockSize;
    return blocks * info.bytesPerBlock;
}

uint32_t BlockRows(const FormatInfo& info, uint32_t height) { return (height + info.blockSize - 1) / info.blockSize; }

BlockRegion RegionInBlocks(const FormatInfo* info, const D3D11_BOX& box)
{
    if (info == nullptr) return {0, box.left, box.right - box.left, 1};
    const UINT size = info->blockSize;
    const UINT left = box.left / size;
    const UINT top = box.top / size;
    const UINT right = (box.right + size - 1) / size;
    const UINT bottom = (box.bottom + size - 1) / size;
    return {top, left * info->bytesPerBlock, (right - left) * info->bytesPerBlock, bottom - top};
}

}  // namespace halvo::d3d11
