#pragma once

#include <cstdint>

#include "audio/decoders/play_list_reader.h"

// Reads a sound file through the file system into a new sample: a path whose
// last four characters are ".ogg" in any case is read as OGG Vorbis, any
// other as WAV. Null when the file cannot be opened; a sample without
// channels when it could not be read (reported by the reader).
HV_MixerSample* HVI_ReadSampleFile(const char* path, int32_t flags);

// Reads an ".mpl" play list through the file system into `list` by the rules
// of HVI_ReadPlayList; false, with the list cleared, when the file cannot be
// opened or read or the list is refused.
bool HVI_ReadPlayListFile(HV_MixerSample* list, const char* path, HVI_PlayListEntryLoader load, void* context);
