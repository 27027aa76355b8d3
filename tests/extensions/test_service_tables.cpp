#include <cstring>
#include <functional>

#include "extension_test_environment.h"
#include "extensions/simulated/picture_loading.h"

using ServiceTables = ExtensionTest;

TEST_F(ServiceTables, EveryTableAnswersItsDefaultsWithoutImplementations)
{
    StartServices("");
    HV_EngineInterface* hv = Engine();

    hv->achievements->Award(0, "first");
    hv->achievements->AwardProgress(0, "first", 50);
    hv->achievements->ShowAchievements(0);
    hv->achievements->StoreValue("coins", 3);
    EXPECT_FALSE(hv->achievements->CanShowAchievements());
    EXPECT_EQ(hv->achievements->ValueOf("coins"), 0);

    const uint8_t bytes[] = {1, 2};
    hv->cloud->PutData("key", bytes, 2);
    hv->cloud->RemoveData("key");
    EXPECT_FALSE(hv->cloud->IsAvailable());
    EXPECT_EQ(hv->cloud->ReadData("key"), nullptr);

    hv->iap->PurchaseItem("sword");
    hv->iap->RequestItemData("sword");
    hv->iap->RestorePurchases();
    EXPECT_FALSE(hv->iap->IsAvailable());
    EXPECT_FALSE(hv->iap->ShowPurchaseProgress());

    HV_LeaderboardScore score = {};
    score.points = 5;
    hv->leaderboards->AddScore(0, score, "daily");
    EXPECT_TRUE(Logged("Submitting score of 5 points to category 'daily'"));
    EXPECT_FALSE(hv->leaderboards->FetchScores(1, 10, 0, "daily"));
    EXPECT_FALSE(hv->leaderboards->FetchScoresAroundUser(0, 10, "daily"));
    EXPECT_FALSE(hv->leaderboards->IsBusy());
    EXPECT_EQ(hv->leaderboards->LocalPlayerName(0), nullptr);
    EXPECT_EQ(hv->leaderboards->LocalPlayerState(0), 0);
    EXPECT_FALSE(hv->leaderboards->Logout());
    EXPECT_EQ(hv->leaderboards->QueryMaxScoreCount(), 30);
    hv->leaderboards->LaunchLeaderboardView(0, "daily");
    hv->leaderboards->OpenCategory("daily");

    hv->notifications->RegisterForLocalNotifications();
    hv->notifications->RemoveAllLocalNotifications();
    hv->notifications->SetLocalNotification("a", "b", "c", 1);
    EXPECT_FALSE(hv->notifications->IsAvailable());

    hv->social->Login();
    hv->social->Logout();
    hv->social->RefreshFriends();
    EXPECT_FALSE(hv->social->IsAvailable());
    EXPECT_EQ(hv->social->RequestLocalUser(3), nullptr);
    EXPECT_EQ(hv->social->RequestProfilePicture("100000001", 64), nullptr);

    hv->statistics->SetStatistic(1, 2, nullptr, nullptr);

    hv->ugc->Query();
    hv->ugc->Subscribe("item");
    hv->ugc->Unsubscribe("item");
    hv->ugc->WaitForUploads();
    EXPECT_FALSE(hv->ugc->IsAvailable());
    EXPECT_TRUE(hv->ugc->QueryFinished());
    EXPECT_EQ(hv->ugc->QueryResultCount(), 0);
    EXPECT_EQ(hv->ugc->QueryResultItem(0), nullptr);
    EXPECT_EQ(hv->ugc->UploadItem("item"), 0u);

    // No request was made, so nothing was printed for one.
    for (const std::string& line : m_log.Lines()) EXPECT_FALSE(Contains(line, "Requesting")) << line;
    EXPECT_EQ(DeliverEvents().size(), 0u);
}

TEST_F(ServiceTables, LoginWithoutLeaderboardsExplainsWhatIsMissing)
{
    StartServices("");
    Engine()->leaderboards->Login(0);
    EXPECT_TRUE(
        LoggedAsWarning("[POPUP] No leaderboard implementation defined while calling hv->leaderboards->Login. Requires "
                        "feature LEADERBOARDS and a leaderboards implementation. Use fallback feature "
                        "LOCAL_LEADERBOARDS for local score lists."));
}

