#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"
#include "foundation/string_map.h"

// The simulated cloud store and its file "user://simulated.cloud": the magic
// text "SIMULATED_CLOUD" with its zero, a little-endian u32 entry count, then
// per entry the key with its zero, a u32 byte count and the bytes.
using CloudStore = StringMap<ByteBuffer>;

inline constexpr const char* kSimulatedCloudPath = "user://simulated.cloud";

// Adds or replaces the entry of the key with a copy of the bytes; a key keeps
// its first position.
bool HVI_PutCloudEntry(CloudStore& store, const char* key, const void* data, uint32_t size);

// Reads a file image into an empty store. Entries with a byte count below 0
// (as a signed number) are skipped, and so are those of 0 bytes, so an empty
// entry is gone from the file after the next write; only the keys that
// heldEmpty holds without bytes keep theirs (a running store keeps its own
// empty entries until the next start). Damage stops the reading with a log
// line; the entries read before it are kept. False when anything was damaged.
bool HVI_ReadSimulatedCloud(const uint8_t* data, int64_t size, CloudStore& store,
                            const CloudStore* heldEmpty = nullptr);

// The file image of the store; false (with a log line) when it cannot be built.
bool HVI_WriteSimulatedCloud(const CloudStore& store, ByteBuffer& image);
