// The basics every plain Vulkan program of ours repeats: an instance and a
// device with one graphics queue, memory of a wanted kind, buffers the host
// fills, 2D images with a view, one recorded piece of work submitted and
// waited for, and image layout changes. Free of the engine and of our
// Direct3D 11 layer, so that what runs on it measures or checks the device
// alone.
#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Which device Open takes.
enum class DeviceChoice {
    First,     // the first one listed
    GpuFirst,  // a GPU before a CPU device, of at least the instance's version
};

struct PlainBuffer {
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
};

struct PlainImage {
    VkImage image = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    VkImageView view = VK_NULL_HANDLE;  // of every level
};

// One change of an image's layout, with what must be done before and what waits for it.
struct LayoutChange {
    VkImageLayout from;
    VkImageLayout to;
    VkAccessFlags doneAccess;
    VkAccessFlags waitingAccess;
    VkPipelineStageFlags doneStages;
    VkPipelineStageFlags waitingStages;
};

// A pipeline as our plain programs draw: the two stages' "main", one vertex buffer of triangle lists, no
// culling, one sample, and every channel of each colour target written without blending.
struct PipelineShape {
    VkShaderModule vertex = VK_NULL_HANDLE;
    VkShaderModule pixel = VK_NULL_HANDLE;
    uint32_t vertexStride = 0;
    std::vector<VkVertexInputAttributeDescription> attributes;
    VkViewport viewport{};
    VkRect2D scissor{};
    uint32_t colourTargets = 1;
    VkPipelineLayout layout = VK_NULL_HANDLE;
    VkRenderPass renderPass = VK_NULL_HANDLE;
};

class PlainVulkan {
public:
    PlainVulkan() = default;
    ~PlainVulkan();
    PlainVulkan(const PlainVulkan&) = delete;
    PlainVulkan& operator=(const PlainVulkan&) = delete;

    // Makes the instance of `apiVersion`, the device with its queue, and the command buffer Submit
    // records into; false, with the reason, when there is no such device.
    bool Open(uint32_t apiVersion, DeviceChoice choice, std::string* reason);
    VkDevice Device() const { return m_device; }
    // The device's name, for messages.
    const std::string& DeviceName() const { return m_deviceName; }

    // Memory of a type `requirements` allows that has every `wanted` property.
    bool Allocate(const VkMemoryRequirements& requirements, VkMemoryPropertyFlags wanted, VkDeviceMemory* memory,
                  std::string* reason);
    // A buffer in host-visible, coherent memory holding `bytes` (zeros when null).
    bool MakeBuffer(VkDeviceSize size, VkBufferUsageFlags usage, const void* bytes, PlainBuffer* buffer,
                    std::string* reason);
    void FreeBuffer(PlainBuffer& buffer);
    // A 2D image of `levels` levels in device memory, with a view of them all.
    bool MakeImage(VkFormat format, uint32_t width, uint32_t height, uint32_t levels, VkImageUsageFlags usage,
                   PlainImage* image, std::string* reason);
    void FreeImage(PlainImage& image);
    bool MakeModule(const uint32_t* words, size_t bytes, VkShaderModule* module, std::string* reason);
    bool MakePipeline(const PipelineShape& shape, VkPipeline* pipeline, std::string* reason);
    // Nearest texel and level, clamped to the edge, levels up to `maxLod`.
    bool MakePointSampler(float maxLod, VkSampler* sampler, std::string* reason);

    // Records one piece of work, submits it and waits until the device has done it.
    bool Submit(const std::function<void(VkCommandBuffer)>& record, std::string* reason);
    static void RecordLayoutChange(VkCommandBuffer commands, VkImage image, uint32_t levels,
                                   const LayoutChange& change);

private:
    bool ChooseDevice(uint32_t apiVersion, DeviceChoice choice, std::string* reason);

    VkInstance m_instance = VK_NULL_HANDLE;
    VkPhysicalDevice m_physical = VK_NULL_HANDLE;
    VkPhysicalDeviceMemoryProperties m_memory{};
    VkDevice m_device = VK_NULL_HANDLE;
    uint32_t m_queueFamily = 0;
    VkQueue m_queue = VK_NULL_HANDLE;
    VkCommandPool m_pool = VK_NULL_HANDLE;
    VkCommandBuffer m_commands = VK_NULL_HANDLE;
    VkFence m_fence = VK_NULL_HANDLE;
    std::string m_deviceName;
};

// A colour target of one sample that a render pass clears first and keeps.
VkAttachmentDescription ClearedColourTarget(VkFormat format, VkImageLayout initial, VkImageLayout final);

// The reason a call that did not succeed gives; true when it did.
bool CheckVulkan(VkResult result, const char* call, std::string* reason);
