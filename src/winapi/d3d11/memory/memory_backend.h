#pragma once

#include <memory>

#include "winapi/d3d11/backend.h"

namespace halvo::d3d11::memory {

// Every subresource in CPU memory; copies, clears and mips done exactly on
// the CPU; draws counted and recorded, not rasterised. A CPU device: it
// stands for the WARP driver type, with one virtual output.
std::shared_ptr<Backend> CreateMemoryBackend();

}  // namespace halvo::d3d11::memory
