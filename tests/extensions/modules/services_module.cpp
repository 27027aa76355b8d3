// A module library that offers the services only module libraries supply:
// achievements, statistics, user-generated content and notifications, and a
// leaderboards implementation whose player is not logged in. Each
// implementation notes every call in the journal and answers fixed values.
#include <string>

#include "halvo/extensions.h"
#include "journal.h"

namespace {

class TestAchievements : public AchievementsImplementation {
public:
    const char* GetName() override { return "TestAchievements"; }
    bool Initialize() override { return NoteAndAnswer(true, "Achievements.Initialize"); }
    void Shutdown() override { NoteCall("Achievements.Shutdown"); }
    void Update() override { NoteCall("Achievements.Update"); }
    void Award(uint32_t player, const char* id) override { NoteCall("Award", player, id); }
    void AwardProgress(uint32_t player, const char* id, int32_t progress) override
    {
        NoteCall("AwardProgress", player, id, progress);
    }
    bool CanShowAchievements() override { return NoteAndAnswer(true, "CanShowAchievements"); }
    void ShowAchievements(uint32_t player) override { NoteCall("ShowAchievements", player); }
    void StoreValue(const char* name, int32_t value) override { NoteCall("StoreValue", name, value); }
    int32_t ValueOf(const char* name) override { return NoteAndAnswer(77, "ValueOf", name); }
};

class TestStatistics : public StatisticImplementation {
public:
    const char* GetName() override { return "TestStatistics"; }
    void SetStatistic(uint32_t first, uint32_t second, void* third, void* fourth) override
    {
        NoteCall("SetStatistic", first, second, static_cast<const char*>(third), static_cast<const char*>(fourth));
    }
};

class TestUGC : public UGCImplementation {
public:
    const char* GetName() override { return "TestUGC"; }
    bool IsAvailable() override { return NoteAndAnswer(true, "UGC.IsAvailable"); }
    void Query() override { NoteCall("Query"); }
    bool QueryFinished() override { return NoteAndAnswer(false, "QueryFinished"); }
    int32_t QueryResultCount() override { return NoteAndAnswer(3, "QueryResultCount"); }
    void* QueryResultItem(int32_t index) override { return NoteAndAnswer<void*>(&m_item, "QueryResultItem", index); }
    void Subscribe(const char* item) override { NoteCall("Subscribe", item); }
    void Unsubscribe(const char* item) override { NoteCall("Unsubscribe", item); }
    uint64_t UploadItem(const char* item) override { return NoteAndAnswer(0x1234567890ull, "UploadItem", item); }
    void WaitForUploads() override { NoteCall("WaitForUploads"); }

private:
    int m_item = 0;
};

class TestNotifications : public NotificationImplementation {
public:
    const char* GetName() override { return "TestNotifications"; }
    void RegisterForLocalNotifications() override { NoteCall("RegisterForLocalNotifications"); }
    void RemoveAllLocalNotifications() override { NoteCall("RemoveAllLocalNotifications"); }
    void SetLocalNotification(const char* first, const char* second, const char* third, int32_t number) override
    {
        NoteCall("SetLocalNotification", first, second, third, number);
    }
};

class TestLeaderboards : public LeaderboardsImplementation {
public:
    const char* GetName() override { return "TestLeaderboards"; }
    void AddScore(uint32_t player, HV_LeaderboardScore* score, const char* category) override
    {
        const char* id = score->id;
        const char* name = score->player;
        NoteCall("AddScore", player, id, name, score->points, score->dataLength, category);
    }
    bool RequestScores(int32_t start, int32_t count, int32_t filter, const char* category) override
    {
        return NoteAndAnswer(false, "RequestScores", start, count, filter, category);
    }
    bool RequestScoresAroundUserRank(uint32_t player, int32_t count, const char* category) override
    {
        return NoteAndAnswer(false, "RequestScoresAroundUserRank", player, count, category);
    }
    const char* GetLocalPlayerName(uint32_t player) override
    {
        return NoteAndAnswer("Tester", "GetLocalPlayerName", player);
    }
    bool Logout() override { return NoteAndAnswer(true, "Logout"); }
    void OpenCategory(const char* category) override { NoteCall("OpenCategory", category); }
    void Login(uint32_t player) override { NoteCall("Login", player); }
    int32_t GetLocalPlayerState(uint32_t player) override { return NoteAndAnswer(0, "GetLocalPlayerState", player); }
    bool IsBusy() override { return NoteAndAnswer(true, "IsBusy"); }
    void LaunchLeaderboardView(uint32_t player, const char* category) override
    {
        NoteCall("LaunchLeaderboardView", player, category);
    }
    int32_t GetMaxScoreCount() override { return 12; }
};

class ServicesModule : public ExtensionModule {
public:
    ~ServicesModule() override { NoteCall("Module.Delete"); }
    const char* GetName() override { return "Test Services"; }
    bool Initialize(HV_EngineInterface*) override
    {
        NoteCall("Module.Initialize");
        m_achievements = new TestAchievements;
        m_statistics = new TestStatistics;
        m_ugc = new TestUGC;
        m_notifications = new TestNotifications;
        m_leaderboards = new TestLeaderboards;
        return true;
    }
    void ReleaseImplementations() override
    {
        NoteCall("Module.ReleaseImplementations");
        delete m_achievements;
        delete m_statistics;
        delete m_ugc;
        delete m_notifications;
        delete m_leaderboards;
        m_leaderboards = nullptr;
        m_achievements = nullptr;
        m_statistics = nullptr;
        m_ugc = nullptr;
        m_notifications = nullptr;
    }
    bool ShouldPauseGame() override { return NoteAndAnswer(false, "Module.ShouldPauseGame"); }
    void Update(float step) override { Note("Module.Update(" + std::to_string(int(step * 1000)) + "ms)"); }
    const char* ExecuteCommand(const char* command, const char* argument) override
    {
        NoteCall("Module.ExecuteCommand", command, argument);
        return command != nullptr && std::string(command) == "TestServices_Echo" ? argument : nullptr;
    }
    BaseImplementation* GetImplementation(HV_ServiceKind kind) override
    {
        switch (kind) {
        case HV_SERVICE_ACHIEVEMENT: return m_achievements;
        case HV_SERVICE_STATISTIC: return m_statistics;
        case HV_SERVICE_UGC: return m_ugc;
        case HV_SERVICE_NOTIFICATION: return m_notifications;
        case HV_SERVICE_LEADERBOARDS: return m_leaderboards;
        default: return nullptr;
        }
    }

private:
    TestAchievements* m_achievements = nullptr;
    TestStatistics* m_statistics = nullptr;
    TestUGC* m_ugc = nullptr;
    TestNotifications* m_notifications = nullptr;
    TestLeaderboards* m_leaderboards = nullptr;
};

}  // namespace

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface()
{
    Journal().clear();
    return new ServicesModule;
}
