#include "core/memory.h"

#include <cstdlib>

#include "core/logging.h"

void* HV_Malloc(size_t size) { return std::malloc(size); }

void* HV_Realloc(void* block, size_t size) { return std::realloc(block, size); }

void HV_Free(void* block) { std::free(block); }

HV_Blob* HV_AllocateBlob(int32_t size)
{
    if (size < 0) {
        HV_Log(HV_LOG_ERROR, "HV_AllocateBlob: invalid size %d.", size);
        return nullptr;
    }
    HV_Blob* blob = static_cast<HV_Blob*>(std::calloc(1, sizeof(HV_Blob)));
    if (!blob) {
        HV_Log(HV_LOG_ERROR, "HV_AllocateBlob: out of memory.");
        return nullptr;
    }
    if (size > 0) {
        blob->data = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
        if (!blob->data) {
            std::free(blob);
            HV_Log(HV_LOG_ERROR, "HV_AllocateBlob: out of memory for %d bytes.", size);
            return nullptr;
        }
    }
    blob->size = size;
    blob->capacity = size;
    return blob;
}

void HV_FreeBlob(HV_Blob* blob)
{
    if (!blob) {
        return;
    }
    std::free(blob->data);
    std::free(blob);
}
