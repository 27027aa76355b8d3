#pragma once

#include "foundation/lock_scope.h"

// The "DATAMAN" lock guards the database registry: a named lock (a critical
// section and a held flag) that exists for the whole process, so the data
// manager can be used before and after the engine. The engine's lock table
// passes the name on to these functions, so there is one lock of that name.
inline constexpr char kDataManagerLockName[] = "DATAMAN";

void HVI_EnterDataManagerLock();
void HVI_LeaveDataManagerLock();
// Whether some thread holds the lock (the held flag).
bool HVI_IsDataManagerLockHeld();

using DataManagerLockScope = LockScope<HVI_EnterDataManagerLock, HVI_LeaveDataManagerLock>;
