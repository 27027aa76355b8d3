// Replaces the C library's malloc in the test program with one that fails on
// request and otherwise hands over to the library's own.
#include "failing_allocation.h"

#include <cerrno>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)

bool FailNextAllocationOfSize(size_t) { return false; }

#else

extern "C" void* __libc_malloc(size_t size);

namespace {
thread_local size_t t_failingSize = 0;
}  // namespace

bool FailNextAllocationOfSize(size_t size)
{
    t_failingSize = size;
    return true;
}

extern "C" void* malloc(size_t size)
{
    if (t_failingSize != 0 && size == t_failingSize) {
        t_failingSize = 0;
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_malloc(size);
}

#endif
