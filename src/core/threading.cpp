#include "core/threading.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "core/engine_locks.h"
#include "core/engine_run_state.h"
#include "core/logging.h"
#include "core/thread_wait_texts.h"
#include "foundation/array.h"
#include "foundation/critical_section.h"
#include "foundation/string.h"

// A named program mutex; it owns its critical section for its whole life.
struct HV_Mutex {
    explicit HV_Mutex(const char* mutexName) : name(mutexName) {}

    String name;
    CriticalSection section;
};

namespace {

constexpr const char* kMainThreadName = "MainThread";

// The record each registered thread keeps in thread-local storage.
struct ThreadRecord {
    int32_t id = 0;
    String name;
    HANDLE handle = nullptr;
    HV_ThreadFunction function = nullptr;
    void* argument = nullptr;
    std::atomic<bool> running{false};  // cleared by the thread as its last use of the record
};

struct ThreadRegistry {
    CriticalSection lock;
    DWORD tlsIndex = TlsAlloc();
    ThreadRecord mainThread;                       // written at pre-initialisation
    Array<std::unique_ptr<ThreadRecord>> threads;  // guarded by lock
    int32_t nextId = HV_MAIN_THREAD_ID + 1;        // guarded by lock
    Array<std::unique_ptr<HV_Mutex>> mutexes;      // guarded by lock
    std::atomic<bool> shutdownRequested{false};
};

ThreadRegistry& Registry()
{
    static ThreadRegistry registry;
    return registry;
}

ThreadRecord* CurrentRecord() { return static_cast<ThreadRecord*>(TlsGetValue(Registry().tlsIndex)); }

DWORD WINAPI RunProgramThread(LPVOID parameter)
{
    ThreadRecord* record = static_cast<ThreadRecord*>(parameter);
    TlsSetValue(Registry().tlsIndex, record);
    record->function(record->argument);
    record->running = false;
    return 0;
}

// Drops the records of threads that have ended, so that a program that starts
// a thread per task does not grow the table. Caller holds registry.lock.
void DropEndedThreads(ThreadRegistry& registry)
{
    for (int i = registry.threads.GetCount() - 1; i >= 0; --i) {
        if (!registry.threads[i]->running) {
            CloseHandle(registry.threads[i]->handle);
            registry.threads.DeleteAt(i);
        }
    }
}

}  // namespace

void HVI_RegisterMainThread()
{
    ThreadRegistry& registry = Registry();
    registry.mainThread.id = HV_MAIN_THREAD_ID;
    registry.mainThread.name.Assign(kMainThreadName);
    TlsSetValue(registry.tlsIndex, &registry.mainThread);
}

int32_t HV_Threading_CreateThread(const char* name, HV_ThreadFunction function, void* argument, uint32_t flags)
{
    if (!name || !function) {
        HV_Log(HV_LOG_ERROR, "HV_Threading_CreateThread: %s is null.", !name ? "name" : "function");
        return 0;
    }
    if (flags != 0) {
        HV_Log(HV_LOG_WARNING, "HV_Threading_CreateThread: flags 0x%x are not used.", flags);
    }
    ThreadRegistry& registry = Registry();
    CriticalSectionScope scope(registry.lock);
    DropEndedThreads(registry);
    std::unique_ptr<ThreadRecord> record(new ThreadRecord);
    record->id = registry.nextId;
    record->name.Assign(name);
    record->function = function;
    record->argument = argument;
    record->running = true;
    record->handle = CreateThread(nullptr, 0, RunProgramThread, record.get(), 0, nullptr);
    if (!record->handle) {
        HV_Log(HV_LOG_ERROR, "HV_Threading_CreateThread: cannot start thread '%s' (error %u).", name,
               static_cast<unsigned>(GetLastError()));
        return 0;
    }
    ++registry.nextId;
    const int32_t id = record->id;
    registry.threads.Add(std::move(record));
    return id;
}

void HV_Threading_EnterMainLoop() { HVI_EnterEngineLock("MAIN_LOOP"); }

void HV_Threading_LeaveMainLoop() { HVI_LeaveEngineLock("MAIN_LOOP"); }

int32_t HV_Threading_GetCurrentThreadId()
{
    ThreadRecord* record = CurrentRecord();
    return record ? record->id : 0;
}

