#pragma once

#include <cstdint>

#include <vorbis/vorbisfile.h>

#include "audio/decoders/ogg_memory_source.h"

struct HV_MixerSample;

// Where one reader (a mixer voice) stands in a sample: the read position and,
// for an OGG stream, a decoder of its own; for a play list, the entry it reads.
struct HV_SampleCursor {
    int64_t readPosition;    // within the PCM of the sample (or of the current play-list entry)
    OggVorbis_File decoder;  // the cursor's own decoder of an OGG stream
    HV_OggMemorySource decoderSource;
    bool decoderOpen;
    int decoderErrorRun;
    int32_t entryIndex;     // play list: the entry being read
    HV_MixerSample* entry;  // play list: that entry
};

// Sets the cursor to the start of a sample, a play list to its entry
// firstEntry. The cursor's decoder must be closed.
void HVI_StartSampleCursor(HV_SampleCursor& cursor, int32_t firstEntry);
// Closes the cursor's decoder when open.
void HVI_CloseSampleCursor(HV_SampleCursor& cursor);

// The one read of every kind of sample: up to `bytes` bytes of its 16-bit PCM
// frames from the cursor into `out`; returns the bytes written, fewer at the
// end of the sample. PCM is copied, an OGG stream decoded with the cursor's
// decoder, a play list read entry after entry, the first after the last.
// With loop a PCM sample or a stream starts over at its end.
int64_t HVI_ReadSampleFrames(HV_SampleCursor& cursor, const HV_MixerSample& sample, uint8_t* out, int64_t bytes,
                             bool loop);
