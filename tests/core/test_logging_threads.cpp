#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/logging.h"
#include "engine_test_support.h"
#include "winapi/user/message_box_records.h"

class LoggingThreads : public testing::Test {
protected:
    void SetUp() override { HVU_ClearMessageBoxRecords(); }
};

TEST_F(LoggingThreads, LinesFromManyThreadsAreNumberedOnceEachInOrder)
{
    constexpr int kThreads = 8;
    constexpr int kLines = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) {
                HV_Log(HV_LOG_ERROR, "thread %d line %d", t, i);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    Array<String> lines = HVI_GetConsoleLines();
    ASSERT_EQ(kThreads * kLines, lines.GetCount());
    std::set<std::string> texts;
    for (int i = 0; i < lines.GetCount(); ++i) {
        const std::string line = lines[i].GetText();
        char number[16];
        std::snprintf(number, sizeof(number), "%.4d: ", i + 1);
        ASSERT_EQ(0u, line.rfind(number, 0)) << line;
        texts.insert(line.substr(line.find("] [") + 2));
    }
    EXPECT_EQ(static_cast<size_t>(kThreads * kLines), texts.size());
}

TEST_F(LoggingThreads, NonBlockingPopupsAreShownFromAThreadOfTheirOwn)
{
    HVI_SetDeveloperMode(true);
    HVI_SetFeatureLists("NON_BLOCKING_POPUPS", nullptr, nullptr);
    HV_Popup(HV_LOG_ERROR, "in the background");
    for (int i = 0; i < 10000 && HVU_GetMessageBoxRecords().empty(); ++i) {  // up to 20 s on a busy machine
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_EQ(1u, HVU_GetMessageBoxRecords().size());
    EXPECT_EQ("in the background", HVU_GetMessageBoxRecords()[0].text);
}
