#include "extensions/service_kind_names.h"

namespace {

// Row k is the log name of service kind k.
constexpr const char* kServiceKindNames[] = {
    "Null",          // 0
    "Cloud",         // 1
    "Leaderboards",  // 2
    "Achievement",   // 3
    "IAP",           // 4
    "Social",        // 5
    "UGC",           // 6
    "Notification",  // 7
    "Statistic",     // 8
};
static_assert(sizeof kServiceKindNames / sizeof kServiceKindNames[0] == 9, "nine service kinds, 0 to 8");

}  // namespace

const char* HVI_GetServiceKindName(HV_ServiceKind kind)
{
    if (kind < 0 || kind > HV_SERVICE_STATISTIC) return "Unknown";
    return kServiceKindNames[kind];
}
