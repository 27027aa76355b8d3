#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

constexpr int32_t kSmallestPictureSize = 4;

bool HV_Social_IsAvailable() { return HVI_GetSocialImplementation() != nullptr; }

void HV_Social_Login()
{
    if (SocialImplementation* implementation = HVI_GetSocialImplementation()) implementation->Login();
}

void HV_Social_Logout()
{
    if (SocialImplementation* implementation = HVI_GetSocialImplementation()) implementation->Logout();
}

void HV_Social_RefreshFriends()
{
    if (SocialImplementation* implementation = HVI_GetSocialImplementation()) implementation->RefreshFriends();
}

SocialUser* HV_Social_RequestLocalUser(int32_t value)
{
    SocialImplementation* implementation = HVI_GetSocialImplementation();
    return implementation != nullptr ? implementation->RequestLocalUser(value) : nullptr;
}

HV_Bitmap* HV_Social_RequestProfilePicture(const char* userId, int32_t size)
{
    SocialImplementation* implementation = HVI_GetSocialImplementation();
    if (implementation == nullptr || userId == nullptr || size < kSmallestPictureSize) return nullptr;
    return implementation->RequestProfilePicture(userId, size);
}

HV_SocialInterface g_table = {
    HV_Social_IsAvailable,      HV_Social_Login,
    HV_Social_Logout,           HV_Social_RefreshFriends,
    HV_Social_RequestLocalUser, HV_Social_RequestProfilePicture,
};

}  // namespace

HV_SocialInterface* HVI_GetSocialInterface() { return &g_table; }
