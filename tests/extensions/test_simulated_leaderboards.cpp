#include <chrono>
#include <cstdlib>
#include <cstring>

#include "extension_test_environment.h"
#include "failing_allocation.h"

namespace {

constexpr const char* kFeatures = "SIMULATED_LEADERBOARDS,LEADERBOARDS";

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

const DeliveredEvent* FindByCategory(const std::vector<DeliveredEvent>& events, const std::string& category,
                                     int32_t filter)
{
    for (const DeliveredEvent& event : events) {
        if (event.category == category && event.leaderboard.filter == filter) return &event;
    }
    return nullptr;
}

// The numbers of scores the categories are generated with from this seed,
// drawn here as generation draws them: per category its count, then four
// draws per score (two names, the timestamp, the step of the points) and,
// when it has scores, one position per local player.
std::vector<int> CountsGeneratedFrom(unsigned seed, int categories)
{
    std::srand(seed);
    std::vector<int> counts;
    for (int category = 0; category < categories; ++category) {
        const int count = std::rand() % 50001;
        counts.push_back(count);
        for (int draw = 0; draw < 4 * count + (count > 0 ? 4 : 0); ++draw) std::rand();
    }
    return counts;
}

}  // namespace

class SimulatedLeaderboards : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        WriteAlltimeAndFastestCategories();
        m_generatedAfter = uint32_t(Engine()->GetTimestamp());
        StartServices(kFeatures);
    }
    HV_LeaderboardsInterface* Table() { return Engine()->leaderboards; }

    // The local player's own score, found by asking around the player.
    HV_LeaderboardScore OwnScore(uint32_t player, const char* category)
    {
        EXPECT_TRUE(Table()->FetchScoresAroundUser(player, 3, category));
        const std::vector<DeliveredEvent> events = WaitForEvents(1);
        EXPECT_EQ(events.size(), 1u);
        const std::string id = "LOCAL_USER_" + std::to_string(player);
        for (const DeliveredEvent& event : events) {
            for (const HV_LeaderboardScore& score : event.scores) {
                if (id == score.id) return score;
            }
        }
        ADD_FAILURE() << "no score of " << id;
        return {};
    }

    uint32_t m_generatedAfter = 0;  // calendar seconds just before the scores were generated
};

TEST_F(SimulatedLeaderboards, NamesTheLocalPlayersByTheirUserIds)
{
    EXPECT_STREQ(Table()->LocalPlayerName(1), "LOCAL_USER_1");
    EXPECT_EQ(Table()->LocalPlayerState(0), 2);
    EXPECT_EQ(Table()->QueryMaxScoreCount(), 30);
    EXPECT_FALSE(Table()->Logout());
    EXPECT_FALSE(Table()->IsBusy());
    EXPECT_TRUE(Logged("Using Leaderboards implementation from module 'Simulation'"));
}

