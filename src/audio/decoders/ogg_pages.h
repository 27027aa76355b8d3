#pragma once

#include <cstdint>
#include <vector>

// One OGG page inside a file held in memory.
struct HV_OggPage {
    int64_t offset;       // of its "OggS"
    int64_t headerBytes;  // the fixed header and the segment table
    int64_t bodyBytes;
};

// Bytes of a page header before its segment table.
constexpr int64_t HV_OGG_PAGE_HEADER_BYTES = 27;
// Where a page header keeps its checksum.
constexpr int64_t HV_OGG_PAGE_CHECKSUM_OFFSET = 22;
constexpr uint8_t HV_OGG_PAGE_END_OF_STREAM = 0x04;

// The page whose "OggS" stands at `offset`, when its header and body lie
// within the file; the checksum is not examined.
bool HVI_FindOggPageExtent(const uint8_t* file, int64_t size, int64_t offset, HV_OggPage* page);

// The checksum of the page as its header should hold it (computed with the
// checksum field taken as zero).
uint32_t HVI_ComputeOggPageChecksum(const uint8_t* file, const HV_OggPage& page);

// Every page of the file that a decoder resynchronising at any byte would
// accept (complete, with a matching checksum), in file order.
std::vector<HV_OggPage> HVI_FindOggPages(const uint8_t* file, int64_t size);
