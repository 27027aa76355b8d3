#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "extension_test_environment.h"
#include "extensions/module_registry.h"
#include "failing_allocation.h"
#include "extensions/simulated/social_directory.h"
#include "extensions/social_user.h"

class SimulatedSocial : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        StartServices("SIMULATED_SOCIAL");
    }
    HV_SocialInterface* Social() { return Engine()->social; }
};

TEST_F(SimulatedSocial, BeforeTheFirstLoginThereIsNoUserAndNoFriends)
{
    EXPECT_TRUE(Social()->IsAvailable());
    EXPECT_EQ(Social()->RequestLocalUser(5), nullptr);
    Social()->RefreshFriends();
    EXPECT_TRUE(DeliverEvents().empty());
}

TEST_F(SimulatedSocial, LoginPostsTheLocalUser)
{
    Social()->Login();
    const std::vector<DeliveredEvent> events = DeliverEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, uint32_t(HV_EVENT_SOCIAL_LOGIN));
    EXPECT_EQ(events[0].success, 1u);
    ASSERT_EQ(events[0].userIds.size(), 1u);
    EXPECT_EQ(events[0].userIds[0], "100000001");
    EXPECT_EQ(events[0].userNames[0], "Local User");
    EXPECT_LT(events[0].userValues[0], 30u);
    // The reserved field and the rest of the 64-byte event are zero.
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&events[0].raw);
    for (size_t i = offsetof(HV_SocialLoginEvent, reserved); i < sizeof(HV_Event); ++i) {
        if (i >= offsetof(HV_SocialLoginEvent, user) && i < offsetof(HV_SocialLoginEvent, user) + sizeof(void*))
            continue;
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    }
    const SocialUser* user = Social()->RequestLocalUser(11);
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->id, "100000001");
    EXPECT_EQ(user->value, 11);
    // A second login while logged in posts nothing.
    Social()->Login();
    EXPECT_TRUE(DeliverEvents().empty());
}

TEST_F(SimulatedSocial, FriendsComeAsElevenUsersHighestValueFirst)
{
    Social()->Login();
    Social()->RefreshFriends();
    const std::vector<DeliveredEvent> events = DeliverEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, uint32_t(HV_EVENT_SOCIAL_LOGIN));
    EXPECT_EQ(events[1].kind, uint32_t(HV_EVENT_SOCIAL_FRIENDS));
    const DeliveredEvent& friends = events[1];
    ASSERT_EQ(friends.userIds.size(), 11u);
    // The zero word, and everything after the count, are zero.
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&friends.raw);
    for (size_t i = offsetof(HV_SocialFriendsEvent, reserved); i < offsetof(HV_SocialFriendsEvent, users); ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    for (size_t i = offsetof(HV_SocialFriendsEvent, count) + sizeof(uint32_t); i < sizeof(HV_Event); ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    EXPECT_TRUE(std::is_sorted(friends.userValues.rbegin(), friends.userValues.rend()));
    const std::set<std::string> ids(friends.userIds.begin(), friends.userIds.end());
    EXPECT_EQ(ids.size(), 11u);
    EXPECT_EQ(ids.count("100000001"), 1u);
    for (size_t i = 0; i < friends.userIds.size(); ++i) {
        if (friends.userIds[i] == "100000001") continue;
        // A friend at list position p (1 to 10) has a value from p + 3 to p + 42.
        EXPECT_GE(friends.userValues[i], 4u);
        EXPECT_LE(friends.userValues[i], 52u);
        EXPECT_FALSE(friends.userNames[i].empty());
    }
}

// The users' values the first login draws from this seed, by user id: the
// local user's rand() % 30, then rand() % 40 + 3 + p for the friend at list
// position p (1 to 10).
std::map<std::string, uint32_t> ValuesDrawnFrom(unsigned seed)
{
    std::srand(seed);
    std::map<std::string, uint32_t> values = {{kSimulatedLocalUser.id, uint32_t(std::rand() % 30)}};
    for (int p = 1; p <= 10; ++p) values[kSimulatedFriends[p - 1].id] = uint32_t(std::rand() % 40 + 3 + p);
    return values;
}

TEST_F(SimulatedSocial, TheProgramsSeedDecidesTheUsersValues)
{
    EXPECT_NE(ValuesDrawnFrom(7), ValuesDrawnFrom(8));
    for (unsigned seed : {7u, 8u, 7u}) {
        StopServices();
        const std::map<std::string, uint32_t> expected = ValuesDrawnFrom(seed);
        std::srand(seed);
        StartServices("SIMULATED_SOCIAL");
        Social()->Login();
        Social()->RefreshFriends();
        const std::vector<DeliveredEvent> events = DeliverEvents();
        ASSERT_EQ(events.size(), 2u);
        ASSERT_EQ(events[0].userValues.size(), 1u);
        EXPECT_EQ(events[0].userValues[0], expected.at(kSimulatedLocalUser.id)) << "seed " << seed;
        std::map<std::string, uint32_t> values;
        for (size_t i = 0; i < events[1].userIds.size(); ++i) values[events[1].userIds[i]] = events[1].userValues[i];
        EXPECT_EQ(values, expected) << "seed " << seed;
    }
}

TEST_F(SimulatedSocial, TheLocalUsersValueTakesItsPlaceAmongTheFriends)
{
    Social()->Login();
    Social()->RequestLocalUser(1000);
    Social()->RefreshFriends();
    const std::vector<DeliveredEvent> events = DeliverEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].userIds[0], "100000001");
    EXPECT_EQ(events[1].userValues[0], 1000u);
}

TEST_F(SimulatedSocial, LoggingOutAndInAgainPostsTheSameUser)
{
    Social()->Login();
    Social()->Logout();
    Social()->RefreshFriends();
    Social()->Login();
    const std::vector<DeliveredEvent> events = DeliverEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, uint32_t(HV_EVENT_SOCIAL_LOGIN));
    EXPECT_EQ(events[1].kind, uint32_t(HV_EVENT_SOCIAL_LOGIN));
    EXPECT_EQ(events[0].userValues, events[1].userValues);
    EXPECT_EQ(events[0].userIds, events[1].userIds);
}

TEST_F(SimulatedSocial, ALoginThatCannotBeAnnouncedStaysUndoneAndTheNextOneIsPosted)
{
    Social()->Login();
    Social()->Logout();
    ASSERT_EQ(DeliverEvents().size(), 1u);
    if (!FailNextAllocationOfSize(sizeof(HV_SocialUser)))
        GTEST_SKIP() << "allocations cannot be made to fail in this build";
    Social()->Login();
    EXPECT_TRUE(DeliverEvents().empty());
    EXPECT_EQ(HVI_GetSocialImplementation()->GetLoginState(), 0);
    Social()->Login();
    const std::vector<DeliveredEvent> events = DeliverEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, uint32_t(HV_EVENT_SOCIAL_LOGIN));
    EXPECT_EQ(HVI_GetSocialImplementation()->GetLoginState(), 2);
}

TEST_F(SimulatedSocial, ConcurrentCallsPostWholeEvents)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 25; ++i) {
                Social()->Login();
                Social()->RefreshFriends();
                Social()->RequestLocalUser(t * 100 + i);
                if (i % 5 == 4) Social()->Logout();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const DeliveredEvent& event : DeliverEvents()) {
        if (event.kind == HV_EVENT_SOCIAL_FRIENDS)
            EXPECT_EQ(event.userIds.size(), 11u);
        else
            EXPECT_EQ(event.userIds.size(), 1u);
    }
}
