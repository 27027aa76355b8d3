#include "extensions/simulated/simulated_leaderboards_implementation.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/engine_time.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/memory.h"
#include "core/threading.h"
#include "extensions/leaderboard_categories.h"
#include "extensions/leaderboard_events.h"
#include "extensions/simulated/name_pool.h"

namespace {

constexpr const char* kGeneratedIdPrefix = "OTHER_PLAYER_";
constexpr const char* kLocalIdPrefix = "LOCAL_USER_";

bool HasPrefix(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// A number from 0 to modulus - 1 from the C library's generator, so that a
// program's srand() decides the lists.
int32_t Draw(int32_t modulus) { return std::rand() % modulus; }

const char* DrawName() { return kSimulatedNamePool[Draw(kSimulatedNamePoolSize)]; }

// A result prepared on the caller's thread and posted by the thread that owns it.
struct PreparedResult {
    bool error = false;
    String reason;
    String category;
    bool hasCategory = false;
    int32_t filter = 0;
    int32_t start = 0;
    int32_t count = 0;
    HV_LeaderboardScore* scores = nullptr;  // engine allocator; handed to the event
    int32_t total = 0;
    uint32_t delayMs = 0;
};

void SendDelayedResult(void* argument)
{
    PreparedResult* result = static_cast<PreparedResult*>(argument);
    HV_Threading_Sleep(result->delayMs);
    const char* category = result->hasCategory ? result->category.GetText() : nullptr;
    if (result->error)
        HVI_SendLeaderboardErrorEvent(category, result->filter, result->reason.GetText());
    else
        HVI_SendLeaderboardScoresEvent(category, result->filter, result->start, result->count, result->scores,
                                       result->total);
    delete result;
}

// Copies the records at the 1-based ranks start .. start + count - 1 that
// exist among the first total records into the result. Computed wide, so no
// count can make the array larger than the list; no array when nothing is
// copied. A window that finds no memory makes the result an error.
void CopyWindow(const HV_LeaderboardScore* list, int32_t total, int32_t start, int32_t count, PreparedResult& result)
{
    const int64_t first = start > 1 ? start : 1;
    const int64_t last = count > 0 ? std::min<int64_t>(int64_t(start) + count - 1, total) : 0;
    result.total = total;
    if (last < first) return;
    const int32_t size = int32_t(last - first + 1);
    auto* scores = static_cast<HV_LeaderboardScore*>(HV_Malloc(sizeof(HV_LeaderboardScore) * size_t(size)));
    if (scores == nullptr) {
        result.error = true;
        result.reason.Assign(kLeaderboardOutOfMemoryReason);
        return;
    }
    std::memcpy(scores, list + (first - 1), sizeof(HV_LeaderboardScore) * size_t(size));
    result.scores = scores;
    result.count = size;
}

}  // namespace

SimulatedLeaderboardsImplementation::SimulatedLeaderboardsImplementation()
{
    for (uint32_t player = 0; player < kLocalPlayerCount; ++player)
        m_localUserIds[player] = String::Formatted("LOCAL_USER_%u", player);
    m_mutex = HV_Threading_GetMutex("SimulatedLeaderboards");
}

void SimulatedLeaderboardsImplementation::SortCategory(const char* category, Scores& scores)
{
    if (scores.GetCount() == 0) return;
    const bool ascending = HVI_IsLeaderboardCategoryAscending(category);
    std::sort(scores.begin(), scores.end(), [ascending](const HV_LeaderboardScore& a, const HV_LeaderboardScore& b) {
        return ascending ? a.points < b.points : a.points > b.points;
    });
    for (int i = 0; i < scores.GetCount(); ++i) scores[i].rank = i + 1;
}

bool SimulatedLeaderboardsImplementation::Initialize()
{
    if (!HV_HasFeature("LEADERBOARDS")) return true;
    MutexScope scope(m_mutex);
    const int32_t categoryCount = HVI_GetLeaderboardCategoryCount();
    for (int32_t i = 0; i < categoryCount; ++i) {
        const char* id = HVI_GetLeaderboardCategoryId(i);
        if (id != nullptr && !m_categories.Contains(id)) GenerateCategory(id, i);
    }
    return true;
}

void SimulatedLeaderboardsImplementation::GenerateCategory(const char* category, int32_t position)
{
    Scores& scores = m_categories.GetOrAdd(category);
    const int32_t count = Draw(50001);
    HV_Print("Initializing category '%s' with %d fake scores.", category, count);
    const int64_t now = HV_GetTimestamp();
    int32_t points = 0;
    for (int32_t k = 0; k < count; ++k) {
        HV_LeaderboardScore score = {};
        const char* first = DrawName();
        const char* second = DrawName();
        std::snprintf(score.player, sizeof score.player, "%s %d %s", second, k, first);
        std::snprintf(score.id, sizeof score.id, "OTHER_PLAYER_%d", k);
        score.points = points;
        score.rank = count - k;
        score.timestamp = uint32_t(now - Draw(10000));
        scores.Add(score);
        points += Draw(10000) + 1;
    }
    std::reverse(scores.begin(), scores.end());
    if (count > 0) {
        for (uint32_t player = 0; player < kLocalPlayerCount; ++player) {
            HV_LeaderboardScore& chosen = scores[Draw(count)];
            std::snprintf(chosen.player, sizeof chosen.player, "Local Player %u", player);
            std::snprintf(chosen.id, sizeof chosen.id, "%s", m_localUserIds[player].GetText());
        }
        if (scores.GetCount() > position && HasPrefix(scores[position].id, kGeneratedIdPrefix)) {
            const char* friendId = scores[position].id;
            bool known = false;
            for (const String& id : m_friendIds) known = known || id == friendId;
            if (!known) m_friendIds.Add(String(friendId));
        }
    }
    SortCategory(category, scores);
}

void SimulatedLeaderboardsImplementation::Shutdown()
{
    MutexScope scope(m_mutex);
    while (m_categories.GetCount() > 0) m_categories.DeleteAt(m_categories.GetCount() - 1);
}

HV_LeaderboardScore* SimulatedLeaderboardsImplementation::FindLocalScore(uint32_t player, const char* category)
{
    StringMap<Scores>::Entry* entry = category != nullptr ? m_categories.Find(category) : nullptr;
    if (entry == nullptr || player >= kLocalPlayerCount) return nullptr;
    for (HV_LeaderboardScore& score : entry->value) {
        if (m_localUserIds[player] == score.id) return &score;
    }
    return nullptr;
}

void SimulatedLeaderboardsImplementation::AddScore(uint32_t player, HV_LeaderboardScore* score, const char* category)
{
    MutexScope scope(m_mutex);
    StringMap<Scores>::Entry* entry = category != nullptr ? m_categories.Find(category) : nullptr;
    if (entry == nullptr || score == nullptr) return;
    std::snprintf(score->id, sizeof score->id, "%s",
                  player < kLocalPlayerCount ? m_localUserIds[player].GetText() : "");
    std::snprintf(score->player, sizeof score->player, "Local Player %u", player);
    if (HV_LeaderboardScore* own = FindLocalScore(player, category))
        own->points = score->points;
    else
        entry->value.Add(*score);
    SimulateActivity(category, entry->value);
    SortCategory(category, entry->value);
}

void SimulatedLeaderboardsImplementation::SimulateActivity(const char* category, Scores& scores)
{
    if (scores.GetCount() > 0) {
        for (int i = 0; i < 3; ++i) {
            HV_LeaderboardScore& score = scores[Draw(scores.GetCount())];
            if (HasPrefix(score.id, kGeneratedIdPrefix)) {
                // Saturates: generated points only ever grow.
                const int64_t grown = int64_t(score.points) + Draw(50000) + 1;
                score.points = grown > INT_MAX ? INT_MAX : int32_t(grown);
            }
        }
    }
    const int64_t now = HV_GetTimestamp();
    if (Draw(4) == 0) {
        for (int k = 0; k < 3; ++k) {
            HV_LeaderboardScore score = {};
            const char* first = DrawName();
            const char* second = DrawName();
            std::snprintf(score.player, sizeof score.player, "%s %d %s", second, k, first);
            std::snprintf(score.id, sizeof score.id, "OTHER_PLAYER_NEW_%x_%d", unsigned(now), k);
            score.points = Draw(100000);
            score.rank = 1;
            score.timestamp = uint32_t(now - Draw(10000));
            scores.Add(score);
        }
    }
    if (Draw(4) == 0) {
        for (int i = 0; i < 3 && scores.GetCount() > 0; ++i) {
            const int j = Draw(scores.GetCount());
            if (HasPrefix(scores[j].id, kGeneratedIdPrefix)) scores.DeleteAt(j);
        }
    }
    SortCategory(category, scores);
}

bool SimulatedLeaderboardsImplementation::RequestScores(int32_t start, int32_t count, int32_t filter,
                                                        const char* category)
{
    PreparedResult* result = new PreparedResult;
    result->hasCategory = category != nullptr;
    result->category.Assign(category);
    result->filter = filter;
    {
        MutexScope scope(m_mutex);
        StringMap<Scores>::Entry* entry = category != nullptr ? m_categories.Find(category) : nullptr;
        if (entry == nullptr) {
            result->error = true;
            result->reason = String::Formatted("Unknown leaderboard category '%s'.", HVI_PrintableText(category));
        } else {
            Scores& scores = entry->value;
            SortCategory(category, scores);
            result->start = start;
            if (filter == HV_LEADERBOARD_FILTER_GLOBAL) {
                CopyWindow(scores.GetData(), scores.GetCount(), start, count, *result);
            } else if (filter == HV_LEADERBOARD_FILTER_FRIENDS) {
                Scores friends;
                for (const HV_LeaderboardScore& score : scores) {
                    bool isFriend = HasPrefix(score.id, kLocalIdPrefix);
                    for (int i = 0; !isFriend && i < m_friendIds.GetCount(); ++i) isFriend = m_friendIds[i] == score.id;
                    if (isFriend) {
                        friends.Add(score);
                        friends[friends.GetCount() - 1].rank = friends.GetCount();
                    }
                }
                CopyWindow(friends.GetData(), friends.GetCount(), start, count, *result);
            }
        }
        result->delayMs = uint32_t(Draw(2500) + 501);
    }
    if (HV_Threading_CreateThread("SimulatedLeaderboards", SendDelayedResult, result, 0) == 0) {
        HV_Log(HV_LOG_ERROR, "SimulatedLeaderboardsImplementation::RequestScores: no thread for the result of '%s'.",
               HVI_PrintableText(category));
        HV_Free(result->scores);
        delete result;
        return false;
    }
    return true;
}

bool SimulatedLeaderboardsImplementation::RequestScoresAroundUserRank(uint32_t player, int32_t count,
                                                                      const char* category)
{
    int32_t start = 1;
    {
        MutexScope scope(m_mutex);
        if (const HV_LeaderboardScore* own = FindLocalScore(player, category)) {
            const int64_t around = int64_t(own->rank) - count / 2;
            start = around < 1 ? 1 : around > INT_MAX ? INT_MAX : int32_t(around);
        }
    }
    return RequestScores(start, count, HV_LEADERBOARD_FILTER_GLOBAL, category);
}

const char* SimulatedLeaderboardsImplementation::GetLocalPlayerName(uint32_t player)
{
    return player < kLocalPlayerCount ? m_localUserIds[player].GetText() : nullptr;
}
