#include "foundation/shared_array.h"

#include <gtest/gtest.h>

#include <thread>

TEST(SharedArray, TakeAllGivesEveryItemInOrderAndLeavesItEmpty)
{
    SharedArray<int> shared;
    for (int i = 0; i < 5; ++i) shared.Add(i);
    int visited = 0;
    shared.ForEach([&](int item) { EXPECT_EQ(item, visited++); });
    EXPECT_EQ(visited, 5);

    const Array<int> taken = shared.TakeAll();
    ASSERT_EQ(taken.GetCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(taken[i], i);
    EXPECT_EQ(shared.GetCount(), 0);
}

TEST(SharedArray, ItemsAddedByTwoThreadsWhileTakingAreEachTakenOnce)
{
    SharedArray<int> shared;
    auto add = [&](int first) {
        for (int i = 0; i < 10000; ++i) shared.Add(first + i);
    };
    std::thread one(add, 0);
    std::thread two(add, 10000);
    int64_t sum = 0;
    int count = 0;
    while (count < 20000) {
        const Array<int> taken = shared.TakeAll();
        for (int i = 0; i < taken.GetCount(); ++i) sum += taken[i];
        count += taken.GetCount();
    }
    one.join();
    two.join();
    EXPECT_EQ(count, 20000);
    EXPECT_EQ(sum, int64_t(19999) * 20000 / 2);
    EXPECT_EQ(shared.GetCount(), 0);
}
