#pragma once

#include <cstdint>
#include <cstring>

#include "halvo/services.h"

// The leaderboard result event (kind 19) that every leaderboards
// implementation posts, and the freeing of event payloads after delivery.

// "GLOBAL", "FRIENDS", or "ERROR" for any other filter; for messages only.
const char* HVI_GetLeaderboardFilterName(int32_t filter);

// The reason of an error result when the score array finds no memory.
inline constexpr const char kLeaderboardOutOfMemoryReason[] = "Out of memory.";

// The text for a "%s" of a message: "(null)" for null.
inline const char* HVI_PrintableText(const char* text) { return text != nullptr ? text : "(null)"; }

// A copy of the text in a block of the engine allocator; null for null or
// when memory runs out.
char* HVI_CopyEventString(const char* text);

// Posts a score result. The event takes over the scores (null when count is
// 0); when the event cannot be queued its blocks are freed here.
void HVI_SendLeaderboardScoresEvent(const char* category, int32_t filter, int32_t start, int32_t count,
                                    HV_LeaderboardScore* scores, int32_t total);
// Posts an error result with copies of the reason and the category.
void HVI_SendLeaderboardErrorEvent(const char* category, int32_t filter, const char* reason);

// Frees the blocks of events 19, 37 and 38 (registered with the event queue).
void HVI_FreeLeaderboardResultEvent(HV_Event* event);
void HVI_FreeSocialLoginEvent(HV_Event* event);
void HVI_FreeSocialFriendsEvent(HV_Event* event);

// Copies a payload record into an event and back; the records overlay the
// event from its first byte.
template <class Payload>
HV_Event HVI_MakeEvent(const Payload& payload)
{
    static_assert(sizeof(Payload) <= sizeof(HV_Event));
    HV_Event event = {};
    std::memcpy(&event, &payload, sizeof payload);
    return event;
}
template <class Payload>
Payload HVI_ReadEvent(const HV_Event& event)
{
    Payload payload;
    std::memcpy(&payload, &event, sizeof payload);
    return payload;
}
