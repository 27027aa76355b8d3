#include "winapi/d3dcompiler/profile_table.h"

#include <cstring>

namespace halvo::d3dcompiler {

const Profile* FindProfile(const char* name)
{
    if (name == nullptr) return nullptr;
    for (const Profile& profile : kProfiles) {
        if (std::strcmp(profile.name, name) == 0) return &profile;
    }
    return nullptr;
}

}  // namespace halvo::d3dcompiler
