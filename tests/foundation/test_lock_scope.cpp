#include "foundation/lock_scope.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "foundation/critical_section.h"

namespace {

std::string g_calls;

void EnterWithout() { g_calls += "enter;"; }
void LeaveWithout() { g_calls += "leave;"; }
void EnterNamed(const char* name) { g_calls += std::string("enter ") + name + ";"; }
void LeaveNamed(const char* name) { g_calls += std::string("leave ") + name + ";"; }

}  // namespace

TEST(LockScope, EntersWhenMadeAndLeavesWithTheSameArgumentWhenTheScopeEnds)
{
    g_calls.clear();
    {
        LockScope<EnterWithout, LeaveWithout> outer;
        {
            LockScope<EnterNamed, LeaveNamed, const char*> inner("GET_SOUND");
            g_calls += "work;";
        }
    }
    EXPECT_EQ(g_calls, "enter;enter GET_SOUND;work;leave GET_SOUND;leave;");
}

TEST(LockScope, ACriticalSectionScopeKeepsTwoThreadsOutOfEachOthersWay)
{
    CriticalSection section;
    int64_t count = 0;
    auto add = [&] {
        for (int i = 0; i < 20000; ++i) {
            CriticalSectionScope scope(section);
            count = count + 1;
        }
    };
    std::thread first(add);
    std::thread second(add);
    first.join();
    second.join();
    EXPECT_EQ(count, 40000);
}
