#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>
#include <string>
#include <utility>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/vulkan/vulkan_device.h"
#include "winapi/d3d11/vulkan/vulkan_zero_images.h"

namespace halvo::d3d11::vulkan {

// Draws with the platform's conventions: the viewport's y flipped by a
// negative height, depth 0..1, pixel centres at .5, clockwise front faces.
// Pipelines are kept by the state they were made from, samplers by their
// description, framebuffers by their attachments (until one of those views
// goes) and views by their resources; each draw records its own render pass
// over the bound targets into the device's open batch, without waiting.
class VulkanRenderer {
public:
    explicit VulkanRenderer(VulkanDevice& device);
    ~VulkanRenderer();

    void Draw(const DrawState& state, const DrawCall& call);

private:
    bool MakeLayout();
    VkRenderPass RenderPassFor(const DrawState& state);
    VkPipeline PipelineFor(const DrawState& state, VkRenderPass renderPass);
    VkShaderModule LinkedPixelModule(const DrawState& state);
    VkSampler SamplerFor(const D3D11_SAMPLER_DESC& desc);
    VkFramebuffer FramebufferFor(VkRenderPass renderPass, const std::vector<VkImageView>& views, UINT width,
                                 UINT height);
    void ForgetView(VkImageView view);
    // The two sets of a draw recorded into `batch`, from a pool no unfinished batch uses.
    bool AllocateSets(uint64_t batch, uint64_t finished, VkDescriptorSet sets[2]);

    VulkanDevice& device_;
    // What an empty slot reads: zeros, as on the platform.
    ZeroImages zeroImages_{device_};
    std::unique_ptr<BackendResource> zeroBuffer_;
    VkSampler defaultSampler_ = VK_NULL_HANDLE;
    std::map<std::string, VkSampler> samplers_;  // by description
    // Descriptor pools, each reset once the last batch that used it has run.
    struct DescriptorPool {
        VkDescriptorPool pool;
        uint64_t lastBatch;
    };
    std::vector<DescriptorPool> descriptorPools_;
    size_t currentPool_ = 0;
    // Framebuffers by render pass, attachments and size; each goes with the first of its views.
    struct FramebufferKey {
        VkRenderPass renderPass;
        std::vector<VkImageView> views;
        UINT width;
        UINT height;
        auto operator<=>(const FramebufferKey&) const = default;
    };
    std::mutex framebuffersLock_;
    std::map<FramebufferKey, VkFramebuffer> framebuffers_;  // guarded by framebuffersLock_
    VkDescriptorSetLayout setLayouts_[2] = {};              // the vertex stage's set, then the pixel stage's
    VkPipelineLayout pipelineLayout_ = VK_NULL_HANDLE;
    std::map<std::string, VkRenderPass> renderPasses_;
    std::map<std::string, VkPipeline> pipelines_;
    std::map<std::pair<uint64_t, uint64_t>, VkShaderModule> pixelModules_;  // by vertex and pixel shader
};

}  // namespace halvo::d3d11::vulkan
