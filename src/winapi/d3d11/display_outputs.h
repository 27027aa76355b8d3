// The outputs of an adapter when a display server is there: its screens, with
// their desktop rectangles and modes, so that programs place and size their
// windows on the screen a person sees.
#pragma once

#include <vector>

#include "winapi/d3d11/backend.h"

namespace halvo::d3d11 {

// One output per screen, its modes from the smallest (width, then height,
// then refresh rate) and each once; empty without a display.
std::vector<OutputInfo> DisplayOutputs();

}  // namespace halvo::d3d11
