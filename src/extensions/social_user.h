#pragma once

#include <cstdint>

#include "foundation/string.h"

// The social service's record of one user; the service owns it.
struct SocialUser {
    String id;
    String name;
    int32_t value = 0;
};
