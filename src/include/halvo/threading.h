#ifndef HALVO_THREADING_H
#define HALVO_THREADING_H

/* The threading table of the engine interface: named program threads, which
   the engine waits for at shutdown, named mutexes and the main-loop lock.
   Usable from C and C++. */

#include "halvo/core.h"

/* A named mutex; created on first use by name and kept until shutdown. */
typedef struct HV_Mutex HV_Mutex;

/* The function a program thread runs. */
typedef void (*HV_ThreadFunction)(void* argument);

/* The thread id of the main thread; program threads get ids from 2 upward. */
#define HV_MAIN_THREAD_ID 1

/* Members in alphabetical order. */
typedef struct HV_ThreadingInterface {
    /* Starts a registered thread named name running function(argument);
       flags must be 0. Returns its thread id (2 or more), 0 on failure. */
    int32_t (*CreateThread)(const char* name, HV_ThreadFunction function, void* argument, uint32_t flags);
    /* Takes the MAIN_LOOP lock, which the frame holds while it runs. */
    void (*EnterMainLoop)(void);
    /* The id of the calling thread: 1 main, 2 and up for program threads, 0 for others. */
    int32_t (*GetCurrentThreadId)(void);
    /* The name of the calling thread ("MainThread" for the main thread). */
    const char* (*GetCurrentThreadName)(void);
    /* The mutex of that name, created on first use; null for a null name. */
    HV_Mutex* (*GetMutex)(const char* name);
    /* Whether the engine asks program threads to end (shutdown has begun). */
    bool (*IsShutdownRequested)(void);
    /* Releases the MAIN_LOOP lock taken by EnterMainLoop. */
    void (*LeaveMainLoop)(void);
    /* Takes the mutex (recursive for the same thread). */
    void (*LockMutex)(HV_Mutex* mutex);
    /* Sleeps the calling thread. */
    void (*Sleep)(uint32_t milliseconds);
    /* Releases the mutex. */
    void (*UnlockMutex)(HV_Mutex* mutex);
} HV_ThreadingInterface;

HV_STATIC_ASSERT(sizeof(HV_ThreadingInterface) == 10 * sizeof(void*), "ten threading operations");

#endif
