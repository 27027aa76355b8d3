#include "winapi/kernel/kernel_objects.h"

#include <cstdint>
#include <unordered_map>

namespace halvo::kernel {
namespace {

// Handle values start above the pseudo-handles and step by 4 as on the
// platform; a value is never given out twice, so a stale handle stays invalid.
constexpr uintptr_t kFirstHandleValue = 0x1000;
constexpr uintptr_t kHandleStep = 4;

struct HandleTable {
    std::mutex lock;
    uintptr_t nextValue = kFirstHandleValue;                               // guarded by lock
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;  // guarded by lock
};

// The process-wide records below are never destroyed: detached threads may
// still use them while static destructors run at exit.
HandleTable& Table()
{
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace

std::mutex& SyncLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

std::condition_variable& SyncChanged()
{
    static std::condition_variable* changed = new std::condition_variable;
    return *changed;
}

HANDLE InsertHandle(std::shared_ptr<KernelObject> object)
{
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    const uintptr_t value = table.nextValue;
    table.nextValue += kHandleStep;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle)
{
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    return found == table.objects.end() ? nullptr : found->second;
}

bool RemoveHandle(HANDLE handle, ObjectKind kind)
{
    std::shared_ptr<KernelObject> removed;  // released after the table lock
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (found == table.objects.end() || found->second->Kind() != kind) return false;
    removed = std::move(found->second);
    table.objects.erase(found);
    return true;
}

bool RemoveClosableHandle(HANDLE handle)
{
    std::shared_ptr<KernelObject> removed;  // released after the table lock
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    // Search handles are closed with FindClose only.
    if (found == table.objects.end() || found->second->Kind() == ObjectKind::FileSearch) return false;
    removed = std::move(found->second);
    table.objects.erase(found);
    return true;
}

}  // namespace halvo::kernel

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    if (!halvo::kernel::RemoveClosableHandle(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
