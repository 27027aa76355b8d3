#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/engine_lifecycle.h"
#include "core/threading.h"
#include "engine_test_support.h"

namespace {

struct Seen {
    std::atomic<int32_t> id{-1};
    std::string name;  // written by the thread before it ends
};

void RecordSelf(void* argument)
{
    Seen* seen = static_cast<Seen*>(argument);
    seen->name = HV_Threading_GetCurrentThreadName();
    seen->id = HV_Threading_GetCurrentThreadId();
}

std::atomic<bool> g_release{false};

void WaitForRelease(void*)
{
    while (!g_release && !HV_Threading_IsShutdownRequested()) {
        HV_Threading_Sleep(1);
    }
}

void NeverEnding(void*)
{
    while (!g_release) {
        HV_Threading_Sleep(1);
    }
}

// A frame clock for the shutdown wait: it records every sleep the wait asks
// for and, instead of sleeping, waits in real time until at most
// g_settleCount threads run (or 30 s pass), so no result depends on how
// fast the machine schedules threads.
std::vector<uint32_t> g_waitSleeps;
int g_settleCount = 0;
int g_releaseAfterSleeps = -1;

uint32_t WaitClockNow(void*) { return 0; }

void WaitClockSleep(void*, uint32_t milliseconds)
{
    g_waitSleeps.push_back(milliseconds);
    if (static_cast<int>(g_waitSleeps.size()) == g_releaseAfterSleeps) {
        g_release = true;
        g_settleCount = 0;
    }
    for (int i = 0; i < 30000 && HVI_GetRunningThreadCount() > g_settleCount; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void InstallWaitClock(int settleCount, int releaseAfterSleeps = -1)
{
    g_waitSleeps.clear();
    g_settleCount = settleCount;
    g_releaseAfterSleeps = releaseAfterSleeps;
    HVI_FrameClock clock = {WaitClockNow, WaitClockSleep, nullptr};
    HVI_SetFrameClock(&clock);
}

}  // namespace

class Threading : public testing::Test {
protected:
    void SetUp() override { g_release = false; }
    void TearDown() override
    {
        g_release = true;
        InstallWaitClock(0);
        HVI_WaitForProgramThreads();
        HVI_SetFrameClock(nullptr);
    }
};

TEST_F(Threading, MainThreadIsOneProgramThreadsCountFromTwoAndOtherThreadsAreZero)
{
    int32_t other = -1;
    std::thread([&] { other = HV_Threading_GetCurrentThreadId(); }).join();
    EXPECT_EQ(0, other);
    EXPECT_EQ(1, HV_Threading_GetCurrentThreadId());
    EXPECT_STREQ("MainThread", HV_Threading_GetCurrentThreadName());
    Seen first;
    Seen second;
    EXPECT_EQ(2, HV_Threading_CreateThread("First", RecordSelf, &first, 0));
    EXPECT_EQ(3, HV_Threading_CreateThread("Second", RecordSelf, &second, 0));
    InstallWaitClock(0);
    EXPECT_EQ(0, HVI_WaitForProgramThreads());
    EXPECT_EQ(2, first.id.load());
    EXPECT_EQ("First", first.name);
    EXPECT_EQ(3, second.id.load());
    EXPECT_EQ("Second", second.name);
}

TEST_F(Threading, RecordsOfEndedThreadsAreDroppedWhenTheNextThreadStarts)
{
    for (int i = 0; i < 5; ++i) {
        Seen seen;
        ASSERT_EQ(2 + i, HV_Threading_CreateThread("Short", RecordSelf, &seen, 0));
        while (HVI_GetRunningThreadCount() > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_EQ(1, HVI_GetThreadRecordCount());
    }
    ASSERT_NE(0, HV_Threading_CreateThread("Long", WaitForRelease, nullptr, 0));
    ASSERT_NE(0, HV_Threading_CreateThread("Another", WaitForRelease, nullptr, 0));
    EXPECT_EQ(2, HVI_GetThreadRecordCount());  // running threads keep their records
}

TEST_F(Threading, MissingNameOrFunctionIsRefusedAndWithoutRunningThreadsTheWaitDoesNotSleep)
{
    EXPECT_EQ(0, HV_Threading_CreateThread(nullptr, RecordSelf, nullptr, 0));
    EXPECT_EQ(0, HV_Threading_CreateThread("x", nullptr, nullptr, 0));
    EXPECT_EQ((std::vector<std::string>{"[ERROR] HV_Threading_CreateThread: name is null.",
                                        "[ERROR] HV_Threading_CreateThread: function is null."}),
              LogCapture::AllWritten());
    InstallWaitClock(0);
    EXPECT_EQ(0, HVI_WaitForProgramThreads());
    EXPECT_TRUE(g_waitSleeps.empty());
    EXPECT_TRUE(HV_Threading_IsShutdownRequested());
}

TEST_F(Threading, ShutdownSignalsThreadsAndWaitsForThem)
{
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(0, HV_Threading_CreateThread("Waiter", WaitForRelease, nullptr, 0));
    }
    EXPECT_EQ(4, HVI_GetRunningThreadCount());
    EXPECT_FALSE(HV_Threading_IsShutdownRequested());
    InstallWaitClock(0);
    EXPECT_EQ(0, HVI_WaitForProgramThreads());
    EXPECT_TRUE(HV_Threading_IsShutdownRequested());
    EXPECT_EQ(0, HVI_GetRunningThreadCount());
    // One round, or none when every thread saw the signal before the first count.
    EXPECT_LE(g_waitSleeps.size(), 1u);
    EXPECT_TRUE(LogCapture::AllWritten().empty());
}

TEST_F(Threading, WaitEndsWithTheRoundInWhichTheLastThreadEnded)
{
    ASSERT_NE(0, HV_Threading_CreateThread("Slow", NeverEnding, nullptr, 0));
    InstallWaitClock(1, 3);  // the thread is let go during the third 200 ms round
    EXPECT_EQ(0, HVI_WaitForProgramThreads());
    EXPECT_EQ((std::vector<uint32_t>{200, 200, 200}), g_waitSleeps);
    EXPECT_TRUE(LogCapture::AllWritten().empty());
}

TEST_F(Threading, ThreadsThatIgnoreTheSignalAreReportedAfterSixtyRoundsOf200Ms)
{
    ASSERT_EQ(2, HV_Threading_CreateThread("Stubborn", NeverEnding, nullptr, 0));
    ASSERT_EQ(3, HV_Threading_CreateThread("Polite", WaitForRelease, nullptr, 0));
    InstallWaitClock(1);  // each round lasts until only the stubborn thread is left
    EXPECT_EQ(1, HVI_WaitForProgramThreads());
    EXPECT_EQ(std::vector<uint32_t>(60, 200), g_waitSleeps);
    EXPECT_EQ((std::vector<std::string>{"[ERROR] Time out: 1 threads left running!",
                                        "[ERROR] Thread 2 'Stubborn' is still running."}),
              LogCapture::AllWritten());
}

TEST_F(Threading, MutexesAreFoundByNameAndExcludeEachOther)
{
    HV_Mutex* mutex = HV_Threading_GetMutex("ShaderTranslator");
    ASSERT_NE(nullptr, mutex);
    EXPECT_EQ(mutex, HV_Threading_GetMutex("ShaderTranslator"));
    EXPECT_NE(mutex, HV_Threading_GetMutex("PAKSystemOpenPAK"));
    EXPECT_EQ(nullptr, HV_Threading_GetMutex(nullptr));

    static int counter;
    counter = 0;
    auto add = [](void* argument) {
        HV_Mutex* shared = static_cast<HV_Mutex*>(argument);
        for (int i = 0; i < 10000; ++i) {
            HV_Threading_LockMutex(shared);
            HV_Threading_LockMutex(shared);  // the same thread may take it again
            counter = counter + 1;
            HV_Threading_UnlockMutex(shared);
            HV_Threading_UnlockMutex(shared);
        }
    };
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(0, HV_Threading_CreateThread("Adder", add, mutex, 0));
    }
    InstallWaitClock(0);
    EXPECT_EQ(0, HVI_WaitForProgramThreads());
    EXPECT_EQ(40000, counter);
}

TEST_F(Threading, MainLoopLockIsTheEngineLock)
{
    HV_Threading_EnterMainLoop();
    EXPECT_TRUE(HVI_IsEngineLockHeld("MAIN_LOOP"));
    HV_Threading_LeaveMainLoop();
    EXPECT_FALSE(HVI_IsEngineLockHeld("MAIN_LOOP"));
}

TEST_F(Threading, TableListsOperationsInAlphabeticalOrder)
{
    const HV_ThreadingInterface* table = HVI_GetThreadingInterface();
    EXPECT_EQ(&HV_Threading_CreateThread, table->CreateThread);
    EXPECT_EQ(&HV_Threading_EnterMainLoop, table->EnterMainLoop);
    EXPECT_EQ(&HV_Threading_GetMutex, table->GetMutex);
    EXPECT_EQ(&HV_Threading_Sleep, table->Sleep);
    EXPECT_EQ(&HV_Threading_UnlockMutex, table->UnlockMutex);
}
