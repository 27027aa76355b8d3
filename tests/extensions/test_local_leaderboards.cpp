#include <regex>

#include <sys/inotify.h>
#include <unistd.h>

#include "extension_test_environment.h"
#include "support/scoped_limit.h"

namespace {

constexpr const char* kFeatures = "LOCAL_LEADERBOARDS,LEADERBOARDS";

HV_LeaderboardScore MakeScore(int32_t points, std::vector<uint8_t> data = {})
{
    HV_LeaderboardScore score = {};
    std::snprintf(score.player, sizeof score.player, "Given Name");
    score.points = points;
    score.dataLength = int32_t(data.size());
    for (size_t i = 0; i < data.size(); ++i) score.data[i] = data[i];
    return score;
}

std::vector<uint8_t> Data(const HV_LeaderboardScore& score)
{
    return std::vector<uint8_t>(score.data, score.data + score.dataLength);
}

}  // namespace

class LocalLeaderboards : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        WriteAlltimeAndFastestCategories();
    }

    void Submit(int32_t points, const char* category = "alltime", std::vector<uint8_t> data = {})
    {
        Engine()->leaderboards->AddScore(0, MakeScore(points, std::move(data)), category);
    }

    // The local store answers on the caller's thread: the event is queued at once.
    DeliveredEvent Request(int32_t start, int32_t count, int32_t filter = 0, const char* category = "alltime")
    {
        EXPECT_TRUE(Engine()->leaderboards->FetchScores(start, count, filter, category));
        std::vector<DeliveredEvent> events = DeliverEvents();
        EXPECT_EQ(events.size(), 1u);
        return events.empty() ? DeliveredEvent{} : events[0];
    }

    std::vector<int32_t> Points(const DeliveredEvent& event)
    {
        std::vector<int32_t> points;
        for (const HV_LeaderboardScore& score : event.scores) points.push_back(score.points);
        return points;
    }

    // Ends this run and starts another over the same files.
    void Restart(bool developerMode)
    {
        StopServices();
        DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);
        StartServices(kFeatures, developerMode);
    }

    std::filesystem::path DatabaseFile() { return UserFolder() / "leaderboards-db.xml"; }
};

TEST_F(LocalLeaderboards, AnswersTheFixedValuesOfALocalList)
{
    StartServices(kFeatures);
    EXPECT_TRUE(Logged("Initializing Leaderboards implementation 'LocalDatabase'..."));
    HV_LeaderboardsInterface* table = Engine()->leaderboards;
    EXPECT_EQ(table->QueryMaxScoreCount(), 30);
    EXPECT_EQ(table->LocalPlayerState(1), 2);
    EXPECT_FALSE(table->IsBusy());
    EXPECT_FALSE(table->Logout());
    table->OpenCategory("alltime");
    table->LaunchLeaderboardView(0, "alltime");
    EXPECT_EQ(DeliverEvents().size(), 0u);
    EXPECT_FALSE(std::filesystem::exists(DatabaseFile()));
}

TEST_F(LocalLeaderboards, AFriendsRequestIsAnsweredAtOnceWithNothing)
{
    StartServices(kFeatures);
    Submit(10);
    const DeliveredEvent event = Request(1, 10, HV_LEADERBOARD_FILTER_FRIENDS);
    EXPECT_EQ(event.kind, uint32_t(HV_EVENT_LEADERBOARD_RESULT));
    EXPECT_EQ(event.success, 1u);
    EXPECT_FALSE(event.hasReason);
    EXPECT_EQ(event.category, "alltime");
    EXPECT_EQ(event.leaderboard.filter, 1);
    EXPECT_EQ(event.leaderboard.start, 0);
    EXPECT_EQ(event.leaderboard.count, 0);
    EXPECT_EQ(event.leaderboard.total, 0);
    EXPECT_EQ(event.leaderboard.scores, nullptr);
    EXPECT_TRUE(
        Logged("Sending event with no scores (0 scores in category) for category 'alltime' with filter 'FRIENDS'"));
}

TEST_F(LocalLeaderboards, ACategoryWithoutScoresAnswersAnEmptyResult)
{
    StartServices(kFeatures);
    const DeliveredEvent event = Request(1, 10, 0, "fastest");
    EXPECT_TRUE(Logged("No scores in category 'fastest', returning 0 scores."));
    EXPECT_EQ(event.success, 1u);
    EXPECT_EQ(event.leaderboard.count, 0);
    EXPECT_EQ(event.leaderboard.total, 0);
    EXPECT_EQ(event.leaderboard.start, 0);
}

