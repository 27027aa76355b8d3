#include "extension_test_environment.h"
#include "extensions/module_registry.h"

namespace {

std::vector<std::string> ResolvedNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < HVI_GetResolvedImplementationCount(); ++i)
        names.push_back(HVI_GetResolvedImplementation(i)->GetName());
    return names;
}

}  // namespace

using ModuleRegistry = ExtensionTest;

TEST_F(ModuleRegistry, WithoutFeatureWordsOnlyTheBuiltInModulesAreThereAndNothingIsChosen)
{
    StartServices("");
    EXPECT_EQ(HVI_GetExtensionModuleCount(), 2);
    EXPECT_STREQ(HVI_GetExtensionModule(0)->GetName(), "Simulation");
    EXPECT_STREQ(HVI_GetExtensionModule(1)->GetName(), "Local Fallbacks");
    EXPECT_EQ(HVI_GetResolvedImplementationCount(), 0);
    for (HV_ServiceKind kind = HV_SERVICE_CLOUD; kind <= HV_SERVICE_STATISTIC; ++kind)
        EXPECT_EQ(HVI_GetChosenImplementation(kind), nullptr) << kind;
    const std::vector<std::string> expected = {
        "Registering extension module 'Local Fallbacks'.",
        "Registering extension module 'Simulation'.",
        "Initializing extension module 'Simulation'...",
        "Initializing extension module 'Local Fallbacks'...",
        "Resolving implementations inside extensions modules...",
        "Initializing resolved implementations inside extensions modules...",
    };
    EXPECT_EQ(m_log.Lines(), expected);
}

TEST_F(ModuleRegistry, TheSimulatedModuleIsSearchedBeforeTheLocalFallbacks)
{
    StartServices("SIMULATED_LEADERBOARDS,LOCAL_LEADERBOARDS,LEADERBOARDS");
    LeaderboardsImplementation* leaderboards = HVI_GetLeaderboardsImplementation();
    ASSERT_NE(leaderboards, nullptr);
    EXPECT_STREQ(leaderboards->GetName(), "Simulated");
    EXPECT_TRUE(Logged("Using Leaderboards implementation from module 'Simulation'"));
    EXPECT_TRUE(Logged("Initializing Leaderboards implementation 'Simulated'..."));
    EXPECT_EQ(ResolvedNames(), (std::vector<std::string>{"Simulated"}));
}

TEST_F(ModuleRegistry, AKindWhoseFeatureIsMissingIsNotChosenEvenWhenOffered)
{
    InstallModule("test-pausing-module.dll", "module-steam.dll");  // it offers purchases
    StartServices("SIMULATED_LEADERBOARDS,LOCAL_LEADERBOARDS,STEAM");
    EXPECT_EQ(HVI_GetLeaderboardsImplementation(), nullptr);
    EXPECT_NE(HVI_GetExtensionModule(0)->GetImplementation(HV_SERVICE_LEADERBOARDS), nullptr);
    EXPECT_NE(HVI_GetExtensionModule(2)->GetImplementation(HV_SERVICE_LEADERBOARDS), nullptr);
    EXPECT_EQ(HVI_GetInAppPurchaseImplementation(), nullptr);
    EXPECT_EQ(HVI_GetResolvedImplementationCount(), 0);
    EXPECT_FALSE(Engine()->iap->IsAvailable());
    EXPECT_FALSE(Contains(ModuleJournal("module-steam.dll"), "Purchases."));
}

TEST_F(ModuleRegistry, TheResolvedListFollowsTheResolutionOrderOfKinds)
{
    InstallModule("test-services-module.dll", "module-steam.dll");
    StartServices(
        "STEAM,ACHIEVEMENTS,IN_APP_PURCHASES,SIMULATED_CLOUD,SIMULATED_SOCIAL,LEADERBOARDS,LOCAL_LEADERBOARDS");
    EXPECT_EQ(ResolvedNames(),
              (std::vector<std::string>{"Simulated", "TestLeaderboards", "TestAchievements", "TestStatistics",
                                        "Fallback", "Simulated", "TestUGC", "TestNotifications"}));
    EXPECT_TRUE(Logged("Using Cloud implementation from module 'Simulation'"));
    EXPECT_TRUE(Logged("Using Achievements implementation from module 'Test Services'"));
    EXPECT_TRUE(Logged("Using Statistic implementation from module 'Test Services'"));
    EXPECT_TRUE(Logged("Using InAppPurchase implementation from module 'Local Fallbacks'"));
    EXPECT_TRUE(Logged("Using Social implementation from module 'Simulation'"));
    EXPECT_TRUE(Logged("Using UGC implementation from module 'Test Services'"));
    EXPECT_TRUE(Logged("Using Notification implementation from module 'Test Services'"));
    EXPECT_TRUE(Logged("Initializing Achievement implementation 'TestAchievements'..."));
    EXPECT_TRUE(Logged("Initializing IAP implementation 'Fallback'..."));
    EXPECT_TRUE(Logged("Initializing Cloud implementation 'Simulated'..."));
    EXPECT_TRUE(Logged("Initializing Social implementation 'Simulated'..."));
    EXPECT_TRUE(Contains(ModuleJournal("module-steam.dll"), "Module.Initialize;Achievements.Initialize;"));
}

