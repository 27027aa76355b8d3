// The packer that lays bitmaps out for texture upload: padding, target
// sizes, the uv rectangle and the border texels, checked texel by texel
// against the layout the rules give.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "imaging/image_loader.h"
#include "renderer/d3d11/bitmap_packer.h"
#include "renderer/d3d11/texture_messages.h"
#include "renderer/d3d11/renderer_test_support.h"
#include "support/log_capture.h"

namespace {

uint32_t Source(int x, int y) { return PatternTexel(x, y); }

uint32_t WithAlpha(uint32_t texel, uint8_t alpha) { return (texel & 0x00ffffffu) | uint32_t(alpha) << 24; }

class BitmapPackerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (HV_Bitmap& bitmap : m_bitmaps) HVI_GetImageLoader()->FreeImagePixels(&bitmap);
    }

    // A bitmap of pixel size width x height whose texels are Source(x, y).
    HV_Bitmap& MakeBitmap(const char* name, int32_t width, int32_t height, int32_t packMode, uint32_t flags = 0)
    {
        HV_Bitmap& bitmap = m_bitmaps.emplace_back();
        FillWithPattern(bitmap, name, width, height);
        bitmap.packMode = packMode;
        bitmap.flags = flags;
        return bitmap;
    }

    // A packer that began on the bitmap and laid its pixels out; null, with
    // a failure, when either step failed.
    static std::unique_ptr<BitmapPacker> Pack(const HV_Bitmap& bitmap, bool exact = false)
    {
        auto packer = std::make_unique<BitmapPacker>(*HVI_GetImageLoader());
        if (packer->BeginPacking(&bitmap, exact) && packer->BitmapTexturePacker()) return packer;
        ADD_FAILURE() << "bitmap '" << bitmap.name.GetText() << "' was not packed";
        return nullptr;
    }

    static uint32_t TexelAt(const BitmapPacker& packer, int x, int y)
    {
        uint32_t texel;
        std::memcpy(&texel, packer.Pixels() + size_t(y) * packer.RowPitch() + size_t(x) * 4, 4);
        return texel;
    }

    // Expects the whole target of a packer with one texel of padding on
    // both axes around a width x height image: the image, its edges repeated
    // into the border (alpha `borderAlpha` there, or the image's own when
    // negative), and zero everywhere else.
    static void ExpectExpandedLayout(const BitmapPacker& packer, int width, int height, int borderAlpha)
    {
        for (int y = 0; y < packer.TargetHeight(); ++y) {
            for (int x = 0; x < packer.TargetWidth(); ++x) {
                uint32_t expected = 0;
                if (x <= width + 1 && y <= height + 1) {
                    const int sx = std::min(std::max(x - 1, 0), width - 1);
                    const int sy = std::min(std::max(y - 1, 0), height - 1);
                    expected = Source(sx, sy);
                    const bool border = x == 0 || y == 0 || x == width + 1 || y == height + 1;
                    if (border && borderAlpha >= 0) expected = WithAlpha(expected, uint8_t(borderAlpha));
                }
                ASSERT_EQ(TexelAt(packer, x, y), expected) << "at " << x << ", " << y;
            }
        }
    }

    std::deque<HV_Bitmap> m_bitmaps;
    LogCapture m_log;
};

