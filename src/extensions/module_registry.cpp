#include "extensions/module_registry.h"

#include "core/features.h"
#include "core/logging.h"
#include "extensions/resolution_order.h"
#include "extensions/service_kind_names.h"
#include "foundation/array.h"

namespace {

constexpr int kKindCount = HV_SERVICE_STATISTIC + 1;

// Main thread only: written at start-up and shutdown, read in between.
struct Registry {
    Array<ExtensionModule*> modules;              // search order, owned
    Array<BaseImplementation*> resolved;          // chosen implementations in resolution order
    BaseImplementation* chosen[kKindCount] = {};  // per kind; 0 stays null
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}

BaseImplementation* ChooseImplementation(const ResolutionStep& step)
{
    for (ExtensionModule* module : GetRegistry().modules) {
        BaseImplementation* offered = module->GetImplementation(step.kind);
        if (offered == nullptr) continue;
        // The object's own answer decides: run-time type information does not
        // cross library boundaries (a module may be built without it, or
        // declare the interfaces in a namespace of its own).
        if (offered->GetKind() != step.kind) {
            HV_Log(HV_LOG_WARNING,
                   "HVI_ResolveImplementations: module '%s' answered %s with an implementation of another kind; it is "
                   "not used.",
                   module->GetName(), HVI_GetServiceKindName(step.kind));
            continue;
        }
        if (step.kind == HV_SERVICE_CLOUD)
            HV_Log(HV_LOG_SYSTEM, step.message, module->GetName());
        else
            HV_Print(step.message, module->GetName());
        return offered;
    }
    return nullptr;
}

}  // namespace

void HVI_RegisterExtensionModule(ExtensionModule* module)
{
    HV_Print("Registering extension module '%s'.", module->GetName());
    GetRegistry().modules.InsertAt(0, module);
}

void HVI_AddResolvedImplementation(BaseImplementation* implementation)
{
    if (implementation != nullptr) GetRegistry().resolved.Add(implementation);
}

void HVI_ResolveImplementations()
{
    Registry& registry = GetRegistry();
    HV_Log(HV_LOG_SYSTEM, "Resolving implementations inside extensions modules...");
    registry.resolved.Clear();
    for (const ResolutionStep& step : kResolutionOrder) {
        BaseImplementation* chosen = nullptr;
        if (step.feature == nullptr || HV_HasFeature(step.feature)) chosen = ChooseImplementation(step);
        registry.chosen[step.kind] = chosen;
        HVI_AddResolvedImplementation(chosen);
    }
}

int HVI_GetExtensionModuleCount() { return GetRegistry().modules.GetCount(); }

ExtensionModule* HVI_GetExtensionModule(int index)
{
    Registry& registry = GetRegistry();
    return index >= 0 && index < registry.modules.GetCount() ? registry.modules[index] : nullptr;
}

int HVI_GetResolvedImplementationCount() { return GetRegistry().resolved.GetCount(); }

BaseImplementation* HVI_GetResolvedImplementation(int index)
{
    Registry& registry = GetRegistry();
    return index >= 0 && index < registry.resolved.GetCount() ? registry.resolved[index] : nullptr;
}

BaseImplementation* HVI_GetChosenImplementation(HV_ServiceKind kind)
{
    return kind > HV_SERVICE_NULL && kind < kKindCount ? GetRegistry().chosen[kind] : nullptr;
}

bool HVI_ShouldExtensionsPauseGame()
{
    for (ExtensionModule* module : GetRegistry().modules) {
        if (module->ShouldPauseGame()) return true;
    }
    return false;
}

void HVI_UpdateExtensions(float step)
{
    Registry& registry = GetRegistry();
    for (ExtensionModule* module : registry.modules) module->Update(step);
    for (BaseImplementation* implementation : registry.resolved) implementation->Update();
}

void HVI_ShutdownExtensionModules()
{
    Registry& registry = GetRegistry();
    for (BaseImplementation* implementation : registry.resolved) implementation->Shutdown();
    // The choices point into the modules' implementations: forget them first.
    registry.resolved.Clear();
    for (BaseImplementation*& chosen : registry.chosen) chosen = nullptr;
    for (ExtensionModule* module : registry.modules) module->ReleaseImplementations();
    for (ExtensionModule* module : registry.modules) delete module;
    registry.modules.Clear();
}

CloudImplementation* HVI_GetCloudImplementation()
{
    return static_cast<CloudImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_CLOUD));
}

LeaderboardsImplementation* HVI_GetLeaderboardsImplementation()
{
    return static_cast<LeaderboardsImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_LEADERBOARDS));
}

AchievementsImplementation* HVI_GetAchievementsImplementation()
{
    return static_cast<AchievementsImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_ACHIEVEMENT));
}

InAppPurchaseImplementation* HVI_GetInAppPurchaseImplementation()
{
    return static_cast<InAppPurchaseImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_IAP));
}

SocialImplementation* HVI_GetSocialImplementation()
{
    return static_cast<SocialImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_SOCIAL));
}

UGCImplementation* HVI_GetUGCImplementation()
{
    return static_cast<UGCImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_UGC));
}

NotificationImplementation* HVI_GetNotificationImplementation()
{
    return static_cast<NotificationImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_NOTIFICATION));
}

StatisticImplementation* HVI_GetStatisticImplementation()
{
    return static_cast<StatisticImplementation*>(HVI_GetChosenImplementation(HV_SERVICE_STATISTIC));
}
