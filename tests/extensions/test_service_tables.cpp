#include <cstring>

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

TEST_F(ModuleServiceTables, AchievementsForwardArgumentsAndResults)
{
    HV_AchievementsInterface* achievements = Engine()->achievements;
    achievements->Award(2, "first_win");
    achievements->AwardProgress(1, "collector", 40);
    EXPECT_TRUE(achievements->CanShowAchievements());
    achievements->ShowAchievements(3);
    achievements->StoreValue("coins", -5);
    EXPECT_EQ(achievements->ValueOf("coins"), 77);
    EXPECT_TRUE(Contains(Journal(),
                         "Award(2,'first_win');AwardProgress(1,'collector',40);CanShowAchievements;"
                         "ShowAchievements(3);StoreValue('coins',-5);ValueOf('coins');"));
}

TEST_F(ModuleServiceTables, AchievementsNeedTheirFeature)
{
    StopServices();
    StartServices("STEAM");
    EXPECT_FALSE(Engine()->achievements->CanShowAchievements());
}

TEST_F(ModuleServiceTables, StatisticsForwardTheirFourArguments)
{
    char third[] = "three";
    char fourth[] = "four";
    Engine()->statistics->SetStatistic(7, 8, third, fourth);
    EXPECT_TRUE(Contains(Journal(), "SetStatistic(7,8,'three','four');"));
}

TEST_F(ModuleServiceTables, UserGeneratedContentForwardsEveryOperation)
{
    HV_UGCInterface* ugc = Engine()->ugc;
    EXPECT_TRUE(ugc->IsAvailable());
    ugc->Query();
    EXPECT_FALSE(ugc->QueryFinished());
    EXPECT_EQ(ugc->QueryResultCount(), 3);
    EXPECT_NE(ugc->QueryResultItem(2), nullptr);
    ugc->Subscribe("map-1");
    ugc->Unsubscribe("map-2");
    EXPECT_EQ(ugc->UploadItem("map-3"), 0x1234567890ull);
    ugc->WaitForUploads();
    EXPECT_TRUE(Contains(Journal(),
                         "UGC.IsAvailable;Query;QueryFinished;QueryResultCount;QueryResultItem(2);"
                         "Subscribe('map-1');Unsubscribe('map-2');UploadItem('map-3');WaitForUploads;"));
}

TEST_F(ModuleServiceTables, NotificationsForwardEveryOperation)
{
    HV_NotificationsInterface* notifications = Engine()->notifications;
    EXPECT_TRUE(notifications->IsAvailable());
    notifications->RegisterForLocalNotifications();
    notifications->SetLocalNotification("t", "b", nullptr, 9);
    notifications->RemoveAllLocalNotifications();
    EXPECT_TRUE(Contains(Journal(),
                         "RegisterForLocalNotifications;SetLocalNotification('t','b',null,9);"
                         "RemoveAllLocalNotifications;"));
}

TEST_F(ModuleServiceTables, LeaderboardOperationsForwardAndReportRefusedRequests)
{
    HV_LeaderboardsInterface* leaderboards = Engine()->leaderboards;
    EXPECT_FALSE(leaderboards->FetchScores(1, 10, 0, "daily"));
    EXPECT_TRUE(Logged("Requesting scores 1..10 (10 scores) for category 'daily' with filter 'GLOBAL'"));
    EXPECT_TRUE(Logged("RequestScores returned false. No return event will be sent."));
    EXPECT_FALSE(leaderboards->FetchScoresAroundUser(1, 5, "daily"));
    EXPECT_TRUE(Logged("Requesting 5 scores around user #1 for category 'daily'"));
    EXPECT_TRUE(Logged("RequestScoresAroundUserRank returned false. No return event will be sent."));
    EXPECT_TRUE(leaderboards->IsBusy());
    EXPECT_TRUE(leaderboards->Logout());
    EXPECT_EQ(leaderboards->QueryMaxScoreCount(), 12);
    leaderboards->LaunchLeaderboardView(2, "weekly");
    EXPECT_TRUE(Contains(Journal(),
                         "RequestScores(1,10,0,'daily');RequestScoresAroundUserRank(1,5,'daily');IsBusy;"
                         "Logout;LaunchLeaderboardView(2,'weekly');"));
}

