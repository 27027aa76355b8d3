#include <windows.h>

#include <gtest/gtest.h>

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

TEST(ThreadLocalStorage, EachThreadSeesItsOwnValue)
{
    const DWORD slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    ASSERT_TRUE(TlsSetValue(slot, &valueA));
    Probe probe{slot, &valueA, nullptr};
    HANDLE thread = CreateThread(nullptr, 0, UseSlot, &probe, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(probe.before, nullptr);
    EXPECT_EQ(probe.after, &valueB);
    EXPECT_EQ(TlsGetValue(slot), &valueA);
    EXPECT_TRUE(TlsFree(slot));
}

TEST(ThreadLocalStorage, SuccessfulGetClearsTheLastError)
{
    const DWORD slot = TlsAlloc();
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(TlsGetValue(slot), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    TlsFree(slot);
}

TEST(ThreadLocalStorage, FreedSlotReadsAsNullWhenReallocated)
{
    const DWORD slot = TlsAlloc();
    TlsSetValue(slot, &valueA);
    ASSERT_TRUE(TlsFree(slot));
    EXPECT_FALSE(TlsFree(slot));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(TlsSetValue(slot, &valueB));
    const DWORD again = TlsAlloc();
    ASSERT_EQ(again, slot);  // the lowest free slot is given out
    EXPECT_EQ(TlsGetValue(again), nullptr);
    TlsFree(again);
}

TEST(ThreadLocalStorage, IndexOutOfRangeIsAnInvalidParameter)
{
    EXPECT_EQ(TlsGetValue(5000), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
