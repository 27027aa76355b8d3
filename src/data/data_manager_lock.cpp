#include "data/data_manager_lock.h"

#include <windows.h>

#include <atomic>

namespace {

struct NamedLock {
    NamedLock() { InitializeCriticalSection(&section); }
    ~NamedLock() { DeleteCriticalSection(&section); }

    CRITICAL_SECTION section;
    std::atomic<bool> held{false};  // set while a thread is inside section
};

NamedLock& DataManagerLock()
{
    static NamedLock lock;
    return lock;
}

}  // namespace

void HVI_EnterDataManagerLock()
{
    NamedLock& lock = DataManagerLock();
    EnterCriticalSection(&lock.section);
    lock.held = true;
}

void HVI_LeaveDataManagerLock()
{
    NamedLock& lock = DataManagerLock();
    lock.held = false;  // cleared before leaving, as every named lock does
    LeaveCriticalSection(&lock.section);
}

bool HVI_IsDataManagerLockHeld() { return DataManagerLock().held; }