class ModuleServiceTables : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        InstallModule("test-services-module.dll", "module-steam.dll");
        StartServices("STEAM,ACHIEVEMENTS,LEADERBOARDS");
    }
    std::string Journal() { return ModuleJournal("module-steam.dll"); }
};

// Each slot called as a game calls it: what the module's implementation notes for the call (nothing where the
// table answers or refuses by itself), and the line the table logs, if any. Answers are checked in the calls.
TEST_F(ModuleServiceTables, EverySlotForwardsItsArgumentsAndAnswers)
{
    HV_AchievementsInterface* achievements = Engine()->achievements;
    HV_UGCInterface* ugc = Engine()->ugc;
    HV_NotificationsInterface* notifications = Engine()->notifications;
    HV_LeaderboardsInterface* leaderboards = Engine()->leaderboards;
    char third[] = "three";
    char fourth[] = "four";
    const auto addScore = [leaderboards](int32_t dataLength, char idFill = 0, char playerFill = 0) {
        HV_LeaderboardScore score = {};
        std::snprintf(score.id, sizeof score.id, "mine");
        std::snprintf(score.player, sizeof score.player, "Player");
        if (idFill != 0) std::memset(score.id, idFill, sizeof score.id);  // unterminated
        if (playerFill != 0) std::memset(score.player, playerFill, sizeof score.player);
        score.points = 1234;
        score.dataLength = dataLength;
        leaderboards->AddScore(1, score, "daily");
    };
    const std::string longId(63, 'i');
    const std::string longPlayer(63, 'p');
    const std::string unterminated = "AddScore(1,'" + longId + "','" + longPlayer + "',1234,0,'daily');";
    const struct {
        std::function<void()> call;
        std::string entry;
        const char* line;
    } rows[] = {
        {[&] { achievements->Award(2, "first_win"); }, "Award(2,'first_win');", nullptr},
        {[&] { achievements->AwardProgress(1, "collector", 40); }, "AwardProgress(1,'collector',40);", nullptr},
        {[&] { EXPECT_TRUE(achievements->CanShowAchievements()); }, "CanShowAchievements;", nullptr},
        {[&] { achievements->ShowAchievements(3); }, "ShowAchievements(3);", nullptr},
        {[&] { achievements->StoreValue("coins", -5); }, "StoreValue('coins',-5);", nullptr},
        {[&] { EXPECT_EQ(achievements->ValueOf("coins"), 77); }, "ValueOf('coins');", nullptr},
        {[&] { Engine()->statistics->SetStatistic(7, 8, third, fourth); }, "SetStatistic(7,8,'three','four');",
         nullptr},
        {[&] { EXPECT_TRUE(ugc->IsAvailable()); }, "UGC.IsAvailable;", nullptr},
        {[&] { ugc->Query(); }, "Query;", nullptr},
        {[&] { EXPECT_FALSE(ugc->QueryFinished()); }, "QueryFinished;", nullptr},
        {[&] { EXPECT_EQ(ugc->QueryResultCount(), 3); }, "QueryResultCount;", nullptr},
        {[&] { EXPECT_NE(ugc->QueryResultItem(2), nullptr); }, "QueryResultItem(2);", nullptr},
        {[&] { ugc->Subscribe("map-1"); }, "Subscribe('map-1');", nullptr},
        {[&] { ugc->Unsubscribe("map-2"); }, "Unsubscribe('map-2');", nullptr},
        {[&] { EXPECT_EQ(ugc->UploadItem("map-3"), 0x1234567890ull); }, "UploadItem('map-3');", nullptr},
        {[&] { ugc->WaitForUploads(); }, "WaitForUploads;", nullptr},
        {[&] { EXPECT_TRUE(notifications->IsAvailable()); }, "", nullptr},
        {[&] { notifications->RegisterForLocalNotifications(); }, "RegisterForLocalNotifications;", nullptr},
        {[&] { notifications->SetLocalNotification("t", "b", nullptr, 9); }, "SetLocalNotification('t','b',null,9);",
         nullptr},
        {[&] { notifications->RemoveAllLocalNotifications(); }, "RemoveAllLocalNotifications;", nullptr},
        {[&] { EXPECT_FALSE(leaderboards->FetchScores(1, 10, 0, "daily")); }, "RequestScores(1,10,0,'daily');",
         "Requesting scores 1..10 (10 scores) for category 'daily' with filter 'GLOBAL'"},
        {[&] { leaderboards->FetchScores(1, 10, 0, "daily"); }, "RequestScores(1,10,0,'daily');",
         "RequestScores returned false. No return event will be sent."},
        {[&] { leaderboards->FetchScores(3, 2, 1, "daily"); }, "RequestScores(3,2,1,'daily');",
         "Requesting scores 3..4 (2 scores) for category 'daily' with filter 'FRIENDS'"},
        {[&] { leaderboards->FetchScores(3, 2, 7, "daily"); }, "RequestScores(3,2,7,'daily');",
         "Requesting scores 3..4 (2 scores) for category 'daily' with filter 'ERROR'"},
        // A huge count is printed without overflowing the request.
        {[&] { leaderboards->FetchScores(1, INT32_MAX, 0, "daily"); }, "RequestScores(1,2147483647,0,'daily');",
         "Requesting scores 1..2147483647 (2147483647 scores) for category 'daily' with filter 'GLOBAL'"},
        {[&] { EXPECT_FALSE(leaderboards->FetchScoresAroundUser(1, 5, "daily")); },
         "RequestScoresAroundUserRank(1,5,'daily');", "Requesting 5 scores around user #1 for category 'daily'"},
        {[&] { leaderboards->FetchScoresAroundUser(1, 5, "daily"); }, "RequestScoresAroundUserRank(1,5,'daily');",
         "RequestScoresAroundUserRank returned false. No return event will be sent."},
        {[&] { EXPECT_TRUE(leaderboards->IsBusy()); }, "IsBusy;", nullptr},
        {[&] { EXPECT_TRUE(leaderboards->Logout()); }, "Logout;", nullptr},
        {[&] { EXPECT_EQ(leaderboards->QueryMaxScoreCount(), 12); }, "", nullptr},
        {[&] { leaderboards->LaunchLeaderboardView(2, "weekly"); }, "LaunchLeaderboardView(2,'weekly');", nullptr},
        {[&] { leaderboards->Login(2); }, "GetLocalPlayerState(2);Login(2);", "Login for player 2"},
        // The local player's name is asked only for players 0 to 3.
        {[&] { EXPECT_STREQ(leaderboards->LocalPlayerName(3), "Tester"); }, "GetLocalPlayerName(3);", nullptr},
        {[&] { EXPECT_EQ(leaderboards->LocalPlayerName(4), nullptr); }, "", nullptr},
        {[&] { EXPECT_EQ(leaderboards->LocalPlayerName(uint32_t(-1)), nullptr); }, "", nullptr},
        // Empty category ids are ignored.
        {[&] { leaderboards->OpenCategory(""); }, "", nullptr},
        {[&] { leaderboards->OpenCategory(nullptr); }, "", nullptr},
        {[&] { leaderboards->OpenCategory("daily"); }, "OpenCategory('daily');", nullptr},
        // A score goes on as the table's copy; one with a data length outside its record is refused.
        {[&] { addScore(188); }, "AddScore(1,'mine','Player',1234,188,'daily');",
         "Submitting score of 1234 points to category 'daily'"},
        {[&] { addScore(189); }, "",
         "HV_Leaderboards_AddScore: data length 189 is outside 0..188; the score is not submitted."},
        {[&] { addScore(-1); }, "",
         "HV_Leaderboards_AddScore: data length -1 is outside 0..188; the score is not submitted."},
        {[&] { addScore(0, 'i', 'p'); }, unterminated, nullptr},  // texts are cut to their field
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        m_log = LogCapture();
        const size_t before = Journal().size();
        row.call();
        EXPECT_EQ(Journal().substr(before), row.entry);
        if (row.line != nullptr) {
            EXPECT_TRUE(Logged(row.line)) << row.line;
        }
    }
}

