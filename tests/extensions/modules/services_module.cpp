// A module library that offers the services only module libraries supply:
// achievements, statistics, user-generated content and notifications, and a
// leaderboards implementation whose player is not logged in. Each
// implementation notes every call in the journal and answers fixed values.
#include <string>

#include "halvo/extensions.h"
#include "journal.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

class TestAchievements : public AchievementsImplementation {
public:
    const char* GetName() override { return "TestAchievements"; }
    bool Initialize() override
    {
        Note("Achievements.Initialize");
        return true;
    }
    void Shutdown() override { Note("Achievements.Shutdown"); }
    void Update() override { Note("Achievements.Update"); }
    void Award(uint32_t player, const char* id) override { Note("Award(" + Number(player) + "," + Text(id) + ")"); }
    void AwardProgress(uint32_t player, const char* id, int32_t progress) override
    {
        Note("AwardProgress(" + Number(player) + "," + Text(id) + "," + Number(progress) + ")");
    }
    bool CanShowAchievements() override
    {
        Note("CanShowAchievements");
        return true;
    }
    void ShowAchievements(uint32_t player) override { Note("ShowAchievements(" + Number(player) + ")"); }
    void StoreValue(const char* name, int32_t value) override
    {
        Note("StoreValue(" + Text(name) + "," + Number(value) + ")");
    }
    int32_t ValueOf(const char* name) override
    {
        Note("ValueOf(" + Text(name) + ")");
        return 77;
    }
};

class TestStatistics : public StatisticImplementation {
public:
    const char* GetName() override { return "TestStatistics"; }
    void SetStatistic(uint32_t first, uint32_t second, void* third, void* fourth) override
    {
        Note("SetStatistic(" + Number(first) + "," + Number(second) + "," + Text(static_cast<const char*>(third)) +
             "," + Text(static_cast<const char*>(fourth)) + ")");
    }
};

class TestUGC : public UGCImplementation {
public:
    const char* GetName() override { return "TestUGC"; }
    bool IsAvailable() override
    {
        Note("UGC.IsAvailable");
        return true;
    }
    void Query() override { Note("Query"); }
    bool QueryFinished() override
    {
        Note("QueryFinished");
        return false;
    }
    int32_t QueryResultCount() override
    {
        Note("QueryResultCount");
        return 3;
    }
    void* QueryResultItem(int32_t index) override
    {
        Note("QueryResultItem(" + Number(index) + ")");
        return &m_item;
    }
    void Subscribe(const char* item) override { Note("Subscribe(" + Text(item) + ")"); }
    void Unsubscribe(const char* item) override { Note("Unsubscribe(" + Text(item) + ")"); }
    uint64_t UploadItem(const char* item) override
    {
        Note("UploadItem(" + Text(item) + ")");
        return 0x1234567890ull;
    }
    void WaitForUploads() override { Note("WaitForUploads"); }

private:
    int m_item = 0;
};

class TestNotifications : public NotificationImplementation {
public:
    const char* GetName() override { return "TestNotifications"; }
    void RegisterForLocalNotifications() override { Note("RegisterForLocalNotifications"); }
    void RemoveAllLocalNotifications() override { Note("RemoveAllLocalNotifications"); }
    void SetLocalNotification(const char* first, const char* second, const char* third, int32_t number) override
    {
        Note("SetLocalNotification(" + Text(first) + "," + Text(second) + "," + Text(third) + "," + Number(number) +
             ")");
    }
};

class TestLeaderboards : public LeaderboardsImplementation {
public:
    const char* GetName() override { return "TestLeaderboards"; }
    void AddScore(uint32_t player, HV_LeaderboardScore* score, const char* category) override
    {
        Note("AddScore(" + Number(player) + "," + Text(score->id) + "," + Text(score->player) + "," +
             Number(score->points) + "," + Number(score->dataLength) + "," + Text(category) + ")");
    }
    bool RequestScores(int32_t start, int32_t count, int32_t filter, const char* category) override
    {
        Note("RequestScores(" + Number(start) + "," + Number(count) + "," + Number(filter) + "," + Text(category) +
             ")");
        return false;
    }
    bool RequestScoresAroundUserRank(uint32_t player, int32_t count, const char* category) override
    {
        Note("RequestScoresAroundUserRank(" + Number(player) + "," + Number(count) + "," + Text(category) + ")");
        return false;
    }
    const char* GetLocalPlayerName(uint32_t player) override
    {
        Note("GetLocalPlayerName(" + Number(player) + ")");
        return "Tester";
    }
    bool Logout() override
    {
        Note("Logout");
        return true;
    }
    void OpenCategory(const char* category) override { Note("OpenCategory(" + Text(category) + ")"); }
    void Login(uint32_t player) override { Note("Login(" + Number(player) + ")"); }
    int32_t GetLocalPlayerState(uint32_t player) override
    {
        Note("GetLocalPlayerState(" + Number(player) + ")");
        return 0;
    }
    bool IsBusy() override
    {
        Note("IsBusy");
        return true;
    }
    void LaunchLeaderboardView(uint32_t player, const char* category) override
    {
        Note("LaunchLeaderboardView(" + Number(player) + "," + Text(category) + ")");
    }
    int32_t GetMaxScoreCount() override { return 12; }
};

class ServicesModule : public ExtensionModule {
public:
    ~ServicesModule() override { Note("Module.Delete"); }
    const char* GetName() override { return "Test Services"; }
    bool Initialize(HV_EngineInterface*) override
    {
        Note("Module.Initialize");
        m_achievements = new TestAchievements;
        m_statistics = new TestStatistics;
        m_ugc = new TestUGC;
        m_notifications = new TestNotifications;
        m_leaderboards = new TestLeaderboards;
        return true;
    }
    void ReleaseImplementations() override
    {
        Note("Module.ReleaseImplementations");
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
    bool ShouldPauseGame() override
    {
        Note("Module.ShouldPauseGame");
        return false;
    }
    void Update(float step) override { Note("Module.Update(" + std::to_string(int(step * 1000)) + "ms)"); }
    const char* ExecuteCommand(const char* command, const char* argument) override
    {
        Note("Module.ExecuteCommand(" + Text(command) + "," + Text(argument) + ")");
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
