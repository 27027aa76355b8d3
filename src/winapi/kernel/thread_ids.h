// Thread ids of this process: every thread gets a small nonzero id the first
// time it asks, and threads started by CreateThread get theirs at creation.
#pragma once

#include <windows.h>

namespace halvo::kernel {

DWORD NewThreadId();
// Gives the calling thread the id reserved for it by CreateThread.
void AdoptThreadId(DWORD id);

}  // namespace halvo::kernel