TEST_F(LocalLeaderboards, ThreeScoresFromStartZeroGiveTheFirstTwoRanks)
{
    StartServices(kFeatures);
    for (int32_t points = 10; points <= 100; points += 10) Submit(points);
    const DeliveredEvent event = Request(0, 3);
    EXPECT_EQ(event.leaderboard.start, 0);
    EXPECT_EQ(event.leaderboard.count, 2);
    EXPECT_EQ(event.leaderboard.total, 10);
    ASSERT_EQ(event.scores.size(), 2u);
    EXPECT_EQ(event.scores[0].rank, 1);
    EXPECT_EQ(event.scores[0].points, 100);
    EXPECT_EQ(event.scores[1].rank, 2);
    EXPECT_EQ(event.scores[1].points, 90);
    EXPECT_TRUE(Logged("Sending event with scores 0..1 (2 scores of 10) for category 'alltime' with filter 'GLOBAL'"));
    // The rest of the 64-byte event after the score array is zero.
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&event.raw);
    for (size_t i = offsetof(HV_LeaderboardResultEvent, scores) + sizeof(void*); i < sizeof(HV_Event); ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    EXPECT_EQ(event.leaderboard.reason, nullptr);
}

// Ascending categories rank lower points first; equal points come back in the order they were saved.
TEST_F(LocalLeaderboards, ScoresAreRankedByTheCategorysOrderThenBySaving)
{
    StartServices(kFeatures);
    Submit(30, "fastest");
    Submit(10, "fastest");
    Submit(20, "fastest");
    EXPECT_EQ(Points(Request(1, 5, 0, "fastest")), (std::vector<int32_t>{10, 20, 30}));
    Submit(50, "alltime", {1});
    Submit(70, "alltime", {9});
    Submit(50, "alltime", {2});
    Submit(50, "alltime", {3});
    const DeliveredEvent event = Request(1, 4);
    ASSERT_EQ(event.scores.size(), 4u);
    EXPECT_EQ(Data(event.scores[1]), (std::vector<uint8_t>{1}));
    EXPECT_EQ(Data(event.scores[2]), (std::vector<uint8_t>{2}));
    EXPECT_EQ(Data(event.scores[3]), (std::vector<uint8_t>{3}));
}

