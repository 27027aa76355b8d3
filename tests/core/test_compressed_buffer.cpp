#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/compressed_buffer.h"
#include "core/memory.h"
#include "engine_test_support.h"

namespace {

std::vector<uint8_t> Container(uint32_t uncompressed, const std::vector<uint8_t>& stream)
{
    std::vector<uint8_t> bytes = {'q', 'z', 'm', 'c'};
    for (uint32_t value : {uncompressed, static_cast<uint32_t>(stream.size())}) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
    }
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}

// A zlib stream made by zlib itself, independent of the code under test.
std::vector<uint8_t> ZlibStream(const std::string& text)
{
    uLongf size = compressBound(text.size());
    std::vector<uint8_t> stream(size);
    compress(stream.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size());
    stream.resize(size);
    return stream;
}

std::string Text(const HV_Blob* blob)
{
    return std::string(reinterpret_cast<const char*>(blob->data), static_cast<size_t>(blob->size));
}

}  // namespace

using CompressedBuffer = ::testing::Test;

TEST_F(CompressedBuffer, ContainerHasMagicSizesAndAZlibStream)
{
    const std::string text(1000, 'a');
    HV_Blob* blob = HV_CompressBuffer(text.data(), static_cast<int32_t>(text.size()));
    ASSERT_NE(nullptr, blob);
    ASSERT_GE(blob->size, 12);
    EXPECT_EQ(0, std::memcmp(blob->data, "qzmc", 4));
    const uint32_t uncompressed = blob->data[4] | blob->data[5] << 8 | blob->data[6] << 16 | blob->data[7] << 24;
    const uint32_t compressed = blob->data[8] | blob->data[9] << 8 | blob->data[10] << 16 | blob->data[11] << 24;
    EXPECT_EQ(1000u, uncompressed);
    EXPECT_EQ(static_cast<uint32_t>(blob->size - 12), compressed);
    std::vector<uint8_t> plain(1000);
    uLongf plainSize = plain.size();
    ASSERT_EQ(Z_OK, uncompress(plain.data(), &plainSize, blob->data + 12, compressed));
    EXPECT_EQ(text, std::string(plain.begin(), plain.end()));
    HV_FreeBlob(blob);
}

TEST_F(CompressedBuffer, ReadsAContainerWrittenByZlib)
{
    const std::vector<uint8_t> bytes = Container(11, ZlibStream("hello world"));
    HV_Blob* blob = HV_DecompressBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    ASSERT_NE(nullptr, blob);
    EXPECT_EQ("hello world", Text(blob));
    HV_FreeBlob(blob);
}

TEST_F(CompressedBuffer, EmptyInputMakesARoundTrip)
{
    HV_Blob* packed = HV_CompressBuffer(nullptr, 0);
    ASSERT_NE(nullptr, packed);
    HV_Blob* unpacked = HV_DecompressBuffer(packed->data, packed->size);
    ASSERT_NE(nullptr, unpacked);
    EXPECT_EQ(0, unpacked->size);
    HV_FreeBlob(packed);
    HV_FreeBlob(unpacked);
}

TEST_F(CompressedBuffer, RefusesWrongMagicAndShortInput)
{
    std::vector<uint8_t> bytes = Container(11, ZlibStream("hello world"));
    EXPECT_EQ(nullptr, HV_DecompressBuffer(bytes.data(), 11));
    bytes[0] = 'Q';
    EXPECT_EQ(nullptr, HV_DecompressBuffer(bytes.data(), static_cast<int32_t>(bytes.size())));
    EXPECT_EQ(nullptr, HV_DecompressBuffer(nullptr, 100));
    EXPECT_EQ((std::vector<std::string>{"[ERROR] HV_DecompressBuffer: 11 bytes are too few for a container.",
                                        "[ERROR] HV_DecompressBuffer: the data is not a compressed buffer.",
                                        "[ERROR] HV_DecompressBuffer: 0 bytes are too few for a container."}),
              LoggedTexts());
}

TEST_F(CompressedBuffer, RefusesACompressedSizeThatDisagreesWithTheInput)
{
    std::vector<uint8_t> bytes = Container(11, ZlibStream("hello world"));
    EXPECT_EQ(nullptr, HV_DecompressBuffer(bytes.data(), static_cast<int32_t>(bytes.size()) - 1));
    bytes.push_back(0);
    EXPECT_EQ(nullptr, HV_DecompressBuffer(bytes.data(), static_cast<int32_t>(bytes.size())));
}

TEST_F(CompressedBuffer, RefusesAnUncompressedSizeNoStreamCanReach)
{
    const std::vector<uint8_t> huge = Container(0xFFFFFFF0u, ZlibStream("x"));
    EXPECT_EQ(nullptr, HV_DecompressBuffer(huge.data(), static_cast<int32_t>(huge.size())));
    const std::vector<uint8_t> stream = ZlibStream("x");
    const std::vector<uint8_t> bomb = Container(static_cast<uint32_t>(stream.size()) * 1032 + 1, stream);
    EXPECT_EQ(nullptr, HV_DecompressBuffer(bomb.data(), static_cast<int32_t>(bomb.size())));
}

TEST_F(CompressedBuffer, RefusesAStreamLongerOrShorterThanAnnounced)
{
    const std::vector<uint8_t> stream = ZlibStream("hello world");
    const std::vector<uint8_t> claimsLess = Container(5, stream);
    EXPECT_EQ(nullptr, HV_DecompressBuffer(claimsLess.data(), static_cast<int32_t>(claimsLess.size())));
    const std::vector<uint8_t> claimsMore = Container(12, stream);
    EXPECT_EQ(nullptr, HV_DecompressBuffer(claimsMore.data(), static_cast<int32_t>(claimsMore.size())));
    EXPECT_TRUE(WasLogged("[ERROR] HV_DecompressBuffer: the zlib stream is damaged or does not give 5 bytes."));
}

TEST_F(CompressedBuffer, RefusesADamagedStream)
{
    std::vector<uint8_t> stream = ZlibStream(std::string(200, 'z') + "tail");
    stream[stream.size() / 2] ^= 0xFF;
    stream.back() ^= 0xFF;  // the checksum at the end
    const std::vector<uint8_t> bytes = Container(204, stream);
    EXPECT_EQ(nullptr, HV_DecompressBuffer(bytes.data(), static_cast<int32_t>(bytes.size())));
}

TEST_F(CompressedBuffer, RefusesNegativeSizes)
{
    EXPECT_EQ(nullptr, HV_CompressBuffer("x", -1));
    EXPECT_EQ(nullptr, HV_DecompressBuffer("qzmc", -1));
}
