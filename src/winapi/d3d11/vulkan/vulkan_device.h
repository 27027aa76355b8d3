#pragma once

#include <vulkan/vulkan.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace halvo::d3d11::vulkan {

// A buffer with its memory; host-visible memory stays mapped.
struct DeviceBuffer {
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    void* mapped = nullptr;
};

// The instance, the device, one graphics queue and the commands run on it.
// Draws are recorded into an open batch that is submitted only when some
// other work needs the device finished (Sync); every other piece of work is
// recorded after them, submitted and waited for before the call that asked
// for it returns (Run), so CPU access never races the device.
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

    // Records commands after those of the open batch (made on first use),
    // without submitting them. `record` is told the batch's number and the
    // number of the last batch that has finished; it runs under the queue's
    // lock, so no batch finishes while it runs.
    // False (and nothing recorded) when no command buffer can be had.
    bool Record(const std::function<void(VkCommandBuffer, uint64_t batch, uint64_t finished)>& record);
    // Submits the open batch, if there is one, and waits until it has run.
    bool Sync();
    // Records commands after the open batch's, runs them all and waits.
    bool Run(const std::function<void(VkCommandBuffer)>& record);
    // Whether recorded commands wait for a Sync.
    bool Pending();
    // Whether a buffer can be handed to DestroyAfterSync instead of waiting:
    // commands are pending, and not too many buffers wait already.
    bool MayRetire();
    // Destroys the buffer once everything recorded so far has run.
    void DestroyAfterSync(DeviceBuffer buffer);
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
    std::mutex mutex_;                       // the queue, the pool, the fence and the batch below
    VkCommandBuffer open_ = VK_NULL_HANDLE;  // the batch being recorded
    uint64_t batch_ = 1;                     // its number
    std::vector<DeviceBuffer> retired_;      // destroyed when the open batch has run
    std::mutex retirementLock_;
    std::function<void(VkImageView)> retire_;  // guarded by retirementLock_
};

// A barrier that orders every earlier transfer, draw and clear before every later one.
void FullBarrier(VkCommandBuffer commands);

}  // namespace halvo::d3d11::vulkan
