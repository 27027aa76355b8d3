#include "data/scrambled_container.h"

#include <cstring>

#include <zlib.h>

#include "data/data_messages.h"

namespace {

uint32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void AppendLittleEndian32(uint32_t value, uint8_t* bytes)
{
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(value >> (8 * i));
}

uint32_t Checksum(const uint8_t* bytes, int size) { return uint32_t(crc32(crc32(0L, Z_NULL, 0), bytes, uInt(size))); }

// The key repeated to a whole number of 64-bit words: 8 keys of 13 bytes.
constexpr int kKeyBlockWords = kScrambledMagicLength;
constexpr int kKeyBlockSize = kKeyBlockWords * 8;

struct KeyBlock {
    uint64_t words[kKeyBlockWords];
};

constexpr KeyBlock MakeKeyBlock()
{
    KeyBlock block = {};
    for (int i = 0; i < kKeyBlockSize; ++i)
        block.words[i / 8] |= uint64_t(uint8_t(kScrambledMagic[i % kScrambledMagicLength])) << (8 * (i % 8));
    return block;
}

// Little-endian words, so that byte i of the block is key byte i % 13.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);
constexpr KeyBlock kKeyBlock = MakeKeyBlock();

// XOR with the cycled key: the same operation scrambles and unscrambles. The
// bytes begin where the key begins again; a word at a time, the last bytes
// one by one.
void Scramble(const uint8_t* in, int size, uint8_t* out)
{
    int done = 0;
    for (; done + kKeyBlockSize <= size; done += kKeyBlockSize) {
        for (int w = 0; w < kKeyBlockWords; ++w) {
            uint64_t word;
            std::memcpy(&word, in + done + 8 * w, 8);
            word ^= kKeyBlock.words[w];
            std::memcpy(out + done + 8 * w, &word, 8);
        }
    }
    for (; done < size; ++done) out[done] = in[done] ^ uint8_t(kScrambledMagic[done % kScrambledMagicLength]);
}

// Unscrambles and sums the text in pieces small enough to stay in the cache
// between the two passes; a whole number of key blocks each.
constexpr int kPieceSize = kKeyBlockSize * 512;

uint32_t UnscrambleAndSum(const uint8_t* in, int size, uint8_t* out)
{
    uLong sum = crc32(0L, Z_NULL, 0);
    for (int done = 0; done < size; done += kPieceSize) {
        const int piece = size - done < kPieceSize ? size - done : kPieceSize;
        Scramble(in + done, piece, out + done);
        sum = crc32(sum, out + done, uInt(piece));
    }
    return uint32_t(sum);
}

}  // namespace

bool HVI_IsScrambledContainer(const uint8_t* bytes, int64_t size)
{
    if (bytes == nullptr || size <= 0) return false;
    const size_t compared = size_t(size < kScrambledMagicLength ? size : kScrambledMagicLength);
    return std::memcmp(bytes, kScrambledMagic, compared) == 0;
}

bool HVI_UnscrambleContainer(const uint8_t* bytes, int64_t size, ByteBuffer& plain, const char*& reason)
{
    if (bytes == nullptr || size < kScrambledHeaderSize ||
        std::memcmp(bytes, kScrambledMagic, kScrambledMagicLength) != 0) {
        reason = kReasonContainerTruncated;
        return false;
    }
    const uint32_t length = ReadLittleEndian32(bytes + kScrambledMagicLength);
    const uint32_t checksum = ReadLittleEndian32(bytes + kScrambledMagicLength + 4);
    if (int64_t(length) != size - kScrambledHeaderSize || length > uint32_t(INT32_MAX)) {
        reason = kReasonContainerLength;
        return false;
    }
    const int textSize = int(length);
    const int sizeBefore = plain.GetSize();
    uint8_t* text = textSize > 0 ? plain.Extend(textSize) : nullptr;
    if (textSize > 0 && text == nullptr) {
        reason = kReasonTooLarge;
        return false;
    }
    if (UnscrambleAndSum(bytes + kScrambledHeaderSize, textSize, text) != checksum) {
        plain.Truncate(sizeBefore);
        reason = kReasonContainerChecksum;
        return false;
    }
    return true;
}

bool HVI_ScrambleIntoContainer(const uint8_t* plain, int size, ByteBuffer& out)
{
    if (size < 0 || int64_t(size) + kScrambledHeaderSize > INT32_MAX) return false;
    uint8_t* container = out.Extend(kScrambledHeaderSize + size);
    if (container == nullptr) return false;
    std::memcpy(container, kScrambledMagic, kScrambledMagicLength);
    AppendLittleEndian32(uint32_t(size), container + kScrambledMagicLength);
    AppendLittleEndian32(Checksum(plain, size), container + kScrambledMagicLength + 4);
    Scramble(plain, size, container + kScrambledHeaderSize);
    return true;
}
