#pragma once

#include <vulkan/vulkan.h>

#include <string>

// The frame with nothing between the program and the device: the same quads,
// texture and back buffer size, recorded straight into Vulkan as a program
// that knows its whole frame would: one render pass that clears the target,
// one pipeline, one descriptor set, one vertex buffer holding every quad, and
// one submission waited for per frame. What the device can do is the measure
// of what the layer and the renderer cost on top of it.
class PlainVulkanScene {
public:
    // Empty when made, else why not.
    std::string Make();
    void Frame();
    ~PlainVulkanScene();

private:
    bool MakeDevice();
    bool MakeTarget();
    bool MakeTexture();
    bool MakePipeline();
    bool MakeBuffers();
    // A 2D image of one level in device memory, with a view of it.
    bool MakeImage(VkFormat format, uint32_t width, uint32_t height, VkImageUsageFlags usage, VkImage* image,
                   VkDeviceMemory* memory, VkImageView* view);
    VkDeviceMemory Allocate(const VkMemoryRequirements& requirements, VkMemoryPropertyFlags wanted);
    // Records, submits and waits for one piece of set-up work.
    bool RunOnce(void (*record)(VkCommandBuffer, PlainVulkanScene&));

    VkInstance m_instance = VK_NULL_HANDLE;
    VkPhysicalDevice m_physicalDevice = VK_NULL_HANDLE;
    VkPhysicalDeviceMemoryProperties m_memory{};
    VkDevice m_device = VK_NULL_HANDLE;
    uint32_t m_queueFamily = 0;
    VkQueue m_queue = VK_NULL_HANDLE;
    VkCommandPool m_pool = VK_NULL_HANDLE;
    VkCommandBuffer m_commands = VK_NULL_HANDLE;
    VkFence m_fence = VK_NULL_HANDLE;
    VkImage m_target = VK_NULL_HANDLE;
    VkDeviceMemory m_targetMemory = VK_NULL_HANDLE;
    VkImageView m_targetView = VK_NULL_HANDLE;
    VkRenderPass m_renderPass = VK_NULL_HANDLE;
    VkFramebuffer m_framebuffer = VK_NULL_HANDLE;
    VkImage m_texture = VK_NULL_HANDLE;
    VkDeviceMemory m_textureMemory = VK_NULL_HANDLE;
    VkImageView m_textureView = VK_NULL_HANDLE;
    VkSampler m_sampler = VK_NULL_HANDLE;
    VkBuffer m_staging = VK_NULL_HANDLE;
    VkDeviceMemory m_stagingMemory = VK_NULL_HANDLE;
    VkDescriptorSetLayout m_setLayout = VK_NULL_HANDLE;
    VkDescriptorPool m_descriptorPool = VK_NULL_HANDLE;
    VkDescriptorSet m_set = VK_NULL_HANDLE;
    VkPipelineLayout m_pipelineLayout = VK_NULL_HANDLE;
    VkPipeline m_pipeline = VK_NULL_HANDLE;
    VkBuffer m_vertices = VK_NULL_HANDLE;
    VkDeviceMemory m_vertexMemory = VK_NULL_HANDLE;
    VkBuffer m_indices = VK_NULL_HANDLE;
    VkDeviceMemory m_indexMemory = VK_NULL_HANDLE;
};
