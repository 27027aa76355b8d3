// Any bytes given to HV_DecompressBuffer give a whole result or null; a result
// compresses and decompresses back to itself.
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/compressed_buffer.h"
#include "core/memory.h"
#include "foundation/engine_log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = [] {
        HVI_SetLogSink([](void*, int, bool, const char*) {}, nullptr);
        return true;
    }();
    (void)quiet;
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        return 0;
    }
    HV_Blob* blob = HV_DecompressBuffer(data, static_cast<int32_t>(size));
    if (!blob) {
        return 0;
    }
    HV_Blob* again = HV_CompressBuffer(blob->data, blob->size);
    HV_Blob* back = again ? HV_DecompressBuffer(again->data, again->size) : nullptr;
    if (!back || back->size != blob->size || (blob->size > 0 && std::memcmp(back->data, blob->data, blob->size) != 0)) {
        __builtin_trap();
    }
    HV_FreeBlob(back);
    HV_FreeBlob(again);
    HV_FreeBlob(blob);
    return 0;
}
