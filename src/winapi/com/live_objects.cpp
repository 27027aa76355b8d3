#include "winapi/com/live_objects.h"

#include <atomic>

namespace halvo::com {

namespace {
std::atomic<int64_t> g_liveObjects{0};
}  // namespace

void CountObjectMade() { g_liveObjects.fetch_add(1, std::memory_order_relaxed); }

void CountObjectDestroyed() { g_liveObjects.fetch_sub(1, std::memory_order_relaxed); }

int64_t LiveObjectCount() { return g_liveObjects.load(std::memory_order_relaxed); }

}  // namespace halvo::com
