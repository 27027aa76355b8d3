#include "winapi/d3d11/vulkan/vulkan_zero_images.h"

namespace halvo::d3d11::vulkan {

ZeroImages::~ZeroImages()
{
    for (auto& [type, view] : views_) vkDestroyImageView(device_.device(), view, nullptr);
    for (Image* image : {&line_, &planes_, &volume_}) {
        if (image->image != VK_NULL_HANDLE) vkDestroyImage(device_.device(), image->image, nullptr);
        if (image->memory != VK_NULL_HANDLE) vkFreeMemory(device_.device(), image->memory, nullptr);
    }
}

ZeroImages::Image* ZeroImages::ImageFor(VkImageViewType type)
{
    switch (type) {
    case VK_IMAGE_VIEW_TYPE_1D:
    case VK_IMAGE_VIEW_TYPE_1D_ARRAY:
        return line_.image != VK_NULL_HANDLE || Make(VK_IMAGE_TYPE_1D, 1, 0, &line_) ? &line_ : nullptr;
    case VK_IMAGE_VIEW_TYPE_3D:
        return volume_.image != VK_NULL_HANDLE || Make(VK_IMAGE_TYPE_3D, 1, 0, &volume_) ? &volume_ : nullptr;
    default:
        return planes_.image != VK_NULL_HANDLE ||
                       Make(VK_IMAGE_TYPE_2D, 6, VK_IMAGE_CREATE_CUBE_COMPATIBLE_BIT, &planes_)
                   ? &planes_
                   : nullptr;
    }
}

bool ZeroImages::Make(VkImageType type, uint32_t layers, VkImageCreateFlags flags, Image* image)
{
    VkImageCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    info.flags = flags;
    info.imageType = type;
    info.format = VK_FORMAT_R8G8B8A8_UNORM;
    info.extent = {1, 1, 1};
    info.mipLevels = 1;
    info.arrayLayers = layers;
    info.samples = VK_SAMPLE_COUNT_1_BIT;
    info.tiling = VK_IMAGE_TILING_OPTIMAL;
    info.usage = VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT;
    info.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    if (vkCreateImage(device_.device(), &info, nullptr, &image->image) != VK_SUCCESS) return false;
    VkMemoryRequirements requirements;
    vkGetImageMemoryRequirements(device_.device(), image->image, &requirements);
    image->memory = device_.Allocate(requirements, 0);
    if (image->memory == VK_NULL_HANDLE ||
        vkBindImageMemory(device_.device(), image->image, image->memory, 0) != VK_SUCCESS) {
        return false;
    }
    const VkImageSubresourceRange range{VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, layers};
    return device_.Run([&](VkCommandBuffer commands) {
        VkImageMemoryBarrier barrier{};
        barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
        barrier.dstAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
        barrier.oldLayout = VK_IMAGE_LAYOUT_UNDEFINED;
        barrier.newLayout = VK_IMAGE_LAYOUT_GENERAL;
        barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
        barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
        barrier.image = image->image;
        barrier.subresourceRange = range;
        vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr,
                             0, nullptr, 1, &barrier);
        const VkClearColorValue zero{};
        vkCmdClearColorImage(commands, image->image, VK_IMAGE_LAYOUT_GENERAL, &zero, 1, &range);
        FullBarrier(commands);
    });
}

VkImageView ZeroImages::View(VkImageViewType type)
{
    auto found = views_.find(type);
    if (found != views_.end()) return found->second;
    const Image* image = ImageFor(type);
    if (image == nullptr) return VK_NULL_HANDLE;
    VkImageViewCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    info.image = image->image;
    info.viewType = type;
    info.format = VK_FORMAT_R8G8B8A8_UNORM;
    const bool cube = type == VK_IMAGE_VIEW_TYPE_CUBE || type == VK_IMAGE_VIEW_TYPE_CUBE_ARRAY;
    info.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, cube ? 6u : 1u};
    VkImageView view = VK_NULL_HANDLE;
    if (vkCreateImageView(device_.device(), &info, nullptr, &view) != VK_SUCCESS) return VK_NULL_HANDLE;
    views_[type] = view;
    return view;
}

}  // namespace halvo::d3d11::vulkan