// The stored player is the minute of submission; the local player's name counts the submissions.
TEST_F(LocalLeaderboards, PlayerNamesTellTheMinuteAndTheSubmissionCount)
{
    StartServices(kFeatures);
    const std::string first = Engine()->leaderboards->LocalPlayerName(0);
    EXPECT_TRUE(std::regex_match(first, std::regex("[0-9]+_1"))) << first;
    Submit(5);
    const std::string second = Engine()->leaderboards->LocalPlayerName(3);
    EXPECT_TRUE(std::regex_match(second, std::regex("[0-9]+_2"))) << second;
    const DeliveredEvent event = Request(1, 1);
    ASSERT_EQ(event.scores.size(), 1u);
    EXPECT_TRUE(std::regex_match(event.scores[0].player, std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}")))
        << event.scores[0].player;
    EXPECT_STRNE(event.scores[0].id, "");
    EXPECT_EQ(event.scores[0].timestamp, 0u);
}

TEST_F(LocalLeaderboards, AfterOneHundredAndOneScoresTheLatestOfTheEqualLowestIsGone)
{
    StartServices(kFeatures);
    Submit(5, "alltime", {1});
    for (int32_t i = 0; i < 99; ++i) Submit(1000 + i);
    Submit(5, "alltime", {2});
    const DeliveredEvent event = Request(1, 200);
    EXPECT_EQ(event.leaderboard.total, 100);
    ASSERT_EQ(event.scores.size(), 100u);
    EXPECT_EQ(event.scores[99].points, 5);
    EXPECT_EQ(Data(event.scores[99]), (std::vector<uint8_t>{1}));
}

// Developer mode saves plain XML and any other mode a scrambled file; either form is read in either mode, and
// every category keeps its hundred best.
TEST_F(LocalLeaderboards, EachModeSavesItsFormReadsEitherAndKeepsTheHundredBest)
{
    StartServices(kFeatures, true);
    for (int32_t i = 1; i <= 150; ++i) Submit(i * 3, "alltime", {uint8_t(i)});
    for (int32_t i = 1; i <= 105; ++i) Submit(i, "fastest");
    EXPECT_EQ(ReadFileText(DatabaseFile()).rfind("<?xml", 0), 0u);
    Restart(false);
    DeliveredEvent event = Request(1, 150);
    EXPECT_EQ(event.leaderboard.total, 100);
    ASSERT_EQ(event.scores.size(), 100u);
    EXPECT_EQ(event.scores[0].points, 450);
    EXPECT_EQ(event.scores[99].points, 153);
    EXPECT_EQ(Data(event.scores[99]), (std::vector<uint8_t>{51}));
    Submit(1000);
    const std::string scrambled = ReadFileText(DatabaseFile());
    EXPECT_EQ(scrambled.rfind("HVScrambledDB", 0), 0u);
    EXPECT_EQ(scrambled.find("points"), std::string::npos);
    Restart(true);
    event = Request(1, 3, 0, "fastest");
    EXPECT_EQ(event.leaderboard.total, 100);
    EXPECT_EQ(Points(event), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Points(Request(1, 2)), (std::vector<int32_t>{1000, 450}));
    Submit(4);
    EXPECT_EQ(ReadFileText(DatabaseFile()).rfind("<?xml", 0), 0u);
}

TEST_F(LocalLeaderboards, DataBytesAreStoredAsNumbersJoinedBySpaces)
{
    StartServices(kFeatures, true);
    Submit(7, "alltime", {1, 2, 255});
    EXPECT_NE(ReadFileText(DatabaseFile()).find("data=\"1 2 255\""), std::string::npos) << ReadFileText(DatabaseFile());
    const DeliveredEvent event = Request(1, 1);
    ASSERT_EQ(event.scores.size(), 1u);
    EXPECT_EQ(Data(event.scores[0]), (std::vector<uint8_t>{1, 2, 255}));
}

TEST_F(LocalLeaderboards, StoredDataTextsAreReadByTheirRules)
{
    const std::string field512(512, '7');
    std::string fields189;
    for (int i = 0; i < 189; ++i) fields189 += i == 0 ? "1" : " 1";
    std::ofstream(DatabaseFile()) << "<database><array id=\"alltime\">"
                                  << "<node player=\"a\" points=\"60\" data=\"1 2 \"/>"
                                  << "<node player=\"b\" points=\"50\" data=\"" << field512 << " 300 -1\"/>"
                                  << "<node player=\"c\" points=\"40\" data=\"" << fields189 << "\"/>"
                                  << "<node player=\"d\" points=\"30\" data=\"\"/>"
                                  << "<node player=\"e\"/>"
                                  << "</array></database>";
    StartServices(kFeatures, true);
    const DeliveredEvent event = Request(1, 10);
    ASSERT_EQ(event.scores.size(), 5u);
    EXPECT_EQ(Data(event.scores[0]), (std::vector<uint8_t>{1, 2, 0}));
    EXPECT_EQ(Data(event.scores[1]), (std::vector<uint8_t>{0, 44, 255}));
    EXPECT_EQ(event.scores[2].dataLength, 0);
    EXPECT_EQ(Data(event.scores[3]), (std::vector<uint8_t>{}));
    EXPECT_EQ(event.scores[4].points, 0);
    EXPECT_STREQ(event.scores[4].player, "e");
}

TEST_F(LocalLeaderboards, HugeAndNegativeCountsAskOnlyForWhatExists)
{
    StartServices(kFeatures);
    Submit(1);
    Submit(2);
    DeliveredEvent event = Request(1, INT32_MAX);
    EXPECT_EQ(event.leaderboard.count, 2);
    EXPECT_EQ(event.leaderboard.total, 2);
    event = Request(2, INT32_MAX);
    EXPECT_EQ(Points(event), (std::vector<int32_t>{1}));
    EXPECT_EQ(event.scores[0].rank, 2);
    event = Request(INT32_MAX, INT32_MAX);
    EXPECT_EQ(event.leaderboard.count, 0);
    event = Request(1, -5);
    EXPECT_EQ(event.leaderboard.count, 0);
    EXPECT_EQ(event.leaderboard.scores, nullptr);
    event = Request(INT32_MIN, 3);
    EXPECT_EQ(event.leaderboard.count, 0);
}

TEST_F(LocalLeaderboards, ScoresAroundAnyPlayerAreTheBestOfTheCategory)
{
    StartServices(kFeatures);
    for (int32_t points = 1; points <= 5; ++points) Submit(points);
    EXPECT_TRUE(Engine()->leaderboards->FetchScoresAroundUser(2, 3, "alltime"));
    const std::vector<DeliveredEvent> events = DeliverEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].leaderboard.start, 1);
    EXPECT_EQ(Points(events[0]), (std::vector<int32_t>{5, 4, 3}));
}

