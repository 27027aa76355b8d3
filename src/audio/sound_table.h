#pragma once

#include "halvo/audio.h"

// The sound records: found by name hash, reference counted, loaded through
// the current back end and hibernated when their last reference goes. The
// table is guarded by the engine lock GET_SOUND, which is never held while
// the back end loads.

HV_SoundRecord* HV_Audio_GetSound(const char* name);
HV_SoundRecord* HV_Audio_GetSoundWithCacheMode(const char* name, int32_t cacheMode);
HV_SoundRecord* HV_Audio_LoadSound(const char* name);
void HV_Audio_ReleaseSound(HV_SoundRecord* sound);
// Adds the count (kept within 0..4096) to the record's references; a record
// that had none is loaded again.
void HV_Audio_IncreaseSoundReferenceCount(HV_SoundRecord* sound, const int32_t* count);
bool HV_Audio_IsSoundLoaded(HV_SoundRecord* sound);
bool HV_Audio_SoundExists(const char* name);

// The checks of a sound name that a program passes to the operation: false,
// with a popup, for no name; in developer mode, a popup for a name that
// carries a file extension.
bool HVI_CheckSoundName(const char* operation, const char* name);
// Applies a cache mode to a record: loads for modes with the bit 4, releases for 0.
void HVI_LoadSoundResource(HV_SoundRecord* sound, int32_t cacheMode);
// Loads the record's sample through the back end, probing ".wav", ".ogg" and
// ".mp3" when the name has no extension.
bool HVI_LoadSoundData(HV_SoundRecord* sound);
bool HVI_LoadSoundFile(HV_SoundRecord* sound, const char* path);
// Reloads, through the current back end, every record that holds a loaded
// sample: not hibernated or cache-only records, and not engine-internal names.
void HVI_ReloadSounds();
// Releases every record's sample through the current back end; the records stay.
void HVI_ReleaseAllSoundSamples();
