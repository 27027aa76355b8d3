// Keeps the Vulkan driver loaded for the test program's life.
#pragma once

#include <vulkan/vulkan.h>

// When the loader unloads the driver, the memory that only the driver's own
// globals held looks leaked to the leak checker. An instance made once and
// kept for the program's life keeps the driver loaded, so that every leak
// reported is one of ours.
inline void KeepVulkanDriverLoaded()
{
    static const VkInstance keeper = [] {
        VkInstanceCreateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
        VkInstance instance = VK_NULL_HANDLE;
        if (vkCreateInstance(&info, nullptr, &instance) == VK_SUCCESS) {
            uint32_t count = 0;
            vkEnumeratePhysicalDevices(instance, &count, nullptr);  // loads the drivers
        }
        return instance;
    }();
    (void)keeper;
}
