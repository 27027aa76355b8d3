#include <windows.h>

#include <gtest/gtest.h>

#include "winapi/kernel/kernel_test_support.h"

namespace {

int valueA = 1;
int valueB = 2;

struct Probe {
    DWORD slot;
    LPVOID before;
    LPVOID after;
};

DWORD WINAPI UseSlot(LPVOID parameter)
{
    auto* probe = static_cast<Probe*>(parameter);
    probe->before = TlsGetValue(probe->slot);
    TlsSetValue(probe->slot, &valueB);
    probe->after = TlsGetValue(probe->slot);
    return 0;
}

TEST(ThreadLocalStorage, EachThreadSeesItsOwnValueAndAFreedSlotReadsAsNullWhenGivenAgain)
{
    const DWORD slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    ASSERT_TRUE(TlsSetValue(slot, &valueA));
    Probe probe{slot, &valueA, nullptr};
    RunOnThread(UseSlot, &probe);
    EXPECT_EQ(probe.before, nullptr);
    EXPECT_EQ(probe.after, &valueB);
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(TlsGetValue(slot), &valueA);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));  // a successful get clears the last error
    ASSERT_TRUE(TlsFree(slot));
    const DWORD outOfRange = 5000;
    ExpectRefused({
        {"TlsFree of a freed slot", [&] { return !TlsFree(slot); }, ERROR_INVALID_PARAMETER},
        {"TlsSetValue of a freed slot", [&] { return !TlsSetValue(slot, &valueB); }, ERROR_INVALID_PARAMETER},
        {"TlsGetValue out of range", [&] { return TlsGetValue(outOfRange) == nullptr; }, ERROR_INVALID_PARAMETER},
    });
    const DWORD again = TlsAlloc();
    ASSERT_EQ(again, slot);  // the lowest free slot is given out
    EXPECT_EQ(TlsGetValue(again), nullptr);
    TlsFree(again);
}

}  // namespace
