#include "audio/decoders/ogg_memory_source.h"

#include <cstring>

namespace {

size_t ReadFromMemory(void* buffer, size_t size, size_t count, void* context)
{
    auto* source = static_cast<HV_OggMemorySource*>(context);
    if (size == 0) {
        return 0;
    }
    const int64_t left = source->size - source->position;
    // Whole items only, and never more than what is left (no size x count overflow).
    const uint64_t items = count < static_cast<uint64_t>(left) / size ? count : static_cast<uint64_t>(left) / size;
    const size_t bytes = static_cast<size_t>(items * size);
    memcpy(buffer, source->data + source->position, bytes);
    source->position += static_cast<int64_t>(bytes);
    return static_cast<size_t>(items);
}

// Positions outside the block are refused, and the position is left as it was.
int SeekInMemory(void* context, ogg_int64_t offset, int origin)
{
    auto* source = static_cast<HV_OggMemorySource*>(context);
    int64_t base = 0;
    switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = source->position; break;
    case SEEK_END: base = source->size; break;
    default: return -1;
    }
    if (offset < -base || offset > source->size - base) {
        return -1;
    }
    source->position = base + offset;
    return 0;
}

int CloseMemory(void*) { return 0; }

long TellInMemory(void* context) { return static_cast<long>(static_cast<HV_OggMemorySource*>(context)->position); }

constexpr ov_callbacks kMemoryCallbacks = {ReadFromMemory, SeekInMemory, CloseMemory, TellInMemory};

}  // namespace

int HVI_OpenOggDecoder(OggVorbis_File* decoder, HV_OggMemorySource* source)
{
    source->position = 0;
    return ov_open_callbacks(source, decoder, nullptr, 0, kMemoryCallbacks);
}
