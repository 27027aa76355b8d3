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

class VulkanResource;

// Draws with the platform's conventions: the viewport's y flipped by a
// negative height, depth 0..1, pixel centres at .5, clockwise front faces.
// Pipelines are kept by the state they were made from, samplers by their
// description, framebuffers by their attachments (until one of those views
// goes) and views by their resources. Each draw is recorded into the
// device's open batch without waiting, inside the render pass of its targets
// (shared by the draws into the same targets); a draw's descriptor sets are
// those of the draw before when they would hold the same, and only what
// changed since the draw before in the pass is bound again.
class VulkanRenderer {
public:
    explicit VulkanRenderer(VulkanDevice& device);
    ~VulkanRenderer();

    void Draw(const DrawState& state, const DrawCall& call);

private:
    // What one stage's descriptor set holds, compared byte for byte.
    struct StageBindings {
        VkDescriptorBufferInfo constants[D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT];
        VkDescriptorImageInfo textures[16];  // the texture slots a set holds
        VkDescriptorImageInfo samplers[D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT];
    };
    struct StageSet {
        VkDescriptorSet set = VK_NULL_HANDLE;
        uint64_t batch = 0;  // the batch it was written in
        StageBindings bindings;
    };
    struct BoundVertexBuffer {
        VkBuffer buffer = VK_NULL_HANDLE;
        VkDeviceSize offset = 0;
        bool operator==(const BoundVertexBuffer&) const = default;
    };
    // What the commands of the open pass have bound.
    struct Bound {
        VkPipeline pipeline = VK_NULL_HANDLE;
        VkDescriptorSet sets[2] = {};
        VkViewport viewport{};
        VkRect2D scissor{};
        float blendConstants[4] = {};
        UINT stencilReference = 0;
        BoundVertexBuffer vertexBuffers[D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT];
        BoundVertexBuffer indexBuffer;
        VkIndexType indexType = VK_INDEX_TYPE_UINT16;
    };

    // What a pipeline is made from besides its input elements, compared byte for byte.
    struct PipelineInputs {
        VkRenderPass renderPass;
        uint64_t vertexShader;  // serials
        uint64_t pixelShader;
        D3D11_PRIMITIVE_TOPOLOGY topology;
        UINT strides[D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT];
        D3D11_RASTERIZER_DESC1 rasterizer;
        D3D11_DEPTH_STENCIL_DESC depthStencil;
        D3D11_BLEND_DESC1 blend;
        UINT sampleMask;
        DXGI_FORMAT targetFormats[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT];
    };

    // The bound targets, compared byte for byte, with the count of views retired when they were looked at.
    struct TargetsKey {
        const BackendResource* resources[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT + 1];  // the depth target last
        ViewRange ranges[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT + 1];
        uint64_t viewGeneration;
    };

    bool MakeLayout();
    // The draw's attachments and the views of its framebuffer; false when it has none.
    bool TargetsOf(const DrawState& state, PassTargets& targets, std::vector<VkImageView>& views);
    void FillBindings(const DrawState& state, UINT stage, StageBindings& bindings);
    // The stage's set holding `bindings`, for the numbered batch.
    VkDescriptorSet SetFor(UINT stage, const StageBindings& bindings, uint64_t batch, uint64_t finished);
    // The draw's pipeline: the last one when made from the same, else the one kept for its key, else a new one.
    VkPipeline PipelineFor(const DrawState& state, VkRenderPass renderPass);
    VkPipeline MakePipeline(const DrawState& state, VkRenderPass renderPass);
    // Whether the input elements are those the last pipeline was made with.
    bool SameElements(const std::vector<D3D11_INPUT_ELEMENT_DESC>* elements) const;
    VkShaderModule LinkedPixelModule(const DrawState& state);
    VkSampler SamplerFor(const D3D11_SAMPLER_DESC& desc);
    VkFramebuffer FramebufferFor(VkRenderPass renderPass, const std::vector<VkImageView>& views, UINT width,
                                 UINT height);
    void ForgetView(VkImageView view);
    // A set of the stage's layout for `batch`, from a pool no unfinished batch uses.
    VkDescriptorSet AllocateSet(UINT stage, uint64_t batch, uint64_t finished);

    VulkanDevice& device_;
    // What an empty slot reads: zeros, as on the platform.
    ZeroImages zeroImages_{device_};
    std::unique_ptr<BackendResource> zeroBuffer_;
    VkImageView zeroView2D_ = VK_NULL_HANDLE;
    VkSampler defaultSampler_ = VK_NULL_HANDLE;
    std::map<std::string, VkSampler> samplers_;  // by description
    D3D11_SAMPLER_DESC lastSamplerDesc_{};       // the description last looked up, and its sampler
    VkSampler lastSampler_ = VK_NULL_HANDLE;
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
    std::vector<VulkanResource*> read_;  // the buffers of the draw being recorded, kept from draw to draw
    // Used inside recordings, under the device's queue lock.
    StageSet sets_[2];  // the last set of each stage
    Bound bound_;
    std::map<std::string, VkPipeline> pipelines_;
    // The targets of the last draw, what was found for them and their compatible render pass.
    TargetsKey lastTargetsKey_{};
    PassTargets lastTargets_;
    VkRenderPass lastTargetsPass_ = VK_NULL_HANDLE;
    // The last pipeline looked up and what it was made from (used under the backend's drawing lock).
    PipelineInputs lastInputs_{};
    std::vector<D3D11_INPUT_ELEMENT_DESC> lastElements_;  // their names are not read: lastElementNames_ holds them
    std::vector<std::string> lastElementNames_;
    VkPipeline lastPipeline_ = VK_NULL_HANDLE;
    // Kept from draw to draw for the building of pipeline keys.
    std::string pipelineKey_;
    std::vector<VkVertexInputAttributeDescription> attributes_;
    std::vector<VkVertexInputBindingDescription> bindings_;
    std::vector<VkPipelineColorBlendAttachmentState> blends_;
    std::map<std::pair<uint64_t, uint64_t>, VkShaderModule> pixelModules_;  // by vertex and pixel shader
};

}  // namespace halvo::d3d11::vulkan