// The pack mode, target and padding chosen for a bitmap: a one-texel border
// on each axis, in a power-of-two target or, asked for the exact size, one
// just big enough; none on a side that is a power of two already, that
// would double for its border, or of a bitmap under textures. The uv
// rectangle is where the image lies: past the padding, its logical size on.
TEST_F(BitmapPackerTest, BeginPackingChoosesTheTargetPaddingAndUvRectangle)
{
    constexpr int32_t kExpand = HV_PACK_PAD_EXPAND;
    constexpr int32_t kClear = HV_PACK_PAD_TRANSPARENT;
    constexpr int32_t kNone = HV_PACK_NO_PADDING;
    constexpr uint32_t kAllowed = HV_BITMAP_TRANSPARENT_PADDING;
    const struct {
        const char* name;
        int32_t width, height, logicalWidth, logicalHeight, packMode;
        uint32_t flags;
        bool exact;
        int32_t chosenMode, targetWidth, targetHeight, paddingX, paddingY;
    } rows[] = {
        {"sprite", 100, 60, 100, 60, kExpand, 0, false, kExpand, 128, 64, 1, 1},
        {"exact", 100, 60, 100, 60, kExpand, 0, true, kExpand, 102, 62, 1, 1},
        {"glow", 100, 60, 100, 60, kClear, kAllowed, false, kClear, 128, 64, 1, 1},
        {"glow, not allowed", 100, 60, 100, 60, kClear, 0, false, kExpand, 128, 64, 1, 1},
        {"tall", 100, 1024, 100, 1024, kClear, kAllowed, false, kClear, 128, 1024, 1, 0},
        {"tiles", 256, 128, 256, 128, kExpand, 0, false, kNone, 256, 128, 0, 0},
        {"level/textures/wall", 300, 200, 300, 200, kExpand, 0, false, kNone, 512, 256, 0, 0},
        {"level/textures/exact", 300, 200, 300, 200, kExpand, 0, true, kNone, 300, 200, 0, 0},
        {"wide 1023", 1023, 60, 1023, 60, kExpand, 0, false, kExpand, 1024, 64, 0, 1},
        {"wide 2047", 2047, 60, 2047, 60, kExpand, 0, false, kExpand, 2048, 64, 0, 1},
        {"wide 1024", 1024, 60, 1024, 60, kExpand, 0, false, kExpand, 1024, 64, 0, 1},
        {"wide 2048", 2048, 60, 2048, 60, kExpand, 0, false, kExpand, 2048, 64, 0, 1},
        {"wide 1022", 1022, 60, 1022, 60, kExpand, 0, false, kExpand, 1024, 64, 1, 1},
        {"mode 1", 10, 6, 10, 6, 1, 0, false, 1, 16, 8, 1, 1},
        {"part", 8, 4, 5, 3, kExpand, 0, false, kExpand, 8, 8, 1, 1},          // a logical size within the pixels
        {"loose", 100, 60, 0, 60, kExpand, 0, false, kExpand, 128, 64, 1, 1},  // 0: the pixel width
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HV_Bitmap& bitmap = MakeBitmap(row.name, row.width, row.height, row.packMode, row.flags);
        bitmap.width = row.logicalWidth;
        bitmap.height = row.logicalHeight;
        BitmapPacker packer(*HVI_GetImageLoader());
        ASSERT_TRUE(packer.BeginPacking(&bitmap, row.exact));
        EXPECT_EQ(packer.PackMode(), row.chosenMode);
        EXPECT_EQ(packer.TargetWidth(), row.targetWidth);
        EXPECT_EQ(packer.TargetHeight(), row.targetHeight);
        EXPECT_EQ(packer.PaddingX(), row.paddingX);
        EXPECT_EQ(packer.PaddingY(), row.paddingY);
        const float width = float(row.logicalWidth != 0 ? row.logicalWidth : row.width);
        const float uv[4] = {float(row.paddingX) / row.targetWidth, float(row.paddingY) / row.targetHeight,
                             (row.paddingX + width) / row.targetWidth,
                             float(row.paddingY + row.logicalHeight) / row.targetHeight};
        float actual[4];
        packer.GetUvRectangle(actual);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(actual[i], uv[i]) << "uv " << i;
        EXPECT_EQ(bitmap.width, row.logicalWidth) << "the bitmap is only read";
    }
}

TEST_F(BitmapPackerTest, ExpandPaddingRepeatsTheEdgesIntoTheBorder)
{
    for (bool exact : {false, true}) {
        const auto packer = Pack(MakeBitmap("sprite", 100, 60, HV_PACK_PAD_EXPAND), exact);
        ASSERT_TRUE(packer);
        EXPECT_EQ(packer->RowPitch(), uint32_t(packer->TargetWidth()) * 4);
        ExpectExpandedLayout(*packer, 100, 60, -1);
    }
}

TEST_F(BitmapPackerTest, TransparentPaddingClearsTheBorderAlphaOnlyWhenTheBitmapAllowsIt)
{
    for (const uint32_t flags : {uint32_t(HV_BITMAP_TRANSPARENT_PADDING), 0u}) {
        SCOPED_TRACE(flags != 0 ? "allowed" : "not allowed");
        const auto packer = Pack(MakeBitmap("glow", 100, 60, HV_PACK_PAD_TRANSPARENT, flags));
        ASSERT_TRUE(packer);
        ExpectExpandedLayout(*packer, 100, 60, flags != 0 ? 0 : -1);
    }
}

// A 1024-high side is not padded; its first and last rows are image rows and
// keep their alpha (and nothing is written past the last row).
TEST_F(BitmapPackerTest, TransparentPaddingTouchesOnlyThePaddedAxis)
{
    const auto packer = Pack(MakeBitmap("tall", 100, 1024, HV_PACK_PAD_TRANSPARENT, HV_BITMAP_TRANSPARENT_PADDING));
    ASSERT_TRUE(packer);
    for (int y : {0, 1, 511, 1023}) {
        EXPECT_EQ(TexelAt(*packer, 0, y), WithAlpha(Source(0, y), 0)) << y;
        EXPECT_EQ(TexelAt(*packer, 1, y), Source(0, y)) << y;
        EXPECT_EQ(TexelAt(*packer, 100, y), Source(99, y)) << y;
        EXPECT_EQ(TexelAt(*packer, 101, y), WithAlpha(Source(99, y), 0)) << y;
        EXPECT_EQ(TexelAt(*packer, 102, y), 0u) << y;
    }
}

