#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/engine_lock_names.h"
#include "core/engine_locks.h"
#include "data/data_manager_lock.h"
#include "engine_test_support.h"

using EngineLocks = ::testing::Test;

TEST_F(EngineLocks, TheThirteenLocksAndDataManagerExistInOrder)
{
    const std::vector<std::string> expected = {
        "PRINT",      "GET_MUTEX", "CREATE_DIR",     "GET_PATH",      "GET_BITMAP", "GET_SOUND",     "GET_FONT",
        "GET_SHADER", "MAIN_LOOP", "RESOURCE_QUEUE", "SHARED_BITMAP", "CORE_IMP",   "CORE_VARIABLE", "DATAMAN"};
    ASSERT_EQ(expected.size(), std::size(kEngineLockNames));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], kEngineLockNames[i]);
        EXPECT_TRUE(HVI_EnterEngineLock(expected[i].c_str()));
        EXPECT_TRUE(HVI_LeaveEngineLock(expected[i].c_str()));
    }
}

TEST_F(EngineLocks, HeldFlagFollowsEnterAndLeave)
{
    EXPECT_FALSE(HVI_IsEngineLockHeld("GET_SOUND"));
    HVI_EnterEngineLock("GET_SOUND");
    EXPECT_TRUE(HVI_IsEngineLockHeld("GET_SOUND"));
    EXPECT_FALSE(HVI_IsEngineLockHeld("GET_FONT"));
    HVI_LeaveEngineLock("GET_SOUND");
    EXPECT_FALSE(HVI_IsEngineLockHeld("GET_SOUND"));
}

TEST_F(EngineLocks, UnknownNameIsReportedAndIgnored)
{
    EXPECT_FALSE(HVI_EnterEngineLock("GET_SOUNDS"));
    EXPECT_FALSE(HVI_LeaveEngineLock(nullptr));
    EXPECT_EQ((std::vector<std::string>{"[ERROR] HVI_EnterEngineLock: unknown engine lock 'GET_SOUNDS'.",
                                        "[ERROR] HVI_LeaveEngineLock: unknown engine lock '(null)'."}),
              LoggedTexts());
}

TEST_F(EngineLocks, UseAfterDeletionIsReported)
{
    HVI_DeleteEngineLocks();
    EXPECT_FALSE(HVI_EnterEngineLock("GET_SOUND"));
    EXPECT_EQ((std::vector<std::string>{
                  "[ERROR] HVI_EnterEngineLock: engine lock 'GET_SOUND' used before the locks were created."}),
              LoggedTexts());
    HVI_CreateEngineLocks();
}

TEST_F(EngineLocks, ExcludesOtherThreads)
{
    static int counter;
    counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 10000; ++i) {
                HVI_EngineLockScope scope("CORE_VARIABLE");
                counter = counter + 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(40000, counter);
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
