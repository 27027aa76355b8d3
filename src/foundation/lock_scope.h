#pragma once

#include <tuple>

// Holds a lock for a scope: calls Enter with the lock's arguments when made
// and Leave with the same arguments when the scope ends. Every kind of lock
// of the engine names its scope through this one template, for example
//   using DataManagerLockScope = LockScope<HVI_EnterDataManagerLock, HVI_LeaveDataManagerLock>;
//   using HVI_EngineLockScope = LockScope<HVI_EnterEngineLock, HVI_LeaveEngineLock, const char*>;
// Enter and Leave may also be member functions of the one argument.
template <auto Enter, auto Leave, typename... Lock>
class LockScope {
public:
    explicit LockScope(Lock... lock) : m_lock(lock...) { std::apply(Enter, m_lock); }
    ~LockScope() { std::apply(Leave, m_lock); }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    std::tuple<Lock...> m_lock;
};