// Unpadded and already the target: the bitmap's own rows, at its pitch.
TEST_F(BitmapPackerTest, UnpaddedBitmapsTheSizeOfTheirTargetAreUploadedFromTheirOwnPixels)
{
    const HV_Bitmap& tiles = MakeBitmap("tiles", 256, 128, HV_PACK_PAD_EXPAND);
    auto packer = Pack(tiles);
    ASSERT_TRUE(packer);
    EXPECT_EQ(packer->Pixels(), tiles.pixels);
    EXPECT_EQ(packer->RowPitch(), 256u * 4);

    const HV_Bitmap& wall = MakeBitmap("level/textures/wall", 300, 200, HV_PACK_PAD_EXPAND);
    packer = Pack(wall);
    ASSERT_TRUE(packer);
    EXPECT_EQ(TexelAt(*packer, 299, 199), Source(299, 199));
    EXPECT_EQ(TexelAt(*packer, 300, 199), 0u);
    EXPECT_EQ(TexelAt(*packer, 0, 200), 0u);
    packer = Pack(wall, true);
    ASSERT_TRUE(packer);
    EXPECT_EQ(packer->Pixels(), wall.pixels);

    HV_Bitmap& part = MakeBitmap("part", 8, 4, HV_PACK_PAD_EXPAND);
    part.width = 4;
    part.height = 2;
    packer = Pack(part);
    ASSERT_TRUE(packer);
    EXPECT_EQ(packer->Pixels(), part.pixels);
    EXPECT_EQ(packer->RowPitch(), 8u * 4);
    EXPECT_EQ(TexelAt(*packer, 3, 1), Source(3, 1));
}

// Pack mode 1 names no way of filling: the border is padded and left
// transparent black.
TEST_F(BitmapPackerTest, UnknownPackModePadsWithAnEmptyBorder)
{
    const auto packer = Pack(MakeBitmap("odd", 10, 6, 1));
    ASSERT_TRUE(packer);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool image = x >= 1 && x <= 10 && y >= 1 && y <= 6;
            EXPECT_EQ(TexelAt(*packer, x, y), image ? Source(x - 1, y - 1) : 0u) << x << ", " << y;
        }
    }
}

TEST_F(BitmapPackerTest, LogicalSizeSmallerThanThePixelsReadsRowsAtThePixelPitch)
{
    HV_Bitmap& bitmap = MakeBitmap("part", 8, 4, HV_PACK_PAD_EXPAND);
    bitmap.width = 5;
    bitmap.height = 3;
    const auto packer = Pack(bitmap);
    ASSERT_TRUE(packer);
    ExpectExpandedLayout(*packer, 5, 3, -1);
}

TEST_F(BitmapPackerTest, BitmapsWithoutUsablePixelsMakeNoTexture)
{
    BitmapPacker packer(*HVI_GetImageLoader());
    EXPECT_FALSE(packer.BeginPacking(nullptr, false));
    EXPECT_TRUE(m_log.ContainsAt(HV_LOG_WARNING, std::string("[POPUP] ") + kPackerNullBitmap));
    HV_Bitmap empty;
    empty.name = "empty";
    EXPECT_FALSE(packer.BeginPacking(&empty, false));
    HV_Bitmap& stretched = MakeBitmap("stretched", 8, 4, HV_PACK_PAD_EXPAND);
    stretched.width = 9;
    EXPECT_FALSE(packer.BeginPacking(&stretched, false));
    EXPECT_EQ(m_log.Lines(),
              (std::vector<std::string>{
                  std::string("[POPUP] ") + kPackerNullBitmap,
                  "[POPUP] BitmapPacker::BeginPacking bitmap 'empty' has no pixels. This should never happen.",
                  "[POPUP] BitmapPacker::BeginPacking bitmap 'stretched' of 9 x 4 does not fit its pixels of 8 x 4."}));
    for (const LogCapture::Line& line : m_log.Entries()) EXPECT_EQ(line.level, HV_LOG_WARNING) << line.text;
}

TEST_F(BitmapPackerTest, NoTargetMemoryIsReportedAndGivesNoPixels)
{
    const HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60, HV_PACK_PAD_EXPAND);
    FullImageLoader loader;
    BitmapPacker packer(loader);
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_FALSE(packer.BitmapTexturePacker());
    EXPECT_EQ(packer.Pixels(), nullptr);
    EXPECT_EQ(m_log.Entries().size(), 1u);
    EXPECT_TRUE(m_log.ContainsAt(HV_LOG_WARNING, "BitmapTexturePacker unable to get target pixel memory.\n"));
}

}  // namespace
