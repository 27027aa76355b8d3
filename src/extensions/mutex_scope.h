#pragma once

#include "core/threading.h"

// Holds a named engine mutex for a scope.
class MutexScope {
public:
    explicit MutexScope(HV_Mutex* mutex) : m_mutex(mutex) { HV_Threading_LockMutex(m_mutex); }
    ~MutexScope() { HV_Threading_UnlockMutex(m_mutex); }
    MutexScope(const MutexScope&) = delete;
    MutexScope& operator=(const MutexScope&) = delete;

private:
    HV_Mutex* m_mutex;
};
