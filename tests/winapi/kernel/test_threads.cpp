#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "winapi/kernel/kernel_test_support.h"

namespace {

struct Job {
    HANDLE release;
    DWORD seenThreadId = 0;
    DWORD result;
};

DWORD WINAPI RunJob(LPVOID parameter)
{
    auto* job = static_cast<Job*>(parameter);
    job->seenThreadId = GetCurrentThreadId();
    if (job->release != nullptr) WaitForSingleObject(job->release, INFINITE);
    return job->result;
}

TEST(Threads, JoinedThreadsReportTheirIdsAndExitCodes)
{
    std::vector<Job> jobs(8);
    std::vector<HANDLE> threads;
    std::vector<DWORD> ids(jobs.size());
    for (DWORD index = 0; index < jobs.size(); ++index) {
        jobs[index] = Job{nullptr, 0, 1000 + index};
        threads.push_back(CreateThread(nullptr, 0, RunJob, &jobs[index], 0, &ids[index]));
        ASSERT_NE(threads.back(), nullptr);
    }
    EXPECT_EQ(WaitForMultipleObjects(DWORD(threads.size()), threads.data(), TRUE, INFINITE), WAIT_OBJECT_0);
    for (DWORD index = 0; index < threads.size(); ++index) {
        DWORD exitCode = 0;
        ASSERT_TRUE(GetExitCodeThread(threads[index], &exitCode));
        EXPECT_EQ(exitCode, 1000 + index);
        EXPECT_EQ(jobs[index].seenThreadId, ids[index]);
        EXPECT_NE(ids[index], GetCurrentThreadId());
        EXPECT_EQ(GetThreadId(threads[index]), ids[index]);
        EXPECT_TRUE(CloseHandle(threads[index]));
    }
}

TEST(Threads, RunningThreadIsStillActiveAndSuspendedThreadStartsOnResume)
{
    Job job{CreateEventA(nullptr, TRUE, FALSE, nullptr), 0, 7};
    HANDLE thread = CreateThread(nullptr, 64 * 1024, RunJob, &job, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));
    SetEvent(job.release);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &exitCode));
    EXPECT_EQ(exitCode, 7u);
    CloseHandle(thread);
    CloseHandle(job.release);
    std::atomic<int> runs{0};
    auto routine = [](LPVOID parameter) -> DWORD {
        static_cast<std::atomic<int>*>(parameter)->fetch_add(1);
        return 0;
    };
    HANDLE suspended = CreateThread(nullptr, 0, routine, &runs, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(suspended, nullptr);
    EXPECT_EQ(WaitForSingleObject(suspended, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(runs.load(), 0);
    EXPECT_EQ(ResumeThread(suspended), 1u);
    EXPECT_EQ(WaitForSingleObject(suspended, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(runs.load(), 1);
    CloseHandle(suspended);
}

TEST(Threads, BadArgumentsAndClosedHandlesFail)
{
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    Job job{nullptr, 0, 0};
    HANDLE thread = CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(CloseHandle(thread));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Threads, LastErrorIsKeptPerThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    auto routine = [](LPVOID) -> DWORD {
        const DWORD initial = GetLastError();
        SetLastError(ERROR_FILE_NOT_FOUND);
        return initial;
    };
    EXPECT_EQ(RunOnThread(routine, nullptr), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(Threads, InterlockedOperationsAreAtomicAcrossThreads)
{
    static LONG counter = 0;
    counter = 0;
    auto routine = [](LPVOID) -> DWORD {
        for (int step = 0; step < 10000; ++step) {
            InterlockedIncrement(&counter);
            InterlockedIncrement(&counter);
            InterlockedDecrement(&counter);
        }
        return 0;
    };
    HANDLE threads[4];
    for (HANDLE& thread : threads) thread = CreateThread(nullptr, 0, routine, nullptr, 0, nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE thread : threads) CloseHandle(thread);
    EXPECT_EQ(counter, 40000);
    EXPECT_EQ(InterlockedCompareExchange(&counter, 5, 40000), 40000);
    EXPECT_EQ(InterlockedCompareExchange(&counter, 9, 40000), 5);
    EXPECT_EQ(InterlockedExchange(&counter, 1), 5);
    EXPECT_EQ(counter, 1);
}

}  // namespace
