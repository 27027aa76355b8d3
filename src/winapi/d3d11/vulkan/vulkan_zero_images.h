#pragma once

#include <map>

#include "winapi/d3d11/vulkan/vulkan_device.h"

namespace halvo::d3d11::vulkan {

// What a texture slot with nothing bound reads: zeros, through a view of
// the kind the shader declares there (1D, 2D, 3D, cube, or arrays of them).
class ZeroImages {
public:
    explicit ZeroImages(VulkanDevice& device) : device_(device) {}
    ~ZeroImages();
    ZeroImages(const ZeroImages&) = delete;
    ZeroImages& operator=(const ZeroImages&) = delete;

    // VK_NULL_HANDLE when the device cannot make it.
    VkImageView View(VkImageViewType type);

private:
    struct Image {
        VkImage image = VK_NULL_HANDLE;
        VkDeviceMemory memory = VK_NULL_HANDLE;
    };
    // The 1 x 1 (x 1) image behind views of the type, made on first use.
    Image* ImageFor(VkImageViewType type);
    bool Make(VkImageType type, uint32_t layers, VkImageCreateFlags flags, Image* image);

    VulkanDevice& device_;
    Image line_;    // 1D
    Image planes_;  // 2D, six layers, cube-compatible
    Image volume_;  // 3D
    std::map<VkImageViewType, VkImageView> views_;
};

}  // namespace halvo::d3d11::vulkan
