// The fixed rules of textures: powers of two, mip levels, format codes,
// vertex elements and the read-back of render-target texels into pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "renderer/d3d11/read_back_texels.h"
#include "renderer/d3d11/texture_rules.h"
#include "renderer/d3d11/vertex_elements.h"

namespace {

TEST(TextureRules, NextPowerOfTwoKeepsPowersAndRoundsUpTheRest)
{
    EXPECT_EQ(NextPowerOfTwo(0), 0u);
    EXPECT_EQ(NextPowerOfTwo(1), 1u);
    EXPECT_EQ(NextPowerOfTwo(3), 4u);
    EXPECT_EQ(NextPowerOfTwo(100), 128u);
    EXPECT_EQ(NextPowerOfTwo(1024), 1024u);
    EXPECT_EQ(NextPowerOfTwo(1025), 2048u);
    EXPECT_EQ(NextPowerOfTwo(16386), 32768u);
}

TEST(TextureRules, MipLevelsHalveWhileBothSidesAreAboveSixteen)
{
    EXPECT_EQ(MipLevelCount(256, 256, 0), 5u);
    EXPECT_EQ(MipLevelCount(33, 1000, 0), 2u);
    EXPECT_EQ(MipLevelCount(16, 4096, 0), 1u);
    EXPECT_EQ(MipLevelCount(17, 17, 0), 2u);
    EXPECT_EQ(MipLevelCount(64, 64, 0), 3u);
    // The setting: 1 is one level, n > 1 is at most n.
    EXPECT_EQ(MipLevelCount(256, 256, 1), 1u);
    EXPECT_EQ(MipLevelCount(256, 256, 3), 3u);
    EXPECT_EQ(MipLevelCount(256, 256, 9), 5u);
    EXPECT_EQ(MipLevelCount(8, 8, 4), 1u);
}

TEST(TextureRules, FormatCodesMapToTheirDxgiFormats)
{
    const DXGI_FORMAT expected[] = {
        DXGI_FORMAT_UNKNOWN,   DXGI_FORMAT_D16_UNORM,      DXGI_FORMAT_D24_UNORM_S8_UINT,
        DXGI_FORMAT_D32_FLOAT, DXGI_FORMAT_R16_FLOAT,      DXGI_FORMAT_R16G16B16A16_FLOAT,
        DXGI_FORMAT_R32_FLOAT, DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_B8G8R8X8_UNORM,
        DXGI_FORMAT_UNKNOWN,
    };
    for (int code = 0; code < 10; ++code) {
        EXPECT_EQ(ToDXGIFormat(code), expected[code]) << code;
        EXPECT_EQ(IsDepthTextureFormat(code), code >= 1 && code <= 3) << code;
    }
    EXPECT_EQ(ToDXGIFormat(-1), DXGI_FORMAT_UNKNOWN);
}

TEST(VertexElements, InputLayoutListsTheMasksElementsInVertexOrder)
{
    D3D11_INPUT_ELEMENT_DESC elements[kVertexElementCount];
    ASSERT_EQ(BuildInputLayout(1 | 2 | 4 | 8 | 16, true, elements), 5);
    const char* semantics[] = {"POSITION", "COLOR", "TEXCOORD", "TEXCOORD", "NORMAL"};
    const UINT indices[] = {0, 0, 0, 1, 0};
    const DXGI_FORMAT formats[] = {DXGI_FORMAT_R32G32B32_FLOAT, DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_R32G32_FLOAT,
                                   DXGI_FORMAT_R32G32_FLOAT, DXGI_FORMAT_R32G32B32_FLOAT};
    const UINT offsets[] = {0, 12, 16, 24, 32};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(elements[i].SemanticName, semantics[i]) << i;
        EXPECT_EQ(elements[i].SemanticIndex, indices[i]) << i;
        EXPECT_EQ(elements[i].Format, formats[i]) << i;
        EXPECT_EQ(elements[i].InputSlot, 0u) << i;
        EXPECT_EQ(elements[i].AlignedByteOffset, offsets[i]) << i;
        EXPECT_EQ(elements[i].InputSlotClass, D3D11_INPUT_PER_VERTEX_DATA) << i;
    }
    ASSERT_EQ(BuildInputLayout(2 | 128 | 256, false, elements), 3);
    EXPECT_EQ(elements[0].Format, DXGI_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(elements[1].Format, DXGI_FORMAT_R8G8B8A8_UINT);
    EXPECT_STREQ(elements[2].SemanticName, "BLENDWEIGHT");
    EXPECT_EQ(elements[2].AlignedByteOffset, 8u);
}

std::vector<uint8_t> Convert(DXGI_FORMAT format, const std::vector<uint8_t>& texels, int width)
{
    std::vector<uint8_t> pixels(size_t(width) * 4 + 4, 0xee);  // one pixel more to see nothing is written past
    ConvertTexelRow(format, texels.data(), pixels.data(), width);
    return pixels;
}

TEST(ReadBackTexels, EightBitColoursBecomeRgba)
{
    const std::vector<uint8_t> texels = {10, 20, 30, 40, 50, 60, 70, 80};
    EXPECT_EQ(Convert(DXGI_FORMAT_B8G8R8A8_UNORM, texels, 2),
              (std::vector<uint8_t>{30, 20, 10, 40, 70, 60, 50, 80, 0xee, 0xee, 0xee, 0xee}));
    EXPECT_EQ(Convert(DXGI_FORMAT_B8G8R8X8_UNORM, texels, 2),
              (std::vector<uint8_t>{30, 20, 10, 255, 70, 60, 50, 255, 0xee, 0xee, 0xee, 0xee}));
    EXPECT_EQ(Convert(DXGI_FORMAT_R8G8B8A8_UNORM, texels, 2),
              (std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 70, 80, 0xee, 0xee, 0xee, 0xee}));
}

