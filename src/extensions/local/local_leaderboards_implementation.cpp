#include "extensions/local/local_leaderboards_implementation.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/engine_time.h"
#include "core/threading.h"

LocalLeaderboardsImplementation::LocalLeaderboardsImplementation(LocalLeaderboardStore* store) : m_store(store)
{
    RenameLocalPlayer();
}

LocalLeaderboardsImplementation::~LocalLeaderboardsImplementation() { delete m_store; }

void LocalLeaderboardsImplementation::RenameLocalPlayer()
{
    std::snprintf(m_localPlayerName, sizeof m_localPlayerName, "%" PRId64 "_%d", HV_GetTimestamp(), m_submissions);
}

void LocalLeaderboardsImplementation::AddScore(uint32_t, HV_LeaderboardScore* score, const char* category)
{
    {
        MutexScope lock(m_store->GetMutex());
        ++m_submissions;
        RenameLocalPlayer();
        if (score != nullptr) std::memcpy(score->id, m_localPlayerName, sizeof score->id);
    }
    if (score != nullptr) m_store->SaveScore(*score, category);
}

bool LocalLeaderboardsImplementation::RequestScores(int32_t start, int32_t count, int32_t filter, const char* category)
{
    m_store->QueryScores(start, count, filter, category);
    return true;
}

bool LocalLeaderboardsImplementation::RequestScoresAroundUserRank(uint32_t, int32_t count, const char* category)
{
    // Local lists do not know the player: the best scores of the category.
    m_store->QueryScores(1, count, HV_LEADERBOARD_FILTER_GLOBAL, category);
    return true;
}

const char* LocalLeaderboardsImplementation::GetLocalPlayerName(uint32_t)
{
    // The name changes with every submission on any thread: hand out a copy.
    thread_local char copy[64];
    MutexScope lock(m_store->GetMutex());
    std::memcpy(copy, m_localPlayerName, sizeof copy);
    return copy;
}