// Copies of one library that each offer achievements: only the copy asked first has its implementation
// chosen and initialised, Steam before Kartridge before Galaxy.
TEST_F(ModuleRegistry, LibraryModulesAreAskedSteamThenKartridgeThenGalaxy)
{
    const struct {
        const char* features;
        const char* chosen;
    } rows[] = {
        {"GALAXY,KARTRIDGE,ACHIEVEMENTS", "module-kartridge.dll"},
        {"GALAXY,KARTRIDGE,STEAM,ACHIEVEMENTS", "module-steam.dll"},  // each loaded copy starts a new journal
    };
    for (const char* name : {"module-galaxy.dll", "module-kartridge.dll", "module-steam.dll"})
        InstallModule("test-services-module.dll", name);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.features);
        StartServices(row.features);
        for (const char* name : {"module-galaxy.dll", "module-kartridge.dll", "module-steam.dll"}) {
            EXPECT_EQ(Contains(ModuleJournal(name), "Achievements.Initialize;"), std::string(name) == row.chosen)
                << name;
        }
        StopServices();
    }
}

TEST_F(ModuleRegistry, ALibraryModuleIsAskedBeforeTheLocalFallbacksEvenWhenItFailedToInitialize)
{
    InstallModule("test-pausing-module.dll", "module-steam.dll");
    StartServices("STEAM,IN_APP_PURCHASES");
    EXPECT_TRUE(Logged("[POPUP] Failed to initialize extension 'Test Pausing'"));
    ASSERT_NE(HVI_GetInAppPurchaseImplementation(), nullptr);
    EXPECT_STREQ(HVI_GetInAppPurchaseImplementation()->GetName(), "Unavailable");
    EXPECT_TRUE(Logged("Using InAppPurchase implementation from module 'Test Pausing'"));
}

TEST_F(ModuleRegistry, AnImplementationOfAnotherKindIsNotChosen)
{
    InstallModule("test-pausing-module.dll", "module-galaxy.dll");
    StartServices("GALAXY");
    EXPECT_EQ(HVI_GetCloudImplementation(), nullptr);
    EXPECT_TRUE(
        Logged("HVI_ResolveImplementations: module 'Test Pausing' answered Cloud with an implementation of "
               "another kind; it is not used."));
    EXPECT_FALSE(Engine()->cloud->IsAvailable());
}

TEST_F(ModuleRegistry, ApausingModuleStopsTheQuestionButEveryModuleIsUpdated)
{
    InstallModule("test-pausing-module.dll", "module-steam.dll");
    InstallModule("test-services-module.dll", "module-galaxy.dll");
    StartServices("STEAM,GALAXY,ACHIEVEMENTS");
    EXPECT_EQ(RunFrame(0.03f), 0.0f);
    const std::string pausing = ModuleJournal("module-steam.dll");
    const std::string services = ModuleJournal("module-galaxy.dll");
    EXPECT_EQ(pausing, "Pausing.ShouldPauseGame;Pausing.Update(0ms);");
    // Searched after the pausing module: not asked, but updated with step 0,
    // and its chosen implementation is updated after the modules.
    EXPECT_FALSE(Contains(services, "Module.ShouldPauseGame"));
    EXPECT_TRUE(Contains(services, "Module.Update(0ms);Achievements.Update;"));
}

TEST_F(ModuleRegistry, WithoutAPauseTheStepIsKept)
{
    InstallModule("test-services-module.dll", "module-steam.dll");
    StartServices("STEAM");
    EXPECT_EQ(RunFrame(0.03f), 0.03f);
    EXPECT_TRUE(Contains(ModuleJournal("module-steam.dll"), "Module.ShouldPauseGame;Module.Update(30ms);"));
}

TEST_F(ModuleRegistry, ShutdownRunsInOrderAndForgetsEveryChoice)
{
    InstallModule("test-services-module.dll", "module-steam.dll");
    StartServices("STEAM,ACHIEVEMENTS");
    ASSERT_NE(HVI_GetAchievementsImplementation(), nullptr);
    StopServices();
    const std::string journal = ModuleJournal("module-steam.dll");
    EXPECT_TRUE(Contains(journal, "Achievements.Shutdown;Module.ReleaseImplementations;Module.Delete;")) << journal;
    EXPECT_EQ(HVI_GetExtensionModuleCount(), 0);
    EXPECT_EQ(HVI_GetResolvedImplementationCount(), 0);
    for (HV_ServiceKind kind = HV_SERVICE_CLOUD; kind <= HV_SERVICE_STATISTIC; ++kind)
        EXPECT_EQ(HVI_GetChosenImplementation(kind), nullptr) << kind;
    EXPECT_FALSE(Engine()->achievements->CanShowAchievements());
}

TEST_F(ModuleRegistry, NotificationsAreRegisteredAtLaunchOnlyWithTheirFeature)
{
    InstallModule("test-services-module.dll", "module-steam.dll");
    StartServices("STEAM");
    EXPECT_FALSE(Contains(ModuleJournal("module-steam.dll"), "RegisterForLocalNotifications;"));
    StopServices();
    StartServices("STEAM,REGISTER_FOR_LOCAL_NOTIFICATIONS_ON_LAUNCH");
    EXPECT_TRUE(Contains(ModuleJournal("module-steam.dll"), "RegisterForLocalNotifications;"));
}
