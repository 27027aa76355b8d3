// The packer that lays bitmaps out for texture upload: padding, target
// sizes, the uv rectangle and the border texels, checked texel by texel
// against the layout the rules give.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/logging.h"
#include "core/threading.h"
#include "foundation/engine_log.h"
#include "imaging/image_loader.h"
#include "renderer/d3d11/bitmap_packer.h"
#include "renderer/d3d11/texture_messages.h"
#include "renderer/d3d11/texture_test_support.h"
#include "support/log_capture.h"

namespace {

uint32_t Source(int x, int y) { return PatternTexel(x, y); }

uint32_t WithAlpha(uint32_t texel, uint8_t alpha) { return (texel & 0x00ffffffu) | uint32_t(alpha) << 24; }

class BitmapPackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HVI_ResetLog();
        HVI_SetLogThreshold(0);
        HVI_InstallFoundationLogSink();
        HVI_RegisterMainThread();
    }
    void TearDown() override
    {
        HVI_GetImageLoader()->FreeImagePixels(&m_bitmap);
        HVI_SetLogSink(nullptr, nullptr);
        HVI_ResetThreading();
        HVI_ResetLog();
    }

    // A bitmap of pixel size width x height whose texels are Source(x, y).
    HV_Bitmap& MakeBitmap(const char* name, int32_t width, int32_t height, int32_t packMode, uint32_t flags = 0)
    {
        FillWithPattern(m_bitmap, name, width, height);
        m_bitmap.packMode = packMode;
        m_bitmap.flags = flags;
        return m_bitmap;
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
                } else if (borderAlpha == 0 && (y == 0 || y == height + 1)) {
                    expected = 0;  // the whole border row is transparent, and was empty
                }
                ASSERT_EQ(TexelAt(packer, x, y), expected) << "at " << x << ", " << y;
            }
        }
    }

    static void ExpectUv(const BitmapPacker& packer, float left, float top, float right, float bottom)
    {
        float uv[4];
        packer.GetUvRectangle(uv);
        EXPECT_FLOAT_EQ(uv[0], left);
        EXPECT_FLOAT_EQ(uv[1], top);
        EXPECT_FLOAT_EQ(uv[2], right);
        EXPECT_FLOAT_EQ(uv[3], bottom);
    }

    static int CountLogged(const std::string& text)
    {
        int count = 0;
        for (const std::string& line : LogCapture::AllWritten()) count += line == text ? 1 : 0;
        return count;
    }

    HV_Bitmap m_bitmap;
};

// The one-texel border repeats the edges, in a power-of-two target or,
// asked for the exact size, in one just big enough.
TEST_F(BitmapPackerTest, ExpandPaddingRepeatsTheEdgesIntoTheBorder)
{
    const struct {
        bool exactSize;
        int targetWidth;
        int targetHeight;
    } rows[] = {{false, 128, 64}, {true, 102, 62}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exactSize ? "exact size" : "power of two");
        const HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60, HV_PACK_PAD_EXPAND);
        BitmapPacker packer(*HVI_GetImageLoader());
        ASSERT_TRUE(packer.BeginPacking(&bitmap, row.exactSize));
        EXPECT_EQ(packer.TargetWidth(), row.targetWidth);
        EXPECT_EQ(packer.TargetHeight(), row.targetHeight);
        EXPECT_EQ(packer.PaddingX(), 1);
        EXPECT_EQ(packer.PaddingY(), 1);
        const float width = float(row.targetWidth);
        const float height = float(row.targetHeight);
        ExpectUv(packer, 1.0f / width, 1.0f / height, 101.0f / width, 61.0f / height);
        ASSERT_TRUE(packer.BitmapTexturePacker());
        EXPECT_EQ(packer.RowPitch(), uint32_t(row.targetWidth) * 4);
        ExpectExpandedLayout(packer, 100, 60, -1);
    }
}

TEST_F(BitmapPackerTest, TransparentPaddingClearsTheBorderAlphaOnlyWhenTheBitmapAllowsIt)
{
    for (const uint32_t flags : {uint32_t(HV_BITMAP_TRANSPARENT_PADDING), 0u}) {
        const bool allowed = flags != 0;
        SCOPED_TRACE(allowed ? "allowed" : "not allowed");
        const HV_Bitmap& bitmap = MakeBitmap("glow", 100, 60, HV_PACK_PAD_TRANSPARENT, flags);
        BitmapPacker packer(*HVI_GetImageLoader());
        ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
        EXPECT_EQ(packer.PackMode(), allowed ? HV_PACK_PAD_TRANSPARENT : HV_PACK_PAD_EXPAND);
        ASSERT_TRUE(packer.BitmapTexturePacker());
        ExpectExpandedLayout(packer, 100, 60, allowed ? 0 : -1);
    }
}

