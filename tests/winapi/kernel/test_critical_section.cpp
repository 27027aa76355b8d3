#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "winapi/kernel/kernel_test_support.h"

namespace {

static_assert(sizeof(CRITICAL_SECTION) == 40, "the platform's 64-bit record size");
static_assert(offsetof(CRITICAL_SECTION, LockCount) == 8);
static_assert(offsetof(CRITICAL_SECTION, RecursionCount) == 12);
static_assert(offsetof(CRITICAL_SECTION, OwningThread) == 16);
static_assert(offsetof(CRITICAL_SECTION, LockSemaphore) == 24);
static_assert(offsetof(CRITICAL_SECTION, SpinCount) == 32);

struct Shared {
    CRITICAL_SECTION section;
    long long counter = 0;  // guarded by section
};

// 1 when another thread can enter the section now, 0 when it cannot.
DWORD TryOnOtherThread(CRITICAL_SECTION* section)
{
    return RunOnThread(
        [](LPVOID parameter) -> DWORD {
            auto* section = static_cast<CRITICAL_SECTION*>(parameter);
            if (!TryEnterCriticalSection(section)) return 0;
            LeaveCriticalSection(section);
            return 1;
        },
        section);
}

TEST(CriticalSection, OwnerEntersAgainAndMustLeaveAsOftenAndLeavesByOthersAreIgnored)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    EXPECT_EQ(section.RecursionCount, 3);
    EXPECT_EQ(section.OwningThread, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId())));
    LeaveCriticalSection(&section);
    LeaveCriticalSection(&section);
    EXPECT_EQ(TryOnOtherThread(&section), 0u);  // still held once
    LeaveCriticalSection(&section);
    EXPECT_EQ(section.RecursionCount, 0);
    EXPECT_EQ(TryOnOtherThread(&section), 1u);
    DeleteCriticalSection(&section);
    // A leave by another thread is ignored.
    InitializeCriticalSectionAndSpinCount(&section, 4000);
    EnterCriticalSection(&section);
    auto leave = [](LPVOID parameter) -> DWORD {
        LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(parameter));
        return 0;
    };
    RunOnThread(leave, &section);
    EXPECT_EQ(TryOnOtherThread(&section), 0u);
    LeaveCriticalSection(&section);
    DeleteCriticalSection(&section);
}

TEST(CriticalSection, KeepsThreadsOutOfEachOthersWay)
{
    Shared shared;
    InitializeCriticalSection(&shared.section);
    auto work = [](LPVOID parameter) -> DWORD {
        auto* data = static_cast<Shared*>(parameter);
        for (int step = 0; step < 20000; ++step) {
            EnterCriticalSection(&data->section);
            EnterCriticalSection(&data->section);
            const long long seen = data->counter;
            data->counter = seen + 1;
            LeaveCriticalSection(&data->section);
            LeaveCriticalSection(&data->section);
        }
        return 0;
    };
    HANDLE threads[4];
    for (HANDLE& thread : threads) thread = CreateThread(nullptr, 0, work, &shared, 0, nullptr);
    EXPECT_EQ(WaitForMultipleObjects(4, threads, TRUE, INFINITE), WAIT_OBJECT_0);
    for (HANDLE thread : threads) CloseHandle(thread);
    EXPECT_EQ(shared.counter, 80000);
    DeleteCriticalSection(&shared.section);
}

}  // namespace
