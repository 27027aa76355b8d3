#pragma once

#include <dxgiformat.h>
#include <vulkan/vulkan.h>

namespace halvo::d3d11::vulkan {

// The Vulkan format with the same bytes per texel and the same layout of
// channels in memory; a typeless format maps to an unsigned-integer or
// unsigned-normalised member of its group. VK_FORMAT_UNDEFINED when none.
VkFormat ToVulkanFormat(DXGI_FORMAT format);

// The aspects of the format's images (colour, or depth and stencil).
VkImageAspectFlags AspectsOf(VkFormat format);

}  // namespace halvo::d3d11::vulkan
