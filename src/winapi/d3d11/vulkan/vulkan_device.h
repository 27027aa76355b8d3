#pragma once

#include <vulkan/vulkan.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "winapi/d3d11/vulkan/vulkan_pass.h"

namespace halvo::d3d11::vulkan {

// A buffer with its memory; host-visible memory stays mapped.
struct DeviceBuffer {
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    void* mapped = nullptr;
};

// The instance, the device, one graphics queue and the commands run on it.
// Work is recorded into an open batch. A present submits the batch without
// waiting (Submit), so that the device runs one frame while the next is
// recorded; the CPU waits only for the batch before, and only when it
// submits again or needs the device finished (Sync: a read-back, a resource
// destroyed, a map of memory no newer version can be had for). Run records
// work and waits for it. Draws into the same targets share one render pass
// (PassRecorder); every other piece of work ends the pass and is ordered
// after all recorded before it.
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

    // Records work outside render passes after everything recorded in the
    // open batch (made on first use), without submitting it. `record` is told
    // the batch's number and the number of the last batch that has finished;
    // it runs under the queue's lock, so no batch finishes while it runs.
    // False (and nothing recorded) when no command buffer can be had.
    bool Record(const std::function<void(VkCommandBuffer, uint64_t batch, uint64_t finished)>& record);
    // Records a draw into `targets`: inside the open render pass when that is
    // over the same targets, else in a new one; `record` is also told whether
    // the pass is new. False when nothing could be recorded.
    bool RecordDraw(
        const PassTargets& targets,
        const std::function<void(VkCommandBuffer, uint64_t batch, uint64_t finished, bool newPass)>& record);
    // Clears part of an image, inside the open render pass or before the next (see PassRecorder).
    bool RecordClear(const ImageClear& clear);
    // The render pass that pipelines and framebuffers for these formats are made with.
    VkRenderPass CompatiblePass(const std::vector<VkFormat>& colourFormats, VkFormat depthFormat);
    // Submits the open batch, if there is one, after the batch submitted
    // before has run; without waiting for it.
    bool Submit();
    // Submits the open batch, if there is one, and waits until everything has run.
    bool Sync();
    // Records commands after the open batch's, runs them all and waits.
    bool Run(const std::function<void(VkCommandBuffer)>& record);
    // The number of the last batch that has run: every later one may still
    // be reading memory the CPU writes.
    uint64_t FinishedBatch();
    // Destroys the buffer once everything recorded or submitted so far has run.
    void DestroyAfterSync(DeviceBuffer buffer);
    // Queues an acquired swap-chain image for presentation.
    VkResult PresentImage(VkSwapchainKHR swapchain, uint32_t index);
    // Waits until the queue has finished everything given to it.
    void WaitIdle();

    // Who is told of image views about to be destroyed (what was made over
    // them must go first); an empty function for nobody.
    void SetViewRetirement(std::function<void(VkImageView)> retire);
    void RetireView(VkImageView view);
    // Counts the views retired so far: what was kept by view stays good while it does not change.
    uint64_t ViewGeneration() const { return viewGeneration_.load(); }

private:
    VulkanDevice() = default;
    bool Start();
    // The open batch's command buffer, begun when there is none; VK_NULL_HANDLE when none can be had.
    VkCommandBuffer OpenBatch();
    // Under mutex_: waits for the submitted batch, if any, and lets go of what it used.
    bool WaitForSubmitted();
    // Under mutex_: submits the open batch, if any, once the one before has run.
    bool SubmitOpen();
    // Under mutex_: counts a piece of work recorded, and submits the batch once it holds many.
    void SubmitWhenLong();

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
    unsigned pieces_ = 0;                    // of work recorded in it
    std::vector<DeviceBuffer> retired_;      // destroyed when the open batch has run
    // The batch submitted and not yet waited for; fence_ signals its end.
    struct Submitted {
        VkCommandBuffer commands = VK_NULL_HANDLE;
        uint64_t batch = 0;
        std::vector<DeviceBuffer> retired;
    } submitted_;
    uint64_t finished_ = 0;                 // the last batch that has run
    std::unique_ptr<PassRecorder> passes_;  // of the open batch
    std::mutex retirementLock_;
    std::function<void(VkImageView)> retire_;  // guarded by retirementLock_
    std::atomic<uint64_t> viewGeneration_{0};
};

}  // namespace halvo::d3d11::vulkan
