#include <gtest/gtest.h>

#include "halvo.h"

extern "C" {
size_t ServicesHeaderC_ScoreSize(void);
size_t ServicesHeaderC_ResultScoresOffset(void);
size_t ServicesHeaderC_FriendsCountOffset(void);
}

TEST(ServicesHeader, CAndCppAgreeOnTheRecordLayouts)
{
    EXPECT_EQ(ServicesHeaderC_ScoreSize(), 332u);
    EXPECT_EQ(ServicesHeaderC_ResultScoresOffset(), offsetof(HV_LeaderboardResultEvent, scores));
    EXPECT_EQ(ServicesHeaderC_FriendsCountOffset(), offsetof(HV_SocialFriendsEvent, count));
}
