#pragma once

#include <cstdint>

struct HV_MixerSample;

// The mixer table's LoadSample: an empty sample for HV_MIXER_LOAD_EMPTY or
// while the mixer is not initialised; else the file read as WAV or OGG (null
// when it cannot be opened, a sample without channels when it failed).
HV_MixerSample* HVI_MixerLoadSample(const char* path, int32_t flags);
// Stops every voice playing the sample, then frees it.
void HVI_MixerFreeSample(HV_MixerSample* sample);
