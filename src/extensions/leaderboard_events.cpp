#include "extensions/leaderboard_events.h"

#include <cstring>

#include "core/events.h"
#include "core/logging.h"
#include "core/memory.h"

const char* HVI_GetLeaderboardFilterName(int32_t filter)
{
    switch (filter) {
    case HV_LEADERBOARD_FILTER_GLOBAL: return "GLOBAL";
    case HV_LEADERBOARD_FILTER_FRIENDS: return "FRIENDS";
    default: return "ERROR";
    }
}

char* HVI_CopyEventString(const char* text)
{
    if (text == nullptr) return nullptr;
    const size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(HV_Malloc(size));
    if (copy != nullptr) std::memcpy(copy, text, size);
    return copy;
}

namespace {

void Post(const HV_LeaderboardResultEvent& result)
{
    HV_Event event = HVI_MakeEvent(result);
    if (!HV_PostEvent(&event)) {
        HV_Log(HV_LOG_ERROR, "HVI_SendLeaderboardEvent: the result for category '%s' could not be queued.",
               result.category ? result.category : "");
        HVI_FreeLeaderboardResultEvent(&event);
    }
}

}  // namespace

void HVI_SendLeaderboardScoresEvent(const char* category, int32_t filter, int32_t start, int32_t count,
                                    HV_LeaderboardScore* scores, int32_t total)
{
    const char* filterName = HVI_GetLeaderboardFilterName(filter);
    if (count >= 1) {
        // The last rank is computed wide; it is only printed.
        HV_Print("Sending event with scores %d..%d (%d scores of %d) for category '%s' with filter '%s'", start,
                 int32_t(int64_t(start) + count - 1), count, total, HVI_PrintableText(category), filterName);
    } else {
        HV_Print("Sending event with no scores (%d scores in category) for category '%s' with filter '%s'", total,
                 HVI_PrintableText(category), filterName);
    }
    HV_LeaderboardResultEvent result = {};
    result.kind = HV_EVENT_LEADERBOARD_RESULT;
    result.success = 1;
    result.category = HVI_CopyEventString(category);
    result.total = total;
    result.filter = filter;
    result.start = start;
    result.count = count > 0 ? count : 0;
    result.scores = count > 0 ? scores : nullptr;
    if (count <= 0) HV_Free(scores);
    Post(result);
}

void HVI_SendLeaderboardErrorEvent(const char* category, int32_t filter, const char* reason)
{
    HV_LeaderboardResultEvent result = {};
    result.kind = HV_EVENT_LEADERBOARD_RESULT;
    result.reason = HVI_CopyEventString(reason);
    result.category = HVI_CopyEventString(category);
    result.filter = filter;
    HV_Print("Sending leaderboards error event for category '%s' filter '%s' with reason '%s'.",
             HVI_PrintableText(category), HVI_GetLeaderboardFilterName(filter), HVI_PrintableText(result.reason));
    Post(result);
}

void HVI_FreeLeaderboardResultEvent(HV_Event* event)
{
    const HV_LeaderboardResultEvent result = HVI_ReadEvent<HV_LeaderboardResultEvent>(*event);
    HV_Free(result.reason);
    HV_Free(result.category);
    HV_Free(result.scores);
}

void HVI_FreeSocialLoginEvent(HV_Event* event)
{
    const HV_SocialLoginEvent login = HVI_ReadEvent<HV_SocialLoginEvent>(*event);
    if (login.user != nullptr) {
        HV_Free(login.user->id);
        HV_Free(login.user->name);
    }
    HV_Free(login.user);
}

void HVI_FreeSocialFriendsEvent(HV_Event* event)
{
    const HV_SocialFriendsEvent friends = HVI_ReadEvent<HV_SocialFriendsEvent>(*event);
    for (uint32_t i = 0; friends.users != nullptr && i < friends.count; ++i) {
        HV_Free(friends.users[i].id);
        HV_Free(friends.users[i].name);
    }
    HV_Free(friends.users);
}
