#include "winapi/d3d11/vulkan/vulkan_presenter.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_vulkan.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "winapi/d3d11/hooks.h"
#include "winapi/user/native_window.h"

namespace halvo::d3d11::vulkan {

namespace {

// Formats a display shows byte for byte: a copy between two of one family keeps what the program stored.
int ByteFamily(VkFormat format)
{
    switch (format) {
    case VK_FORMAT_B8G8R8A8_UNORM:
    case VK_FORMAT_B8G8R8A8_SRGB: return 1;
    case VK_FORMAT_R8G8B8A8_UNORM:
    case VK_FORMAT_R8G8B8A8_SRGB: return 2;
    default: return 0;
    }
}

// The buffer's own format first, then one with its bytes in the same order,
// then an 8-bit normalised one, then whatever the surface offers.
VkSurfaceFormatKHR ChooseFormat(const std::vector<VkSurfaceFormatKHR>& offered, VkFormat source)
{
    for (const VkSurfaceFormatKHR& format : offered) {
        if (format.format == source) return format;
    }
    for (const VkSurfaceFormatKHR& format : offered) {
        if (ByteFamily(format.format) != 0 && ByteFamily(format.format) == ByteFamily(source)) return format;
    }
    for (const VkSurfaceFormatKHR& format : offered) {
        if (format.format == VK_FORMAT_B8G8R8A8_UNORM || format.format == VK_FORMAT_R8G8B8A8_UNORM) return format;
    }
    return offered.front();
}

HRESULT ResultOf(VkResult failure)
{
    return failure == VK_ERROR_DEVICE_LOST ? DXGI_ERROR_DEVICE_REMOVED : E_OUTOFMEMORY;
}

void Transition(VkCommandBuffer commands, VkImage image, VkImageLayout from, VkImageLayout to, VkAccessFlags before,
                VkAccessFlags after, VkPipelineStageFlags beforeStages, VkPipelineStageFlags afterStages)
{
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = before;
    barrier.dstAccessMask = after;
    barrier.oldLayout = from;
    barrier.newLayout = to;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    vkCmdPipelineBarrier(commands, beforeStages, afterStages, 0, 0, nullptr, 0, nullptr, 1, &barrier);
}

}  // namespace

VulkanPresenter::VulkanPresenter(VulkanDevice& device) : device_(device)
{
    VkFenceCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    vkCreateFence(device_.device(), &info, nullptr, &acquired_);
    HVU_WatchNativeWindows(&VulkanPresenter::WindowGone, this);
}

VulkanPresenter::~VulkanPresenter()
{
    HVU_UnwatchNativeWindows(&VulkanPresenter::WindowGone, this);
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [window, target] : targets_) Forget(target);
    targets_.clear();
    if (acquired_ != VK_NULL_HANDLE) vkDestroyFence(device_.device(), acquired_, nullptr);
}

void VulkanPresenter::WindowGone(HWND window, void* presenter)
{
    auto* self = static_cast<VulkanPresenter*>(presenter);
    std::lock_guard<std::mutex> lock(self->mutex_);
    auto found = self->targets_.find(window);
    if (found == self->targets_.end()) return;
    self->Forget(found->second);
    self->targets_.erase(found);
}

void VulkanPresenter::Forget(Target& target)
{
    if (target.swapchain != VK_NULL_HANDLE) {
        device_.WaitIdle();
        vkDestroySwapchainKHR(device_.device(), target.swapchain, nullptr);
    }
    if (target.surface != VK_NULL_HANDLE) vkDestroySurfaceKHR(device_.instance(), target.surface, nullptr);
    target.swapchain = VK_NULL_HANDLE;
    target.surface = VK_NULL_HANDLE;
    target.images.clear();
}

