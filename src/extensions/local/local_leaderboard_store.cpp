#include "extensions/local/local_leaderboard_store.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/engine_time.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/memory.h"
#include "core/threading.h"
#include "data/data_manager.h"
#include "extensions/leaderboard_categories.h"
#include "extensions/leaderboard_events.h"
#include "extensions/local/leaderboard_database_file.h"
#include "extensions/local/score_data_text.h"
#include "filesystem/file_lock.h"
#include "foundation/array.h"

namespace {

int32_t ReadPoints(const DMNode& node)
{
    const char* points = node.GetValue("points");
    return points != nullptr ? HVI_ReadDecimal(points) : 0;
}

// Removes scores until the category holds at most the limit: for a
// descending category the last one with the lowest points, for an ascending
// one the last one with the highest.
void TrimCategory(DMArray& scores, bool ascending)
{
    while (scores.GetNodeCount() > LocalLeaderboardStore::kMaxScoresPerCategory) {
        int worst = 0;
        int32_t worstPoints = ReadPoints(*scores.GetNode(0));
        for (int i = 1; i < scores.GetNodeCount(); ++i) {
            const int32_t points = ReadPoints(*scores.GetNode(i));
            if (ascending ? points >= worstPoints : points <= worstPoints) {
                worst = i;
                worstPoints = points;
            }
        }
        scores.DeleteNodeAt(worst);
    }
}

// Orders the records best first. Stable: a record goes before the first one
// it beats strictly, so equal points keep the order of the file.
void RankScores(Array<HV_LeaderboardScore>& ranked, bool ascending)
{
    std::stable_sort(ranked.begin(), ranked.end(),
                     [ascending](const HV_LeaderboardScore& a, const HV_LeaderboardScore& b) {
                         return ascending ? a.points < b.points : a.points > b.points;
                     });
}

}  // namespace

LocalLeaderboardStore::LocalLeaderboardStore()
{
    m_database = HVI_OpenLeaderboardDatabase();
    m_mutex = HV_Threading_GetMutex("LOCAL_LEADERBOARDS");
}

void LocalLeaderboardStore::AddToDatabase(const PendingScore& score)
{
    const char* category = score.category.GetText();
    DMArray* scores = m_database->FindArray(category);
    if (scores == nullptr) scores = m_database->AddArray(category);
    DMNode* node = scores->AddNode(nullptr);
    node->SetValue("player", score.player.GetText());
    node->SetValue("points", String::Formatted("%d", score.points).GetText());
    if (!score.data.IsEmpty()) node->SetValue("data", score.data.GetText());
    TrimCategory(*scores, HVI_IsLeaderboardCategoryAscending(category));
}

void LocalLeaderboardStore::SaveScore(HV_LeaderboardScore& score, const char* category)
{
    if (m_database == nullptr) return;
    if (category == nullptr) {
        HV_Log(HV_LOG_ERROR, "LocalLeaderboardStore::SaveScore: a score without a category is not saved.");
        return;
    }
    MutexScope lock(m_mutex);
    const HV_DateTime now = HV_GetLocalTime();
    std::snprintf(score.player, 31, "%d-%.2d-%.2d %.2d:%.2d", now.year, now.month, now.day, now.hour, now.minute);
    PendingScore pending;
    pending.category.Assign(category);
    pending.player.Assign(score.player);
    pending.points = score.points;
    if (score.dataLength > 0) pending.data = HVI_FormatScoreData(score.data, score.dataLength);
    m_pending.Add(pending);

    // Other processes read, change and rewrite the file under the same lock:
    // the scores they saved since are taken in before this one is added.
    FileLockScope fileLock(DataManager::kLeaderboardsDatabasePath);
    const LeaderboardFileState state = HVI_ReadLeaderboardFile(*m_database);
    if (state == LeaderboardFileState::Loaded) {
        for (const PendingScore& unsaved : m_pending) AddToDatabase(unsaved);
    } else {
        AddToDatabase(pending);
    }
    if (state != LeaderboardFileState::Unusable && DataManager::SaveDatabase(m_database, !HV_IsDeveloperMode()))
        m_pending.Clear();
}

void LocalLeaderboardStore::QueryScores(int32_t start, int32_t count, int32_t filter, const char* category)
{
    if (m_database == nullptr) {
        HVI_SendLeaderboardErrorEvent(category, filter, "Not yet initialized.");
        return;
    }
    // Local lists have no friends.
    if (filter != HV_LEADERBOARD_FILTER_GLOBAL) {
        HVI_SendLeaderboardScoresEvent(category, filter, 0, 0, nullptr, 0);
        return;
    }
    MutexScope lock(m_mutex);
    DMArray* scores = category != nullptr ? m_database->FindArray(category) : nullptr;
    if (scores == nullptr) {
        HV_Print("No scores in category '%s', returning 0 scores.", HVI_PrintableText(category));
        HVI_SendLeaderboardScoresEvent(category, HV_LEADERBOARD_FILTER_GLOBAL, 0, 0, nullptr, 0);
        return;
    }
    const bool ascending = HVI_IsLeaderboardCategoryAscending(category);
    Array<HV_LeaderboardScore> ranked;
    for (int i = 0; i < scores->GetNodeCount(); ++i) {
        HV_LeaderboardScore score = {};
        ReadScore(score, *scores->GetNode(i));
        ranked.Add(score);
    }
    RankScores(ranked, ascending);
    const int32_t total = ranked.GetCount();

    // Only the ranks from start to start + count - 1 that exist are copied,
    // so the array never needs more than total records, whatever the count.
    const int64_t first = start > 1 ? start : 1;
    const int64_t last = count > 0 ? std::min<int64_t>(int64_t(start) + count - 1, total) : 0;
    const int32_t copied = last >= first ? int32_t(last - first + 1) : 0;
    HV_LeaderboardScore* records = nullptr;
    if (copied > 0) {
        records = static_cast<HV_LeaderboardScore*>(HV_Malloc(sizeof(HV_LeaderboardScore) * size_t(copied)));
        if (records == nullptr) {
            HVI_SendLeaderboardErrorEvent(category, filter, kLeaderboardOutOfMemoryReason);
            return;
        }
        for (int32_t k = 0; k < copied; ++k) {
            records[k] = ranked[int32_t(first) - 1 + k];
            records[k].rank = int32_t(first) + k;
        }
    }
    HVI_SendLeaderboardScoresEvent(category, HV_LEADERBOARD_FILTER_GLOBAL, start, copied, records, total);
}

void LocalLeaderboardStore::ReadScore(HV_LeaderboardScore& score, const DMNode& node)
{
    const char* player = node.GetValue("player");
    std::snprintf(score.player, sizeof score.player, "%s", player != nullptr ? player : "");
    score.points = ReadPoints(node);
    // Opaque and unique among the loaded nodes: the node's address.
    std::snprintf(score.id, sizeof score.id, "%" PRIxPTR, reinterpret_cast<uintptr_t>(&node));
    const char* data = node.GetValue("data");
    if (data != nullptr)
        HVI_ParseScoreData(data, score);
    else
        score.dataLength = 0;
}
