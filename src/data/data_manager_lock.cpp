#include "data/data_manager_lock.h"

#include <windows.h>

namespace {

struct NamedLock {
    NamedLock() { InitializeCriticalSection(&section); }
    ~NamedLock() { DeleteCriticalSection(&section); }

    const char* const name = "DATAMAN";
    CRITICAL_SECTION section;
    bool held = false;  // guarded by section
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
