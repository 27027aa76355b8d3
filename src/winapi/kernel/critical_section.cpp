// Critical sections: recursive locks of one process. The record keeps the
// platform's fields; LockSemaphore holds a recursive POSIX mutex created by
// InitializeCriticalSection, and OwningThread and RecursionCount are kept up
// to date by the owner while it holds the lock.
#include <pthread.h>

#include <cstdlib>

#include <windows.h>

namespace {

pthread_mutex_t* LockOf(LPCRITICAL_SECTION section) { return static_cast<pthread_mutex_t*>(section->LockSemaphore); }

void NoteEntered(LPCRITICAL_SECTION section)
{
    section->OwningThread = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
    ++section->RecursionCount;
    section->LockCount = 0;
}

}  // namespace

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    InitializeCriticalSectionAndSpinCount(lpCriticalSection, 0);
}

BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount)
{
    auto* lock = static_cast<pthread_mutex_t*>(std::malloc(sizeof(pthread_mutex_t)));
    if (lock == nullptr) {
        // The record cannot be used without its lock object; there is no way on.
        std::abort();
    }
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(lock, &attributes);
    pthread_mutexattr_destroy(&attributes);
    lpCriticalSection->DebugInfo = nullptr;
    lpCriticalSection->LockCount = -1;
    lpCriticalSection->RecursionCount = 0;
    lpCriticalSection->OwningThread = nullptr;
    lpCriticalSection->LockSemaphore = lock;
    lpCriticalSection->SpinCount = dwSpinCount;
    return TRUE;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    pthread_mutex_lock(LockOf(lpCriticalSection));
    NoteEntered(lpCriticalSection);
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    if (pthread_mutex_trylock(LockOf(lpCriticalSection)) != 0) return FALSE;
    NoteEntered(lpCriticalSection);
    return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    // Only the owner may leave; anyone else's call is ignored.
    const HANDLE self = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
    pthread_mutex_t* lock = LockOf(lpCriticalSection);
    if (pthread_mutex_trylock(lock) != 0) return;  // held by another thread
    const bool owner = lpCriticalSection->OwningThread == self && lpCriticalSection->RecursionCount > 0;
    pthread_mutex_unlock(lock);
    if (!owner) return;
    if (--lpCriticalSection->RecursionCount == 0) {
        lpCriticalSection->OwningThread = nullptr;
        lpCriticalSection->LockCount = -1;
    }
    pthread_mutex_unlock(lock);
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection)
{
    pthread_mutex_t* lock = LockOf(lpCriticalSection);
    if (lock != nullptr) {
        pthread_mutex_destroy(lock);
        std::free(lock);
    }
    lpCriticalSection->LockSemaphore = nullptr;
    lpCriticalSection->OwningThread = nullptr;
    lpCriticalSection->RecursionCount = 0;
    lpCriticalSection->LockCount = -1;
}
