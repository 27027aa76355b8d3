// The number of component objects of our platform layers alive in the
// process: every object made through com_object.h counts from its
// construction to its destruction, in whichever library made it.
#pragma once

#include <cstdint>

#define HALVO_COM_EXPORT __attribute__((visibility("default")))

namespace halvo::com {

HALVO_COM_EXPORT void CountObjectMade();
HALVO_COM_EXPORT void CountObjectDestroyed();
HALVO_COM_EXPORT int64_t LiveObjectCount();

}  // namespace halvo::com
