#pragma once

// The "DATAMAN" lock guards the database registry. It is a named lock (a
// name, a critical section and a held flag) of its own until the engine core
// offers its named engine locks; then only data_manager_lock.cpp changes.
void HVI_EnterDataManagerLock();
void HVI_LeaveDataManagerLock();

class DataManagerLockScope {
public:
    DataManagerLockScope() { HVI_EnterDataManagerLock(); }
    ~DataManagerLockScope() { HVI_LeaveDataManagerLock(); }
    DataManagerLockScope(const DataManagerLockScope&) = delete;
    DataManagerLockScope& operator=(const DataManagerLockScope&) = delete;
};
