#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr LONGLONG kTicksPerMillisecond = 10000;  // due times count 100 ns

LARGE_INTEGER MillisecondsFromNow(LONGLONG milliseconds)
{
    LARGE_INTEGER due;
    due.QuadPart = -milliseconds * kTicksPerMillisecond;
    return due;
}

LONGLONG NowInMicroseconds()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000000 / frequency.QuadPart;
}

HANDLE HighResolutionTimer(DWORD flags = 0)
{
    return CreateWaitableTimerExA(nullptr, nullptr, flags | CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
}

}  // namespace

TEST(WaitableTimers, SignalNoEarlierThanTheirDueTimeRelativeOrAbsoluteAndAWaitTakesTheSignal)
{
    HANDLE timer = HighResolutionTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(WaitForSingleObject(timer, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // inactive at first
    const LARGE_INTEGER due = MillisecondsFromNow(20);
    const LONGLONG start = NowInMicroseconds();
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(timer, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
    EXPECT_GE(NowInMicroseconds() - start, 20000);
    // A synchronization timer without a period signals once.
    EXPECT_EQ(WaitForSingleObject(timer, 30), static_cast<DWORD>(WAIT_TIMEOUT));
    // An absolute due time is a file time.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER absolute;
    absolute.QuadPart = static_cast<LONGLONG>(static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime) +
                        20 * kTicksPerMillisecond;
    const LONGLONG absoluteStart = NowInMicroseconds();
    ASSERT_TRUE(SetWaitableTimer(timer, &absolute, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
    EXPECT_GE(NowInMicroseconds() - absoluteStart, 15000);  // the file time was read a moment before the start
    EXPECT_TRUE(CloseHandle(timer));
}

TEST(WaitableTimers, AManualResetTimerStaysSignaledUntilSetAgainAndNamedOnesAreShared)
{
    HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, nullptr);
    ASSERT_NE(timer, nullptr);
    const LARGE_INTEGER past = {};  // a file time long gone: due at once
    ASSERT_TRUE(SetWaitableTimer(timer, &past, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_OBJECT_0);
    const LARGE_INTEGER later = MillisecondsFromNow(10000);
    ASSERT_TRUE(SetWaitableTimer(timer, &later, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(timer, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(timer);
    HANDLE first = CreateWaitableTimerA(nullptr, TRUE, "halvo-test-timer");
    ASSERT_NE(first, nullptr);
    HANDLE second =
        CreateWaitableTimerExA(nullptr, "halvo-test-timer", CREATE_WAITABLE_TIMER_MANUAL_RESET, TIMER_ALL_ACCESS);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(SetWaitableTimer(first, &past, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    EXPECT_EQ(
        CreateWaitableTimerExA(nullptr, "halvo-test-timer-2", CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS),
        nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "halvo-test-timer-event");
    EXPECT_EQ(CreateWaitableTimerA(nullptr, FALSE, "halvo-test-timer-event"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(event);
    CloseHandle(second);
    CloseHandle(first);
}

TEST(WaitableTimers, APeriodicTimerSignalsEveryPeriodAndCancellingStopsIt)
{
    HANDLE timer = HighResolutionTimer();
    const LARGE_INTEGER due = MillisecondsFromNow(5);
    const LONGLONG start = NowInMicroseconds();
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 5, nullptr, nullptr, FALSE));
    for (int period = 0; period < 3; ++period) EXPECT_EQ(WaitForSingleObject(timer, INFINITE), WAIT_OBJECT_0);
    EXPECT_GE(NowInMicroseconds() - start, 15000);
    EXPECT_TRUE(CancelWaitableTimer(timer));
    EXPECT_EQ(WaitForSingleObject(timer, 30), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(timer);
}

TEST(WaitableTimers, SettingTheTimerWakesAThreadAlreadyWaitingOnIt)
{
    HANDLE timer = HighResolutionTimer();
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Waiting {
        HANDLE objects[2];
        DWORD result = 0;
    } waiting{{event, timer}};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            auto* w = static_cast<Waiting*>(parameter);
            w->result = WaitForMultipleObjects(2, w->objects, FALSE, INFINITE);
            return 0;
        },
        &waiting, 0, nullptr);
    Sleep(20);  // the thread is waiting on an inactive timer by now
    const LARGE_INTEGER due = MillisecondsFromNow(5);
    ASSERT_TRUE(SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(waiting.result, WAIT_OBJECT_0 + 1);
    CloseHandle(thread);
    CloseHandle(event);
    CloseHandle(timer);
}

TEST(WaitableTimers, BadArgumentsAreRefusedWithThePlatformsErrors)
{
    EXPECT_EQ(CreateWaitableTimerExA(nullptr, nullptr, 0x4, TIMER_ALL_ACCESS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HANDLE timer = HighResolutionTimer();
    const LARGE_INTEGER due = MillisecondsFromNow(1);
    EXPECT_FALSE(SetWaitableTimer(timer, nullptr, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOACCESS));
    EXPECT_FALSE(SetWaitableTimer(timer, &due, -1, nullptr, nullptr, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    auto routine = [](LPVOID, DWORD, DWORD) {};
    EXPECT_FALSE(SetWaitableTimer(timer, &due, 0, routine, nullptr, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_FALSE(SetWaitableTimer(event, &due, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CancelWaitableTimer(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // A due time beyond any reach never comes.
    LARGE_INTEGER never;
    never.QuadPart = INT64_MIN;
    EXPECT_TRUE(SetWaitableTimer(timer, &never, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(timer, 10), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
    CloseHandle(timer);
}
