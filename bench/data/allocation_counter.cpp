// Replaces the C allocator's entry points of this program with ones that
// count the usable size of every live block and forward to the C library's
// own allocator.
#include "allocation_counter.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define HVB_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define HVB_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef HVB_COUNT_ALLOCATIONS
#define HVB_COUNT_ALLOCATIONS 1
#endif

namespace {

std::atomic<bool> g_counting{false};
std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};

[[maybe_unused]] void* Counted(void* block)
{
    if (block != nullptr && g_counting.load(std::memory_order_relaxed)) {
        const int64_t live = g_live.fetch_add(int64_t(malloc_usable_size(block))) + int64_t(malloc_usable_size(block));
        int64_t peak = g_peak.load();
        while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {}
    }
    return block;
}

[[maybe_unused]] void Uncount(void* block)
{
    if (block != nullptr && g_counting.load(std::memory_order_relaxed))
        g_live.fetch_sub(int64_t(malloc_usable_size(block)));
}

}  // namespace

bool HVB_AllocationCounterAvailable() { return HVB_COUNT_ALLOCATIONS != 0; }

void HVB_StartCountingAllocations()
{
    g_live.store(0);
    g_peak.store(0);
    g_counting.store(true);
}

void HVB_StopCountingAllocations() { g_counting.store(false); }

int64_t HVB_LiveBytes() { return g_live.load(); }

int64_t HVB_PeakBytes() { return g_peak.load(); }

#if HVB_COUNT_ALLOCATIONS

extern "C" {

void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);

void* malloc(size_t size) { return Counted(__libc_malloc(size)); }

void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }

void* realloc(void* block, size_t size)
{
    const bool counting = g_counting.load(std::memory_order_relaxed);
    const int64_t before = block && counting ? int64_t(malloc_usable_size(block)) : 0;
    void* moved = __libc_realloc(block, size);
    if (moved == nullptr && size != 0) return nullptr;  // the old block stays as it was
    g_live.fetch_sub(before);
    return Counted(moved);
}

void free(void* block)
{
    Uncount(block);
    __libc_free(block);
}

void* memalign(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }

void* aligned_alloc(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }

int posix_memalign(void** block, size_t alignment, size_t size)
{
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* aligned = Counted(__libc_memalign(alignment, size));
    if (aligned == nullptr) return ENOMEM;
    *block = aligned;
    return 0;
}

}  // extern "C"

#endif
