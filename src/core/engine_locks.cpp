#include "core/engine_locks.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string_view>

#include "core/engine_lock_names.h"
#include "core/logging.h"
#include "data/data_manager_lock.h"

namespace {

// The last name is the data manager's lock, which lives below the core and
// for the whole process: the table passes that name on to it rather than
// creating a second lock of the same name.
constexpr int kLockCount = sizeof(kEngineLockNames) / sizeof(kEngineLockNames[0]) - 1;
static_assert(std::string_view(kEngineLockNames[kLockCount]) == kDataManagerLockName);

bool IsDataManagerLock(const char* name) { return name && std::strcmp(name, kDataManagerLockName) == 0; }

struct EngineLock {
    CRITICAL_SECTION section;
    std::atomic<bool> held{false};  // set while a thread is inside section
};

EngineLock g_locks[kLockCount];
// Written on the main thread at pre-initialisation and shutdown only; read by
// any thread that takes a lock.
std::atomic<bool> g_created{false};

EngineLock* FindLock(const char* operation, const char* name)
{
    if (name) {
        for (int i = 0; i < kLockCount; ++i) {
            if (std::strcmp(kEngineLockNames[i], name) == 0) {
                if (!g_created) {
                    HV_Log(HV_LOG_ERROR, "%s: engine lock '%s' used before the locks were created.", operation, name);
                    return nullptr;
                }
                return &g_locks[i];
            }
        }
    }
    HV_Log(HV_LOG_ERROR, "%s: unknown engine lock '%s'.", operation, name ? name : "(null)");
    return nullptr;
}

}  // namespace

void HVI_CreateEngineLocks()
{
    if (g_created) {
        return;
    }
    for (EngineLock& lock : g_locks) {
        InitializeCriticalSection(&lock.section);
        lock.held = false;
    }
    g_created = true;
}

void HVI_DeleteEngineLocks()
{
    if (!g_created) {
        return;
    }
    g_created = false;
    for (EngineLock& lock : g_locks) {
        DeleteCriticalSection(&lock.section);
        lock.held = false;
    }
}

bool HVI_EnterEngineLock(const char* name)
{
    if (IsDataManagerLock(name)) {
        HVI_EnterDataManagerLock();
        return true;
    }
    EngineLock* lock = FindLock("HVI_EnterEngineLock", name);
    if (!lock) {
        return false;
    }
    EnterCriticalSection(&lock->section);
    lock->held = true;
    return true;
}

bool HVI_LeaveEngineLock(const char* name)
{
    if (IsDataManagerLock(name)) {
        HVI_LeaveDataManagerLock();
        return true;
    }
    EngineLock* lock = FindLock("HVI_LeaveEngineLock", name);
    if (!lock) {
        return false;
    }
    lock->held = false;
    LeaveCriticalSection(&lock->section);
    return true;
}

bool HVI_IsEngineLockHeld(const char* name)
{
    if (IsDataManagerLock(name)) {
        return HVI_IsDataManagerLockHeld();
    }
    EngineLock* lock = FindLock("HVI_IsEngineLockHeld", name);
    return lock && lock->held;
}
