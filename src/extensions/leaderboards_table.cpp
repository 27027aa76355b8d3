#include "core/features.h"
#include "core/logging.h"
#include "extensions/leaderboard_categories.h"
#include "extensions/leaderboard_category_checks.h"
#include "extensions/leaderboard_events.h"
#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

constexpr int32_t kDefaultMaxScoreCount = 30;
constexpr uint32_t kLocalPlayerCount = 4;

// The last rank of a request, computed wide; it is only printed.
int32_t LastRank(int32_t start, int32_t count) { return int32_t(int64_t(start) + count - 1); }

void HV_Leaderboards_AddScore(uint32_t player, HV_LeaderboardScore score, const char* category)
{
    HV_Print("Submitting score of %d points to category '%s'", score.points, HVI_PrintableText(category));
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    if (implementation == nullptr) return;
    // Implementations copy and print these fields: a bad length would read
    // past the record, an unterminated text past its field.
    if (score.dataLength < 0 || score.dataLength > HV_LEADERBOARD_DATA_SIZE) {
        HV_Log(HV_LOG_ERROR, "HV_Leaderboards_AddScore: data length %d is outside 0..%d; the score is not submitted.",
               score.dataLength, int(HV_LEADERBOARD_DATA_SIZE));
        return;
    }
    score.id[sizeof score.id - 1] = '\0';
    score.player[sizeof score.player - 1] = '\0';
    implementation->AddScore(player, &score, category);
}

bool HV_Leaderboards_FetchScores(int32_t start, int32_t count, int32_t filter, const char* category)
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    if (implementation == nullptr) return false;
    HV_Print("Requesting scores %d..%d (%d scores) for category '%s' with filter '%s'", start, LastRank(start, count),
             count, HVI_PrintableText(category), HVI_GetLeaderboardFilterName(filter));
    const bool requested = implementation->RequestScores(start, count, filter, category);
    if (!requested) HV_Print("RequestScores returned false. No return event will be sent.");
    return requested;
}

bool HV_Leaderboards_FetchScoresAroundUser(uint32_t player, int32_t count, const char* category)
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    if (implementation == nullptr) return false;
    HV_Print("Requesting %d scores around user #%d for category '%s'", count, int32_t(player),
             HVI_PrintableText(category));
    const bool requested = implementation->RequestScoresAroundUserRank(player, count, category);
    if (!requested) HV_Print("RequestScoresAroundUserRank returned false. No return event will be sent.");
    return requested;
}

bool HV_Leaderboards_IsBusy()
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    return implementation != nullptr && implementation->IsBusy();
}

void HV_Leaderboards_LaunchLeaderboardView(uint32_t player, const char* category)
{
    if (LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation())
        implementation->LaunchLeaderboardView(player, category);
}

const char* HV_Leaderboards_LocalPlayerName(uint32_t player)
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    if (implementation == nullptr || player >= kLocalPlayerCount) return nullptr;
    return implementation->GetLocalPlayerName(player);
}

int32_t HV_Leaderboards_LocalPlayerState(uint32_t player)
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    return implementation != nullptr ? implementation->GetLocalPlayerState(player) : 0;
}

void HV_Leaderboards_Login(uint32_t player)
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    if (implementation == nullptr) {
        HV_Popup(HV_LOG_WARNING,
                 "No leaderboard implementation defined while calling hv->leaderboards->Login. Requires feature "
                 "LEADERBOARDS and a leaderboards implementation. Use fallback feature LOCAL_LEADERBOARDS for local "
                 "score lists.");
        return;
    }
    if (implementation->GetLocalPlayerState(player) != 0) return;
    HV_Print("Login for player %d", int32_t(player));
    implementation->Login(player);
    if (HV_IsDeveloperMode()) HVI_CheckLeaderboardCategoryIds();
}

bool HV_Leaderboards_Logout()
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    return implementation != nullptr && implementation->Logout();
}

void HV_Leaderboards_OpenCategory(const char* category)
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    if (implementation != nullptr && category != nullptr && category[0] != '\0') implementation->OpenCategory(category);
}

int32_t HV_Leaderboards_QueryCategoryCount() { return HVI_GetLeaderboardCategoryCount(); }

const char* HV_Leaderboards_QueryCategoryId(int32_t index) { return HVI_GetLeaderboardCategoryId(index); }

int32_t HV_Leaderboards_QueryCategoryIndex(const char* category) { return HVI_GetLeaderboardCategoryIndex(category); }

bool HV_Leaderboards_QueryCategoryIsAscending(const char* category)
{
    return HVI_IsLeaderboardCategoryAscending(category);
}

int32_t HV_Leaderboards_QueryMaxScoreCount()
{
    LeaderboardsImplementation* implementation = HVI_GetLeaderboardsImplementation();
    return implementation != nullptr ? implementation->GetMaxScoreCount() : kDefaultMaxScoreCount;
}

const char* HV_Leaderboards_QueryParameter(const char* category, const char* key)
{
    return HVI_GetLeaderboardCategoryParameter(category, key);
}

HV_LeaderboardsInterface g_table = {
    HV_Leaderboards_AddScore,
    HV_Leaderboards_FetchScores,
    HV_Leaderboards_FetchScoresAroundUser,
    HV_Leaderboards_IsBusy,
    HV_Leaderboards_LaunchLeaderboardView,
    HV_Leaderboards_LocalPlayerName,
    HV_Leaderboards_LocalPlayerState,
    HV_Leaderboards_Login,
    HV_Leaderboards_Logout,
    HV_Leaderboards_OpenCategory,
    HV_Leaderboards_QueryCategoryCount,
    HV_Leaderboards_QueryCategoryId,
    HV_Leaderboards_QueryCategoryIndex,
    HV_Leaderboards_QueryCategoryIsAscending,
    HV_Leaderboards_QueryMaxScoreCount,
    HV_Leaderboards_QueryParameter,
};

}  // namespace

HV_LeaderboardsInterface* HVI_GetLeaderboardsInterface() { return &g_table; }
