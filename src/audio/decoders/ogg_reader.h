#pragma once

#include <cstdint>

struct HV_MixerSample;

// PCM byte count up to which an OGG file is decoded whole at load time.
constexpr int64_t HV_OGG_DECODE_WHOLE_LIMIT = 256000;

// Reads an OGG Vorbis file held whole in a block of the C allocator, whose
// ownership passes to this call. Short sounds (and any sound loaded with flags
// other than 0 and without HV_MIXER_LOAD_ALWAYS_STREAM) are decoded into PCM;
// longer ones keep the block to be decoded while playing. A file cut off
// inside its last page plays its complete pages, and a sound decoded whole
// that ends early keeps what was read with silence after it; both are logged.
// A file whose Vorbis headers are damaged, that is not mono or stereo Vorbis,
// or whose length does not fit 32 bits is reported as a popup naming the path
// and leaves the sample cleared.
bool HVI_ReadOggSample(HV_MixerSample* sample, const char* path, uint8_t* file, int64_t fileSize);
