#pragma once

#include <cstdint>

// What a mixer sample holds.
enum HV_MixerSampleKind : int32_t {
    HV_MIXER_SAMPLE_EMPTY = 0,
    HV_MIXER_SAMPLE_PCM = 1,         // 16-bit PCM in memory
    HV_MIXER_SAMPLE_OGG_STREAM = 2,  // the whole encoded file, decoded while playing
    HV_MIXER_SAMPLE_PLAY_LIST = 3,
};

// Load flags of a mixer sample.
constexpr int32_t HV_MIXER_LOAD_ALWAYS_STREAM = 1;  // play-list entries
constexpr int32_t HV_MIXER_LOAD_EMPTY = 8;          // create an empty sample

constexpr int HV_MIXER_MAX_PLAY_LIST_ENTRIES = 64;

// One sound as the mixer plays it. PCM is 16-bit signed little-endian,
// interleaved by channel, left first.
struct HV_MixerSample {
    char* name;        // copy of the path it was loaded from (C allocator)
    int32_t useCount;  // voices playing it; guarded by the mixer lock
    int32_t kind;      // HV_MixerSampleKind
    int32_t flags;     // load flags
    int32_t channels;  // 1 or 2; 0 marks a failed load
    int32_t bitsPerSample;
    int32_t sampleRate;  // frames per second
    uint8_t* data;       // PCM: the PCM bytes; OGG stream: the whole file (C allocator)
    int32_t dataBytes;
    int32_t streamBytes;                                      // OGG stream: PCM bytes the whole stream decodes to
    HV_MixerSample* entries[HV_MIXER_MAX_PLAY_LIST_ENTRIES];  // play list, in order
    int32_t entryCount;
};

// A cleared sample named after the path with the given load flags; null when out of memory.
HV_MixerSample* HVI_CreateMixerSample(const char* path, int32_t flags);

// Frees the sample's data and entries and makes it empty; name and flags stay.
void HVI_ClearMixerSample(HV_MixerSample* sample);

// Frees the sample, its data, its play-list entries and its name. Voices must
// have stopped playing it first.
void HVI_DestroyMixerSample(HV_MixerSample* sample);

// PCM bytes a voice plays from the sample in one pass: data bytes for PCM,
// stream bytes for a stream, 0 otherwise.
int64_t HVI_GetMixerSamplePcmBytes(const HV_MixerSample* sample);
