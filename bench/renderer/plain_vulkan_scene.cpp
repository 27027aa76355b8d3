#include "plain_vulkan_scene.h"

#include <vector>

#include "plain_quad_frag.h"
#include "plain_quad_vert.h"
#include "quad_frame.h"

namespace {

constexpr VkFormat kTargetFormat = VK_FORMAT_B8G8R8A8_UNORM;
constexpr VkFormat kTextureFormat = VK_FORMAT_R8G8B8A8_UNORM;

// The first layout of an image that every later command may use.
void GeneralLayout(VkCommandBuffer commands, VkImage image)
{
    PlainVulkan::RecordLayoutChange(
        commands, image, 1,
        {VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_GENERAL, 0, VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT,
         VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT});
}

}  // namespace

std::string PlainVulkanScene::Make()
{
    // Version 1.1 and a GPU first, as the layer chooses; a CPU device only without one.
    std::string reason;
    if (!m_vulkan.Open(VK_API_VERSION_1_1, DeviceChoice::GpuFirst, &reason)) return reason;
    if (!MakeTarget(&reason) || !MakeTexture(&reason) || !MakePipeline(&reason) || !MakeBuffers(&reason)) {
        return "the plain Vulkan frame's objects could not all be made: " + reason;
    }
    return "";
}

bool PlainVulkanScene::MakeTarget(std::string* reason)
{
    const VkDevice device = m_vulkan.Device();
    if (!m_vulkan.MakeImage(kTargetFormat, kBackBufferWidth, kBackBufferHeight, 1,
                            VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_SRC_BIT, &m_target, reason)) {
        return false;
    }
    const VkAttachmentDescription attachment =
        ClearedColourTarget(kTargetFormat, VK_IMAGE_LAYOUT_GENERAL, VK_IMAGE_LAYOUT_GENERAL);
    const VkAttachmentReference colour{0, VK_IMAGE_LAYOUT_GENERAL};
    VkSubpassDescription subpass{};
    subpass.pipelineBindPoint = VK_PIPELINE_BIND_POINT_GRAPHICS;
    subpass.colorAttachmentCount = 1;
    subpass.pColorAttachments = &colour;
    VkRenderPassCreateInfo pass{};
    pass.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    pass.attachmentCount = 1;
    pass.pAttachments = &attachment;
    pass.subpassCount = 1;
    pass.pSubpasses = &subpass;
    if (!CheckVulkan(vkCreateRenderPass(device, &pass, nullptr, &m_renderPass), "vkCreateRenderPass", reason)) {
        return false;
    }
    VkFramebufferCreateInfo framebuffer{};
    framebuffer.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    framebuffer.renderPass = m_renderPass;
    framebuffer.attachmentCount = 1;
    framebuffer.pAttachments = &m_target.view;
    framebuffer.width = kBackBufferWidth;
    framebuffer.height = kBackBufferHeight;
    framebuffer.layers = 1;
    return CheckVulkan(vkCreateFramebuffer(device, &framebuffer, nullptr, &m_framebuffer), "vkCreateFramebuffer",
                       reason) &&
           m_vulkan.Submit([this](VkCommandBuffer commands) { GeneralLayout(commands, m_target.image); }, reason);
}

bool PlainVulkanScene::MakeTexture(std::string* reason)
{
    const std::vector<uint8_t> texels = MakeTexels();
    if (!m_vulkan.MakeBuffer(texels.size(), VK_BUFFER_USAGE_TRANSFER_SRC_BIT, texels.data(), &m_staging, reason) ||
        !m_vulkan.MakeImage(kTextureFormat, kTextureSide, kTextureSide, 1,
                            VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT, &m_texture, reason)) {
        return false;
    }
    // Point sampling, clamped, as the sprite program asks.
    if (!m_vulkan.MakePointSampler(VK_LOD_CLAMP_NONE, &m_sampler, reason)) return false;
    return m_vulkan.Submit(
        [this](VkCommandBuffer commands) {
            GeneralLayout(commands, m_texture.image);
            VkMemoryBarrier barrier{};
            barrier.sType = VK_STRUCTURE_TYPE_MEMORY_BARRIER;
            barrier.srcAccessMask = VK_ACCESS_MEMORY_WRITE_BIT;
            barrier.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
            VkBufferImageCopy copy{};
            copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
            copy.imageExtent = {kTextureSide, kTextureSide, 1};
            vkCmdCopyBufferToImage(commands, m_staging.buffer, m_texture.image, VK_IMAGE_LAYOUT_GENERAL, 1, &copy);
            vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 1,
                                 &barrier, 0, nullptr, 0, nullptr);
        },
        reason);
}

