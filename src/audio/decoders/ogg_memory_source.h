#pragma once

#include <cstdint>

#include <vorbis/vorbisfile.h>

// An encoded OGG Vorbis file in memory with a read position of its own, so
// that several decoders can read one block at once.
struct HV_OggMemorySource {
    const uint8_t* data;
    int64_t size;
    int64_t position;  // always within 0..size
};

// Opens the decoder over the source from its start; the result is vorbisfile's
// (0 on success). The source must outlive the decoder.
int HVI_OpenOggDecoder(OggVorbis_File* decoder, HV_OggMemorySource* source);
