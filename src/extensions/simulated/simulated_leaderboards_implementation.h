#pragma once

#include "extensions/offline_leaderboards.h"
#include "foundation/array.h"
#include "foundation/string.h"
#include "foundation/string_map.h"
#include "halvo/threading.h"

// Leaderboards filled with generated scores that move a little with every
// submission; each request is answered after a random delay on a thread of
// its own. Every access to the categories and the friend ids holds m_mutex,
// so the implementation may be used from any thread. The random numbers come
// from the C library's rand(), which a program may seed with srand().
class SimulatedLeaderboardsImplementation : public OfflineLeaderboardsImplementation {
public:
    SimulatedLeaderboardsImplementation();

    const char* GetName() override { return "Simulated"; }
    // Generates the categories of "leaderboards/leaderboards.xml" (with the
    // feature "LEADERBOARDS" only).
    bool Initialize() override;
    void Shutdown() override;
    void AddScore(uint32_t player, HV_LeaderboardScore* score, const char* category) override;
    // True when a thread will post the result; false (and no event) when no
    // thread could be started.
    bool RequestScores(int32_t start, int32_t count, int32_t filter, const char* category) override;
    bool RequestScoresAroundUserRank(uint32_t player, int32_t count, const char* category) override;
    const char* GetLocalPlayerName(uint32_t player) override;

    static constexpr uint32_t kLocalPlayerCount = 4;

private:
    using Scores = Array<HV_LeaderboardScore>;

    // Both below expect m_mutex held.
    HV_LeaderboardScore* FindLocalScore(uint32_t player, const char* category);
    void SimulateActivity(const char* category, Scores& scores);
    void GenerateCategory(const char* category, int32_t position);
    void SortCategory(const char* category, Scores& scores);

    HV_Mutex* m_mutex = nullptr;
    StringMap<Scores> m_categories;            // guarded by m_mutex
    Array<String> m_friendIds;                 // guarded by m_mutex
    String m_localUserIds[kLocalPlayerCount];  // set by the constructor, read-only after
};
