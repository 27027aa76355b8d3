#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

void HV_Achievements_Award(uint32_t player, const char* id)
{
    if (AchievementsImplementation* implementation = HVI_GetAchievementsImplementation())
        implementation->Award(player, id);
}

void HV_Achievements_AwardProgress(uint32_t player, const char* id, int32_t progress)
{
    if (AchievementsImplementation* implementation = HVI_GetAchievementsImplementation())
        implementation->AwardProgress(player, id, progress);
}

bool HV_Achievements_CanShowAchievements()
{
    AchievementsImplementation* implementation = HVI_GetAchievementsImplementation();
    return implementation != nullptr && implementation->CanShowAchievements();
}

void HV_Achievements_ShowAchievements(uint32_t player)
{
    if (AchievementsImplementation* implementation = HVI_GetAchievementsImplementation())
        implementation->ShowAchievements(player);
}

void HV_Achievements_StoreValue(const char* name, int32_t value)
{
    if (AchievementsImplementation* implementation = HVI_GetAchievementsImplementation())
        implementation->StoreValue(name, value);
}

int32_t HV_Achievements_ValueOf(const char* name)
{
    AchievementsImplementation* implementation = HVI_GetAchievementsImplementation();
    return implementation != nullptr ? implementation->ValueOf(name) : 0;
}

HV_AchievementsInterface g_table = {
    HV_Achievements_Award,
    HV_Achievements_AwardProgress,
    HV_Achievements_CanShowAchievements,
    HV_Achievements_ShowAchievements,
    HV_Achievements_StoreValue,
    HV_Achievements_ValueOf,
};

}  // namespace

HV_AchievementsInterface* HVI_GetAchievementsInterface() { return &g_table; }