TEST_F(LocalLeaderboards, CategoryIdsWithMarkupCharactersSurviveASave)
{
    StartServices(kFeatures, true);
    Submit(42, "a\"<&>'b");
    Restart(true);
    EXPECT_EQ(Points(Request(1, 5, 0, "a\"<&>'b")), (std::vector<int32_t>{42}));
}

TEST_F(LocalLeaderboards, ALaterDamagedDatabaseDoesNotReplaceTheCopyKeptEarlier)
{
    const std::string first = "<database><array id=\"alltime\"><node points=\"1\"";
    const std::string second = "<database><array";
    std::ofstream(DatabaseFile(), std::ios::binary) << first;
    StartServices(kFeatures);
    StopServices();
    DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);
    std::ofstream(DatabaseFile(), std::ios::binary | std::ios::trunc) << second;
    StartServices(kFeatures);
    EXPECT_TRUE(
        Logged("HVI_ReadLeaderboardFile: 'user://leaderboards-db.xml' cannot be read; it is kept aside as "
               "'user://leaderboards-db.xml.damaged-2'."));
    EXPECT_EQ(ReadFileText(UserFolder() / "leaderboards-db.xml.damaged"), first);
    EXPECT_EQ(ReadFileText(UserFolder() / "leaderboards-db.xml.damaged-2"), second);
}

TEST_F(LocalLeaderboards, ADatabaseThatCanNeitherBeReadNorKeptAsideIsLeftAlone)
{
    const std::string damaged = "<database><array";
    std::ofstream(DatabaseFile(), std::ios::binary) << damaged;
    // Folders in the way of every name the damaged file could get.
    std::filesystem::create_directories(UserFolder() / "leaderboards-db.xml.damaged" / "in-the-way");
    for (int copy = 2; copy <= 9; ++copy)
        std::filesystem::create_directories(UserFolder() / ("leaderboards-db.xml.damaged-" + std::to_string(copy)));
    StartServices(kFeatures);
    EXPECT_TRUE(
        Logged("HVI_ReadLeaderboardFile: 'user://leaderboards-db.xml' cannot be read nor kept aside; local "
               "scores are not saved over it."));
    Submit(9);
    EXPECT_EQ(ReadFileText(DatabaseFile()), damaged);
    const DeliveredEvent event = Request(1, 5);
    EXPECT_EQ(event.success, 0u);
    EXPECT_EQ(event.reason, "Not yet initialized.");
    EXPECT_EQ(event.category, "alltime");
}

TEST_F(LocalLeaderboards, AnOverfullCategoryIsTrimmedToItsHundredBestByOneSave)
{
    // A file written elsewhere with 120 scores in one category: the next
    // save keeps the 100 best of it, not 120 less one.
    std::ofstream file(DatabaseFile());
    file << "<database><array id=\"alltime\">";
    for (int32_t points = 1; points <= 120; ++points) file << "<node player=\"p\" points=\"" << points << "\"/>";
    file << "</array><array id=\"fastest\"><node points=\"3\"/><node points=\"1\"/></array></database>";
    file.close();
    StartServices(kFeatures, true);
    Submit(0);
    Restart(true);
    const DeliveredEvent event = Request(1, 150);
    EXPECT_EQ(event.leaderboard.total, 100);
    ASSERT_EQ(event.scores.size(), 100u);
    EXPECT_EQ(event.scores[0].points, 120);
    EXPECT_EQ(event.scores[99].points, 21);
    // The other category, ascending, is left as it was.
    EXPECT_EQ(Points(Request(1, 5, 0, "fastest")), (std::vector<int32_t>{1, 3}));
}