TEST_F(ModuleServiceTables, AchievementsNeedTheirFeature)
{
    StopServices();
    StartServices("STEAM");
    EXPECT_FALSE(Engine()->achievements->CanShowAchievements());
}

class PurchaseFallback : public ExtensionTest {};

TEST_F(PurchaseFallback, AnImplementationThatIsNotAvailableIsNeverCalled)
{
    InstallModule("test-pausing-module.dll", "module-steam.dll");
    StartServices("STEAM,IN_APP_PURCHASES");
    HV_InAppPurchaseInterface* purchases = Engine()->iap;
    EXPECT_FALSE(purchases->IsAvailable());
    purchases->PurchaseItem("sword");
    purchases->RequestItemData("sword");
    purchases->RestorePurchases();
    EXPECT_FALSE(purchases->ShowPurchaseProgress());
    EXPECT_STREQ(HV_ExtensionCommand("IAP_ShowPurchaseProgress", nullptr), "false");
    const std::string journal = ModuleJournal("module-steam.dll");
    EXPECT_TRUE(Contains(journal, "Purchases.IsAvailable;")) << journal;
    EXPECT_FALSE(Contains(journal, "Purchases.PurchaseItem")) << journal;
    EXPECT_FALSE(Contains(journal, "Purchases.RequestItemData")) << journal;
    EXPECT_FALSE(Contains(journal, "Purchases.RestorePurchases")) << journal;
    EXPECT_FALSE(Contains(journal, "Purchases.ShowPurchaseProgress")) << journal;
}