TEST_F(ModuleServiceTables, FilterWordsOfRequestMessages)
{
    Engine()->leaderboards->FetchScores(3, 2, 1, "daily");
    Engine()->leaderboards->FetchScores(3, 2, 7, "daily");
    EXPECT_TRUE(Logged("Requesting scores 3..4 (2 scores) for category 'daily' with filter 'FRIENDS'"));
    EXPECT_TRUE(Logged("Requesting scores 3..4 (2 scores) for category 'daily' with filter 'ERROR'"));
}

TEST_F(ModuleServiceTables, AHugeCountIsPrintedWithoutOverflowingTheRequest)
{
    Engine()->leaderboards->FetchScores(1, INT32_MAX, 0, "daily");
    EXPECT_TRUE(
        Logged("Requesting scores 1..2147483647 (2147483647 scores) for category 'daily' with filter 'GLOBAL'"));
    EXPECT_TRUE(Contains(Journal(), "RequestScores(1,2147483647,0,'daily');"));
}

TEST_F(ModuleServiceTables, LocalPlayerNameIsAskedOnlyForPlayersZeroToThree)
{
    HV_LeaderboardsInterface* leaderboards = Engine()->leaderboards;
    EXPECT_STREQ(leaderboards->LocalPlayerName(3), "Tester");
    EXPECT_EQ(leaderboards->LocalPlayerName(4), nullptr);
    EXPECT_EQ(leaderboards->LocalPlayerName(uint32_t(-1)), nullptr);
    const std::string journal = Journal();
    EXPECT_TRUE(Contains(journal, "GetLocalPlayerName(3);"));
    EXPECT_FALSE(Contains(journal, "GetLocalPlayerName(4);"));
    EXPECT_FALSE(Contains(journal, "GetLocalPlayerName(4294967295);"));
}

TEST_F(ModuleServiceTables, OpenCategoryIgnoresEmptyIds)
{
    Engine()->leaderboards->OpenCategory("");
    Engine()->leaderboards->OpenCategory(nullptr);
    Engine()->leaderboards->OpenCategory("daily");
    const std::string journal = Journal();
    EXPECT_TRUE(Contains(journal, "OpenCategory('daily');"));
    EXPECT_FALSE(Contains(journal, "OpenCategory(''"));
    EXPECT_FALSE(Contains(journal, "OpenCategory(null"));
}

TEST_F(ModuleServiceTables, AddScoreHandsOnTheTablesCopy)
{
    HV_LeaderboardScore score = {};
    std::snprintf(score.id, sizeof score.id, "mine");
    std::snprintf(score.player, sizeof score.player, "Player");
    score.points = 1234;
    score.dataLength = 188;
    Engine()->leaderboards->AddScore(1, score, "daily");
    EXPECT_TRUE(Logged("Submitting score of 1234 points to category 'daily'"));
    EXPECT_TRUE(Contains(Journal(), "AddScore(1,'mine','Player',1234,188,'daily');"));
}

TEST_F(ModuleServiceTables, AScoreWithADataLengthOutsideTheRecordIsRefused)
{
    HV_LeaderboardScore score = {};
    score.points = 5;
    score.dataLength = 189;
    Engine()->leaderboards->AddScore(0, score, "daily");
    score.dataLength = -1;
    Engine()->leaderboards->AddScore(0, score, "daily");
    EXPECT_TRUE(Logged("HV_Leaderboards_AddScore: data length 189 is outside 0..188; the score is not submitted."));
    EXPECT_TRUE(Logged("HV_Leaderboards_AddScore: data length -1 is outside 0..188; the score is not submitted."));
    EXPECT_FALSE(Contains(Journal(), "AddScore("));
}

TEST_F(ModuleServiceTables, UnterminatedTextsOfAScoreAreCutToTheirField)
{
    HV_LeaderboardScore score = {};
    std::memset(score.id, 'i', sizeof score.id);
    std::memset(score.player, 'p', sizeof score.player);
    Engine()->leaderboards->AddScore(0, score, "daily");
    EXPECT_TRUE(Contains(Journal(), "AddScore(0,'" + std::string(63, 'i') + "','" + std::string(63, 'p') + "',0,0,"));
}

TEST_F(ModuleServiceTables, LoginAsksTheStateThenLogsIn)
{
    Engine()->leaderboards->Login(2);
    EXPECT_TRUE(Logged("Login for player 2"));
    EXPECT_TRUE(Contains(Journal(), "GetLocalPlayerState(2);Login(2);"));
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
