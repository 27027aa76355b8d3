#pragma once

#include <cstdint>

struct HV_MixerSample;

// Reads a 16-bit PCM WAV file held whole in memory into the sample as PCM:
// a 44-byte header ("RIFF", one 16-byte "fmt " chunk, then the "data" chunk).
// Every size in the file is checked against the file; on failure the problem
// is reported as a popup naming the path and the sample is left cleared.
bool HVI_ReadWavSample(HV_MixerSample* sample, const char* path, const uint8_t* file, int64_t fileSize);
