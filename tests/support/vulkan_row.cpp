#include "support/vulkan_row.h"

#include <cstring>
#include <functional>

namespace {

constexpr VkFormat kTargetFormat = VK_FORMAT_R32G32B32A32_SFLOAT;

// Undoes what a draw made, last first, however far it got.
class Undo {
public:
    ~Undo()
    {
        for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) (*step)();
    }
    void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }

private:
    std::vector<std::function<void()>> m_steps;
};

VkFormat Format(RowFormat format)
{
    switch (format) {
    case RowFormat::Float2: return VK_FORMAT_R32G32_SFLOAT;
    case RowFormat::Float3: return VK_FORMAT_R32G32B32_SFLOAT;
    case RowFormat::Float4: return VK_FORMAT_R32G32B32A32_SFLOAT;
    case RowFormat::Unorm8x4: return VK_FORMAT_R8G8B8A8_UNORM;
    case RowFormat::Uint8x4: return VK_FORMAT_R8G8B8A8_UINT;
    }
    return VK_FORMAT_UNDEFINED;
}

}  // namespace

VulkanRow::~VulkanRow() = default;

bool VulkanRow::Open(std::string* reason) { return m_vulkan.Open(VK_API_VERSION_1_2, DeviceChoice::First, reason); }

bool VulkanRow::MakeTexture(const RowTexture& texture, TextureObjects* objects, std::string* reason)
{
    if (!m_vulkan.MakeImage(VK_FORMAT_R8G8B8A8_UNORM, texture.width, texture.height, texture.levels,
                            VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT, &objects->image, reason)) {
        return false;
    }
    return m_vulkan.MakePointSampler(float(texture.levels), &objects->sampler, reason) &&
           m_vulkan.MakeBuffer(texture.Size(), VK_BUFFER_USAGE_TRANSFER_SRC_BIT, texture.texels.data(),
                               &objects->texels, reason);
}

void VulkanRow::FreeTexture(TextureObjects& objects)
{
    vkDestroySampler(m_vulkan.Device(), objects.sampler, nullptr);
    m_vulkan.FreeImage(objects.image);
    m_vulkan.FreeBuffer(objects.texels);
}

void VulkanRow::RecordUpload(VkCommandBuffer commands, const RowTexture& texture, const TextureObjects& objects)
{
    const VkImage image = objects.image.image;
    PlainVulkan::RecordLayoutChange(
        commands, image, texture.levels,
        {VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 0, VK_ACCESS_TRANSFER_WRITE_BIT,
         VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT});
    std::vector<VkBufferImageCopy> copies(texture.levels);
    for (uint32_t level = 0; level < texture.levels; ++level) {
        copies[level].bufferOffset = texture.LevelOffset(level);
        copies[level].imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, level, 0, 1};
        copies[level].imageExtent = {texture.LevelWidth(level), texture.LevelHeight(level), 1};
    }
    vkCmdCopyBufferToImage(commands, objects.texels.buffer, image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, texture.levels,
                           copies.data());
    PlainVulkan::RecordLayoutChange(
        commands, image, texture.levels,
        {VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, VK_ACCESS_TRANSFER_WRITE_BIT,
         VK_ACCESS_SHADER_READ_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT});
}

