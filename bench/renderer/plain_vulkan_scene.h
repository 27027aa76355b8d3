#pragma once

#include <vulkan/vulkan.h>

#include <string>

#include "support/plain_vulkan.h"

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
    // Each false with the reason when a call fails.
    bool MakeTarget(std::string* reason);
    bool MakeTexture(std::string* reason);
    bool MakePipeline(std::string* reason);
    bool MakeBuffers(std::string* reason);

    PlainVulkan m_vulkan;
    PlainImage m_target;
    VkRenderPass m_renderPass = VK_NULL_HANDLE;
    VkFramebuffer m_framebuffer = VK_NULL_HANDLE;
    PlainImage m_texture;
    VkSampler m_sampler = VK_NULL_HANDLE;
    PlainBuffer m_staging;
    VkDescriptorSetLayout m_setLayout = VK_NULL_HANDLE;
    VkDescriptorPool m_descriptorPool = VK_NULL_HANDLE;
    VkDescriptorSet m_set = VK_NULL_HANDLE;
    VkPipelineLayout m_pipelineLayout = VK_NULL_HANDLE;
    VkPipeline m_pipeline = VK_NULL_HANDLE;
    PlainBuffer m_vertices;
    PlainBuffer m_indices;
};
