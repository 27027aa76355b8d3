#include "audio/decoders/ogg_pages.h"

#include <array>
#include <cstring>

namespace {

// The OGG checksum: CRC-32 with polynomial 0x04C11DB7, most significant bit
// first, no reflection, starting from 0.
constexpr std::array<uint32_t, 256> MakeChecksumTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 0x80000000u) ? (value << 1) ^ 0x04C11DB7u : value << 1;
        }
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kChecksumTable = MakeChecksumTable();

uint32_t AddToChecksum(uint32_t checksum, const uint8_t* bytes, int64_t count)
{
    for (int64_t i = 0; i < count; ++i) {
        checksum = (checksum << 8) ^ kChecksumTable[(checksum >> 24) ^ bytes[i]];
    }
    return checksum;
}

uint32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

}  // namespace

bool HVI_FindOggPageExtent(const uint8_t* file, int64_t size, int64_t offset, HV_OggPage* page)
{
    if (offset < 0 || offset > size - HV_OGG_PAGE_HEADER_BYTES || memcmp(file + offset, "OggS", 4) != 0) {
        return false;
    }
    const int segments = file[offset + 26];
    const int64_t headerBytes = HV_OGG_PAGE_HEADER_BYTES + segments;
    if (offset + headerBytes > size) {
        return false;
    }
    int64_t bodyBytes = 0;
    for (int i = 0; i < segments; ++i) {
        bodyBytes += file[offset + HV_OGG_PAGE_HEADER_BYTES + i];
    }
    if (offset + headerBytes + bodyBytes > size) {
        return false;
    }
    *page = {offset, headerBytes, bodyBytes};
    return true;
}

uint32_t HVI_ComputeOggPageChecksum(const uint8_t* file, const HV_OggPage& page)
{
    static constexpr uint8_t kZeroChecksum[4] = {0, 0, 0, 0};
    const uint8_t* at = file + page.offset;
    uint32_t checksum = AddToChecksum(0, at, HV_OGG_PAGE_CHECKSUM_OFFSET);
    checksum = AddToChecksum(checksum, kZeroChecksum, 4);
    const int64_t rest = HV_OGG_PAGE_CHECKSUM_OFFSET + 4;
    return AddToChecksum(checksum, at + rest, page.headerBytes + page.bodyBytes - rest);
}

std::vector<HV_OggPage> HVI_FindOggPages(const uint8_t* file, int64_t size)
{
    std::vector<HV_OggPage> pages;
    for (int64_t at = 0; at <= size - HV_OGG_PAGE_HEADER_BYTES; ++at) {
        const void* found = memchr(file + at, 'O', size_t(size - HV_OGG_PAGE_HEADER_BYTES + 1 - at));
        if (!found) {
            break;
        }
        at = static_cast<const uint8_t*>(found) - file;
        HV_OggPage page;
        if (HVI_FindOggPageExtent(file, size, at, &page) &&
            HVI_ComputeOggPageChecksum(file, page) == ReadLittleEndian32(file + at + HV_OGG_PAGE_CHECKSUM_OFFSET)) {
            pages.push_back(page);
        }
    }
    return pages;
}