TEST_F(PurchaseFallback, IsAvailableAndDoesNothing)
{
    StartServices("IN_APP_PURCHASES");
    HV_InAppPurchaseInterface* purchases = Engine()->iap;
    EXPECT_TRUE(purchases->IsAvailable());
    purchases->PurchaseItem("sword");
    purchases->RequestItemData("sword");
    purchases->RestorePurchases();
    EXPECT_FALSE(purchases->ShowPurchaseProgress());
    EXPECT_EQ(DeliverEvents().size(), 0u);
}

namespace {

std::vector<std::string>& RequestedPictures()
{
    static std::vector<std::string> paths;
    return paths;
}

HV_Bitmap* RecordPicture(const char* path, int32_t cacheMode)
{
    RequestedPictures().push_back(std::string(path) + " mode " + std::to_string(cacheMode));
    return nullptr;
}

}  // namespace

class ProfilePictures : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        RequestedPictures().clear();
        HVI_SetPictureLoader(RecordPicture);
        StartServices("SIMULATED_SOCIAL");
    }
    void TearDown() override
    {
        HVI_SetPictureLoader(nullptr);
        ExtensionTest::TearDown();
    }
};

TEST_F(ProfilePictures, ASizeBelowFourOrANullIdAsksNothing)
{
    EXPECT_EQ(Engine()->social->RequestProfilePicture("100000001", 3), nullptr);
    EXPECT_EQ(Engine()->social->RequestProfilePicture(nullptr, 64), nullptr);
    EXPECT_TRUE(RequestedPictures().empty());
}

TEST_F(ProfilePictures, SizeFourAsksThePictureServiceOfTheSimulatedNetwork)
{
    Engine()->social->RequestProfilePicture("100000001", 4);
    ASSERT_EQ(RequestedPictures().size(), 1u);
    EXPECT_EQ(RequestedPictures()[0],
              "http://pictures.invalid/100000001/picture?width=4&height=4&return_ssl_resources=0 mode 4");
}

TEST_F(ProfilePictures, TheUserIdCannotChangeThePathOrTheQuery)
{
    Engine()->social->RequestProfilePicture("../a b?x=1&y#z%", 50);
    ASSERT_EQ(RequestedPictures().size(), 1u);
    EXPECT_EQ(RequestedPictures()[0],
              "http://pictures.invalid/..%2Fa%20b%3Fx%3D1%26y%23z%25/picture?width=50&height=50"
              "&return_ssl_resources=0 mode 4");
}
