#pragma once

#include "halvo/extensions.h"

// Leaderboards answered on this machine (the user's database, the simulation):
// the player is always logged in, nothing waits on a server, and there is no
// leaderboard view to open.
class OfflineLeaderboardsImplementation : public LeaderboardsImplementation {
public:
    bool Logout() override { return false; }
    void OpenCategory(const char*) override {}
    void Login(uint32_t) override {}
    int32_t GetLocalPlayerState(uint32_t) override { return 2; }  // logged in
    bool IsBusy() override { return false; }
    void LaunchLeaderboardView(uint32_t, const char*) override {}
    int32_t GetMaxScoreCount() override { return 30; }
};
