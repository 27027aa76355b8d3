#include <gtest/gtest.h>

#include <string>

#include "foundation/byte_buffer.h"

TEST(ByteBuffer, WritesValuesLittleEndianOrSwapped)
{
    ByteBuffer buffer;
    buffer.WriteUInt32(0x11223344);
    buffer.SetSwapBytes(true);
    buffer.WriteUInt32(0x11223344);
    ASSERT_EQ(buffer.GetSize(), 8);
    const uint8_t expected[] = {0x44, 0x33, 0x22, 0x11, 0x11, 0x22, 0x33, 0x44};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buffer.GetData()[i], expected[i]);
    uint32_t value = 0;
    buffer.SetSwapBytes(false);
    EXPECT_TRUE(buffer.ReadUInt32(value));
    EXPECT_EQ(value, 0x11223344u);
    buffer.SetSwapBytes(true);
    EXPECT_TRUE(buffer.ReadUInt32(value));
    EXPECT_EQ(value, 0x11223344u);
    EXPECT_FALSE(buffer.ReadUInt32(value));  // end of data
}

TEST(ByteBuffer, StringsCarryTheirTerminatorAndStopAt2047)
{
    ByteBuffer buffer;
    buffer.WriteString("one");
    buffer.WriteString(std::string(3000, 'z').c_str());
    buffer.WriteString("two");
    EXPECT_EQ(buffer.GetSize(), 4 + 3001 + 4);
    String text;
    EXPECT_TRUE(buffer.ReadString(text));
    EXPECT_STREQ(text.GetText(), "one");
    EXPECT_TRUE(buffer.ReadString(text));
    EXPECT_EQ(text.GetLength(), 2047);
    EXPECT_TRUE(buffer.ReadString(text));
    EXPECT_STREQ(text.GetText(), "two");
    EXPECT_FALSE(buffer.ReadString(text));
}

TEST(ByteBuffer, ReadsStopCleanlyAtTheEndOfTruncatedData)
{
    const char bytes[] = {'a', 'b', 'c'};  // no terminator
    ByteBuffer buffer;
    buffer.WrapExternal(bytes, 3);
    String text;
    EXPECT_FALSE(buffer.ReadString(text));
    EXPECT_STREQ(text.GetText(), "abc");
    EXPECT_EQ(buffer.GetRemaining(), 0);
    char raw[4];
    buffer.SetReadPosition(1);
    EXPECT_FALSE(buffer.ReadBytes(raw, 3));
    EXPECT_TRUE(buffer.ReadBytes(raw, 2));
    EXPECT_EQ(raw[0], 'b');
    EXPECT_FALSE(buffer.WriteBytes("x", 1));  // external memory is never grown
    buffer.SetReadPosition(0);
    EXPECT_FALSE(buffer.ReadBytes(nullptr, 2));  // reads into nothing are refused
    EXPECT_EQ(buffer.GetReadPosition(), 0);
    EXPECT_TRUE(buffer.ReadBytes(nullptr, 0));
}

TEST(ByteBuffer, AnOwnedBufferGrowsToTwiceTheSizeNeeded)
{
    ByteBuffer buffer;
    buffer.WriteString("abcd");  // 5 bytes
    EXPECT_EQ(buffer.GetCapacity(), 10);
    buffer.WriteBytes("12345", 5);  // 10 bytes fit
    EXPECT_EQ(buffer.GetCapacity(), 10);
    buffer.WriteUInt32(1);  // 14 bytes needed
    EXPECT_EQ(buffer.GetCapacity(), 28);
}

TEST(ByteBuffer, RawBytesRoundTripAndFreeForgetsData)
{
    ByteBuffer buffer;
    const std::string blob(100000, '\x7f');
    ASSERT_TRUE(buffer.WriteBytes(blob.data(), int(blob.size())));
    std::string back(blob.size(), '\0');
    ASSERT_TRUE(buffer.ReadBytes(back.data(), int(back.size())));
    EXPECT_EQ(back, blob);
    buffer.Free();
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0);
}

TEST(ByteBuffer, ExtendHandsOutBytesToFillAndTruncateDropsThem)
{
    ByteBuffer buffer;
    buffer.WriteBytes("ab", 2);
    uint8_t* more = buffer.Extend(3);
    ASSERT_NE(more, nullptr);
    more[0] = 'c';
    more[1] = 'd';
    more[2] = 'e';
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetData()), 5), "abcde");
    uint8_t bytes[5];
    EXPECT_TRUE(buffer.ReadBytes(bytes, 4));
    buffer.Truncate(2);
    EXPECT_EQ(buffer.GetSize(), 2);
    EXPECT_EQ(buffer.GetReadPosition(), 2);  // moved back within the data
    buffer.Truncate(7);                      // beyond the data: nothing changes
    EXPECT_EQ(buffer.GetSize(), 2);
    EXPECT_EQ(buffer.Extend(-1), nullptr);
    ByteBuffer external;
    external.WrapExternal("xyz", 3);
    EXPECT_EQ(external.Extend(1), nullptr);  // memory owned elsewhere never grows
    EXPECT_EQ(external.GetSize(), 3);
    EXPECT_EQ(external.GetWritableData(), nullptr);  // nor is it written
    EXPECT_EQ(buffer.GetWritableData(), buffer.GetData());
}
