// Threads started with CreateThread. Each runs on its own detached POSIX
// thread; its handle refers to a thread object that turns signaled, with the
// start routine's result as exit code, when the routine returns.
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <errno.h>
#include <limits.h>

#include "winapi/kernel/kernel_objects.h"
#include "winapi/kernel/thread_ids.h"

namespace halvo::kernel {
namespace {

// The platform's pseudo-handle for the calling thread.
const HANDLE kCurrentThreadPseudoHandle = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

class ThreadObject : public WaitableObject {
public:
    ThreadObject(DWORD id, LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended)
        : WaitableObject(ObjectKind::Thread), id(id), start(start), parameter(parameter), suspended(suspended)
    {}

    bool IsSignaledFor(DWORD) const override { return finished; }
    bool Acquire(DWORD) override { return false; }

    const DWORD id;
    const LPTHREAD_START_ROUTINE start;
    const LPVOID parameter;
    bool suspended;                         // guarded by SyncLock()
    bool finished = false;                  // guarded by SyncLock()
    DWORD exitCode = STILL_ACTIVE;          // guarded by SyncLock()
    int priority = THREAD_PRIORITY_NORMAL;  // guarded by SyncLock()
};

// Priority of threads not started by CreateThread, as set through the pseudo-handle.
thread_local int ownPriority = THREAD_PRIORITY_NORMAL;
thread_local ThreadObject* ownThreadObject = nullptr;

void* RunThread(void* argument)
{
    // The thread keeps its object alive until it has stored its exit code.
    std::shared_ptr<ThreadObject> self(std::move(*static_cast<std::shared_ptr<ThreadObject>*>(argument)));
    delete static_cast<std::shared_ptr<ThreadObject>*>(argument);
    AdoptThreadId(self->id);
    ownThreadObject = self.get();
    {
        std::unique_lock lock(SyncLock());
        SyncChanged().wait(lock, [&] { return !self->suspended; });
    }
    const DWORD exitCode = self->start(self->parameter);
    {
        std::lock_guard lock(SyncLock());
        self->finished = true;
        self->exitCode = exitCode;
    }
    SyncChanged().notify_all();
    ownThreadObject = nullptr;
    return nullptr;
}

bool IsValidPriority(int priority)
{
    return (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
           priority == THREAD_PRIORITY_TIME_CRITICAL || priority == THREAD_PRIORITY_IDLE;
}

}  // namespace
}  // namespace halvo::kernel

using namespace halvo::kernel;

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                           LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId)
{
    if (lpStartAddress == nullptr || (dwCreationFlags & ~(CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION)) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<ThreadObject>(NewThreadId(), lpStartAddress, lpParameter,
                                                 (dwCreationFlags & CREATE_SUSPENDED) != 0);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (dwStackSize != 0) {
        const SIZE_T pageSize = static_cast<SIZE_T>(sysconf(_SC_PAGESIZE));
        const SIZE_T minimum = static_cast<SIZE_T>(PTHREAD_STACK_MIN);
        SIZE_T stackSize = dwStackSize < minimum ? minimum : dwStackSize;
        stackSize = (stackSize + pageSize - 1) / pageSize * pageSize;
        pthread_attr_setstacksize(&attributes, stackSize);
    }
    HANDLE handle = InsertHandle(object);
    auto* argument = new std::shared_ptr<ThreadObject>(object);
    pthread_t thread;
    const int result = pthread_create(&thread, &attributes, RunThread, argument);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        delete argument;
        RemoveHandle(handle, ObjectKind::Thread);
        SetLastError(result == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (lpThreadId != nullptr) *lpThreadId = object->id;
    return handle;
}

DWORD WINAPI ResumeThread(HANDLE hThread)
{
    std::shared_ptr<ThreadObject> thread = LookupOrSetError<ThreadObject>(hThread, ObjectKind::Thread);
    if (!thread) return static_cast<DWORD>(-1);
    DWORD previousCount;
    {
        std::lock_guard lock(SyncLock());
        previousCount = thread->suspended ? 1 : 0;
        thread->suspended = false;
    }
    SyncChanged().notify_all();
    return previousCount;
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
    std::shared_ptr<ThreadObject> thread = LookupOrSetError<ThreadObject>(hThread, ObjectKind::Thread);
    if (!thread) return FALSE;
    if (lpExitCode == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    std::lock_guard lock(SyncLock());
    *lpExitCode = thread->exitCode;
    return TRUE;
}

DWORD WINAPI GetThreadId(HANDLE Thread)
{
    if (Thread == kCurrentThreadPseudoHandle) return GetCurrentThreadId();
    std::shared_ptr<ThreadObject> thread = LookupOrSetError<ThreadObject>(Thread, ObjectKind::Thread);
    if (!thread) return 0;
    return thread->id;
}

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

HANDLE WINAPI GetCurrentThread(void) { return kCurrentThreadPseudoHandle; }

BOOL WINAPI SwitchToThread(void)
{
    sched_yield();
    return TRUE;
}

// Priorities are kept and reported but do not change this system's
// scheduling, which an unprivileged process cannot raise.
BOOL WINAPI SetThreadPriority(HANDLE hThread, int nPriority)
{
    if (!IsValidPriority(nPriority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hThread == kCurrentThreadPseudoHandle) {
        if (ownThreadObject == nullptr) {
            ownPriority = nPriority;
            return TRUE;
        }
        std::lock_guard lock(SyncLock());
        ownThreadObject->priority = nPriority;
        return TRUE;
    }
    std::shared_ptr<ThreadObject> thread = LookupOrSetError<ThreadObject>(hThread, ObjectKind::Thread);
    if (!thread) return FALSE;
    std::lock_guard lock(SyncLock());
    thread->priority = nPriority;
    return TRUE;
}

int WINAPI GetThreadPriority(HANDLE hThread)
{
    constexpr int kThreadPriorityErrorReturn = 0x7fffffff;
    if (hThread == kCurrentThreadPseudoHandle) {
        if (ownThreadObject == nullptr) return ownPriority;
        std::lock_guard lock(SyncLock());
        return ownThreadObject->priority;
    }
    std::shared_ptr<ThreadObject> thread = LookupOrSetError<ThreadObject>(hThread, ObjectKind::Thread);
    if (!thread) return kThreadPriorityErrorReturn;
    std::lock_guard lock(SyncLock());
    return thread->priority;
}
