#pragma once

#include <memory>

#include "winapi/d3d11/backend.h"

namespace halvo::d3d11::vulkan {

// Storage and work on a Vulkan device: the first GPU the loader offers, else
// a CPU device (which stands for the WARP driver type). Null when no Vulkan
// device can be made. With HALVO_VULKAN_VALIDATION=1 the validation layer is
// enabled when installed, and every message it sends is logged and counted.
std::shared_ptr<Backend> CreateVulkanBackend();

// Messages the validation layer sent since the process started.
unsigned ValidationMessageCount();

}  // namespace halvo::d3d11::vulkan
