#pragma once

#include "halvo/extensions.h"

// The engine-wide registry of extension modules and the implementation
// chosen for each service kind. Filled at start-up and emptied at shutdown on
// the main thread; in between the service tables read the chosen
// implementations from any thread.

// Prints "Registering extension module '%s'." and puts the module at the
// front of the search order. The registry owns the module from then on.
void HVI_RegisterExtensionModule(ExtensionModule* module);
// Appends a chosen implementation to the resolved list; null is ignored.
void HVI_AddResolvedImplementation(BaseImplementation* implementation);
// Chooses one implementation per kind from the modules in search order.
void HVI_ResolveImplementations();

int HVI_GetExtensionModuleCount();
// The module at that position of the search order; null out of range.
ExtensionModule* HVI_GetExtensionModule(int index);
int HVI_GetResolvedImplementationCount();
BaseImplementation* HVI_GetResolvedImplementation(int index);

// The implementation chosen for the kind, or null.
BaseImplementation* HVI_GetChosenImplementation(HV_ServiceKind kind);

// The frame: whether a module asks for a pause (asked in search order until
// one does), then the updates of every module and every chosen implementation.
bool HVI_ShouldExtensionsPauseGame();
void HVI_UpdateExtensions(float step);

// Shuts the chosen implementations down, lets every module release its
// implementations, deletes the modules and forgets every choice.
void HVI_ShutdownExtensionModules();

// The chosen implementation of each kind, typed. Resolution accepts only
// implementations whose GetKind answers the asked kind, and each kind's class
// derives from BaseImplementation alone, so the casts hold.
CloudImplementation* HVI_GetCloudImplementation();
LeaderboardsImplementation* HVI_GetLeaderboardsImplementation();
AchievementsImplementation* HVI_GetAchievementsImplementation();
InAppPurchaseImplementation* HVI_GetInAppPurchaseImplementation();
SocialImplementation* HVI_GetSocialImplementation();
UGCImplementation* HVI_GetUGCImplementation();
NotificationImplementation* HVI_GetNotificationImplementation();
StatisticImplementation* HVI_GetStatisticImplementation();