bool VulkanRow::DrawRow(const std::vector<uint32_t>& vertexCode, const std::vector<uint32_t>& pixelCode,
                        const std::vector<uint8_t>& vertexConstants, const std::vector<uint8_t>& pixelConstants,
                        const std::vector<RowTexture>& textures, const RowVertices& vertices, int width, int outputs,
                        std::vector<float>* pixels, std::string* reason)
{
    const VkDevice device = m_vulkan.Device();
    Undo undo;

    // A target per pixel output, and the buffer they are copied into one after another.
    std::vector<VkImage> images;
    std::vector<VkImageView> views;
    for (int output = 0; output < outputs; ++output) {
        PlainImage target;
        const bool targetMade =
            m_vulkan.MakeImage(kTargetFormat, uint32_t(width), 1, 1,
                               VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_SRC_BIT, &target, reason);
        undo.Add([this, target]() mutable { m_vulkan.FreeImage(target); });
        if (!targetMade) return false;
        images.push_back(target.image);
        views.push_back(target.view);
    }

    PlainBuffer readBack;
    PlainBuffer vertexBuffer;
    PlainBuffer constants[2];
    const std::vector<uint8_t>* blocks[2] = {&vertexConstants, &pixelConstants};
    const VkDeviceSize rowBytes = VkDeviceSize(width) * 16;
    bool made = m_vulkan.MakeBuffer(rowBytes * VkDeviceSize(outputs), VK_BUFFER_USAGE_TRANSFER_DST_BIT, nullptr,
                                    &readBack, reason) &&
                m_vulkan.MakeBuffer(vertices.bytes.size(), VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, vertices.bytes.data(),
                                    &vertexBuffer, reason);
    for (int stage = 0; stage < 2 && made; ++stage) {
        // A stage without constants still gets a buffer: the layout of both sets is fixed.
        const std::vector<uint8_t>& block = *blocks[stage];
        made = m_vulkan.MakeBuffer(block.empty() ? 16 : block.size(), VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT,
                                   block.empty() ? nullptr : block.data(), &constants[stage], reason);
    }
    undo.Add([this, readBack, vertexBuffer, constants]() mutable {
        for (PlainBuffer* buffer : {&readBack, &vertexBuffer, &constants[0], &constants[1]}) {
            m_vulkan.FreeBuffer(*buffer);
        }
    });
    if (!made) return false;

    // The textures, each with its view, its sampler and its texels in a buffer to copy from.
    std::vector<TextureObjects> objects;
    for (const RowTexture& texture : textures) {
        TextureObjects made;
        const bool ready = MakeTexture(texture, &made, reason);
        undo.Add([this, made]() mutable { FreeTexture(made); });
        if (!ready) return false;
        objects.push_back(made);
    }

    // One uniform buffer in each of sets 0 (vertex) and 1 (pixel); the textures' samplers in set 2 and their
    // images in set 3.
    const uint32_t count = uint32_t(textures.size());
    VkDescriptorSetLayout setLayouts[4] = {};
    const VkDescriptorType setTypes[3] = {VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_DESCRIPTOR_TYPE_SAMPLER,
                                          VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE};
    for (int kind = 0; kind < 3; ++kind) {
        std::vector<VkDescriptorSetLayoutBinding> bindings(kind == 0 ? 1 : count);
        for (uint32_t binding = 0; binding < bindings.size(); ++binding) {
            bindings[binding].binding = binding;
            bindings[binding].descriptorType = setTypes[kind];
            bindings[binding].descriptorCount = 1;
            bindings[binding].stageFlags = VK_SHADER_STAGE_VERTEX_BIT | VK_SHADER_STAGE_FRAGMENT_BIT;
        }
        VkDescriptorSetLayoutCreateInfo setInfo{};
        setInfo.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
        setInfo.bindingCount = uint32_t(bindings.size());
        setInfo.pBindings = bindings.data();
        VkDescriptorSetLayout layout = VK_NULL_HANDLE;
        if (!CheckVulkan(vkCreateDescriptorSetLayout(device, &setInfo, nullptr, &layout), "vkCreateDescriptorSetLayout",
                         reason)) {
            return false;
        }
        undo.Add([=] { vkDestroyDescriptorSetLayout(device, layout, nullptr); });
        setLayouts[kind == 0 ? 0 : kind + 1] = layout;
        if (kind == 0) setLayouts[1] = layout;
    }
    VkPipelineLayoutCreateInfo layoutInfo{};
    layoutInfo.sType = VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO;
    layoutInfo.setLayoutCount = 4;
    layoutInfo.pSetLayouts = setLayouts;
    VkPipelineLayout pipelineLayout = VK_NULL_HANDLE;
    if (!CheckVulkan(vkCreatePipelineLayout(device, &layoutInfo, nullptr, &pipelineLayout), "vkCreatePipelineLayout",
                     reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyPipelineLayout(device, pipelineLayout, nullptr); });
    std::vector<VkDescriptorPoolSize> poolSizes = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, 2}};
    if (count > 0) {
        poolSizes.push_back({VK_DESCRIPTOR_TYPE_SAMPLER, count});
        poolSizes.push_back({VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE, count});
    }
    VkDescriptorPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    poolInfo.maxSets = 4;
    poolInfo.poolSizeCount = uint32_t(poolSizes.size());
    poolInfo.pPoolSizes = poolSizes.data();
    VkDescriptorPool pool = VK_NULL_HANDLE;
    if (!CheckVulkan(vkCreateDescriptorPool(device, &poolInfo, nullptr, &pool), "vkCreateDescriptorPool", reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyDescriptorPool(device, pool, nullptr); });
    VkDescriptorSetAllocateInfo setAllocation{};
    setAllocation.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    setAllocation.descriptorPool = pool;
    setAllocation.descriptorSetCount = 4;
    setAllocation.pSetLayouts = setLayouts;
    VkDescriptorSet sets[4] = {};
    if (!CheckVulkan(vkAllocateDescriptorSets(device, &setAllocation, sets), "vkAllocateDescriptorSets", reason)) {
        return false;
    }
    for (int stage = 0; stage < 2; ++stage) {
        const VkDescriptorBufferInfo bufferInfo{constants[stage].buffer, 0, VK_WHOLE_SIZE};
        VkWriteDescriptorSet write{};
        write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
        write.dstSet = sets[stage];
        write.descriptorCount = 1;
        write.descriptorType = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
        write.pBufferInfo = &bufferInfo;
        vkUpdateDescriptorSets(device, 1, &write, 0, nullptr);
    }
    for (uint32_t index = 0; index < count; ++index) {
        const VkDescriptorImageInfo samplerInfo{objects[index].sampler, VK_NULL_HANDLE,
                                                VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
        const VkDescriptorImageInfo imageInfo{VK_NULL_HANDLE, objects[index].image.view,
                                              VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
        VkWriteDescriptorSet writes[2] = {};
        for (int kind = 0; kind < 2; ++kind) {
            writes[kind].sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
            writes[kind].dstSet = sets[2 + kind];
            writes[kind].dstBinding = index;
            writes[kind].descriptorCount = 1;
            writes[kind].descriptorType = setTypes[1 + kind];
            writes[kind].pImageInfo = kind == 0 ? &samplerInfo : &imageInfo;
        }
        vkUpdateDescriptorSets(device, 2, writes, 0, nullptr);
    }

    // The render pass leaves the target ready to be copied.
    const std::vector<VkAttachmentDescription> attachments(
        size_t(outputs),
        ClearedColourTarget(kTargetFormat, VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL));
    std::vector<VkAttachmentReference> colours;
    for (int output = 0; output < outputs; ++output) {
        colours.push_back({uint32_t(output), VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL});
    }
    VkSubpassDescription subpass{};
    subpass.pipelineBindPoint = VK_PIPELINE_BIND_POINT_GRAPHICS;
    subpass.colorAttachmentCount = uint32_t(outputs);
    subpass.pColorAttachments = colours.data();
    VkSubpassDependency dependency{};
    dependency.srcSubpass = 0;
    dependency.dstSubpass = VK_SUBPASS_EXTERNAL;
    dependency.srcStageMask = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT;
    dependency.dstStageMask = VK_PIPELINE_STAGE_TRANSFER_BIT;
    dependency.srcAccessMask = VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT;
    dependency.dstAccessMask = VK_ACCESS_TRANSFER_READ_BIT;
    VkRenderPassCreateInfo passInfo{};
    passInfo.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    passInfo.attachmentCount = uint32_t(outputs);
    passInfo.pAttachments = attachments.data();
    passInfo.subpassCount = 1;
    passInfo.pSubpasses = &subpass;
    passInfo.dependencyCount = 1;
    passInfo.pDependencies = &dependency;
    VkRenderPass pass = VK_NULL_HANDLE;
    if (!CheckVulkan(vkCreateRenderPass(device, &passInfo, nullptr, &pass), "vkCreateRenderPass", reason)) return false;
    undo.Add([=] { vkDestroyRenderPass(device, pass, nullptr); });
    VkFramebufferCreateInfo framebufferInfo{};
    framebufferInfo.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    framebufferInfo.renderPass = pass;
    framebufferInfo.attachmentCount = uint32_t(outputs);
    framebufferInfo.pAttachments = views.data();
    framebufferInfo.width = uint32_t(width);
    framebufferInfo.height = 1;
    framebufferInfo.layers = 1;
    VkFramebuffer framebuffer = VK_NULL_HANDLE;
    if (!CheckVulkan(vkCreateFramebuffer(device, &framebufferInfo, nullptr, &framebuffer), "vkCreateFramebuffer",
                     reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyFramebuffer(device, framebuffer, nullptr); });

    // The pipeline.
    VkShaderModule modules[2] = {};
    const std::vector<uint32_t>* codes[2] = {&vertexCode, &pixelCode};
    for (int stage = 0; stage < 2; ++stage) {
        if (!m_vulkan.MakeModule(codes[stage]->data(), codes[stage]->size() * 4, &modules[stage], reason)) {
            return false;
        }
        const VkShaderModule module = modules[stage];
        undo.Add([=] { vkDestroyShaderModule(device, module, nullptr); });
    }
    PipelineShape shape;
    shape.vertex = modules[0];
    shape.pixel = modules[1];
    shape.vertexStride = vertices.stride;
    for (const RowAttribute& attribute : vertices.attributes) {
        shape.attributes.push_back({uint32_t(shape.attributes.size()), 0, Format(attribute.format), attribute.offset});
    }
    shape.viewport = {0, 0, float(width), 1, 0, 1};
    shape.scissor = {{0, 0}, {uint32_t(width), 1}};
    shape.colourTargets = uint32_t(outputs);
    shape.layout = pipelineLayout;
    shape.renderPass = pass;
    VkPipeline pipeline = VK_NULL_HANDLE;
    if (!m_vulkan.MakePipeline(shape, &pipeline, reason)) return false;
    undo.Add([=] { vkDestroyPipeline(device, pipeline, nullptr); });

    // Record, submit, wait.
    const bool drawn = m_vulkan.Submit(
        [&](VkCommandBuffer commands) {
            for (size_t index = 0; index < textures.size(); ++index)
                RecordUpload(commands, textures[index], objects[index]);
            VkClearValue clear{};
            for (float& channel : clear.color.float32) channel = -7;  // a value no probe writes
            const std::vector<VkClearValue> clears(size_t(outputs), clear);
            VkRenderPassBeginInfo passBegin{};
            passBegin.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
            passBegin.renderPass = pass;
            passBegin.framebuffer = framebuffer;
            passBegin.renderArea = shape.scissor;
            passBegin.clearValueCount = uint32_t(outputs);
            passBegin.pClearValues = clears.data();
            vkCmdBeginRenderPass(commands, &passBegin, VK_SUBPASS_CONTENTS_INLINE);
            vkCmdBindPipeline(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline);
            vkCmdBindDescriptorSets(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout, 0, 4, sets, 0, nullptr);
            const VkDeviceSize offset = 0;
            vkCmdBindVertexBuffers(commands, 0, 1, &vertexBuffer.buffer, &offset);
            vkCmdDraw(commands, 6, 1, 0, 0);
            vkCmdEndRenderPass(commands);
            for (int output = 0; output < outputs; ++output) {
                VkBufferImageCopy copy{};
                copy.bufferOffset = rowBytes * VkDeviceSize(output);
                copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
                copy.imageExtent = {uint32_t(width), 1, 1};
                vkCmdCopyImageToBuffer(commands, images[size_t(output)], VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                                       readBack.buffer, 1, &copy);
            }
            VkBufferMemoryBarrier toHost{};
            toHost.sType = VK_STRUCTURE_TYPE_BUFFER_MEMORY_BARRIER;
            toHost.srcAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
            toHost.dstAccessMask = VK_ACCESS_HOST_READ_BIT;
            toHost.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
            toHost.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
            toHost.buffer = readBack.buffer;
            toHost.size = VK_WHOLE_SIZE;
            vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_HOST_BIT, 0, 0, nullptr, 1,
                                 &toHost, 0, nullptr);
        },
        reason);
    if (!drawn) return false;
    void* mapped = nullptr;
    const VkDeviceSize allBytes = rowBytes * VkDeviceSize(outputs);
    if (!CheckVulkan(vkMapMemory(device, readBack.memory, 0, allBytes, 0, &mapped), "vkMapMemory", reason))
        return false;
    pixels->assign(size_t(width) * 4 * size_t(outputs), 0.0f);
    std::memcpy(pixels->data(), mapped, size_t(allBytes));
    vkUnmapMemory(device, readBack.memory);
    return true;
}
