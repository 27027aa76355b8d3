#include "extensions/leaderboard_categories.h"

#include <cstring>

#include "data/data_manager.h"

namespace {

constexpr const char* kCategoriesFile = "leaderboards/leaderboards.xml";
constexpr const char* kCategoriesArray = "CATEGORIES";

DMArray* GetCategories()
{
    DMDatabase* database = DataManager::GetDatabase(kCategoriesFile);
    return database != nullptr ? database->FindArray(kCategoriesArray) : nullptr;
}

DMNode* FindCategory(const char* category)
{
    DMArray* categories = GetCategories();
    return categories != nullptr ? categories->FindNode(category) : nullptr;
}

}  // namespace

int32_t HVI_GetLeaderboardCategoryCount()
{
    DMArray* categories = GetCategories();
    return categories != nullptr ? categories->GetNodeCount() : 0;
}

const char* HVI_GetLeaderboardCategoryId(int32_t index)
{
    DMArray* categories = GetCategories();
    DMNode* node = categories != nullptr ? categories->GetNode(index) : nullptr;
    return node != nullptr ? node->GetId() : nullptr;
}

int32_t HVI_GetLeaderboardCategoryIndex(const char* category)
{
    DMArray* categories = GetCategories();
    if (categories == nullptr || category == nullptr) return -1;
    for (int32_t i = 0; i < categories->GetNodeCount(); ++i) {
        const char* id = categories->GetNode(i)->GetId();
        if (id != nullptr && std::strcmp(id, category) == 0) return i;
    }
    return -1;
}

bool HVI_IsLeaderboardCategoryAscending(const char* category)
{
    DMNode* node = FindCategory(category);
    const char* sort = node != nullptr ? node->GetValue("sort") : nullptr;
    return sort != nullptr && (std::strcmp(sort, "LOWEST_SCORE_FIRST") == 0 || std::strcmp(sort, "ASCENDING") == 0);
}

const char* HVI_GetLeaderboardCategoryParameter(const char* category, const char* key)
{
    DMNode* node = FindCategory(category);
    return node != nullptr && key != nullptr ? node->GetValue(key) : nullptr;
}
