// Thread-local storage slots. Each slot has a generation that TlsAlloc and
// TlsFree advance; a thread's stored value counts only while its generation
// is the slot's, so a freed and reallocated slot reads as null in every
// thread, as the platform clears a freed slot in all threads.
#include <atomic>
#include <mutex>
#include <vector>

#include <windows.h>

namespace {

// The platform's 64 fixed slots plus its 1024 expansion slots.
constexpr DWORD kSlotCount = 1088;

struct Slot {
    std::atomic<bool> allocated{false};   // changed under slotsLock
    std::atomic<unsigned> generation{0};  // changed under slotsLock
};

std::mutex slotsLock;
Slot slots[kSlotCount];

struct StoredValue {
    unsigned generation = 0;
    LPVOID value = nullptr;
};
thread_local std::vector<StoredValue> storedValues;

}  // namespace

DWORD WINAPI TlsAlloc(void)
{
    std::lock_guard guard(slotsLock);
    for (DWORD index = 0; index < kSlotCount; ++index) {
        if (!slots[index].allocated.load()) {
            slots[index].generation.fetch_add(1);
            slots[index].allocated.store(true);
            return index;
        }
    }
    SetLastError(ERROR_NO_MORE_ITEMS);
    return TLS_OUT_OF_INDEXES;
}

BOOL WINAPI TlsFree(DWORD dwTlsIndex)
{
    std::lock_guard guard(slotsLock);
    if (dwTlsIndex >= kSlotCount || !slots[dwTlsIndex].allocated.load()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    slots[dwTlsIndex].allocated.store(false);
    slots[dwTlsIndex].generation.fetch_add(1);
    return TRUE;
}

LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex)
{
    if (dwTlsIndex >= kSlotCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Success clears the last error, so that a stored null can be told apart.
    SetLastError(ERROR_SUCCESS);
    if (dwTlsIndex >= storedValues.size()) return nullptr;
    const StoredValue& stored = storedValues[dwTlsIndex];
    return stored.generation == slots[dwTlsIndex].generation.load() ? stored.value : nullptr;
}

BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue)
{
    if (dwTlsIndex >= kSlotCount || !slots[dwTlsIndex].allocated.load()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwTlsIndex >= storedValues.size()) storedValues.resize(dwTlsIndex + 1);
    storedValues[dwTlsIndex] = {slots[dwTlsIndex].generation.load(), lpTlsValue};
    return TRUE;
}
