#pragma once

#include "halvo/services.h"

// One row of the resolution of implementations: the kind, the feature it
// needs (null for none) and the message naming the module that serves it.
struct ResolutionStep {
    HV_ServiceKind kind;
    const char* feature;
    const char* message;
};

// The kinds in the order they are resolved; the Cloud message is logged at
// SYSTEM, the others are printed.
inline constexpr ResolutionStep kResolutionOrder[] = {
    {HV_SERVICE_CLOUD, nullptr, "Using Cloud implementation from module '%s'"},
    {HV_SERVICE_LEADERBOARDS, "LEADERBOARDS", "Using Leaderboards implementation from module '%s'"},
    {HV_SERVICE_ACHIEVEMENT, "ACHIEVEMENTS", "Using Achievements implementation from module '%s'"},
    {HV_SERVICE_STATISTIC, nullptr, "Using Statistic implementation from module '%s'"},
    {HV_SERVICE_IAP, "IN_APP_PURCHASES", "Using InAppPurchase implementation from module '%s'"},
    {HV_SERVICE_SOCIAL, nullptr, "Using Social implementation from module '%s'"},
    {HV_SERVICE_UGC, nullptr, "Using UGC implementation from module '%s'"},
    {HV_SERVICE_NOTIFICATION, nullptr, "Using Notification implementation from module '%s'"},
};
static_assert(sizeof kResolutionOrder / sizeof kResolutionOrder[0] == 8, "eight service kinds are resolved");