TEST_F(SimulatedLeaderboards, RequestsAreAnsweredLaterOnThreadsOfTheirOwn)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Table()->FetchScores(1, 10, HV_LEADERBOARD_FILTER_GLOBAL, "alltime"));
    std::vector<DeliveredEvent> events = DeliverEvents();
    // Never at once: whatever has arrived came at least 501 ms after the request.
    if (!events.empty()) {
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(501));
    }
    EXPECT_TRUE(Table()->FetchScores(1, 30, HV_LEADERBOARD_FILTER_FRIENDS, "alltime"));
    EXPECT_TRUE(Table()->FetchScores(1, 10, 2, "alltime"));
    EXPECT_TRUE(Table()->FetchScores(1, 10, HV_LEADERBOARD_FILTER_GLOBAL, "fastest"));
    EXPECT_TRUE(Table()->FetchScores(1, 10, HV_LEADERBOARD_FILTER_GLOBAL, "nope"));
    for (DeliveredEvent& event : WaitForEvents(5 - events.size())) events.push_back(std::move(event));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_GE(elapsed, std::chrono::milliseconds(501));

    const DeliveredEvent* global = FindByCategory(events, "alltime", HV_LEADERBOARD_FILTER_GLOBAL);
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(global->success, 1u);
    EXPECT_EQ(global->leaderboard.start, 1);
    ASSERT_EQ(global->scores.size(), 10u);
    EXPECT_GE(global->leaderboard.total, 10);
    const uint32_t now = uint32_t(Engine()->GetTimestamp());
    for (size_t i = 0; i < global->scores.size(); ++i) {
        const HV_LeaderboardScore& score = global->scores[i];
        EXPECT_EQ(score.rank, int32_t(i + 1));
        if (i > 0) {
            EXPECT_GE(global->scores[i - 1].points, score.points);
        }
        if (StartsWith(score.id, "LOCAL_USER_")) {
            EXPECT_EQ(std::string(score.player), "Local Player " + std::string(score.id + 11));
        } else {
            // Generated: "<name> <k> <name>" with id "OTHER_PLAYER_<k>", up to 9999 s older than its generation.
            ASSERT_TRUE(StartsWith(score.id, "OTHER_PLAYER_")) << score.id;
            const std::string k = score.id + 13;
            EXPECT_NE(std::string(score.player).find(" " + k + " "), std::string::npos) << score.player;
            EXPECT_LE(score.timestamp, now);
            EXPECT_GE(score.timestamp + 9999u, m_generatedAfter);
        }
    }

    const DeliveredEvent* friends = FindByCategory(events, "alltime", HV_LEADERBOARD_FILTER_FRIENDS);
    ASSERT_NE(friends, nullptr);
    EXPECT_GE(friends->leaderboard.total, 4);  // the four local players at least
    EXPECT_EQ(friends->scores.size(), size_t(std::min(friends->leaderboard.total, 30)));
    for (size_t i = 0; i < friends->scores.size(); ++i) {
        EXPECT_EQ(friends->scores[i].rank, int32_t(i + 1));
        EXPECT_TRUE(StartsWith(friends->scores[i].id, "LOCAL_USER_") ||
                    StartsWith(friends->scores[i].id, "OTHER_PLAYER_"))
            << friends->scores[i].id;
    }

    const DeliveredEvent* other = FindByCategory(events, "alltime", 2);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->success, 1u);
    EXPECT_EQ(other->leaderboard.count, 0);
    EXPECT_EQ(other->leaderboard.total, 0);
    EXPECT_EQ(other->leaderboard.scores, nullptr);

    const DeliveredEvent* fastest = FindByCategory(events, "fastest", HV_LEADERBOARD_FILTER_GLOBAL);
    ASSERT_NE(fastest, nullptr);
    ASSERT_EQ(fastest->scores.size(), 10u);
    for (size_t i = 1; i < fastest->scores.size(); ++i)
        EXPECT_LE(fastest->scores[i - 1].points, fastest->scores[i].points);

    const DeliveredEvent* unknown = FindByCategory(events, "nope", HV_LEADERBOARD_FILTER_GLOBAL);
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->success, 0u);
    EXPECT_EQ(unknown->reason, "Unknown leaderboard category 'nope'.");
    EXPECT_EQ(unknown->leaderboard.count, 0);
    EXPECT_TRUE(
        Logged("Sending leaderboards error event for category 'nope' filter 'GLOBAL' with reason 'Unknown "
               "leaderboard category 'nope'.'."));
}

TEST_F(SimulatedLeaderboards, TheProgramsSeedDecidesTheGeneratedLists)
{
    EXPECT_NE(CountsGeneratedFrom(1, 2), CountsGeneratedFrom(2, 2));
    for (unsigned seed : {1u, 2u, 1u}) {
        StopServices();
        const std::vector<int> counts = CountsGeneratedFrom(seed, 2);
        std::srand(seed);
        LogCapture log;
        StartServices(kFeatures);
        const std::string alltime =
            "Initializing category 'alltime' with " + std::to_string(counts[0]) + " fake scores.";
        const std::string fastest =
            "Initializing category 'fastest' with " + std::to_string(counts[1]) + " fake scores.";
        EXPECT_TRUE(log.Contains(alltime)) << "seed " << seed << "\n" << log.Text();
        EXPECT_TRUE(log.Contains(fastest)) << "seed " << seed << "\n" << log.Text();
    }
}

TEST_F(SimulatedLeaderboards, ASubmissionBecomesThePlayersOwnScoreAndCanGoDown)
{
    HV_LeaderboardScore score = {};
    score.points = 2000000000;
    Table()->AddScore(0, score, "alltime");
    HV_LeaderboardScore own = OwnScore(0, "alltime");
    EXPECT_STREQ(own.player, "Local Player 0");
    EXPECT_EQ(own.points, 2000000000);
    score.points = 7;
    Table()->AddScore(0, score, "alltime");
    own = OwnScore(0, "alltime");
    EXPECT_EQ(own.points, 7);
}

