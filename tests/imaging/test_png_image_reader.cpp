// PNG files decoded into bitmap pixels, and the files refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/bitmap_record.h"
#include "imaging/image_loader.h"
#include "support/log_capture.h"
#include "imaging/png_files.h"

namespace {

class PngImageReader : public ::testing::Test {
protected:
    void SetUp() override { m_bitmap.name = "res://tile"; }
    void TearDown() override { HVI_GetImageLoader()->FreeImagePixels(&m_bitmap); }

    bool Load(const std::vector<uint8_t>& bytes, int32_t channelOrder = 0)
    {
        return HVI_GetImageLoader()->LoadImage(&m_bitmap, bytes.data(), int64_t(bytes.size()), channelOrder);
    }
    std::vector<uint8_t> Pixels() const
    {
        return {m_bitmap.pixels, m_bitmap.pixels + size_t(m_bitmap.pixelWidth) * m_bitmap.pixelHeight * 4};
    }
    // Keeps a buffer in the bitmap so that a refusal can be seen to keep it.
    void HoldOnePixel()
    {
        ASSERT_TRUE(HVI_GetImageLoader()->AllocateImagePixels(&m_bitmap, 1, 1));
        m_bitmap.width = m_bitmap.height = 1;
        m_kept = m_bitmap.pixels;
    }
    void ExpectKept() const
    {
        EXPECT_EQ(m_bitmap.pixels, m_kept);
        EXPECT_EQ(m_bitmap.pixelWidth, 1);
        EXPECT_EQ(m_bitmap.width, 1);
    }

    HV_Bitmap m_bitmap;
    uint8_t* m_kept = nullptr;
    LogCapture m_log;
};

TEST_F(PngImageReader, RgbaPixelsComeBackAsWritten)
{
    ASSERT_TRUE(Load(WritePng(TestPixels3x2(), 3, 2)));
    EXPECT_EQ(m_bitmap.pixelWidth, 3);
    EXPECT_EQ(m_bitmap.pixelHeight, 2);
    EXPECT_EQ(m_bitmap.width, 3);
    EXPECT_EQ(m_bitmap.height, 2);
    EXPECT_EQ(Pixels(), TestPixels3x2());
    EXPECT_TRUE(m_log.Lines().empty());
}

TEST_F(PngImageReader, ChannelOrderOneSwapsRedAndBlue)
{
    ASSERT_TRUE(Load(WritePng(TestPixels3x2(), 3, 2), 1));
    const std::vector<uint8_t> expected = {0,  0,  255, 255, 0,  255, 0,  128, 255, 0,   0,  0,
                                           30, 20, 10,  40,  70, 60,  50, 80,  110, 100, 90, 120};
    EXPECT_EQ(Pixels(), expected);
}

TEST_F(PngImageReader, GreyImagesGainEqualChannelsAndOpaqueAlpha)
{
    const std::vector<uint8_t> grey = {0, 100, 200, 255};
    ASSERT_TRUE(Load(WritePng(grey, 2, 2, PNG_FORMAT_GRAY)));
    const std::vector<uint8_t> expected = {0, 0, 0, 255, 100, 100, 100, 255, 200, 200, 200, 255, 255, 255, 255, 255};
    EXPECT_EQ(Pixels(), expected);
}

TEST_F(PngImageReader, RefusedFilesKeepTheOldPixelsAndLogOneLineSayingWhy)
{
    std::vector<uint8_t> corrupt = WritePng(TestPixels3x2(), 3, 2);
    // The first byte of the IDAT chunk's data: its CRC no longer matches.
    corrupt[std::string(corrupt.begin(), corrupt.end()).find("IDAT") + 4] ^= 0xff;
    // A text chunk after the header that claims 7290 bytes where the file ends
    // after a few: libpng would spend seconds and gigabytes before failing.
    std::vector<uint8_t> chunkPastEnd = WritePng(TestPixels3x2(), 3, 2);
    const std::vector<uint8_t> text = {0x00, 0x00, 0x1c, 0x7a, 't', 'E', 'X', 't', 'k', 0, 'v'};
    chunkPastEnd.insert(chunkPastEnd.begin() + 33, text.begin(), text.end());
    chunkPastEnd.resize(33 + text.size());
    const std::string tile = "LoadImage: 'res://tile' ";
    const struct {
        const char* fault;
        std::vector<uint8_t> bytes;
        std::string line;
        bool wholeLine;  // else the line begins so and the decoder's own words follow
    } cases[] = {
        {"no PNG", {'h', 'e', 'l', 'l', 'o'}, tile + "is not a PNG image: ", false},
        {"corrupt pixel data", corrupt, tile + "could not be decoded: ", false},
        {"a chunk past the end", chunkPastEnd, tile + "is not a PNG image: a chunk runs past the end of the file.",
         true},
        {"too wide", PngHeaderOnly(16385, 1), tile + "is 16385 x 1 pixels, larger than 16384 x 16384.", true},
        {"too high", PngHeaderOnly(1, 1000000), tile + "is 1 x 1000000 pixels, larger than 16384 x 16384.", true},
        // 57 bytes cannot inflate to 268 million pixels: refused before a gigabyte is taken for them.
        {"too short for its size", PngHeaderOnly(16384, 16384), tile + "is too short to hold 16384 x 16384 pixels.",
         true},
    };
    HoldOnePixel();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        LogCapture log;
        EXPECT_FALSE(Load(c.bytes));
        ExpectKept();
        ASSERT_EQ(log.Lines().size(), 1u);
        EXPECT_EQ(c.wholeLine ? log.Lines()[0] : log.Lines()[0].substr(0, c.line.size()), c.line);
    }
    LogCapture log;
    EXPECT_FALSE(HVI_GetImageLoader()->LoadImage(&m_bitmap, nullptr, 0, 0));
    ExpectKept();
    EXPECT_EQ(log.Lines(), std::vector<std::string>{tile + "is not a PNG image: no bytes"});
}

TEST_F(PngImageReader, TruncatedFileIsRefusedAtEveryLength)
{
    HoldOnePixel();
    const std::vector<uint8_t> bytes = WritePng(TestPixels3x2(), 3, 2);
    // Everything short of the IEND chunk (12 bytes) lacks pixel data or its end.
    for (size_t length = 1; length + 12 < bytes.size(); ++length) {
        EXPECT_FALSE(Load(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(length)))) << length;
    }
    ExpectKept();
    EXPECT_EQ(m_log.Lines().size(), bytes.size() - 13);
}

}  // namespace