bool PlainVulkanScene::MakePipeline(std::string* reason)
{
    const VkDevice device = m_vulkan.Device();
    const VkDescriptorSetLayoutBinding binding{0, VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, 1,
                                               VK_SHADER_STAGE_FRAGMENT_BIT, nullptr};
    VkDescriptorSetLayoutCreateInfo setLayout{};
    setLayout.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
    setLayout.bindingCount = 1;
    setLayout.pBindings = &binding;
    if (!CheckVulkan(vkCreateDescriptorSetLayout(device, &setLayout, nullptr, &m_setLayout),
                     "vkCreateDescriptorSetLayout", reason)) {
        return false;
    }
    const VkDescriptorPoolSize size{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, 1};
    VkDescriptorPoolCreateInfo pool{};
    pool.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    pool.maxSets = 1;
    pool.poolSizeCount = 1;
    pool.pPoolSizes = &size;
    if (!CheckVulkan(vkCreateDescriptorPool(device, &pool, nullptr, &m_descriptorPool), "vkCreateDescriptorPool",
                     reason)) {
        return false;
    }
    VkDescriptorSetAllocateInfo allocate{};
    allocate.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    allocate.descriptorPool = m_descriptorPool;
    allocate.descriptorSetCount = 1;
    allocate.pSetLayouts = &m_setLayout;
    if (!CheckVulkan(vkAllocateDescriptorSets(device, &allocate, &m_set), "vkAllocateDescriptorSets", reason)) {
        return false;
    }
    const VkDescriptorImageInfo imageInfo{m_sampler, m_texture.view, VK_IMAGE_LAYOUT_GENERAL};
    VkWriteDescriptorSet write{};
    write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
    write.dstSet = m_set;
    write.descriptorCount = 1;
    write.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    write.pImageInfo = &imageInfo;
    vkUpdateDescriptorSets(device, 1, &write, 0, nullptr);
    VkPipelineLayoutCreateInfo layout{};
    layout.sType = VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO;
    layout.setLayoutCount = 1;
    layout.pSetLayouts = &m_setLayout;
    if (!CheckVulkan(vkCreatePipelineLayout(device, &layout, nullptr, &m_pipelineLayout), "vkCreatePipelineLayout",
                     reason)) {
        return false;
    }

    PipelineShape shape;
    shape.vertexStride = sizeof(QuadVertex);
    shape.attributes = {
        {0, 0, VK_FORMAT_R32G32B32_SFLOAT, 0},
        {1, 0, VK_FORMAT_B8G8R8A8_UNORM, 12},
        {2, 0, VK_FORMAT_R32G32_SFLOAT, 16},
    };
    // y grows downwards, as the layer draws: the viewport's height is negative.
    shape.viewport = {0, float(kBackBufferHeight), float(kBackBufferWidth), -float(kBackBufferHeight), 0, 1};
    shape.scissor = {{0, 0}, {kBackBufferWidth, kBackBufferHeight}};
    shape.layout = m_pipelineLayout;
    shape.renderPass = m_renderPass;
    const bool made = m_vulkan.MakeModule(kPlainQuadVertex, sizeof kPlainQuadVertex, &shape.vertex, reason) &&
                      m_vulkan.MakeModule(kPlainQuadPixel, sizeof kPlainQuadPixel, &shape.pixel, reason) &&
                      m_vulkan.MakePipeline(shape, &m_pipeline, reason);
    vkDestroyShaderModule(device, shape.vertex, nullptr);
    vkDestroyShaderModule(device, shape.pixel, nullptr);
    return made;
}

bool PlainVulkanScene::MakeBuffers(std::string* reason)
{
    const std::vector<QuadVertex> quads = MakeQuads();
    return m_vulkan.MakeBuffer(quads.size() * sizeof(QuadVertex), VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, quads.data(),
                               &m_vertices, reason) &&
           m_vulkan.MakeBuffer(sizeof kSpriteQuadIndices, VK_BUFFER_USAGE_INDEX_BUFFER_BIT, kSpriteQuadIndices,
                               &m_indices, reason);
}

void PlainVulkanScene::Frame()
{
    std::string reason;
    m_vulkan.Submit(
        [this](VkCommandBuffer commands) {
            VkClearValue clear{};
            clear.color = {{0.1f, 0.2f, 0.3f, 1.0f}};
            VkRenderPassBeginInfo begin{};
            begin.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
            begin.renderPass = m_renderPass;
            begin.framebuffer = m_framebuffer;
            begin.renderArea = {{0, 0}, {kBackBufferWidth, kBackBufferHeight}};
            begin.clearValueCount = 1;
            begin.pClearValues = &clear;
            vkCmdBeginRenderPass(commands, &begin, VK_SUBPASS_CONTENTS_INLINE);
            vkCmdBindPipeline(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, m_pipeline);
            vkCmdBindDescriptorSets(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, m_pipelineLayout, 0, 1, &m_set, 0,
                                    nullptr);
            const VkDeviceSize offset = 0;
            vkCmdBindVertexBuffers(commands, 0, 1, &m_vertices.buffer, &offset);
            vkCmdBindIndexBuffer(commands, m_indices.buffer, 0, VK_INDEX_TYPE_UINT16);
            for (int quad = 0; quad < kQuadCount; ++quad) vkCmdDrawIndexed(commands, 6, 1, 0, quad * 4, 0);
            vkCmdEndRenderPass(commands);
        },
        &reason);
}

// The device waits idle and is freed after this, by m_vulkan's own destructor.
PlainVulkanScene::~PlainVulkanScene()
{
    const VkDevice device = m_vulkan.Device();
    if (device == VK_NULL_HANDLE) return;
    vkDeviceWaitIdle(device);
    vkDestroyPipeline(device, m_pipeline, nullptr);
    vkDestroyPipelineLayout(device, m_pipelineLayout, nullptr);
    vkDestroyDescriptorPool(device, m_descriptorPool, nullptr);
    vkDestroyDescriptorSetLayout(device, m_setLayout, nullptr);
    for (PlainBuffer* buffer : {&m_vertices, &m_indices, &m_staging}) m_vulkan.FreeBuffer(*buffer);
    vkDestroySampler(device, m_sampler, nullptr);
    m_vulkan.FreeImage(m_texture);
    vkDestroyFramebuffer(device, m_framebuffer, nullptr);
    vkDestroyRenderPass(device, m_renderPass, nullptr);
    m_vulkan.FreeImage(m_target);
}
