#pragma once

// The compressed-buffer container: magic "qzmc", the uncompressed size and
// the compressed size (u32, little-endian), then a zlib stream.

#include <halvo/core.h>

// A new blob holding the container for the bytes; null (with a line) for a
// null or negative input or when memory runs out.
HV_Blob* HV_CompressBuffer(const void* data, int32_t size);
// A new blob holding the bytes of a container; null (with a line naming
// what is wrong) for anything that is not a whole, consistent container.
HV_Blob* HV_DecompressBuffer(const void* container, int32_t size);
