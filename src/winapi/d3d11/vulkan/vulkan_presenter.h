#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/vulkan/vulkan_device.h"
#include "winapi/d3d11/vulkan/vulkan_resource.h"

struct SDL_Window;

namespace halvo::d3d11::vulkan {

// Frames shown in real windows: each window gets a Vulkan surface and a swap
// chain on its first present, made again when the window's size, the
// buffer's format or the present mode change, and let go before the window
// goes. The sync interval chooses the present mode: 0 presents at once
// (IMMEDIATE, else MAILBOX), 1 to 4 wait for the display (FIFO).
class VulkanPresenter {
public:
    explicit VulkanPresenter(VulkanDevice& device);
    ~VulkanPresenter();
    VulkanPresenter(const VulkanPresenter&) = delete;
    VulkanPresenter& operator=(const VulkanPresenter&) = delete;

    // Shows the buffer in the window and sets *result; false when the window
    // has no real window this device can present to (the caller keeps the
    // frame as it would without a display).
    bool Present(VulkanResource& buffer, HWND window, UINT syncInterval, HRESULT* result);

private:
    struct Target {
        SDL_Window* native = nullptr;
        VkSurfaceKHR surface = VK_NULL_HANDLE;
        bool usable = false;  // the device's queue can present to the surface
        std::vector<VkPresentModeKHR> modes;
        VkSwapchainKHR swapchain = VK_NULL_HANDLE;
        std::vector<VkImage> images;
        VkExtent2D extent{};
        VkFormat format = VK_FORMAT_UNDEFINED;
        VkFormat sourceFormat = VK_FORMAT_UNDEFINED;  // of the buffers the swap chain was made for
        VkPresentModeKHR mode = VK_PRESENT_MODE_FIFO_KHR;
        bool stale = false;  // the presentation engine asked for a new swap chain
    };

    static void WindowGone(HWND window, void* presenter);
    Target* TargetOf(HWND window);
    void Forget(Target& target);
    // Makes the swap chain again when it no longer fits; false when nothing can be shown now.
    bool Fit(Target& target, VkFormat sourceFormat, VkPresentModeKHR mode);
    static VkPresentModeKHR ModeFor(const Target& target, UINT syncInterval);
    bool Show(Target& target, VulkanResource& buffer, uint32_t index);

    VulkanDevice& device_;
    VkFence acquired_ = VK_NULL_HANDLE;
    std::mutex mutex_;                // targets_ and acquired_
    std::map<HWND, Target> targets_;  // guarded by mutex_
};

}  // namespace halvo::d3d11::vulkan
