// Kernel objects behind HANDLE values: a process-wide handle table and the
// one lock and condition under which every waitable object changes state.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "winapi/kernel/name_claims.h"

namespace halvo::kernel {

enum class ObjectKind { Thread, Event, Mutex, Semaphore, Timer, FileSearch, File };

class KernelObject {
public:
    explicit KernelObject(ObjectKind kind) : kind_(kind) {}
    virtual ~KernelObject() = default;
    ObjectKind Kind() const { return kind_; }

private:
    const ObjectKind kind_;
};

// An object that WaitForSingleObject and WaitForMultipleObjects accept. Both
// operations are called with SyncLock() held.
class WaitableObject : public KernelObject {
public:
    using KernelObject::KernelObject;
    virtual bool IsSignaledFor(DWORD threadId) const = 0;
    // Takes what a satisfied wait takes: an auto-reset event's signal, a
    // semaphore's count, a mutex's ownership. True when the object was a
    // mutex abandoned by a thread that ended while owning it.
    virtual bool Acquire(DWORD threadId) = 0;
    // When the object becomes signaled by itself, with no thread acting on it
    // (a waitable timer's due time); never for the other objects.
    virtual std::chrono::steady_clock::time_point SignalTime() const
    {
        return std::chrono::steady_clock::time_point::max();
    }

    // A named object's system-wide claim on its name; held while the object lives.
    std::unique_ptr<NameClaim> nameClaim;
};

// Guards the state of every waitable object; SyncChanged() is notified
// whenever such state changes. Lock order: the table of names
// (sync_objects.cpp), then SyncLock(), then the handle table.
std::mutex& SyncLock();
std::condition_variable& SyncChanged();

// Adds the object to the handle table and returns its new handle.
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);
// The object behind a handle, or null when the handle is not open.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
// The object behind a handle when it is of that kind; else null, with
// ERROR_INVALID_HANDLE as the last error.
template <typename Object>
std::shared_ptr<Object> LookupOrSetError(HANDLE handle, ObjectKind kind)
{
    std::shared_ptr<KernelObject> object = LookupHandle(handle);
    if (!object || object->Kind() != kind) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::static_pointer_cast<Object>(object);
}
// Removes a handle of the given kind; false when no such handle is open.
bool RemoveHandle(HANDLE handle, ObjectKind kind);
// Removes a handle of any kind that CloseHandle accepts.
bool RemoveClosableHandle(HANDLE handle);

}  // namespace halvo::kernel
