#include "core/compressed_buffer.h"

#include <zlib.h>

#include <cstring>

#include "core/logging.h"
#include "core/memory.h"

namespace {

constexpr char kMagic[4] = {'q', 'z', 'm', 'c'};
constexpr int kHeaderSize = 12;
// No zlib stream inflates to more than about 1032 times its size; a header
// that claims more is not believed (and would otherwise cost the memory).
constexpr int64_t kLargestExpansion = 1032;

void WriteU32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t ReadU32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
           static_cast<uint32_t>(at[3]) << 24;
}

}  // namespace

HV_Blob* HV_CompressBuffer(const void* data, int32_t size)
{
    if ((!data && size != 0) || size < 0) {
        HV_Log(HV_LOG_ERROR, "HV_CompressBuffer: invalid input (%d bytes).", size);
        return nullptr;
    }
    const uLong bound = compressBound(static_cast<uLong>(size));
    if (bound > static_cast<uLong>(INT32_MAX - kHeaderSize)) {
        HV_Log(HV_LOG_ERROR, "HV_CompressBuffer: %d bytes are too many.", size);
        return nullptr;
    }
    HV_Blob* blob = HV_AllocateBlob(static_cast<int32_t>(kHeaderSize + bound));
    if (!blob) {
        return nullptr;
    }
    uLongf compressedSize = bound;
    const Bytef* source = size > 0 ? static_cast<const Bytef*>(data) : reinterpret_cast<const Bytef*>("");
    if (compress2(blob->data + kHeaderSize, &compressedSize, source, static_cast<uLong>(size), Z_BEST_COMPRESSION) !=
        Z_OK) {
        HV_Log(HV_LOG_ERROR, "HV_CompressBuffer: compression failed.");
        HV_FreeBlob(blob);
        return nullptr;
    }
    std::memcpy(blob->data, kMagic, sizeof(kMagic));
    WriteU32(blob->data + 4, static_cast<uint32_t>(size));
    WriteU32(blob->data + 8, static_cast<uint32_t>(compressedSize));
    blob->size = static_cast<int32_t>(kHeaderSize + compressedSize);
    return blob;
}

HV_Blob* HV_DecompressBuffer(const void* container, int32_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(container);
    if (!bytes || size < kHeaderSize) {
        HV_Log(HV_LOG_ERROR, "HV_DecompressBuffer: %d bytes are too few for a container.", bytes ? size : 0);
        return nullptr;
    }
    if (std::memcmp(bytes, kMagic, sizeof(kMagic)) != 0) {
        HV_Log(HV_LOG_ERROR, "HV_DecompressBuffer: the data is not a compressed buffer.");
        return nullptr;
    }
    const uint32_t uncompressedSize = ReadU32(bytes + 4);
    const uint32_t compressedSize = ReadU32(bytes + 8);
    if (static_cast<int64_t>(compressedSize) != static_cast<int64_t>(size) - kHeaderSize) {
        HV_Log(HV_LOG_ERROR, "HV_DecompressBuffer: compressed size %u does not match the %d bytes after the header.",
               compressedSize, size - kHeaderSize);
        return nullptr;
    }
    if (uncompressedSize > static_cast<uint32_t>(INT32_MAX) ||
        static_cast<int64_t>(uncompressedSize) > static_cast<int64_t>(compressedSize) * kLargestExpansion) {
        HV_Log(HV_LOG_ERROR, "HV_DecompressBuffer: uncompressed size %u cannot come from %u bytes.", uncompressedSize,
               compressedSize);
        return nullptr;
    }
    HV_Blob* blob = HV_AllocateBlob(static_cast<int32_t>(uncompressedSize));
    if (!blob) {
        return nullptr;
    }
    uint8_t spare = 0;  // a stream that would write past the announced size lands here and fails
    z_stream stream = {};
    stream.next_in = const_cast<Bytef*>(bytes + kHeaderSize);
    stream.avail_in = compressedSize;
    stream.next_out = uncompressedSize > 0 ? blob->data : &spare;
    stream.avail_out = uncompressedSize > 0 ? uncompressedSize : 0;
    int result = inflateInit(&stream);
    if (result == Z_OK) {
        result = inflate(&stream, Z_FINISH);
    }
    const bool whole = result == Z_STREAM_END && stream.total_out == uncompressedSize && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!whole) {
        HV_Log(HV_LOG_ERROR, "HV_DecompressBuffer: the zlib stream is damaged or does not give %u bytes.",
               uncompressedSize);
        HV_FreeBlob(blob);
        return nullptr;
    }
    return blob;
}
