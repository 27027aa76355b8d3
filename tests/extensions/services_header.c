/* The service header compiled as C (its static asserts included): the
   records keep the layout C++ sees. */
#include "halvo.h"

size_t ServicesHeaderC_ScoreSize(void) { return sizeof(HV_LeaderboardScore); }
size_t ServicesHeaderC_ResultScoresOffset(void) { return offsetof(HV_LeaderboardResultEvent, scores); }
size_t ServicesHeaderC_FriendsCountOffset(void) { return offsetof(HV_SocialFriendsEvent, count); }
