#pragma once

#include <d3d11.h>
#include <dxgiformat.h>

#include <cstdint>

namespace halvo::d3d11 {

// What one channel of a texel holds.
enum class ChannelKind : uint8_t {
    kUnorm,
    kSnorm,
    kUint,
    kSint,
    kFloat,
    kSrgb,       // unsigned normalised, stored sRGB-encoded
    kTypeless,   // bits without an interpretation until a view gives one
    kOpaquePad,  // an X channel of a colour format, written as all ones
    kZeroPad,    // unused bits, written as zeros
};

// The colour component a channel carries: 0..3 for R, G, B, A; 0 is also
// the depth and 1 the stencil of a depth format.
struct Channel {
    uint8_t component;
    ChannelKind kind;
    uint8_t bits;
};

enum FormatClass : uint8_t {
    kColor,         // renders, blends, samples, generates mips
    kColorInteger,  // renders and loads, never filters or blends
    kVertexOnly,    // buffers and sampled textures, no render target (R32G32B32)
    kDepth,         // depth-stencil targets
    kBlockCompressed,
    kTypelessGroup,  // only for resources; views name a member of the group
    kSampledOnly,    // shared-exponent and packed formats: sampled, never rendered
};

// One row per format that our layer knows; texels of a block-compressed
// format are 4 x 4 blocks. Channels are listed from the lowest bit up, as the
// format's name lists them.
struct FormatInfo {
    DXGI_FORMAT format;
    uint8_t bytesPerBlock;
    uint8_t blockSize;  // 1, or 4 for block-compressed formats
    FormatClass formatClass;
    DXGI_FORMAT group;  // the typeless format of its cast group, or the format itself
    uint8_t channelCount;
    Channel channels[4];
    bool displayable;  // may be a swap chain's buffer format
    bool indexFormat;  // R16_UINT and R32_UINT
};

// The row of a format, or null for one we do not know (UNKNOWN included).
const FormatInfo* FindFormat(DXGI_FORMAT format);

// The D3D11_FORMAT_SUPPORT bits of a format (0 for an unknown one).
uint32_t FormatSupport(DXGI_FORMAT format);

// Whether a view of format `view` may look at a resource of format `resource`.
bool FormatsAreCastCompatible(DXGI_FORMAT resource, DXGI_FORMAT view);

// Bytes per row and rows of blocks of a width x height area of the format.
uint64_t RowBytes(const FormatInfo& info, uint32_t width);
uint32_t BlockRows(const FormatInfo& info, uint32_t height);

// A box in rows of blocks: the first row, the byte offset within a row, bytes per row and rows.
struct BlockRegion {
    UINT firstRow;
    UINT rowOffset;
    UINT rowBytes;
    UINT rowCount;
};

// The box of a subresource of the format in rows of blocks; a buffer (null
// format) is one row of bytes.
BlockRegion RegionInBlocks(const FormatInfo* info, const D3D11_BOX& box);

}  // namespace halvo::d3d11
