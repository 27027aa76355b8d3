#pragma once

#include <cstdint>

struct HV_MixerSample;

// Loads one play-list entry by its path; null or a sample without channels when it cannot.
using HVI_PlayListEntryLoader = HV_MixerSample* (*)(const char* path, void* context);

// Longest play-list line, without its line end.
constexpr int HV_PLAY_LIST_MAX_LINE = 511;
// Largest play-list file that is read.
constexpr int64_t HV_PLAY_LIST_MAX_FILE_BYTES = 1 << 20;

// Reads ".mpl" text (one sample path per line; lines that begin with a space,
// a tab or NUL are comments) into `list` as a play list of at most 64 entries,
// each loaded through `load`. Entries that fail, or whose channels, bits or
// rate differ from the first entry's, are dropped. A list with no playable
// entry is reported and kept as an empty stereo list, which plays silence; one
// with an over-long line or an over-large file is reported and left cleared.
bool HVI_ReadPlayList(HV_MixerSample* list, const char* path, const uint8_t* text, int64_t size,
                      HVI_PlayListEntryLoader load, void* context);
