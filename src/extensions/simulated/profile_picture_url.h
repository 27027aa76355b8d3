#pragma once

#include <cstdint>

#include "foundation/string.h"

// "http://<host>/<user id>/picture?width=<size>&height=<size>&return_ssl_resources=0".
// The user id is percent-encoded: anything but letters, digits and "-._~"
// could otherwise change the path or the query.
String HVI_BuildProfilePictureUrl(const char* host, const char* userId, int32_t size);
