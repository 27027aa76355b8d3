#pragma once

#include "halvo/extensions.h"
#include "extensions/social_user.h"
#include "foundation/array.h"
#include "halvo/threading.h"

// A social network played locally: the local user and ten built-in friends.
// Every operation holds the named mutex "SocialImplementation". The users'
// values are drawn from the C library's rand().
class SimulatedSocialImplementation : public SocialImplementation {
public:
    ~SimulatedSocialImplementation() override;

    const char* GetName() override { return "Simulated"; }
    bool Initialize() override;
    // Logs in (from state 0 only) and posts event 37 with the local user.
    void Login() override;
    void Logout() override;
    int32_t GetLoginState() override;
    SocialUser* RequestLocalUser(int32_t value) override;
    // Posts event 38 with every user, highest value first.
    void RefreshFriends() override;
    HV_Bitmap* RequestProfilePicture(const char* userId, int32_t size) override;

    static constexpr int32_t kLoggedOut = 0;
    static constexpr int32_t kLoggedIn = 2;

private:
    void CreateUsers();

    HV_Mutex* m_mutex = nullptr;
    int32_t m_state = kLoggedOut;       // guarded by m_mutex
    SocialUser* m_localUser = nullptr;  // guarded by m_mutex; also the first entry of m_users
    Array<SocialUser*> m_users;         // guarded by m_mutex; owned
};