const char* HV_Threading_GetCurrentThreadName()
{
    ThreadRecord* record = CurrentRecord();
    return record ? record->name.GetText() : "";
}

HV_Mutex* HV_Threading_GetMutex(const char* name)
{
    if (!name) {
        HV_Log(HV_LOG_ERROR, "HV_Threading_GetMutex: name is null.");
        return nullptr;
    }
    ThreadRegistry& registry = Registry();
    CriticalSectionScope scope(registry.lock);
    for (int i = 0; i < registry.mutexes.GetCount(); ++i) {
        if (registry.mutexes[i]->name == name) {
            return registry.mutexes[i].get();
        }
    }
    std::unique_ptr<HV_Mutex> mutex(new HV_Mutex(name));
    HV_Mutex* result = mutex.get();
    registry.mutexes.Add(std::move(mutex));
    return result;
}

bool HV_Threading_IsShutdownRequested() { return Registry().shutdownRequested; }

void HV_Threading_LockMutex(HV_Mutex* mutex)
{
    if (!mutex) {
        HV_Log(HV_LOG_ERROR, "HV_Threading_LockMutex: mutex is null.");
        return;
    }
    mutex->section.Enter();
}

void HV_Threading_UnlockMutex(HV_Mutex* mutex)
{
    if (!mutex) {
        HV_Log(HV_LOG_ERROR, "HV_Threading_UnlockMutex: mutex is null.");
        return;
    }
    mutex->section.Leave();
}

void HV_Threading_Sleep(uint32_t milliseconds) { Sleep(milliseconds); }

int HVI_GetRunningThreadCount()
{
    ThreadRegistry& registry = Registry();
    CriticalSectionScope scope(registry.lock);
    int running = 0;
    for (int i = 0; i < registry.threads.GetCount(); ++i) {
        running += registry.threads[i]->running ? 1 : 0;
    }
    return running;
}

int HVI_GetThreadRecordCount()
{
    ThreadRegistry& registry = Registry();
    CriticalSectionScope scope(registry.lock);
    return registry.threads.GetCount();
}

int HVI_WaitForProgramThreads()
{
    ThreadRegistry& registry = Registry();
    registry.shutdownRequested = true;
    int running = HVI_GetRunningThreadCount();
    for (int round = 0; round < kThreadWaitRounds && running > 0; ++round) {
        HVI_FrameClockSleep(kThreadWaitRoundMs);
        running = HVI_GetRunningThreadCount();
    }
    if (running > 0) {
        HV_Log(HV_LOG_ERROR, kThreadWaitTimeoutText, running);
        CriticalSectionScope scope(registry.lock);
        for (int i = 0; i < registry.threads.GetCount(); ++i) {
            const ThreadRecord& record = *registry.threads[i];
            if (record.running) {
                HV_Log(HV_LOG_ERROR, kThreadStillRunningText, record.id, record.name.GetText());
            }
        }
    }
    return running;
}

void HVI_ResetThreading()
{
    ThreadRegistry& registry = Registry();
    CriticalSectionScope scope(registry.lock);
    for (int i = registry.threads.GetCount() - 1; i >= 0; --i) {
        ThreadRecord& record = *registry.threads[i];
        if (record.running) {
            HV_Log(HV_LOG_ERROR, "HVI_ResetThreading: thread %d '%s' is still running; its record is kept.", record.id,
                   record.name.GetText());
            continue;
        }
        WaitForSingleObject(record.handle, INFINITE);
        CloseHandle(record.handle);
        registry.threads.DeleteAt(i);
    }
    registry.mutexes.Clear();
    registry.nextId = HV_MAIN_THREAD_ID + 1;
    registry.shutdownRequested = false;
}

HV_ThreadingInterface* HVI_GetThreadingInterface()
{
    static HV_ThreadingInterface table = {
        HV_Threading_CreateThread,         HV_Threading_EnterMainLoop, HV_Threading_GetCurrentThreadId,
        HV_Threading_GetCurrentThreadName, HV_Threading_GetMutex,      HV_Threading_IsShutdownRequested,
        HV_Threading_LeaveMainLoop,        HV_Threading_LockMutex,     HV_Threading_Sleep,
        HV_Threading_UnlockMutex,
    };
    return &table;
}
