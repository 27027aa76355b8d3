#pragma once

#include "foundation/lock_scope.h"

// The engine's named locks ("PRINT", "GET_SOUND", "MAIN_LOOP", ... and
// "DATAMAN"): a name, a critical section and a held flag each. They exist
// from pre-initialisation until the end of shutdown; "DATAMAN" is the data
// manager's own lock, which exists for the whole process.

// Creates every lock; done first in pre-initialisation.
void HVI_CreateEngineLocks();
// Deletes every lock; done last in shutdown.
void HVI_DeleteEngineLocks();

// Takes the lock of that name: enters its critical section, then sets the
// held flag. An unknown name is reported and ignored; false then.
bool HVI_EnterEngineLock(const char* name);
// Leaves the lock of that name: clears the held flag first, then leaves.
bool HVI_LeaveEngineLock(const char* name);
// Whether some thread holds the lock (the held flag).
bool HVI_IsEngineLockHeld(const char* name);

// Holds an engine lock for a scope.
using HVI_EngineLockScope = LockScope<HVI_EnterEngineLock, HVI_LeaveEngineLock, const char*>;
