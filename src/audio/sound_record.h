#pragma once

#include <cstdint>

#include "halvo/audio.h"

// The engine's record of one sound name; the program holds pointers to it.
struct HV_SoundRecord {
    char* name;                // heap copy (C allocator); null marks a free entry
    uint32_t hash;             // the engine's name hash
    uint32_t kind;             // resource kind, always 2 for sounds
    uint32_t slot;             // index in the table
    int16_t referenceCount;    // references held by the program
    uint8_t appliedCacheMode;  // the cache mode whose loading was last applied; 0 after creation or hibernation
    char* loadedPath;          // the path the sample was last probed from (C allocator)
    uint32_t fileTime;         // last-modification time of that file, kept in developer mode
    uint8_t flags;             // bit 0: GetSound counted its one reference
    float length;              // playing time in seconds, 0 when the sample gives none
    int32_t lastPlayTime;      // engine milliseconds at which a channel last started it
    uint32_t byteSize;         // bytes of sample data the back end holds
    void* sample;              // the back end's sample; null when nothing is loaded
    bool loaded;               // result of the last load attempt
};

constexpr uint32_t HV_SOUND_RESOURCE_KIND = 2;
constexpr uint8_t HV_SOUND_FLAG_COUNTED_BY_GET = 1;
constexpr int HV_SOUND_TABLE_SIZE = 1024;
// A reference count above this is capped, since the record keeps it in 16 bits.
constexpr int HV_SOUND_MAX_REFERENCES = 4096;
