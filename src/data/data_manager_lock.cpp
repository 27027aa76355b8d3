#include "data/data_manager_lock.h"

#include <atomic>

#include "foundation/critical_section.h"

namespace {

struct NamedLock {
    CriticalSection section;
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
    lock.section.Enter();
    lock.held = true;
}

void HVI_LeaveDataManagerLock()
{
    NamedLock& lock = DataManagerLock();
    lock.held = false;  // cleared before leaving, as every named lock does
    lock.section.Leave();
}

bool HVI_IsDataManagerLockHeld() { return DataManagerLock().held; }
