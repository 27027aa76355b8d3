// Events, mutexes, semaphores and waitable timers, with names, and the waits
// on every waitable object. A name is looked up among the objects of this process
// first and then among the claims of other processes (see name_claims.h).
#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "winapi/kernel/kernel_objects.h"

namespace halvo::kernel {
namespace {

class EventObject : public WaitableObject {
public:
    EventObject(bool manualReset, bool signaled)
        : WaitableObject(ObjectKind::Event), manualReset(manualReset), signaled(signaled)
    {}
    bool IsSignaledFor(DWORD) const override { return signaled; }
    bool Acquire(DWORD) override
    {
        if (!manualReset) signaled = false;
        return false;
    }

    const bool manualReset;
    bool signaled;  // guarded by SyncLock()
};

class MutexObject;
void NoteOwnedByThisThread(const std::shared_ptr<MutexObject>& mutex, DWORD threadId);

// A mutex is owned by one thread at a time; its owner may take it again and
// must release it as often as it took it. A thread that ends while owning it
// abandons it: the next wait takes it and reports WAIT_ABANDONED.
class MutexObject : public WaitableObject, public std::enable_shared_from_this<MutexObject> {
public:
    MutexObject() : WaitableObject(ObjectKind::Mutex) {}
    bool IsSignaledFor(DWORD threadId) const override { return owner == 0 || owner == threadId; }
    bool Acquire(DWORD threadId) override
    {
        const bool wasAbandoned = abandoned;
        abandoned = false;
        if (owner != threadId) {
            owner = threadId;
            NoteOwnedByThisThread(shared_from_this(), threadId);
        }
        ++recursion;
        return wasAbandoned;
    }

    DWORD owner = 0;         // guarded by SyncLock(); 0 when free
    DWORD recursion = 0;     // guarded by SyncLock()
    bool abandoned = false;  // guarded by SyncLock()
};

// The mutexes a thread has taken; when the thread ends, those it still owns
// are abandoned.
class OwnedMutexes {
public:
    ~OwnedMutexes()
    {
        bool abandonedAny = false;
        {
            std::lock_guard lock(SyncLock());
            for (const auto& entry : mutexes_) {
                std::shared_ptr<MutexObject> mutex = entry.lock();
                if (mutex && mutex->owner == threadId_) {
                    mutex->owner = 0;
                    mutex->recursion = 0;
                    mutex->abandoned = true;
                    abandonedAny = true;
                }
            }
        }
        if (abandonedAny) SyncChanged().notify_all();
    }

    // Called with SyncLock() held.
    void Add(const std::shared_ptr<MutexObject>& mutex, DWORD threadId)
    {
        threadId_ = threadId;
        std::erase_if(mutexes_, [&](const std::weak_ptr<MutexObject>& entry) {
            std::shared_ptr<MutexObject> known = entry.lock();
            return !known || known->owner != threadId;
        });
        mutexes_.push_back(mutex);
    }

private:
    DWORD threadId_ = 0;
    std::vector<std::weak_ptr<MutexObject>> mutexes_;
};

thread_local OwnedMutexes ownedMutexes;

void NoteOwnedByThisThread(const std::shared_ptr<MutexObject>& mutex, DWORD threadId)
{
    ownedMutexes.Add(mutex, threadId);
}

class SemaphoreObject : public WaitableObject {
public:
    SemaphoreObject(LONG count, LONG maximum) : WaitableObject(ObjectKind::Semaphore), count(count), maximum(maximum) {}
    bool IsSignaledFor(DWORD) const override { return count > 0; }
    bool Acquire(DWORD) override
    {
        --count;
        return false;
    }

    LONG count;  // guarded by SyncLock()
    const LONG maximum;
};

using Clock = std::chrono::steady_clock;
// The platform's unit of due times: 100 nanoseconds.
using TimerTicks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;

// A waitable timer: once its due time passes it is signaled and, with a
// period, due again a period later. A wait takes the signal of a
// synchronization timer; a manual-reset timer stays signaled until it is set
// again.
class TimerObject : public WaitableObject {
public:
    explicit TimerObject(bool manualReset) : WaitableObject(ObjectKind::Timer), manualReset(manualReset) {}
    bool IsSignaledFor(DWORD) const override
    {
        Fire(Clock::now());
        return signaled;
    }
    bool Acquire(DWORD) override
    {
        if (!manualReset) signaled = false;
        return false;
    }
    Clock::time_point SignalTime() const override { return active ? due : Clock::time_point::max(); }

