#include "extensions/simulated/simulated_social_implementation.h"

#include <cstdlib>
#include <utility>

#include "core/events.h"
#include "core/logging.h"
#include "core/memory.h"
#include "core/threading.h"
#include "extensions/leaderboard_events.h"
#include "extensions/simulated/picture_loading.h"
#include "extensions/simulated/profile_picture_url.h"
#include "extensions/simulated/social_directory.h"

namespace {

// The cache mode of profile pictures.
constexpr int32_t kPictureCacheMode = 4;

// Copies of the user's texts in blocks of the engine allocator.
HV_SocialUser CopyForEvent(const SocialUser& user)
{
    HV_SocialUser copy;
    copy.id = HVI_CopyEventString(user.id.GetText());
    copy.name = HVI_CopyEventString(user.name.GetText());
    copy.value = uint32_t(user.value);
    return copy;
}

bool Post(HV_Event& event, HVI_EventPayloadFreer freer)
{
    if (!HV_PostEvent(&event)) {
        HV_Log(HV_LOG_ERROR, "SimulatedSocialImplementation: event %u could not be queued.", event.kind);
        freer(&event);
        return false;
    }
    return true;
}

}  // namespace

SimulatedSocialImplementation::~SimulatedSocialImplementation()
{
    for (SocialUser* user : m_users) delete user;
}

bool SimulatedSocialImplementation::Initialize()
{
    m_mutex = HV_Threading_GetMutex("SocialImplementation");
    MutexScope scope(m_mutex);
    m_state = kLoggedOut;
    return true;
}

void SimulatedSocialImplementation::CreateUsers()
{
    m_localUser = new SocialUser{kSimulatedLocalUser.id, kSimulatedLocalUser.name, std::rand() % 30};
    m_users.Add(m_localUser);
    for (const SimulatedSocialPerson& person : kSimulatedFriends)
        m_users.Add(new SocialUser{person.id, person.name, 0});
    for (int i = 1; i < m_users.GetCount(); ++i) m_users[i]->value = std::rand() % 40 + 3 + i;
}

void SimulatedSocialImplementation::Login()
{
    MutexScope scope(m_mutex);
    if (m_state != kLoggedOut) return;
    if (m_localUser == nullptr) CreateUsers();

    HV_SocialLoginEvent login = {};
    login.kind = HV_EVENT_SOCIAL_LOGIN;
    login.success = 1;
    login.user = static_cast<HV_SocialUser*>(HV_Malloc(sizeof(HV_SocialUser)));
    if (login.user == nullptr) {
        HV_Log(HV_LOG_ERROR, "SimulatedSocialImplementation::Login: no memory for the login event.");
        return;
    }
    *login.user = CopyForEvent(*m_localUser);
    HV_Event event = HVI_MakeEvent(login);
    // Logged in only once the program is told: a login that could not be
    // announced stays undone, so the next Login tries again.
    if (Post(event, HVI_FreeSocialLoginEvent)) m_state = kLoggedIn;
}

void SimulatedSocialImplementation::Logout()
{
    MutexScope scope(m_mutex);
    if (m_state == kLoggedIn) m_state = kLoggedOut;
}

int32_t SimulatedSocialImplementation::GetLoginState()
{
    MutexScope scope(m_mutex);
    return m_state;
}

SocialUser* SimulatedSocialImplementation::RequestLocalUser(int32_t value)
{
    MutexScope scope(m_mutex);
    if (m_localUser != nullptr) m_localUser->value = value;
    return m_localUser;
}

void SimulatedSocialImplementation::RefreshFriends()
{
    MutexScope scope(m_mutex);
    if (m_localUser == nullptr || m_state != kLoggedIn) return;
    const int count = m_users.GetCount();
    HV_SocialUser* users = static_cast<HV_SocialUser*>(HV_Malloc(sizeof(HV_SocialUser) * size_t(count)));
    if (users == nullptr) {
        HV_Log(HV_LOG_ERROR, "SimulatedSocialImplementation::RefreshFriends: no memory for %d users.", count);
        return;
    }
    for (int i = 0; i < count; ++i) users[i] = CopyForEvent(*m_users[i]);
    // Highest value first: each position takes every larger value it meets.
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            if (users[j].value < users[i].value) std::swap(users[i], users[j]);
        }
    }
    HV_SocialFriendsEvent friends = {};
    friends.kind = HV_EVENT_SOCIAL_FRIENDS;
    friends.users = users;
    friends.count = uint32_t(count);
    HV_Event event = HVI_MakeEvent(friends);
    Post(event, HVI_FreeSocialFriendsEvent);
}

HV_Bitmap* SimulatedSocialImplementation::RequestProfilePicture(const char* userId, int32_t size)
{
    const String url = HVI_BuildProfilePictureUrl(kSimulatedPictureHost, userId, size);
    return HVI_LoadPicture(url.GetText(), kPictureCacheMode);
}
