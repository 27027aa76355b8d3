#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/data_messages.h"
#include "data/scrambled_container.h"

namespace {

std::vector<uint8_t> Scrambled(const std::string& plain)
{
    ByteBuffer out;
    EXPECT_TRUE(HVI_ScrambleIntoContainer(reinterpret_cast<const uint8_t*>(plain.data()), int(plain.size()), out));
    return std::vector<uint8_t>(out.GetData(), out.GetData() + out.GetSize());
}

bool Unscramble(const std::vector<uint8_t>& bytes, std::string& plain, const char*& reason)
{
    ByteBuffer out;
    const bool intact = HVI_UnscrambleContainer(bytes.data(), int64_t(bytes.size()), out, reason);
    plain.assign(reinterpret_cast<const char*>(out.GetData()), size_t(out.GetSize()));
    return intact;
}

}  // namespace

TEST(ScrambledContainer, WritesMagicLengthChecksumAndTheTextXoredWithTheMagic)
{
    // CRC-32 of "<d/>" is 0x071ADE3F; '<' ^ 'H' = 0x74, 'd' ^ 'V' = 0x32, '/' ^ 'S' = 0x7C, '>' ^ 'c' = 0x5D.
    const std::vector<uint8_t> expected = {'H',  'V',  'S',  'c',  'r',  'a',  'm',  'b',  'l',  'e',  'd',  'D', 'B',
                                           0x04, 0x00, 0x00, 0x00, 0x3F, 0xDE, 0x1A, 0x07, 0x74, 0x32, 0x7C, 0x5D};
    EXPECT_EQ(Scrambled("<d/>"), expected);
}

TEST(ScrambledContainer, RecognisesTheMagicAndEveryBeginningOfIt)
{
    const auto* magic = reinterpret_cast<const uint8_t*>("HVScrambledDB and more");
    for (int size = 1; size <= 22; ++size) EXPECT_TRUE(HVI_IsScrambledContainer(magic, size)) << size;
    EXPECT_FALSE(HVI_IsScrambledContainer(magic, 0));
    EXPECT_FALSE(HVI_IsScrambledContainer(reinterpret_cast<const uint8_t*>("<?xml"), 5));
    EXPECT_FALSE(HVI_IsScrambledContainer(reinterpret_cast<const uint8_t*>("HVScrambledDb"), 13));
}

TEST(ScrambledContainer, RejectsAContainerShorterThanItsHeader)
{
    const std::vector<uint8_t> whole = Scrambled("<d/>");
    for (size_t size = 0; size < 21; ++size) {
        std::string read;
        const char* reason = "";
        EXPECT_FALSE(Unscramble(std::vector<uint8_t>(whole.begin(), whole.begin() + long(size)), read, reason));
        EXPECT_STREQ(reason, kReasonContainerTruncated);
        EXPECT_TRUE(read.empty());
    }
}

TEST(ScrambledContainer, RejectsALengthThatDoesNotMatchTheFileSize)
{
    std::vector<uint8_t> bytes = Scrambled("<d/>");
    std::string read;
    const char* reason = "";
    bytes.pop_back();
    EXPECT_FALSE(Unscramble(bytes, read, reason));
    EXPECT_STREQ(reason, kReasonContainerLength);
    bytes.push_back(0x5D);
    bytes.push_back(0x00);
    EXPECT_FALSE(Unscramble(bytes, read, reason));
    EXPECT_STREQ(reason, kReasonContainerLength);
    bytes.pop_back();
    bytes[16] = 0x80;  // a length of over 2 GB
    EXPECT_FALSE(Unscramble(bytes, read, reason));
    EXPECT_STREQ(reason, kReasonContainerLength);
    EXPECT_TRUE(read.empty());
}

TEST(ScrambledContainer, RejectsAnyChangedByteOfTheTextOrChecksum)
{
    const std::vector<uint8_t> whole = Scrambled("<database><array id=\"scores\"/></database>");
    for (size_t index = 17; index < whole.size(); ++index) {
        std::vector<uint8_t> bytes = whole;
        bytes[index] ^= 0x01;
        std::string read;
        const char* reason = "";
        EXPECT_FALSE(Unscramble(bytes, read, reason)) << index;
        EXPECT_STREQ(reason, kReasonContainerChecksum);
        EXPECT_TRUE(read.empty());
    }
}

TEST(ScrambledContainer, EveryByteIsXoredWithTheKeyByteOfItsIndexAtAnySize)
{
    // No text, and sizes around whole words, key cycles and the pieces the text is handled in.
    for (const int size : {0, 1, 7, 8, 12, 13, 103, 104, 105, 207, 208, 209, 53247, 53248, 53249, 120001}) {
        std::string plain(size_t(size), '\0');
        for (int i = 0; i < size; ++i) plain[size_t(i)] = char(i * 131 + i / 7);
        const std::vector<uint8_t> bytes = Scrambled(plain);
        ASSERT_EQ(bytes.size(), 21u + size_t(size));
        const char key[] = "HVScrambledDB";
        int wrong = 0;
        for (int i = 0; i < size; ++i)
            wrong += bytes[21 + size_t(i)] != uint8_t(plain[size_t(i)] ^ key[i % 13]) ? 1 : 0;
        EXPECT_EQ(wrong, 0) << size;
        std::string read;
        const char* reason = "";
        ASSERT_TRUE(Unscramble(bytes, read, reason)) << size;
        EXPECT_EQ(read, plain) << size;
    }
}

TEST(ScrambledContainer, AppendsToWhatTheBufferHeldAndRemovesNothingOnAFault)
{
    const std::vector<uint8_t> whole = Scrambled("<d/>");
    ByteBuffer out;
    out.WriteBytes("held", 4);
    const char* reason = "";
    ASSERT_TRUE(HVI_UnscrambleContainer(whole.data(), int64_t(whole.size()), out, reason));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.GetData()), size_t(out.GetSize())), "held<d/>");
    std::vector<uint8_t> damaged = whole;
    damaged.back() ^= 0x01;
    EXPECT_FALSE(HVI_UnscrambleContainer(damaged.data(), int64_t(damaged.size()), out, reason));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.GetData()), size_t(out.GetSize())), "held<d/>");
}
