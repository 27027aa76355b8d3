// What the kernel layer's tests share: a thread run to its end, and tables of
// calls that must fail with the platform's last error.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

// Runs the routine on a thread of its own and gives the code it ended with.
inline DWORD RunOnThread(LPTHREAD_START_ROUTINE routine, LPVOID parameter)
{
    HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD exitCode = 99;
    GetExitCodeThread(thread, &exitCode);
    CloseHandle(thread);
    return exitCode;
}

// A call that must fail (fails() says it did) and the last error it must leave.
struct Refusal {
    const char* name;
    std::function<bool()> fails;
    DWORD error;
};

inline void ExpectRefused(std::initializer_list<Refusal> refusals)
{
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        SetLastError(ERROR_SUCCESS);
        EXPECT_TRUE(refusal.fails());
        EXPECT_EQ(GetLastError(), refusal.error);
    }
}