VulkanPresenter::Target* VulkanPresenter::TargetOf(HWND window)
{
    SDL_Window* native = HVU_GetNativeWindow(window);
    if (native == nullptr || !device_.presentation() || acquired_ == VK_NULL_HANDLE) return nullptr;
    auto found = targets_.find(window);
    if (found != targets_.end()) return &found->second;
    Target& target = targets_[window];
    target.native = native;
    std::string failure;
    if (!SDL_Vulkan_CreateSurface(native, device_.instance(), &target.surface)) {
        target.surface = VK_NULL_HANDLE;
        failure = SDL_GetError();
    } else {
        VkBool32 supported = VK_FALSE;
        vkGetPhysicalDeviceSurfaceSupportKHR(device_.physicalDevice(), device_.queueFamily(), target.surface,
                                             &supported);
        target.usable = supported == VK_TRUE;
        if (!target.usable) failure = "the device's queue cannot present to it";
        uint32_t count = 0;
        vkGetPhysicalDeviceSurfacePresentModesKHR(device_.physicalDevice(), target.surface, &count, nullptr);
        target.modes.resize(count);
        vkGetPhysicalDeviceSurfacePresentModesKHR(device_.physicalDevice(), target.surface, &count,
                                                  target.modes.data());
    }
    if (!target.usable) {
        hooks::LogMessage("D3D11 WARNING: the window has no Vulkan surface to present to (" + failure +
                          "); its frames are kept without being shown.");
    }
    return &target;
}

VkPresentModeKHR VulkanPresenter::ModeFor(const Target& target, UINT syncInterval)
{
    if (syncInterval == 0) {
        for (VkPresentModeKHR wanted : {VK_PRESENT_MODE_IMMEDIATE_KHR, VK_PRESENT_MODE_MAILBOX_KHR}) {
            if (std::find(target.modes.begin(), target.modes.end(), wanted) != target.modes.end()) return wanted;
        }
    }
    return VK_PRESENT_MODE_FIFO_KHR;  // every surface has it
}

bool VulkanPresenter::Fit(Target& target, VkFormat sourceFormat, VkPresentModeKHR mode)
{
    VkPhysicalDevice physical = device_.physicalDevice();
    VkSurfaceCapabilitiesKHR capabilities;
    if (vkGetPhysicalDeviceSurfaceCapabilitiesKHR(physical, target.surface, &capabilities) != VK_SUCCESS) return false;
    VkExtent2D extent = capabilities.currentExtent;
    if (extent.width == UINT32_MAX) {
        // The surface takes the swap chain's size: the window's.
        int width = 0;
        int height = 0;
        SDL_Vulkan_GetDrawableSize(target.native, &width, &height);
        extent.width = std::clamp(uint32_t(std::max(width, 0)), capabilities.minImageExtent.width,
                                  capabilities.maxImageExtent.width);
        extent.height = std::clamp(uint32_t(std::max(height, 0)), capabilities.minImageExtent.height,
                                   capabilities.maxImageExtent.height);
    }
    if (extent.width == 0 || extent.height == 0) return false;  // nothing of the window can be seen
    if (target.swapchain != VK_NULL_HANDLE && !target.stale && extent.width == target.extent.width &&
        extent.height == target.extent.height && sourceFormat == target.sourceFormat && mode == target.mode) {
        return true;
    }
    if (!(capabilities.supportedUsageFlags & VK_IMAGE_USAGE_TRANSFER_DST_BIT)) return false;
    uint32_t count = 0;
    vkGetPhysicalDeviceSurfaceFormatsKHR(physical, target.surface, &count, nullptr);
    std::vector<VkSurfaceFormatKHR> formats(count);
    vkGetPhysicalDeviceSurfaceFormatsKHR(physical, target.surface, &count, formats.data());
    if (formats.empty()) return false;
    const VkSurfaceFormatKHR format = ChooseFormat(formats, sourceFormat);

    VkSwapchainCreateInfoKHR info{};
    info.sType = VK_STRUCTURE_TYPE_SWAPCHAIN_CREATE_INFO_KHR;
    info.surface = target.surface;
    info.minImageCount = std::max(capabilities.minImageCount, 2u);
    if (capabilities.maxImageCount > 0) info.minImageCount = std::min(info.minImageCount, capabilities.maxImageCount);
    info.imageFormat = format.format;
    info.imageColorSpace = format.colorSpace;
    info.imageExtent = extent;
    info.imageArrayLayers = 1;
    info.imageUsage = VK_IMAGE_USAGE_TRANSFER_DST_BIT;
    info.imageSharingMode = VK_SHARING_MODE_EXCLUSIVE;
    info.preTransform = capabilities.currentTransform;
    const VkCompositeAlphaFlagsKHR alphas = capabilities.supportedCompositeAlpha;
    info.compositeAlpha = (alphas & VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR)
                              ? VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR
                              : VkCompositeAlphaFlagBitsKHR(alphas & (~alphas + 1));  // the lowest one offered
    info.presentMode = mode;
    info.clipped = VK_TRUE;
    info.oldSwapchain = target.swapchain;
    VkSwapchainKHR made = VK_NULL_HANDLE;
    const VkResult created = vkCreateSwapchainKHR(device_.device(), &info, nullptr, &made);
    if (target.swapchain != VK_NULL_HANDLE) {
        device_.WaitIdle();
        vkDestroySwapchainKHR(device_.device(), target.swapchain, nullptr);
        target.swapchain = VK_NULL_HANDLE;
        target.images.clear();
    }
    if (created != VK_SUCCESS) return false;
    target.swapchain = made;
    vkGetSwapchainImagesKHR(device_.device(), made, &count, nullptr);
    target.images.resize(count);
    vkGetSwapchainImagesKHR(device_.device(), made, &count, target.images.data());
    target.extent = extent;
    target.format = format.format;
    target.sourceFormat = sourceFormat;
    target.mode = mode;
    target.stale = false;
    return true;
}

