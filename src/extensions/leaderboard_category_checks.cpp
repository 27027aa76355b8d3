#include "extensions/leaderboard_category_checks.h"

#include <cstring>

#include "core/logging.h"
#include "extensions/leaderboard_categories.h"

namespace {

constexpr size_t kMaxCategoryIdLength = 31;

bool IsEnglishLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsIdCharacter(char c) { return IsEnglishLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

}  // namespace

void HVI_CheckLeaderboardCategoryIds()
{
    // The count is asked again after each category.
    for (int32_t index = 0; index < HVI_GetLeaderboardCategoryCount(); ++index) {
        const char* id = HVI_GetLeaderboardCategoryId(index);
        if (id == nullptr || id[0] == '\0') {
            HV_Popup(HV_LOG_WARNING, "Leaderboard category with index %d has no id. Id is required.", index);
            continue;
        }
        if (std::strlen(id) > kMaxCategoryIdLength)
            HV_Popup(HV_LOG_WARNING, "Leaderboard category id '%s' is too long (can be max 31 characters).", id);
        if (!IsEnglishLetter(id[0])) {
            HV_Popup(HV_LOG_WARNING, "Leaderboard category id '%s' has to start with an English alphabet.", id);
            continue;
        }
        for (const char* c = id; *c != '\0'; ++c) {
            if (!IsIdCharacter(*c)) {
                HV_Popup(HV_LOG_WARNING,
                         "Leaderboard category id '%s' can only contain English alphabets, digits, and '_' character.",
                         id);
            }
        }
    }
}
