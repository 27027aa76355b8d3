#include "extensions/extension_services.h"

#include <cstring>

#include "core/engine_state.h"
#include "core/events.h"
#include "core/extension_command.h"
#include "core/subsystem_hooks.h"
#include "extensions/extension_startup.h"
#include "extensions/leaderboard_events.h"
#include "extensions/module_commands.h"
#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

bool Preinitialize(HVI_EngineState& state)
{
    HV_EngineInterface* engine = state.engine;
    engine->achievements = HVI_GetAchievementsInterface();
    engine->cloud = HVI_GetCloudInterface();
    engine->iap = HVI_GetInAppPurchaseInterface();
    engine->leaderboards = HVI_GetLeaderboardsInterface();
    engine->notifications = HVI_GetNotificationsInterface();
    engine->social = HVI_GetSocialInterface();
    engine->statistics = HVI_GetStatisticsInterface();
    engine->ugc = HVI_GetUGCInterface();
    HVI_InitializeExtensionModules();
    return true;
}

bool ShouldPauseGame(HVI_EngineState&) { return HVI_ShouldExtensionsPauseGame(); }

void UpdateFrame(HVI_EngineState&, float step) { HVI_UpdateExtensions(step); }

void Shutdown(HVI_EngineState&) { HVI_ShutdownExtensionModules(); }

const char* Answer(bool value) { return value ? "true" : "false"; }

// The "IAP_" commands reach the in-app purchase table; an operation without
// a result answers the empty text, so that the dispatch ends there.
const char* ExecuteInAppPurchaseCommand(const char* command, const char* argument)
{
    const HV_InAppPurchaseInterface* purchases = HVI_GetInAppPurchaseInterface();
    if (std::strcmp(command, "IAP_IsAvailable") == 0) return Answer(purchases->IsAvailable());
    if (std::strcmp(command, "IAP_ShowPurchaseProgress") == 0) return Answer(purchases->ShowPurchaseProgress());
    if (std::strcmp(command, "IAP_PurchaseItem") == 0)
        purchases->PurchaseItem(argument);
    else if (std::strcmp(command, "IAP_RequestItemData") == 0)
        purchases->RequestItemData(argument);
    else if (std::strcmp(command, "IAP_RestorePurchases") == 0)
        purchases->RestorePurchases();
    else
        return nullptr;
    return "";
}

}  // namespace

void HVI_RegisterExtensionSubsystem()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Preinitialize = Preinitialize;
    hooks.ShouldPauseGame = ShouldPauseGame;
    hooks.UpdateFrame = UpdateFrame;
    hooks.Shutdown = Shutdown;
    hooks.ExecuteCommand = HVI_ExecuteModuleCommand;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_EXTENSIONS, hooks);
    HVI_RegisterEngineCommand("IAP_", HVI_CommandMatch::Prefix, ExecuteInAppPurchaseCommand);
    HVI_RegisterEventPayloadFreer(HV_EVENT_LEADERBOARD_RESULT, HVI_FreeLeaderboardResultEvent);
    HVI_RegisterEventPayloadFreer(HV_EVENT_SOCIAL_LOGIN, HVI_FreeSocialLoginEvent);
    HVI_RegisterEventPayloadFreer(HV_EVENT_SOCIAL_FRIENDS, HVI_FreeSocialFriendsEvent);
}
