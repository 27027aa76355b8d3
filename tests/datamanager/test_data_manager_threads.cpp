#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "data_manager_fixture.h"

using namespace datamanager_test;

TEST_F(DataManagerTest, ThreadsAskingForOneNameShareOneLoadedDatabase)
{
    m_temporary.Write("res/shared.xml", "<d><a id=\"x\"><n id=\"y\"/></a></d>");
    std::vector<std::thread> threads;
    std::vector<DMDatabase*> results(8, nullptr);
    std::atomic<bool> go{false};
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&results, &go, i] {
            while (!go.load()) std::this_thread::yield();
            results[size_t(i)] = DataManager::GetDatabase("res://shared.xml");
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();
    ASSERT_NE(results[0], nullptr);
    for (DMDatabase* result : results) EXPECT_EQ(result, results[0]);
    EXPECT_EQ(results[0]->GetArrayCount(), 1);
}

TEST_F(DataManagerTest, RegisteringAndUnloadingFromManyThreadsKeepsTheRegistryWhole)
{
    LogCapture log;  // every load of the missing file logs; keep the output quiet
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([] {
            for (int round = 0; round < 200; ++round) {
                DMDatabase* database = DataManager::GetLeaderboardsDatabase();
                EXPECT_STREQ(database->GetName(), DataManager::kLeaderboardsDatabasePath);
                if (round % 50 == 0) DataManager::UnloadDatabase("res://missing.xml");
                DataManager::GetDatabase("res://missing.xml");
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(DataManager::GetLeaderboardsDatabase(), DataManager::GetLeaderboardsDatabase());
}
