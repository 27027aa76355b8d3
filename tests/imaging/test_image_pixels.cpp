// Pixel buffers of bitmaps: their size and the sizes refused.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"
#include "support/log_capture.h"

namespace {

class ImagePixels : public ::testing::Test {
protected:
    void TearDown() override { HVI_GetImageLoader()->FreeImagePixels(&m_bitmap); }
    HV_Bitmap m_bitmap;
    LogCapture m_log;
};

TEST_F(ImagePixels, HoldFourBytesForEveryPixelAndANewBufferReplacesTheOldOne)
{
    ASSERT_TRUE(HVI_GetImageLoader()->AllocateImagePixels(&m_bitmap, 5, 3));
    EXPECT_EQ(m_bitmap.pixelWidth, 5);
    EXPECT_EQ(m_bitmap.pixelHeight, 3);
    // Every one of the 60 bytes can be written (the sanitizer build checks the end).
    std::memset(m_bitmap.pixels, 0xab, 5 * 3 * 4);
    ASSERT_TRUE(HVI_GetImageLoader()->AllocateImagePixels(&m_bitmap, 16384, 1));
    EXPECT_EQ(m_bitmap.pixelWidth, 16384);
    m_bitmap.pixels[16384 * 4 - 1] = 1;
    HVI_GetImageLoader()->FreeImagePixels(&m_bitmap);
    EXPECT_EQ(m_bitmap.pixels, nullptr);
    HVI_GetImageLoader()->FreeImagePixels(&m_bitmap);  // a second free does nothing
    HVI_GetImageLoader()->FreeImagePixels(nullptr);
    EXPECT_FALSE(HVI_GetImageLoader()->AllocateImagePixels(nullptr, 1, 1));
}

TEST_F(ImagePixels, SizesOutsideOneToTheLargestTextureAreRefused)
{
    m_bitmap.name = "sprite";
    ASSERT_TRUE(HVI_GetImageLoader()->AllocateImagePixels(&m_bitmap, 1, 1));
    uint8_t* const kept = m_bitmap.pixels;
    const int32_t refused[][2] = {
        {0, 1}, {1, 0}, {-4, 4}, {16385, 1}, {1, 16385}, {65536, 65536}, {INT32_MAX, INT32_MAX}};
    for (const auto& size : refused) {
        EXPECT_FALSE(HVI_GetImageLoader()->AllocateImagePixels(&m_bitmap, size[0], size[1]));
    }
    EXPECT_EQ(m_bitmap.pixels, kept);
    EXPECT_EQ(m_bitmap.pixelWidth, 1);
    ASSERT_EQ(m_log.Lines().size(), 7u);
    EXPECT_EQ(m_log.Lines()[0], "AllocateImagePixels: bitmap 'sprite' cannot hold 0 x 1 pixels.");
    EXPECT_EQ(m_log.Lines()[6], "AllocateImagePixels: bitmap 'sprite' cannot hold 2147483647 x 2147483647 pixels.");
}

}  // namespace
