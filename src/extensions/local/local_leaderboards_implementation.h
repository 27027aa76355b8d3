#pragma once

#include "extensions/local/local_leaderboard_store.h"
#include "extensions/offline_leaderboards.h"

// Leaderboards kept in the user's own database file, for games without an
// online leaderboard module.
class LocalLeaderboardsImplementation : public OfflineLeaderboardsImplementation {
public:
    explicit LocalLeaderboardsImplementation(LocalLeaderboardStore* store);
    ~LocalLeaderboardsImplementation() override;

    const char* GetName() override { return "LocalDatabase"; }
    void AddScore(uint32_t player, HV_LeaderboardScore* score, const char* category) override;
    bool RequestScores(int32_t start, int32_t count, int32_t filter, const char* category) override;
    bool RequestScoresAroundUserRank(uint32_t player, int32_t count, const char* category) override;
    // A copy for the calling thread, valid until its next call.
    const char* GetLocalPlayerName(uint32_t player) override;

private:
    // Sets the name to "<calendar seconds>_<counter>".
    void RenameLocalPlayer();

    LocalLeaderboardStore* m_store;   // owned
    int32_t m_submissions = 1;        // guarded by the store's mutex
    char m_localPlayerName[64] = {};  // guarded by the store's mutex
};
