#pragma once

#include <cstddef>

// Makes the next allocation of exactly size bytes on the calling thread fail,
// as when memory runs out. False where allocations cannot be intercepted
// (sanitizer builds bring their own allocator); tests then skip.
bool FailNextAllocationOfSize(size_t size);
