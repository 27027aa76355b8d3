#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

DWORD WaitOnOtherThread(HANDLE object, DWORD milliseconds)
{
    struct Request {
        HANDLE object;
        DWORD milliseconds;
    } request{object, milliseconds};
    auto wait = [](LPVOID parameter) -> DWORD {
        auto* r = static_cast<Request*>(parameter);
        return WaitForSingleObject(r->object, r->milliseconds);
    };
    HANDLE thread = CreateThread(nullptr, 0, wait, &request, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD result = 0;
    GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    return result;
}

TEST(Events, AutoResetEventReleasesOneWait)
{
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(Events, ManualResetEventStaysSetUntilReset)
{
    HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

TEST(Events, WaitTimesOutAfterItsTime)
{
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(event, 30), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    CloseHandle(event);
}

TEST(Events, SetFromAnotherThreadWakesTheWaiter)
{
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

TEST(Events, WrongHandleKindFails)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_FALSE(SetEvent(mutex));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
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
    EXPECT_EQ(WaitOnOtherThread(second, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(first));
    EXPECT_EQ(WaitOnOtherThread(second, 0), WAIT_OBJECT_0);
    CloseHandle(first);
    CloseHandle(second);
    // With every handle closed the name is free again.
    HANDLE again = CreateMutexA(nullptr, FALSE, "HalvoKernelTestSingleInstance");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(again);
}

TEST(Mutexes, OwnerTakesItAgainAndOthersCannotRelease)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    auto release = [](LPVOID parameter) -> DWORD {
        return ReleaseMutex(static_cast<HANDLE>(parameter)) ? 0 : GetLastError();
    };
    HANDLE thread = CreateThread(nullptr, 0, release, mutex, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD error = 0;
    GetExitCodeThread(thread, &error);
    CloseHandle(thread);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_OWNER));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitOnOtherThread(mutex, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    CloseHandle(mutex);
}

TEST(Mutexes, MutexOfAnEndedThreadIsAbandoned)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    auto takeAndEnd = [](LPVOID parameter) -> DWORD { return WaitForSingleObject(static_cast<HANDLE>(parameter), 0); };
    HANDLE thread = CreateThread(nullptr, 0, takeAndEnd, mutex, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD taken = 99;
    GetExitCodeThread(thread, &taken);
    CloseHandle(thread);
    ASSERT_EQ(taken, WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, 1000), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(mutex));  // the waiter owns it now
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    CloseHandle(mutex);
}

TEST(Mutexes, NameOfAnotherKindIsRefused)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, "HalvoKernelTestSharedName");
    EXPECT_EQ(CreateMutexA(nullptr, FALSE, "HalvoKernelTestSharedName"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(event);
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
    EXPECT_EQ(CreateSemaphoreA(nullptr, 3, 2, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
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
