#include "winapi/kernel/thread_ids.h"

#include <atomic>

namespace halvo::kernel {
namespace {

std::atomic<DWORD> nextThreadId{1};
thread_local DWORD currentThreadId = 0;

}  // namespace

DWORD NewThreadId() { return nextThreadId.fetch_add(1, std::memory_order_relaxed); }

void AdoptThreadId(DWORD id) { currentThreadId = id; }

}  // namespace halvo::kernel

DWORD WINAPI GetCurrentThreadId(void)
{
    using namespace halvo::kernel;
    if (currentThreadId == 0) currentThreadId = NewThreadId();
    return currentThreadId;
}