bool VulkanPresenter::Show(Target& target, VulkanResource& buffer, uint32_t index)
{
    const ResourceShape& shape = buffer.shape();
    const VkImage source = buffer.image();
    const VkImage image = target.images[index];
    const VkExtent2D extent = target.extent;
    // The same size and byte order: the stored bytes exactly; otherwise stretched over the window, converted.
    const bool copy = shape.width == extent.width && shape.height == extent.height &&
                      ByteFamily(buffer.format()) != 0 && ByteFamily(buffer.format()) == ByteFamily(target.format);
    return device_.Run([&](VkCommandBuffer commands) {
        FullBarrier(commands);
        Transition(commands, image, VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 0,
                   VK_ACCESS_TRANSFER_WRITE_BIT, VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT);
        const VkImageSubresourceLayers layers{VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
        if (copy) {
            VkImageCopy region{};
            region.srcSubresource = layers;
            region.dstSubresource = layers;
            region.extent = {extent.width, extent.height, 1};
            vkCmdCopyImage(commands, source, VK_IMAGE_LAYOUT_GENERAL, image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1,
                           &region);
        } else {
            VkImageBlit region{};
            region.srcSubresource = layers;
            region.srcOffsets[1] = {int32_t(shape.width), int32_t(shape.height), 1};
            region.dstSubresource = layers;
            region.dstOffsets[1] = {int32_t(extent.width), int32_t(extent.height), 1};
            vkCmdBlitImage(commands, source, VK_IMAGE_LAYOUT_GENERAL, image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1,
                           &region, VK_FILTER_LINEAR);
        }
        Transition(commands, image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR,
                   VK_ACCESS_TRANSFER_WRITE_BIT, 0, VK_PIPELINE_STAGE_TRANSFER_BIT,
                   VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT);
    });
}

bool VulkanPresenter::Present(VulkanResource& buffer, HWND window, UINT syncInterval, HRESULT* result)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Target* target = buffer.image() == VK_NULL_HANDLE ? nullptr : TargetOf(window);
    if (target == nullptr || !target->usable) return false;
    *result = S_OK;
    const VkPresentModeKHR mode = ModeFor(*target, syncInterval);
    // A swap chain the window outgrew between the check and the acquire is made again once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Fit(*target, buffer.format(), mode)) return true;
        uint32_t index = 0;
        const VkResult acquired =
            vkAcquireNextImageKHR(device_.device(), target->swapchain, UINT64_MAX, VK_NULL_HANDLE, acquired_, &index);
        if (acquired == VK_ERROR_OUT_OF_DATE_KHR) {
            target->stale = true;
            continue;
        }
        if (acquired != VK_SUCCESS && acquired != VK_SUBOPTIMAL_KHR) {
            *result = ResultOf(acquired);
            return true;
        }
        vkWaitForFences(device_.device(), 1, &acquired_, VK_TRUE, UINT64_MAX);
        vkResetFences(device_.device(), 1, &acquired_);
        if (!Show(*target, buffer, index)) {
            // The image stays acquired and cannot be presented: start again with a new swap chain.
            target->stale = true;
            *result = DXGI_ERROR_DEVICE_REMOVED;
            return true;
        }
        const VkResult presented = device_.PresentImage(target->swapchain, index);
        if (presented == VK_ERROR_OUT_OF_DATE_KHR || presented == VK_SUBOPTIMAL_KHR) {
            target->stale = true;
        } else if (presented != VK_SUCCESS) {
            *result = ResultOf(presented);
        }
        return true;
    }
    return true;
}

}  // namespace halvo::d3d11::vulkan
