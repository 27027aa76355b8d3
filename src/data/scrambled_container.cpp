#include "data/scrambled_container.h"

#include <cstring>
#include <vector>

#include <zlib.h>

#include "data/data_messages.h"

namespace {

uint32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void AppendLittleEndian32(uint32_t value, uint8_t* bytes)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}

uint32_t Checksum(const uint8_t* bytes, int size)
{
    return uint32_t(crc32(crc32(0L, Z_NULL, 0), bytes, uInt(size)));
}

// XOR with the cycled key: the same operation scrambles and unscrambles.
void Scramble(const uint8_t* in, int size, uint8_t* out)
{
    for (int i = 0; i < size; ++i)
        out[i] = in[i] ^ uint8_t(kScrambledMagic[i % kScrambledMagicLength]);
}

}  // namespace

bool HVI_IsScrambledContainer(const uint8_t* bytes, int64_t size)
{
    if (bytes == nullptr || size <= 0)
        return false;
    const size_t compared = size_t(size < kScrambledMagicLength ? size : kScrambledMagicLength);
    return std::memcmp(bytes, kScrambledMagic, compared) == 0;
}

bool HVI_UnscrambleContainer(const uint8_t* bytes, int64_t size, ByteBuffer& plain, const char*& reason)
{
    if (bytes == nullptr || size < kScrambledHeaderSize || std::memcmp(bytes, kScrambledMagic, kScrambledMagicLength) != 0) {
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
    std::vector<uint8_t> text(static_cast<size_t>(textSize));
    Scramble(bytes + kScrambledHeaderSize, textSize, text.data());
    if (Checksum(text.data(), textSize) != checksum) {
        reason = kReasonContainerChecksum;
        return false;
    }
    if (!plain.WriteBytes(text.data(), textSize)) {
        reason = kReasonTooLarge;
        return false;
    }
    return true;
}

bool HVI_ScrambleIntoContainer(const uint8_t* plain, int size, ByteBuffer& out)
{
    if (size < 0 || int64_t(size) + kScrambledHeaderSize > INT32_MAX)
        return false;
    uint8_t header[kScrambledHeaderSize];
    std::memcpy(header, kScrambledMagic, kScrambledMagicLength);
    AppendLittleEndian32(uint32_t(size), header + kScrambledMagicLength);
    AppendLittleEndian32(Checksum(plain, size), header + kScrambledMagicLength + 4);
    std::vector<uint8_t> scrambled(static_cast<size_t>(size));
    Scramble(plain, size, scrambled.data());
    return out.WriteBytes(header, kScrambledHeaderSize) && out.WriteBytes(scrambled.data(), size);
}