    // Turns a due time that has passed into the signal; a periodic timer is
    // then due at the first of its periods still ahead.
    void Fire(Clock::time_point now) const
    {
        if (!active || now < due) return;
        signaled = true;
        if (period.count() == 0) {
            active = false;
            return;
        }
        due += period * ((now - due) / period + 1);
    }

    const bool manualReset;
    // Guarded by SyncLock(). Time alone may move them, so a look changes them.
    mutable bool signaled = false;
    mutable bool active = false;
    mutable Clock::time_point due;
    std::chrono::milliseconds period{0};
};

// The point in steady time of a due time: negative values count 100 ns from
// now, others are UTC file times. Far beyond reach, it is never.
Clock::time_point DueTimePoint(LONGLONG dueTime)
{
    const Clock::time_point now = Clock::now();
    int64_t ticksAhead;
    if (dueTime < 0) {
        ticksAhead = dueTime == INT64_MIN ? INT64_MAX : -dueTime;
    } else {
        FILETIME current;
        GetSystemTimeAsFileTime(&current);
        const int64_t currentTicks =
            static_cast<int64_t>(static_cast<ULONGLONG>(current.dwHighDateTime) << 32 | current.dwLowDateTime);
        ticksAhead = dueTime > currentTicks ? dueTime - currentTicks : 0;
    }
    const auto reach = std::chrono::duration_cast<TimerTicks>(Clock::time_point::max() - now);
    if (ticksAhead >= reach.count()) return Clock::time_point::max();
    return now + std::chrono::duration_cast<Clock::duration>(TimerTicks(ticksAhead));
}

// Named objects of the process. An entry lives as long as a handle to its
// object is open.
struct NamedObjects {
    std::mutex lock;
    std::unordered_map<std::string, std::weak_ptr<WaitableObject>> objects;  // guarded by lock
};

NamedObjects& Names()
{
    static NamedObjects* names = new NamedObjects;  // never destroyed, like the handle table
    return *names;
}

// Creates an object, or opens the existing one of that name. Sets
// ERROR_ALREADY_EXISTS when it opened one (or another process holds the
// name) and ERROR_SUCCESS when it created one, and fails with
// ERROR_INVALID_HANDLE when the name belongs to an object of another kind.
// create(existed) makes the object; existed tells that the name is held
// elsewhere, in which case the platform ignores initial ownership.
template <typename Create>
HANDLE CreateOrOpen(LPCSTR name, ObjectKind kind, Create create)
{
    if (name == nullptr || name[0] == '\0') {
        HANDLE handle = InsertHandle(create(false));
        SetLastError(ERROR_SUCCESS);
        return handle;
    }
    NamedObjects& names = Names();
    std::lock_guard guard(names.lock);
    std::weak_ptr<WaitableObject>& entry = names.objects[name];
    if (std::shared_ptr<WaitableObject> existing = entry.lock()) {
        if (existing->Kind() != kind) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        HANDLE handle = InsertHandle(existing);
        SetLastError(ERROR_ALREADY_EXISTS);
        return handle;
    }
    bool heldElsewhere;
    std::unique_ptr<NameClaim> claim = NameClaim::Take(name, &heldElsewhere);
    std::shared_ptr<WaitableObject> created = create(heldElsewhere);
    entry = created;
    created->nameClaim = std::move(claim);
    HANDLE handle = InsertHandle(created);
    SetLastError(heldElsewhere ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

std::shared_ptr<WaitableObject> LookupWaitable(HANDLE handle)
{
    std::shared_ptr<KernelObject> object = LookupHandle(handle);
    if (!object) return nullptr;
    switch (object->Kind()) {
    case ObjectKind::Thread:
    case ObjectKind::Event:
    case ObjectKind::Mutex:
    case ObjectKind::Semaphore:
    case ObjectKind::Timer: return std::static_pointer_cast<WaitableObject>(object);
    case ObjectKind::FileSearch:
    case ObjectKind::File: break;
    }
    return nullptr;
}

// Waits until one (or, with waitAll, every) object is signaled for the
// calling thread and acquires it; returns WAIT_OBJECT_0 + index or WAIT_TIMEOUT.
DWORD WaitForObjects(const std::vector<std::shared_ptr<WaitableObject>>& objects, bool waitAll, DWORD milliseconds)
{
    const DWORD threadId = GetCurrentThreadId();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(SyncLock());
    for (;;) {
        if (waitAll) {
            const bool all = std::all_of(objects.begin(), objects.end(),
                                         [&](const auto& object) { return object->IsSignaledFor(threadId); });
            if (all) {
                DWORD result = WAIT_OBJECT_0;
                for (size_t index = 0; index < objects.size(); ++index) {
                    if (objects[index]->Acquire(threadId) && result == WAIT_OBJECT_0) {
                        result = WAIT_ABANDONED_0 + static_cast<DWORD>(index);
                    }
                }
                lock.unlock();
                SyncChanged().notify_all();
                return result;
            }
        } else {
            for (size_t index = 0; index < objects.size(); ++index) {
                if (objects[index]->IsSignaledFor(threadId)) {
                    const bool abandoned = objects[index]->Acquire(threadId);
                    lock.unlock();
                    SyncChanged().notify_all();
                    return (abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + static_cast<DWORD>(index);
                }
            }
        }
        if (milliseconds == 0) return WAIT_TIMEOUT;
        // Wake for a change, the end of the wait, or an object's own signal time.
        Clock::time_point wake = milliseconds == INFINITE ? Clock::time_point::max() : deadline;
        for (const auto& object : objects) wake = std::min(wake, object->SignalTime());
        if (wake == Clock::time_point::max()) {
            SyncChanged().wait(lock);
        } else if (SyncChanged().wait_until(lock, wake) == std::cv_status::timeout && milliseconds != INFINITE &&
                   Clock::now() >= deadline) {
            // One last look: the state may have changed as the time ran out.
            milliseconds = 0;
        }
    }
}

// Sets one flag of the object the handle names, under the lock; FALSE, with
// the error set, when the handle names no object of the kind.
template <typename Object>
BOOL SetFlagOf(HANDLE handle, ObjectKind kind, bool Object::*flag, bool value)
{
    std::shared_ptr<Object> object = LookupOrSetError<Object>(handle, kind);
    if (!object) return FALSE;
    std::lock_guard lock(SyncLock());
    (*object).*flag = value;
    return TRUE;
}

}  // namespace
}  // namespace halvo::kernel

using namespace halvo::kernel;

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName)
{
    return CreateOrOpen(lpName, ObjectKind::Event, [&](bool) {
        return std::make_shared<EventObject>(bManualReset != FALSE, bInitialState != FALSE);
    });
}

BOOL WINAPI SetEvent(HANDLE hEvent)
{
    if (!SetFlagOf(hEvent, ObjectKind::Event, &EventObject::signaled, true)) return FALSE;
    SyncChanged().notify_all();
    return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent) { return SetFlagOf(hEvent, ObjectKind::Event, &EventObject::signaled, false); }

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName)
{
    const DWORD threadId = GetCurrentThreadId();
    return CreateOrOpen(lpName, ObjectKind::Mutex, [&](bool existed) {
        auto mutex = std::make_shared<MutexObject>();
        if (bInitialOwner && !existed) {
            std::lock_guard lock(SyncLock());
            mutex->Acquire(threadId);
        }
        return mutex;
    });
}

HANDLE WINAPI OpenMutexA(DWORD, BOOL, LPCSTR lpName)
{
    if (lpName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    NamedObjects& names = Names();
    std::lock_guard guard(names.lock);
    auto found = names.objects.find(lpName);
    std::shared_ptr<WaitableObject> existing = found == names.objects.end() ? nullptr : found->second.lock();
    if (!existing) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (existing->Kind() != ObjectKind::Mutex) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return InsertHandle(existing);
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex)
{
    std::shared_ptr<MutexObject> mutex = LookupOrSetError<MutexObject>(hMutex, ObjectKind::Mutex);
    if (!mutex) return FALSE;
    const DWORD threadId = GetCurrentThreadId();
    {
        std::lock_guard lock(SyncLock());
        if (mutex->owner != threadId) {
            SetLastError(ERROR_NOT_OWNER);
            return FALSE;
        }
        if (--mutex->recursion == 0) mutex->owner = 0;
    }
    SyncChanged().notify_all();
    return TRUE;
}

HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount, LPCSTR lpName)
{
    if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateOrOpen(lpName, ObjectKind::Semaphore,
                        [&](bool) { return std::make_shared<SemaphoreObject>(lInitialCount, lMaximumCount); });
}

BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount)
{
    std::shared_ptr<SemaphoreObject> semaphore = LookupOrSetError<SemaphoreObject>(hSemaphore, ObjectKind::Semaphore);
    if (!semaphore) return FALSE;
    if (lReleaseCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    {
        std::lock_guard lock(SyncLock());
        if (static_cast<long long>(semaphore->count) + lReleaseCount > semaphore->maximum) {
            SetLastError(ERROR_TOO_MANY_POSTS);
            return FALSE;
        }
        if (lpPreviousCount != nullptr) *lpPreviousCount = semaphore->count;
        semaphore->count += lReleaseCount;
    }
    SyncChanged().notify_all();
    return TRUE;
}

HANDLE WINAPI CreateWaitableTimerExA(LPSECURITY_ATTRIBUTES, LPCSTR lpTimerName, DWORD dwFlags, DWORD)
{
    const DWORD known = CREATE_WAITABLE_TIMER_MANUAL_RESET | CREATE_WAITABLE_TIMER_HIGH_RESOLUTION;
    // A high-resolution timer cannot have a name.
    if ((dwFlags & ~known) != 0 || ((dwFlags & CREATE_WAITABLE_TIMER_HIGH_RESOLUTION) != 0 && lpTimerName != nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const bool manualReset = (dwFlags & CREATE_WAITABLE_TIMER_MANUAL_RESET) != 0;
    return CreateOrOpen(lpTimerName, ObjectKind::Timer,
                        [&](bool) { return std::make_shared<TimerObject>(manualReset); });
}

HANDLE WINAPI CreateWaitableTimerA(LPSECURITY_ATTRIBUTES lpTimerAttributes, BOOL bManualReset, LPCSTR lpTimerName)
{
    return CreateWaitableTimerExA(lpTimerAttributes, lpTimerName, bManualReset ? CREATE_WAITABLE_TIMER_MANUAL_RESET : 0,
                                  TIMER_ALL_ACCESS);
}

BOOL WINAPI SetWaitableTimer(HANDLE hTimer, const LARGE_INTEGER* lpDueTime, LONG lPeriod,
                             PTIMERAPCROUTINE pfnCompletionRoutine, LPVOID, BOOL)
{
    std::shared_ptr<TimerObject> timer = LookupOrSetError<TimerObject>(hTimer, ObjectKind::Timer);
    if (!timer) return FALSE;
    if (lpDueTime == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    if (lPeriod < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Completion routines run only in alertable waits, which this layer has not.
    if (pfnCompletionRoutine != nullptr) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const Clock::time_point due = DueTimePoint(lpDueTime->QuadPart);
    {
        std::lock_guard lock(SyncLock());
        timer->signaled = false;
        timer->active = true;
        timer->due = due;
        timer->period = std::chrono::milliseconds(lPeriod);
    }
    // Waiters look again at when to wake.
    SyncChanged().notify_all();
    return TRUE;
}

// The signal stays as it is.
BOOL WINAPI CancelWaitableTimer(HANDLE hTimer)
{
    return SetFlagOf(hTimer, ObjectKind::Timer, &TimerObject::active, false);
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    std::shared_ptr<WaitableObject> object = LookupWaitable(hHandle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return WaitForObjects({object}, false, dwMilliseconds);
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || lpHandles == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<WaitableObject>> objects;
    for (DWORD index = 0; index < nCount; ++index) {
        std::shared_ptr<WaitableObject> object = LookupWaitable(lpHandles[index]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        // Waiting for all of a list that names one object twice is refused.
        if (bWaitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    return WaitForObjects(objects, bWaitAll != FALSE, dwMilliseconds);
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (dwMilliseconds == INFINITE) {
        for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