// A 1024-high side is not padded; its first and last rows are image rows and
// keep their alpha (and nothing is written past the last row).
TEST_F(BitmapPackerTest, TransparentPaddingTouchesOnlyThePaddedAxis)
{
    const HV_Bitmap& bitmap = MakeBitmap("tall", 100, 1024, HV_PACK_PAD_TRANSPARENT, HV_BITMAP_TRANSPARENT_PADDING);
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(packer.PaddingX(), 1);
    EXPECT_EQ(packer.PaddingY(), 0);
    EXPECT_EQ(packer.TargetWidth(), 128);
    EXPECT_EQ(packer.TargetHeight(), 1024);
    ExpectUv(packer, 1.0f / 128, 0.0f, 101.0f / 128, 1.0f);
    ASSERT_TRUE(packer.BitmapTexturePacker());
    for (int y : {0, 1, 511, 1023}) {
        EXPECT_EQ(TexelAt(packer, 0, y), WithAlpha(Source(0, y), 0)) << y;
        EXPECT_EQ(TexelAt(packer, 1, y), Source(0, y)) << y;
        EXPECT_EQ(TexelAt(packer, 100, y), Source(99, y)) << y;
        EXPECT_EQ(TexelAt(packer, 101, y), WithAlpha(Source(99, y), 0)) << y;
        EXPECT_EQ(TexelAt(packer, 102, y), 0u) << y;
    }
}

TEST_F(BitmapPackerTest, PowerOfTwoSidesAreUploadedFromTheBitmapsOwnPixels)
{
    const HV_Bitmap& bitmap = MakeBitmap("tiles", 256, 128, HV_PACK_PAD_EXPAND);
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(packer.PackMode(), HV_PACK_NO_PADDING);
    EXPECT_EQ(packer.TargetWidth(), 256);
    EXPECT_EQ(packer.TargetHeight(), 128);
    ExpectUv(packer, 0, 0, 1, 1);
    ASSERT_TRUE(packer.BitmapTexturePacker());
    EXPECT_EQ(packer.Pixels(), bitmap.pixels);
    EXPECT_EQ(packer.RowPitch(), 256u * 4);
}

TEST_F(BitmapPackerTest, BitmapsUnderTexturesAreNotPadded)
{
    const HV_Bitmap& bitmap = MakeBitmap("level/textures/wall", 300, 200, HV_PACK_PAD_EXPAND);
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(packer.PaddingX(), 0);
    EXPECT_EQ(packer.PaddingY(), 0);
    EXPECT_EQ(packer.TargetWidth(), 512);
    EXPECT_EQ(packer.TargetHeight(), 256);
    ExpectUv(packer, 0, 0, 300.0f / 512, 200.0f / 256);
    ASSERT_TRUE(packer.BitmapTexturePacker());
    EXPECT_EQ(TexelAt(packer, 299, 199), Source(299, 199));
    EXPECT_EQ(TexelAt(packer, 300, 199), 0u);
    EXPECT_EQ(TexelAt(packer, 0, 200), 0u);

    BitmapPacker exact(*HVI_GetImageLoader());
    ASSERT_TRUE(exact.BeginPacking(&bitmap, true));
    EXPECT_EQ(exact.TargetWidth(), 300);
    EXPECT_EQ(exact.TargetHeight(), 200);
    ASSERT_TRUE(exact.BitmapTexturePacker());
    EXPECT_EQ(exact.Pixels(), bitmap.pixels);
}

TEST_F(BitmapPackerTest, SidesThatWouldDoubleForTheirBorderAreNotPadded)
{
    const std::pair<int, int> widths[] = {{1023, 1024}, {2047, 2048}, {1024, 1024}, {2048, 2048}};
    for (const auto& [width, target] : widths) {
        const HV_Bitmap& bitmap = MakeBitmap("wide", width, 60, HV_PACK_PAD_EXPAND);
        BitmapPacker packer(*HVI_GetImageLoader());
        ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
        EXPECT_EQ(packer.PaddingX(), 0) << width;
        EXPECT_EQ(packer.PaddingY(), 1) << width;
        EXPECT_EQ(packer.TargetWidth(), target) << width;
        EXPECT_EQ(packer.TargetHeight(), 64) << width;
    }
    // One texel narrower still gets its border.
    const HV_Bitmap& bitmap = MakeBitmap("wide", 1022, 60, HV_PACK_PAD_EXPAND);
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(packer.PaddingX(), 1);
    EXPECT_EQ(packer.TargetWidth(), 1024);
}

