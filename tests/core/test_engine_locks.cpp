#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/engine_lock_names.h"
#include "core/engine_locks.h"
#include "data/data_manager_lock.h"
#include "engine_test_support.h"

using EngineLocks = ::testing::Test;

TEST_F(EngineLocks, EveryLockExistsAndIsHeldOnlyBetweenEnterAndLeave)
{
    for (size_t i = 0; i < std::size(kEngineLockNames); ++i) {
        const char* name = kEngineLockNames[i];
        const char* other = kEngineLockNames[(i + 1) % std::size(kEngineLockNames)];
        EXPECT_TRUE(HVI_EnterEngineLock(name)) << name;
        EXPECT_TRUE(HVI_IsEngineLockHeld(name)) << name;
        EXPECT_FALSE(HVI_IsEngineLockHeld(other)) << name;
        EXPECT_TRUE(HVI_LeaveEngineLock(name)) << name;
        EXPECT_FALSE(HVI_IsEngineLockHeld(name)) << name;
    }
}

TEST_F(EngineLocks, UnknownNameIsReportedAndIgnored)
{
    EXPECT_FALSE(HVI_EnterEngineLock("GET_SOUNDS"));
    EXPECT_FALSE(HVI_LeaveEngineLock(nullptr));
    EXPECT_EQ((std::vector<std::string>{"[ERROR] HVI_EnterEngineLock: unknown engine lock 'GET_SOUNDS'.",
                                        "[ERROR] HVI_LeaveEngineLock: unknown engine lock '(null)'."}),
              LogCapture::AllWritten());
}

TEST_F(EngineLocks, UseAfterDeletionIsReported)
{
    HVI_DeleteEngineLocks();
    EXPECT_FALSE(HVI_EnterEngineLock("GET_SOUND"));
    EXPECT_EQ((std::vector<std::string>{
                  "[ERROR] HVI_EnterEngineLock: engine lock 'GET_SOUND' used before the locks were created."}),
              LogCapture::AllWritten());
    HVI_CreateEngineLocks();
}

TEST_F(EngineLocks, DataManagerLockIsTheDataManagersOwn)
{
    HVI_EnterEngineLock("DATAMAN");
    EXPECT_TRUE(HVI_IsDataManagerLockHeld());
    HVI_LeaveEngineLock("DATAMAN");
    EXPECT_FALSE(HVI_IsDataManagerLockHeld());

    HVI_EnterDataManagerLock();
    EXPECT_TRUE(HVI_IsEngineLockHeld("DATAMAN"));
    HVI_LeaveDataManagerLock();
    EXPECT_FALSE(HVI_IsEngineLockHeld("DATAMAN"));

    // Threads taking it by either way exclude each other.
    static int counter;
    counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 10000; ++i) {
                if (t % 2 == 0) {
                    HVI_EngineLockScope scope("DATAMAN");
                    counter = counter + 1;
                } else {
                    DataManagerLockScope scope;
                    counter = counter + 1;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(40000, counter);
}
