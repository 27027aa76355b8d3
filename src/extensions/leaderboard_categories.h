#pragma once

#include <cstdint>

// The leaderboard categories of "leaderboards/leaderboards.xml": the array
// "CATEGORIES", one node per category, the node id is the category id. The
// database is loaded through the data manager on first use and stays
// registered; it is only read afterwards.
int32_t HVI_GetLeaderboardCategoryCount();
// Null for an index outside 0..count - 1.
const char* HVI_GetLeaderboardCategoryId(int32_t index);
// The index of the first category with that id; -1 for null or not found.
int32_t HVI_GetLeaderboardCategoryIndex(const char* category);
// Whether the category's "sort" is "LOWEST_SCORE_FIRST" or "ASCENDING".
bool HVI_IsLeaderboardCategoryAscending(const char* category);
// The value of a key of the category's node, or null.
const char* HVI_GetLeaderboardCategoryParameter(const char* category, const char* key);
