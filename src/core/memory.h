#pragma once

// The engine allocator (the C allocator) and blobs.

#include <halvo/core.h>

void* HV_Malloc(size_t size);
void* HV_Realloc(void* block, size_t size);
void HV_Free(void* block);

// A blob with a data block of size bytes (zeroed); null for a negative size
// or when memory runs out.
HV_Blob* HV_AllocateBlob(int32_t size);
// Frees the blob and its data; null is ignored.
void HV_FreeBlob(HV_Blob* blob);
