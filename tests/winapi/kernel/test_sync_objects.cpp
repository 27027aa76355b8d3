#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "winapi/kernel/kernel_test_support.h"

namespace {

// Whether another thread can take the object now: its wait result.
DWORD TakeOnOtherThread(HANDLE object)
{
    return RunOnThread([](LPVOID object) -> DWORD { return WaitForSingleObject(object, 0); }, object);
}

TEST(Events, AutoResetReleasesOneWaitManualResetStaysSetWaitsTimeOutAndASetWakesTheWaiter)
{
    HANDLE automatic = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE manual = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(automatic, nullptr);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(SetEvent(automatic));
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(automatic, 30), static_cast<DWORD>(WAIT_TIMEOUT));  // the one wait took it
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(automatic);
    CloseHandle(manual);
    // Set from another thread, an event wakes the waiter.
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    auto set = [](LPVOID parameter) -> DWORD {
        Sleep(10);
        SetEvent(static_cast<HANDLE>(parameter));
        return 0;
    };
    HANDLE thread = CreateThread(nullptr, 0, set, event, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(event);
}

TEST(SyncObjects, WrongKindsAndCountsAreRefused)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, "HalvoKernelTestSharedName");
    ExpectRefused({
        {"SetEvent of a mutex", [&] { return !SetEvent(mutex); }, ERROR_INVALID_HANDLE},
        {"a mutex of an event's name", [] { return !CreateMutexA(nullptr, FALSE, "HalvoKernelTestSharedName"); },
         ERROR_INVALID_HANDLE},
        {"a semaphore above its maximum", [] { return !CreateSemaphoreA(nullptr, 3, 2, nullptr); },
         ERROR_INVALID_PARAMETER},
    });
    CloseHandle(event);
    CloseHandle(mutex);
}

TEST(Mutexes, SecondCreateOfANameOpensTheSameMutex)
{
    HANDLE first = CreateMutexA(nullptr, TRUE, "HalvoKernelTestSingleInstance");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateMutexA(nullptr, FALSE, "HalvoKernelTestSingleInstance");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_NE(second, first);
    // The creator owns it: another thread cannot take it through either handle.
    EXPECT_EQ(TakeOnOtherThread(second), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(first));
    EXPECT_EQ(TakeOnOtherThread(second), WAIT_OBJECT_0);
    CloseHandle(first);
    CloseHandle(second);
    // With every handle closed the name is free again.
    HANDLE again = CreateMutexA(nullptr, FALSE, "HalvoKernelTestSingleInstance");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(again);
}

TEST(Mutexes, OwnerTakesItAgainOthersCannotReleaseAndAMutexOfAnEndedThreadIsAbandoned)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    auto release = [](LPVOID parameter) -> DWORD {
        return ReleaseMutex(static_cast<HANDLE>(parameter)) ? 0 : GetLastError();
    };
    EXPECT_EQ(RunOnThread(release, mutex), static_cast<DWORD>(ERROR_NOT_OWNER));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(TakeOnOtherThread(mutex), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    ASSERT_EQ(TakeOnOtherThread(mutex), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, 1000), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(mutex));  // the waiter owns it now
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
}

TEST(Semaphores, CountLimitsWaitsAndReleases)
{
    HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 2, nullptr);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 2, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
    CloseHandle(semaphore);
}

TEST(Waits, WaitForAnyGivesTheIndexOfTheSignaledObject)
{
    HANDLE events[3] = {CreateEventA(nullptr, FALSE, FALSE, nullptr), CreateEventA(nullptr, FALSE, FALSE, nullptr),
                        CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    SetEvent(events[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 10), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(events[0]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(events[1]);
    SetEvent(events[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), static_cast<DWORD>(WAIT_TIMEOUT));  // all were taken
    HANDLE twice[2] = {events[0], events[0]};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    for (HANDLE event : events) CloseHandle(event);
}

}  // namespace
