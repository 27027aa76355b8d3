#pragma once

// The names of the engine locks, created in this order at pre-initialisation.

#include "data/data_manager_lock.h"

constexpr const char* kEngineLockNames[] = {
    "PRINT",               // the log and console lines
    "GET_MUTEX",           // the named-mutex registry
    "CREATE_DIR",          // folder creation
    "GET_PATH",            // path resolution
    "GET_BITMAP",          // the bitmap table
    "GET_SOUND",           // the sound table
    "GET_FONT",            // the font table
    "GET_SHADER",          // the shader table
    "MAIN_LOOP",           // held by the frame; other threads enter it through the threading table
    "RESOURCE_QUEUE",      // the per-frame resource queues
    "SHARED_BITMAP",       // bitmaps shared between threads
    "CORE_IMP",            // the back-end objects of the core
    "CORE_VARIABLE",       // the core's shared variables
    kDataManagerLockName,  // the data manager's database registry: the data manager's own lock
};
static_assert(sizeof(kEngineLockNames) / sizeof(kEngineLockNames[0]) == 14, "thirteen engine locks and DATAMAN");
