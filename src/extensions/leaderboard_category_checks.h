#pragma once

// The developer-mode check of the category ids at login: every finding is a
// WARNING popup.
void HVI_CheckLeaderboardCategoryIds();