// Pack mode 1 names no way of filling: the border is padded and left
// transparent black.
TEST_F(BitmapPackerTest, UnknownPackModePadsWithAnEmptyBorder)
{
    const HV_Bitmap& bitmap = MakeBitmap("odd", 10, 6, 1);
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(packer.TargetWidth(), 16);
    EXPECT_EQ(packer.TargetHeight(), 8);
    ASSERT_TRUE(packer.BitmapTexturePacker());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool image = x >= 1 && x <= 10 && y >= 1 && y <= 6;
            EXPECT_EQ(TexelAt(packer, x, y), image ? Source(x - 1, y - 1) : 0u) << x << ", " << y;
        }
    }
}

// Rows of the bitmap's pixels are pixel width x 4 bytes apart whatever its
// logical size.
TEST_F(BitmapPackerTest, LogicalSizeSmallerThanThePixelsReadsRowsAtThePixelPitch)
{
    HV_Bitmap& bitmap = MakeBitmap("part", 8, 4, HV_PACK_PAD_EXPAND);
    bitmap.width = 5;
    bitmap.height = 3;
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(packer.TargetWidth(), 8);
    EXPECT_EQ(packer.TargetHeight(), 8);
    ASSERT_TRUE(packer.BitmapTexturePacker());
    ExpectExpandedLayout(packer, 5, 3, -1);

    // Unpadded and already the target: the bitmap's own rows, at its pitch.
    bitmap.width = 4;
    bitmap.height = 2;
    BitmapPacker own(*HVI_GetImageLoader());
    ASSERT_TRUE(own.BeginPacking(&bitmap, false));
    ASSERT_TRUE(own.BitmapTexturePacker());
    EXPECT_EQ(own.Pixels(), bitmap.pixels);
    EXPECT_EQ(own.RowPitch(), 8u * 4);
    EXPECT_EQ(TexelAt(own, 3, 1), Source(3, 1));
}

TEST_F(BitmapPackerTest, LogicalSizeZeroMeansThePixelSize)
{
    HV_Bitmap& bitmap = MakeBitmap("loose", 100, 60, HV_PACK_PAD_EXPAND);
    bitmap.width = 0;
    BitmapPacker packer(*HVI_GetImageLoader());
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    ExpectUv(packer, 1.0f / 128, 1.0f / 64, 101.0f / 128, 61.0f / 64);
    EXPECT_EQ(bitmap.width, 0);  // the bitmap is only read
}

TEST_F(BitmapPackerTest, BitmapsWithoutUsablePixelsMakeNoTexture)
{
    BitmapPacker packer(*HVI_GetImageLoader());
    EXPECT_FALSE(packer.BeginPacking(nullptr, false));
    EXPECT_EQ(CountLogged(std::string("[WARNING] [POPUP] ") + kPackerNullBitmap), 1);

    HV_Bitmap empty;
    empty.name = "empty";
    EXPECT_FALSE(packer.BeginPacking(&empty, false));
    EXPECT_EQ(
        CountLogged(
            "[WARNING] [POPUP] BitmapPacker::BeginPacking bitmap 'empty' has no pixels. This should never happen."),
        1);

    HV_Bitmap& bitmap = MakeBitmap("stretched", 8, 4, HV_PACK_PAD_EXPAND);
    bitmap.width = 9;
    EXPECT_FALSE(packer.BeginPacking(&bitmap, false));
    EXPECT_EQ(CountLogged("[WARNING] [POPUP] BitmapPacker::BeginPacking bitmap 'stretched' of 9 x 4 does not fit its "
                          "pixels of 8 x 4."),
              1);
}

TEST_F(BitmapPackerTest, NoTargetMemoryIsReportedAndGivesNoPixels)
{
    const HV_Bitmap& bitmap = MakeBitmap("sprite", 100, 60, HV_PACK_PAD_EXPAND);
    FullImageLoader loader;
    BitmapPacker packer(loader);
    ASSERT_TRUE(packer.BeginPacking(&bitmap, false));
    EXPECT_FALSE(packer.BitmapTexturePacker());
    EXPECT_EQ(packer.Pixels(), nullptr);
    EXPECT_EQ(CountLogged("[WARNING] BitmapTexturePacker unable to get target pixel memory.\n"), 1);
}

}  // namespace
