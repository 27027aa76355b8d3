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
              LogCapture::AllWritten());
}

TEST_F(CompressedBuffer, RefusesContainersWhoseSizesOrStreamDoNotHold)
{
    const std::vector<uint8_t> hello = ZlibStream("hello world");
    const std::vector<uint8_t> x = ZlibStream("x");
    std::vector<uint8_t> damaged = ZlibStream(std::string(200, 'z') + "tail");
    damaged[damaged.size() / 2] ^= 0xFF;
    damaged.back() ^= 0xFF;  // the checksum at the end
    std::vector<uint8_t> cut = Container(11, hello);
    cut.pop_back();
    std::vector<uint8_t> longer = Container(11, hello);
    longer.push_back(0);
    const struct {
        const char* fault;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"input shorter than the compressed size", cut},
        {"input longer than the compressed size", longer},
        {"an uncompressed size no stream reaches", Container(0xFFFFFFF0u, x)},
        {"more than the stream can give", Container(static_cast<uint32_t>(x.size()) * 1032 + 1, x)},
        {"a stream longer than announced", Container(5, hello)},
        {"a stream shorter than announced", Container(12, hello)},
        {"a damaged stream", Container(204, damaged)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nullptr, HV_DecompressBuffer(c.bytes.data(), static_cast<int32_t>(c.bytes.size()))) << c.fault;
    }
    EXPECT_TRUE(WasLogged("[ERROR] HV_DecompressBuffer: the zlib stream is damaged or does not give 5 bytes."));
}

TEST_F(CompressedBuffer, RefusesNegativeSizes)
{
    EXPECT_EQ(nullptr, HV_CompressBuffer("x", -1));
    EXPECT_EQ(nullptr, HV_DecompressBuffer("qzmc", -1));
}
