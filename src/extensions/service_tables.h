#pragma once

#include "halvo/services.h"

// The eight service tables of the engine interface. Each operation reads the
// implementation chosen for its kind on every call and answers its default
// when there is none.
HV_AchievementsInterface* HVI_GetAchievementsInterface();
HV_CloudInterface* HVI_GetCloudInterface();
HV_InAppPurchaseInterface* HVI_GetInAppPurchaseInterface();
HV_LeaderboardsInterface* HVI_GetLeaderboardsInterface();
HV_NotificationsInterface* HVI_GetNotificationsInterface();
HV_SocialInterface* HVI_GetSocialInterface();
HV_StatisticsInterface* HVI_GetStatisticsInterface();
HV_UGCInterface* HVI_GetUGCInterface();
