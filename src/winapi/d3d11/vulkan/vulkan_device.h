#pragma once

#include <vulkan/vulkan.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace halvo::d3d11::vulkan {

// A buffer with its memory; host-visible memory stays mapped.
struct DeviceBuffer {
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    void* mapped = nullptr;
};

// The instance, the device, one graphics queue and the commands run on it.
// Every piece of work is recorded, submitted and waited for before the call
// that asked for it returns, so CPU access never races the device.
class VulkanDevice {
public:
    static std::unique_ptr<VulkanDevice> Create();
    ~VulkanDevice();

    VkInstance instance() const { return instance_; }
    VkDevice device() const { return device_; }
    uint32_t queueFamily() const { return queueFamily_; }
    // Whether frames can be shown in windows: the instance has the window
    // system's surface extensions and the device has swap chains.
    bool presentation() const { return presentation_; }
    VkPhysicalDevice physicalDevice() const { return physicalDevice_; }
    const VkPhysicalDeviceProperties& properties() const { return properties_; }
    // Whether shader modules may keep the HLSL semantic decorations.
    bool hlslDecorations() const { return hlslDecorations_; }
    const VkPhysicalDeviceFeatures& features() const { return features_; }

    // Memory of one of the allowed types with the wanted properties, or
    // VK_NULL_HANDLE.
    VkDeviceMemory Allocate(const VkMemoryRequirements& requirements, VkMemoryPropertyFlags wanted);
    // A host-visible, coherent buffer of `size` bytes, mapped; empty on failure.
    DeviceBuffer CreateHostBuffer(VkDeviceSize size, VkBufferUsageFlags usage);
    void Destroy(DeviceBuffer& buffer);

    // Records commands into a fresh command buffer, runs them and waits.
    bool Run(const std::function<void(VkCommandBuffer)>& record);
    // Queues an acquired swap-chain image for presentation.
    VkResult PresentImage(VkSwapchainKHR swapchain, uint32_t index);
    // Waits until the queue has finished everything given to it.
    void WaitIdle();

    // Who is told of image views about to be destroyed (what was made over
    // them must go first); an empty function for nobody.
    void SetViewRetirement(std::function<void(VkImageView)> retire);
    void RetireView(VkImageView view);

private:
    VulkanDevice() = default;
    bool Start();

    VkInstance instance_ = VK_NULL_HANDLE;
    VkDebugUtilsMessengerEXT messenger_ = VK_NULL_HANDLE;
    VkPhysicalDevice physicalDevice_ = VK_NULL_HANDLE;
    VkPhysicalDeviceProperties properties_{};
    VkPhysicalDeviceMemoryProperties memory_{};
    VkDevice device_ = VK_NULL_HANDLE;
    bool hlslDecorations_ = false;
    bool presentation_ = false;
    VkPhysicalDeviceFeatures features_{};
    uint32_t queueFamily_ = 0;
    VkQueue queue_ = VK_NULL_HANDLE;
    VkCommandPool pool_ = VK_NULL_HANDLE;
    VkFence fence_ = VK_NULL_HANDLE;
    std::mutex mutex_;  // the queue, the pool and the fence
    std::mutex retirementLock_;
    std::function<void(VkImageView)> retire_;  // guarded by retirementLock_
};

// A barrier that orders every earlier transfer, draw and clear before every later one.
void FullBarrier(VkCommandBuffer commands);

}  // namespace halvo::d3d11::vulkan
