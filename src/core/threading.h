#pragma once

// The threading table: registered program threads with ids from 2, named
// mutexes, sleeping, and the wait for program threads at shutdown.

#include <halvo/threading.h>

#include <cstdint>

#include "core/thread_wait_texts.h"
#include "foundation/lock_scope.h"

int32_t HV_Threading_CreateThread(const char* name, HV_ThreadFunction function, void* argument, uint32_t flags);
void HV_Threading_EnterMainLoop();
int32_t HV_Threading_GetCurrentThreadId();
const char* HV_Threading_GetCurrentThreadName();
HV_Mutex* HV_Threading_GetMutex(const char* name);
bool HV_Threading_IsShutdownRequested();
void HV_Threading_LeaveMainLoop();
void HV_Threading_LockMutex(HV_Mutex* mutex);
void HV_Threading_Sleep(uint32_t milliseconds);
void HV_Threading_UnlockMutex(HV_Mutex* mutex);

// Holds a named mutex for a scope.
using MutexScope = LockScope<HV_Threading_LockMutex, HV_Threading_UnlockMutex, HV_Mutex*>;

// The table the engine interface points to.
HV_ThreadingInterface* HVI_GetThreadingInterface();

// Makes the calling thread the main thread (id 1); pre-initialisation.
void HVI_RegisterMainThread();
// Signals the program threads and waits for them: up to 60 sleeps of 200 ms on
// the frame clock (main thread), then logs "Time out: %d threads left
// running!" and the threads alive. Returns the number still running.
int HVI_WaitForProgramThreads();
// The number of program threads still running.
int HVI_GetRunningThreadCount();
// The number of thread records kept: the running threads and those that
// ended since the last thread was created.
int HVI_GetThreadRecordCount();
// Forgets every thread record, mutex and the shutdown signal (tests, shutdown).
void HVI_ResetThreading();