// A database that cannot be read is kept aside byte for byte with a log line; the scores start over and their
// saves leave the kept copy alone.
TEST_F(LocalLeaderboards, ADamagedDatabaseIsKeptAsideAndNotOverwritten)
{
    StartServices(kFeatures);
    Submit(3);
    StopServices();
    DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);
    const std::string good = ReadFileText(DatabaseFile());
    // Magic (13 bytes), u32 text length, u32 checksum, then the scrambled text.
    ASSERT_GT(good.size(), 21u);
    ASSERT_EQ(good.substr(0, 13), "HVScrambledDB");
    const auto changed = [&good](size_t at, const std::string& bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const struct {
        const char* name;
        std::string file;
    } rows[] = {
        {"UnclosedXml", "<database><array id=\"alltime\"><node points=\"1\""},
        {"TruncatedScrambledFile", good.substr(0, good.size() / 2)},
        {"WrongMagic", changed(0, "X")},
        {"LengthOfAllOnes", changed(13, "\xFF\xFF\xFF\xFF")},
        {"LengthPastTheEnd", changed(13, std::string(1, char(uint8_t(good[13]) + 1)))},
        {"WrongChecksum", changed(good.size() - 1, std::string(1, char(good.back() ^ 0x20)))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_log = LogCapture();  // only the lines of this round
        std::filesystem::remove(UserFolder() / "leaderboards-db.xml.damaged");
        std::ofstream(DatabaseFile(), std::ios::binary | std::ios::trunc) << row.file;
        StartServices(kFeatures);
        EXPECT_TRUE(
            Logged("HVI_ReadLeaderboardFile: 'user://leaderboards-db.xml' cannot be read; it is kept "
                   "aside as 'user://leaderboards-db.xml.damaged'."));
        EXPECT_EQ(ReadFileText(UserFolder() / "leaderboards-db.xml.damaged"), row.file);
        Submit(8);
        EXPECT_EQ(ReadFileText(UserFolder() / "leaderboards-db.xml.damaged"), row.file);
        EXPECT_EQ(Points(Request(1, 5)), (std::vector<int32_t>{8}));
        StopServices();
        DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);
    }
}

TEST_F(LocalLeaderboards, AFailedSaveKeepsTheOldFileAndTheScoresInMemory)
{
    StartServices(kFeatures, true);
    Submit(1);
    const std::string before = ReadFileText(DatabaseFile());
    {
        // The new file cannot grow past the old one's size, as on a full disk.
        ScopedLimit size(RLIMIT_FSIZE, before.size());
        Submit(2);
    }
    EXPECT_TRUE(LoggedAsWarning("[POPUP] Unable to write file 'user://leaderboards-db.xml'."));
    EXPECT_EQ(ReadFileText(DatabaseFile()), before);
    EXPECT_EQ(Points(Request(1, 5)), (std::vector<int32_t>{2, 1}));
}

TEST_F(LocalLeaderboards, ConcurrentSubmissionsAndRequestsKeepEveryCategoryWhole)
{
    StartServices(kFeatures);
    constexpr int kThreads = 4;
    constexpr int kScores = 30;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            const std::string category = "thread" + std::to_string(t);
            for (int i = 0; i < kScores; ++i) {
                Engine()->leaderboards->AddScore(0, MakeScore(i), category.c_str());
                Engine()->leaderboards->FetchScores(1, 5, 0, category.c_str());
                Engine()->leaderboards->LocalPlayerName(0);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(DeliverEvents().size(), size_t(kThreads * kScores));
    for (int t = 0; t < kThreads; ++t) {
        const std::string category = "thread" + std::to_string(t);
        EXPECT_EQ(Request(1, 100, 0, category.c_str()).leaderboard.total, kScores);
    }
    const std::string name = Engine()->leaderboards->LocalPlayerName(0);
    EXPECT_TRUE(std::regex_match(name, std::regex("[0-9]+_121"))) << name;
}

TEST_F(LocalLeaderboards, TheDatabaseFileIsOpenedOnceAtStart)
{
    StartServices(kFeatures, true);
    Submit(4);
    StopServices();
    DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);
    // Every open of the file is seen: a second read could fail where the
    // first did not and leave an empty database for the next save.
    const int watcher = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watcher, 0);
    ASSERT_GE(inotify_add_watch(watcher, DatabaseFile().c_str(), IN_OPEN), 0);
    StartServices(kFeatures, true);
    int opens = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t got; (got = read(watcher, events, sizeof events)) > 0;) {
        for (char* cursor = events; cursor < events + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(cursor);
            opens += (event->mask & IN_OPEN) != 0;
            cursor += sizeof(inotify_event) + event->len;
        }
    }
    close(watcher);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(Points(Request(1, 5)), (std::vector<int32_t>{4}));
}