// Two-byte texels are read two bytes apart, and never past the row.
TEST(ReadBackTexels, OtherFormatsGiveTheSampledValueInEightBits)
{
    // D16: 0, 65535, 32768 (0.50000763 -> 128).
    EXPECT_EQ(Convert(DXGI_FORMAT_D16_UNORM, {0x00, 0x00, 0xff, 0xff, 0x00, 0x80}, 3),
              (std::vector<uint8_t>{0, 0, 0, 255, 255, 0, 0, 255, 128, 0, 0, 255, 0xee, 0xee, 0xee, 0xee}));
    // R16F: 0.5 (0x3800) and 2.0 (0x4000, clamped) and -1 (0xbc00, clamped).
    EXPECT_EQ(Convert(DXGI_FORMAT_R16_FLOAT, {0x00, 0x38, 0x00, 0x40, 0x00, 0xbc}, 3),
              (std::vector<uint8_t>{128, 0, 0, 255, 255, 0, 0, 255, 0, 0, 0, 255, 0xee, 0xee, 0xee, 0xee}));
    // RGBA16F: 0.25 (0x3400), 1.0 (0x3c00), 0, 0.75 (0x3a00).
    EXPECT_EQ(Convert(DXGI_FORMAT_R16G16B16A16_FLOAT, {0x00, 0x34, 0x00, 0x3c, 0x00, 0x00, 0x00, 0x3a}, 1),
              (std::vector<uint8_t>{64, 255, 0, 191, 0xee, 0xee, 0xee, 0xee}));
    // R32F and D32F: 0.2 -> 51.
    float value = 0.2f;
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    EXPECT_EQ(Convert(DXGI_FORMAT_R32_FLOAT, bytes, 1), (std::vector<uint8_t>{51, 0, 0, 255, 0xee, 0xee, 0xee, 0xee}));
    EXPECT_EQ(Convert(DXGI_FORMAT_D32_FLOAT, bytes, 1), (std::vector<uint8_t>{51, 0, 0, 255, 0xee, 0xee, 0xee, 0xee}));
    // D24S8: the depth is the low 24 bits, the stencil byte is not read.
    EXPECT_EQ(Convert(DXGI_FORMAT_D24_UNORM_S8_UINT, {0xff, 0xff, 0xff, 0x07}, 1),
              (std::vector<uint8_t>{255, 0, 0, 255, 0xee, 0xee, 0xee, 0xee}));
    EXPECT_EQ(ReadBackTexelSize(DXGI_FORMAT_D16_UNORM), 2u);
    EXPECT_EQ(ReadBackTexelSize(DXGI_FORMAT_R16G16B16A16_FLOAT), 8u);
    EXPECT_EQ(ReadBackTexelSize(DXGI_FORMAT_UNKNOWN), 0u);
}

}  // namespace