TEST_F(SimulatedLeaderboards, ASubmissionToAnUnknownCategoryIsIgnored)
{
    HV_LeaderboardScore score = {};
    score.points = 5;
    Table()->AddScore(0, score, "nope");
    EXPECT_TRUE(Table()->FetchScores(1, 1, 0, "nope"));
    const std::vector<DeliveredEvent> events = WaitForEvents(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].success, 0u);
}

TEST_F(SimulatedLeaderboards, ScoresAroundAPlayerStartHalfTheCountAboveItsRank)
{
    const HV_LeaderboardScore own = OwnScore(1, "alltime");
    ASSERT_GT(own.rank, 0);
    EXPECT_TRUE(Table()->FetchScoresAroundUser(1, 10, "alltime"));
    const std::vector<DeliveredEvent> events = WaitForEvents(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].leaderboard.start, std::max(1, own.rank - 5));
}

TEST_F(SimulatedLeaderboards, AHugeCountCopiesOnlyTheScoresThatExist)
{
    EXPECT_TRUE(Table()->FetchScores(2, INT32_MAX, 0, "alltime"));
    EXPECT_TRUE(Table()->FetchScores(1, -3, 0, "alltime"));
    const std::vector<DeliveredEvent> events = WaitForEvents(2);
    ASSERT_EQ(events.size(), 2u);
    for (const DeliveredEvent& event : events) {
        if (event.leaderboard.start == 2) {
            EXPECT_EQ(event.leaderboard.count, event.leaderboard.total - 1);
            ASSERT_FALSE(event.scores.empty());
            EXPECT_EQ(event.scores[0].rank, 2);
        } else {
            EXPECT_EQ(event.leaderboard.count, 0);
            EXPECT_EQ(event.leaderboard.scores, nullptr);
        }
    }
}

TEST_F(SimulatedLeaderboards, ConcurrentSubmissionsAndRequestsAreEachAnsweredOnce)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 5;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kRounds; ++i) {
                HV_LeaderboardScore score = {};
                score.points = 1000 * t + i;
                Table()->AddScore(uint32_t(t), score, i % 2 ? "alltime" : "fastest");
                EXPECT_TRUE(Table()->FetchScores(1, 5, i % 2, "alltime"));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(WaitForEvents(kThreads * kRounds).size(), size_t(kThreads * kRounds));
}

TEST_F(SimulatedLeaderboards, AScoreArrayWithoutMemoryIsAnErrorNotAnEmptySuccess)
{
    // The category's size is drawn at random: the window must be full.
    ASSERT_TRUE(Table()->FetchScores(1, 1, HV_LEADERBOARD_FILTER_GLOBAL, "alltime"));
    const std::vector<DeliveredEvent> sized = WaitForEvents(1);
    ASSERT_EQ(sized.size(), 1u);
    if (sized[0].leaderboard.total < 7) GTEST_SKIP() << "the generated category is too small";
    if (!FailNextAllocationOfSize(7 * sizeof(HV_LeaderboardScore)))
        GTEST_SKIP() << "allocations cannot be made to fail in this build";
    ASSERT_TRUE(Table()->FetchScores(1, 7, HV_LEADERBOARD_FILTER_GLOBAL, "alltime"));
    const std::vector<DeliveredEvent> events = WaitForEvents(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].success, 0u);
    EXPECT_EQ(events[0].reason, "Out of memory.");
    EXPECT_EQ(events[0].category, "alltime");
    EXPECT_TRUE(events[0].scores.empty());
}

TEST_F(SimulatedLeaderboards, ANullCategoryIsPrintedAsNull)
{
    HV_LeaderboardScore score = {};
    Table()->AddScore(0, score, nullptr);
    EXPECT_TRUE(Table()->FetchScores(1, 2, HV_LEADERBOARD_FILTER_GLOBAL, nullptr));
    EXPECT_TRUE(Table()->FetchScoresAroundUser(0, 2, nullptr));
    const std::vector<DeliveredEvent> events = WaitForEvents(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(Logged("Submitting score of 0 points to category '(null)'"));
    EXPECT_TRUE(Logged("Requesting scores 1..2 (2 scores) for category '(null)' with filter 'GLOBAL'"));
    EXPECT_TRUE(Logged("Requesting 2 scores around user #0 for category '(null)'"));
    EXPECT_TRUE(
        Logged("Sending leaderboards error event for category '(null)' filter 'GLOBAL' with reason 'Unknown "
               "leaderboard category '(null)'.'."));
}
