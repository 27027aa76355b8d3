#include "plain_vulkan_scene.h"

#include <cstring>
#include <vector>

#include "plain_quad_frag.h"
#include "plain_quad_vert.h"
#include "quad_frame.h"

namespace {

constexpr VkFormat kTargetFormat = VK_FORMAT_B8G8R8A8_UNORM;
constexpr VkFormat kTextureFormat = VK_FORMAT_R8G8B8A8_UNORM;

// A GPU first, as the layer chooses; a CPU device only without one.
int Preference(VkPhysicalDeviceType type)
{
    switch (type) {
    case VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU: return 4;
    case VK_PHYSICAL_DEVICE_TYPE_INTEGRATED_GPU: return 3;
    case VK_PHYSICAL_DEVICE_TYPE_VIRTUAL_GPU: return 2;
    case VK_PHYSICAL_DEVICE_TYPE_CPU: return 1;
    default: return 0;
    }
}

VkShaderModule MakeModule(VkDevice device, const uint32_t* words, size_t bytes)
{
    VkShaderModuleCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
    info.codeSize = bytes;
    info.pCode = words;
    VkShaderModule module = VK_NULL_HANDLE;
    vkCreateShaderModule(device, &info, nullptr, &module);
    return module;
}

void GeneralLayout(VkCommandBuffer commands, VkImage image)
{
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
    barrier.oldLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    barrier.newLayout = VK_IMAGE_LAYOUT_GENERAL;
    barrier.srcQueueFamilyIndex = barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0, nullptr,
                         0, nullptr, 1, &barrier);
}

}  // namespace

std::string PlainVulkanScene::Make()
{
    if (!MakeDevice()) return "no Vulkan device";
    if (!MakeTarget() || !MakeTexture() || !MakePipeline() || !MakeBuffers()) {
        return "the plain Vulkan frame's objects could not all be made";
    }
    return "";
}

bool PlainVulkanScene::MakeDevice()
{
    VkApplicationInfo application{};
    application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    application.apiVersion = VK_API_VERSION_1_1;
    VkInstanceCreateInfo instanceInfo{};
    instanceInfo.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    instanceInfo.pApplicationInfo = &application;
    if (vkCreateInstance(&instanceInfo, nullptr, &m_instance) != VK_SUCCESS) return false;
    uint32_t count = 0;
    vkEnumeratePhysicalDevices(m_instance, &count, nullptr);
    std::vector<VkPhysicalDevice> devices(count);
    vkEnumeratePhysicalDevices(m_instance, &count, devices.data());
    int best = 0;
    for (VkPhysicalDevice candidate : devices) {
        VkPhysicalDeviceProperties properties;
        vkGetPhysicalDeviceProperties(candidate, &properties);
        uint32_t families = 0;
        vkGetPhysicalDeviceQueueFamilyProperties(candidate, &families, nullptr);
        std::vector<VkQueueFamilyProperties> familyList(families);
        vkGetPhysicalDeviceQueueFamilyProperties(candidate, &families, familyList.data());
        for (uint32_t family = 0; family < families; ++family) {
            if ((familyList[family].queueFlags & VK_QUEUE_GRAPHICS_BIT) == 0) continue;
            if (Preference(properties.deviceType) > best && properties.apiVersion >= VK_API_VERSION_1_1) {
                best = Preference(properties.deviceType);
                m_physicalDevice = candidate;
                m_queueFamily = family;
            }
            break;
        }
    }
    if (m_physicalDevice == VK_NULL_HANDLE) return false;
    vkGetPhysicalDeviceMemoryProperties(m_physicalDevice, &m_memory);
    const float priority = 1.0f;
    VkDeviceQueueCreateInfo queueInfo{};
    queueInfo.sType = VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO;
    queueInfo.queueFamilyIndex = m_queueFamily;
    queueInfo.queueCount = 1;
    queueInfo.pQueuePriorities = &priority;
    VkDeviceCreateInfo deviceInfo{};
    deviceInfo.sType = VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO;
    deviceInfo.queueCreateInfoCount = 1;
    deviceInfo.pQueueCreateInfos = &queueInfo;
    if (vkCreateDevice(m_physicalDevice, &deviceInfo, nullptr, &m_device) != VK_SUCCESS) return false;
    vkGetDeviceQueue(m_device, m_queueFamily, 0, &m_queue);
    VkCommandPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    poolInfo.flags = VK_COMMAND_POOL_CREATE_RESET_COMMAND_BUFFER_BIT;
    poolInfo.queueFamilyIndex = m_queueFamily;
    if (vkCreateCommandPool(m_device, &poolInfo, nullptr, &m_pool) != VK_SUCCESS) return false;
    VkCommandBufferAllocateInfo allocateInfo{};
    allocateInfo.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
    allocateInfo.commandPool = m_pool;
    allocateInfo.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
    allocateInfo.commandBufferCount = 1;
    VkFenceCreateInfo fenceInfo{};
    fenceInfo.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    return vkAllocateCommandBuffers(m_device, &allocateInfo, &m_commands) == VK_SUCCESS &&
           vkCreateFence(m_device, &fenceInfo, nullptr, &m_fence) == VK_SUCCESS;
}

VkDeviceMemory PlainVulkanScene::Allocate(const VkMemoryRequirements& requirements, VkMemoryPropertyFlags wanted)
{
    for (uint32_t type = 0; type < m_memory.memoryTypeCount; ++type) {
        if ((requirements.memoryTypeBits & (1u << type)) == 0) continue;
        if ((m_memory.memoryTypes[type].propertyFlags & wanted) != wanted) continue;
        VkMemoryAllocateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
        info.allocationSize = requirements.size;
        info.memoryTypeIndex = type;
        VkDeviceMemory memory = VK_NULL_HANDLE;
        if (vkAllocateMemory(m_device, &info, nullptr, &memory) == VK_SUCCESS) return memory;
    }
    return VK_NULL_HANDLE;
}

bool PlainVulkanScene::RunOnce(void (*record)(VkCommandBuffer, PlainVulkanScene&))
{
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    vkBeginCommandBuffer(m_commands, &begin);
    record(m_commands, *this);
    vkEndCommandBuffer(m_commands);
    VkSubmitInfo submit{};
    submit.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    submit.commandBufferCount = 1;
    submit.pCommandBuffers = &m_commands;
    const bool done = vkQueueSubmit(m_queue, 1, &submit, m_fence) == VK_SUCCESS &&
                      vkWaitForFences(m_device, 1, &m_fence, VK_TRUE, UINT64_MAX) == VK_SUCCESS;
    vkResetFences(m_device, 1, &m_fence);
    return done;
}

bool PlainVulkanScene::MakeImage(VkFormat format, uint32_t width, uint32_t height, VkImageUsageFlags usage,
                                 VkImage* image, VkDeviceMemory* memory, VkImageView* view)
{
    VkImageCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    info.imageType = VK_IMAGE_TYPE_2D;
    info.format = format;
    info.extent = {width, height, 1};
    info.mipLevels = info.arrayLayers = 1;
    info.samples = VK_SAMPLE_COUNT_1_BIT;
    info.tiling = VK_IMAGE_TILING_OPTIMAL;
    info.usage = usage;
    if (vkCreateImage(m_device, &info, nullptr, image) != VK_SUCCESS) return false;
    VkMemoryRequirements requirements;
    vkGetImageMemoryRequirements(m_device, *image, &requirements);
    *memory = Allocate(requirements, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (*memory == VK_NULL_HANDLE || vkBindImageMemory(m_device, *image, *memory, 0) != VK_SUCCESS) return false;
    VkImageViewCreateInfo viewInfo{};
    viewInfo.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    viewInfo.image = *image;
    viewInfo.viewType = VK_IMAGE_VIEW_TYPE_2D;
    viewInfo.format = format;
    viewInfo.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1};
    return vkCreateImageView(m_device, &viewInfo, nullptr, view) == VK_SUCCESS;
}

bool PlainVulkanScene::MakeTarget()
{
    if (!MakeImage(kTargetFormat, kBackBufferWidth, kBackBufferHeight,
                   VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_SRC_BIT, &m_target, &m_targetMemory,
                   &m_targetView)) {
        return false;
    }
    VkAttachmentDescription attachment{};
    attachment.format = kTargetFormat;
    attachment.samples = VK_SAMPLE_COUNT_1_BIT;
    attachment.loadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    attachment.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
    attachment.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    attachment.stencilStoreOp = VK_ATTACHMENT_STORE_OP_DONT_CARE;
    attachment.initialLayout = attachment.finalLayout = VK_IMAGE_LAYOUT_GENERAL;
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
    if (vkCreateRenderPass(m_device, &pass, nullptr, &m_renderPass) != VK_SUCCESS) return false;
    VkFramebufferCreateInfo framebuffer{};
    framebuffer.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    framebuffer.renderPass = m_renderPass;
    framebuffer.attachmentCount = 1;
    framebuffer.pAttachments = &m_targetView;
    framebuffer.width = kBackBufferWidth;
    framebuffer.height = kBackBufferHeight;
    framebuffer.layers = 1;
    if (vkCreateFramebuffer(m_device, &framebuffer, nullptr, &m_framebuffer) != VK_SUCCESS) return false;
    return RunOnce([](VkCommandBuffer commands, PlainVulkanScene& scene) { GeneralLayout(commands, scene.m_target); });
}

bool PlainVulkanScene::MakeTexture()
{
    const std::vector<uint8_t> texels = MakeTexels();
    VkBufferCreateInfo buffer{};
    buffer.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
    buffer.size = texels.size();
    buffer.usage = VK_BUFFER_USAGE_TRANSFER_SRC_BIT;
    if (vkCreateBuffer(m_device, &buffer, nullptr, &m_staging) != VK_SUCCESS) return false;
    VkMemoryRequirements requirements;
    vkGetBufferMemoryRequirements(m_device, m_staging, &requirements);
    m_stagingMemory =
        Allocate(requirements, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    void* mapped = nullptr;
    if (m_stagingMemory == VK_NULL_HANDLE ||
        vkBindBufferMemory(m_device, m_staging, m_stagingMemory, 0) != VK_SUCCESS ||
        vkMapMemory(m_device, m_stagingMemory, 0, VK_WHOLE_SIZE, 0, &mapped) != VK_SUCCESS) {
        return false;
    }
    std::memcpy(mapped, texels.data(), texels.size());
    if (!MakeImage(kTextureFormat, kTextureSide, kTextureSide,
                   VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT, &m_texture, &m_textureMemory,
                   &m_textureView)) {
        return false;
    }
    // Point sampling, clamped, as the sprite program asks.
    VkSamplerCreateInfo sampler{};
    sampler.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    sampler.magFilter = sampler.minFilter = VK_FILTER_NEAREST;
    sampler.addressModeU = sampler.addressModeV = sampler.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    sampler.maxLod = VK_LOD_CLAMP_NONE;
    if (vkCreateSampler(m_device, &sampler, nullptr, &m_sampler) != VK_SUCCESS) return false;
    return RunOnce([](VkCommandBuffer commands, PlainVulkanScene& scene) {
        GeneralLayout(commands, scene.m_texture);
        VkMemoryBarrier barrier{};
        barrier.sType = VK_STRUCTURE_TYPE_MEMORY_BARRIER;
        barrier.srcAccessMask = VK_ACCESS_MEMORY_WRITE_BIT;
        barrier.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
        VkBufferImageCopy copy{};
        copy.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, 0, 0, 1};
        copy.imageExtent = {kTextureSide, kTextureSide, 1};
        vkCmdCopyBufferToImage(commands, scene.m_staging, scene.m_texture, VK_IMAGE_LAYOUT_GENERAL, 1, &copy);
        vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 1,
                             &barrier, 0, nullptr, 0, nullptr);
    });
}

bool PlainVulkanScene::MakePipeline()
{
    const VkDescriptorSetLayoutBinding binding{0, VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, 1,
                                               VK_SHADER_STAGE_FRAGMENT_BIT, nullptr};
    VkDescriptorSetLayoutCreateInfo setLayout{};
    setLayout.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
    setLayout.bindingCount = 1;
    setLayout.pBindings = &binding;
    if (vkCreateDescriptorSetLayout(m_device, &setLayout, nullptr, &m_setLayout) != VK_SUCCESS) return false;
    const VkDescriptorPoolSize size{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, 1};
    VkDescriptorPoolCreateInfo pool{};
    pool.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    pool.maxSets = 1;
    pool.poolSizeCount = 1;
    pool.pPoolSizes = &size;
    if (vkCreateDescriptorPool(m_device, &pool, nullptr, &m_descriptorPool) != VK_SUCCESS) return false;
    VkDescriptorSetAllocateInfo allocate{};
    allocate.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    allocate.descriptorPool = m_descriptorPool;
    allocate.descriptorSetCount = 1;
    allocate.pSetLayouts = &m_setLayout;
    if (vkAllocateDescriptorSets(m_device, &allocate, &m_set) != VK_SUCCESS) return false;
    const VkDescriptorImageInfo imageInfo{m_sampler, m_textureView, VK_IMAGE_LAYOUT_GENERAL};
    VkWriteDescriptorSet write{};
    write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
    write.dstSet = m_set;
    write.descriptorCount = 1;
    write.descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    write.pImageInfo = &imageInfo;
    vkUpdateDescriptorSets(m_device, 1, &write, 0, nullptr);
    VkPipelineLayoutCreateInfo layout{};
    layout.sType = VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO;
    layout.setLayoutCount = 1;
    layout.pSetLayouts = &m_setLayout;
    if (vkCreatePipelineLayout(m_device, &layout, nullptr, &m_pipelineLayout) != VK_SUCCESS) return false;

    const VkShaderModule vertex = MakeModule(m_device, kPlainQuadVertex, sizeof kPlainQuadVertex);
    const VkShaderModule pixel = MakeModule(m_device, kPlainQuadPixel, sizeof kPlainQuadPixel);
    VkPipelineShaderStageCreateInfo stages[2]{};
    stages[0].sType = stages[1].sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
    stages[0].stage = VK_SHADER_STAGE_VERTEX_BIT;
    stages[0].module = vertex;
    stages[1].stage = VK_SHADER_STAGE_FRAGMENT_BIT;
    stages[1].module = pixel;
    stages[0].pName = stages[1].pName = "main";
    const VkVertexInputBindingDescription vertexBinding{0, sizeof(QuadVertex), VK_VERTEX_INPUT_RATE_VERTEX};
    const VkVertexInputAttributeDescription attributes[] = {
        {0, 0, VK_FORMAT_R32G32B32_SFLOAT, 0},
        {1, 0, VK_FORMAT_B8G8R8A8_UNORM, 12},
        {2, 0, VK_FORMAT_R32G32_SFLOAT, 16},
    };
    VkPipelineVertexInputStateCreateInfo vertexInput{};
    vertexInput.sType = VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO;
    vertexInput.vertexBindingDescriptionCount = 1;
    vertexInput.pVertexBindingDescriptions = &vertexBinding;
    vertexInput.vertexAttributeDescriptionCount = 3;
    vertexInput.pVertexAttributeDescriptions = attributes;
    VkPipelineInputAssemblyStateCreateInfo assembly{};
    assembly.sType = VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO;
    assembly.topology = VK_PRIMITIVE_TOPOLOGY_TRIANGLE_LIST;
    // y grows downwards, as the layer draws: the viewport's height is negative.
    const VkViewport viewport{0, float(kBackBufferHeight), float(kBackBufferWidth), -float(kBackBufferHeight), 0, 1};
    const VkRect2D scissor{{0, 0}, {kBackBufferWidth, kBackBufferHeight}};
    VkPipelineViewportStateCreateInfo viewportState{};
    viewportState.sType = VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO;
    viewportState.viewportCount = viewportState.scissorCount = 1;
    viewportState.pViewports = &viewport;
    viewportState.pScissors = &scissor;
    VkPipelineRasterizationStateCreateInfo rasterization{};
    rasterization.sType = VK_STRUCTURE_TYPE_PIPELINE_RASTERIZATION_STATE_CREATE_INFO;
    rasterization.cullMode = VK_CULL_MODE_NONE;
    rasterization.lineWidth = 1.0f;
    VkPipelineMultisampleStateCreateInfo multisample{};
    multisample.sType = VK_STRUCTURE_TYPE_PIPELINE_MULTISAMPLE_STATE_CREATE_INFO;
    multisample.rasterizationSamples = VK_SAMPLE_COUNT_1_BIT;
    VkPipelineColorBlendAttachmentState blendAttachment{};
    blendAttachment.colorWriteMask = 0xf;
    VkPipelineColorBlendStateCreateInfo blend{};
    blend.sType = VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO;
    blend.attachmentCount = 1;
    blend.pAttachments = &blendAttachment;
    VkGraphicsPipelineCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_GRAPHICS_PIPELINE_CREATE_INFO;
    info.stageCount = 2;
    info.pStages = stages;
    info.pVertexInputState = &vertexInput;
    info.pInputAssemblyState = &assembly;
    info.pViewportState = &viewportState;
    info.pRasterizationState = &rasterization;
    info.pMultisampleState = &multisample;
    info.pColorBlendState = &blend;
    info.layout = m_pipelineLayout;
    info.renderPass = m_renderPass;
    const bool made = vertex != VK_NULL_HANDLE && pixel != VK_NULL_HANDLE &&
                      vkCreateGraphicsPipelines(m_device, VK_NULL_HANDLE, 1, &info, nullptr, &m_pipeline) == VK_SUCCESS;
    vkDestroyShaderModule(m_device, vertex, nullptr);
    vkDestroyShaderModule(m_device, pixel, nullptr);
    return made;
}

bool PlainVulkanScene::MakeBuffers()
{
    const std::vector<QuadVertex> quads = MakeQuads();
    auto make = [&](const void* data, size_t bytes, VkBufferUsageFlags usage, VkBuffer* buffer,
                    VkDeviceMemory* memory) {
        VkBufferCreateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
        info.size = bytes;
        info.usage = usage;
        if (vkCreateBuffer(m_device, &info, nullptr, buffer) != VK_SUCCESS) return false;
        VkMemoryRequirements requirements;
        vkGetBufferMemoryRequirements(m_device, *buffer, &requirements);
        *memory = Allocate(requirements, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
        void* mapped = nullptr;
        if (*memory == VK_NULL_HANDLE || vkBindBufferMemory(m_device, *buffer, *memory, 0) != VK_SUCCESS ||
            vkMapMemory(m_device, *memory, 0, VK_WHOLE_SIZE, 0, &mapped) != VK_SUCCESS) {
            return false;
        }
        std::memcpy(mapped, data, bytes);
        return true;
    };
    return make(quads.data(), quads.size() * sizeof(QuadVertex), VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, &m_vertices,
                &m_vertexMemory) &&
           make(kSpriteQuadIndices, sizeof kSpriteQuadIndices, VK_BUFFER_USAGE_INDEX_BUFFER_BIT, &m_indices,
                &m_indexMemory);
}

void PlainVulkanScene::Frame()
{
    RunOnce([](VkCommandBuffer commands, PlainVulkanScene& scene) {
        VkClearValue clear{};
        clear.color = {{0.1f, 0.2f, 0.3f, 1.0f}};
        VkRenderPassBeginInfo begin{};
        begin.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
        begin.renderPass = scene.m_renderPass;
        begin.framebuffer = scene.m_framebuffer;
        begin.renderArea = {{0, 0}, {kBackBufferWidth, kBackBufferHeight}};
        begin.clearValueCount = 1;
        begin.pClearValues = &clear;
        vkCmdBeginRenderPass(commands, &begin, VK_SUBPASS_CONTENTS_INLINE);
        vkCmdBindPipeline(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, scene.m_pipeline);
        vkCmdBindDescriptorSets(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, scene.m_pipelineLayout, 0, 1, &scene.m_set,
                                0, nullptr);
        const VkDeviceSize offset = 0;
        vkCmdBindVertexBuffers(commands, 0, 1, &scene.m_vertices, &offset);
        vkCmdBindIndexBuffer(commands, scene.m_indices, 0, VK_INDEX_TYPE_UINT16);
        for (int quad = 0; quad < kQuadCount; ++quad) vkCmdDrawIndexed(commands, 6, 1, 0, quad * 4, 0);
        vkCmdEndRenderPass(commands);
    });
}

PlainVulkanScene::~PlainVulkanScene()
{
    if (m_device == VK_NULL_HANDLE) {
        if (m_instance != VK_NULL_HANDLE) vkDestroyInstance(m_instance, nullptr);
        return;
    }
    vkDeviceWaitIdle(m_device);
    vkDestroyPipeline(m_device, m_pipeline, nullptr);
    vkDestroyPipelineLayout(m_device, m_pipelineLayout, nullptr);
    vkDestroyDescriptorPool(m_device, m_descriptorPool, nullptr);
    vkDestroyDescriptorSetLayout(m_device, m_setLayout, nullptr);
    for (VkBuffer buffer : {m_vertices, m_indices, m_staging}) vkDestroyBuffer(m_device, buffer, nullptr);
    for (VkDeviceMemory memory : {m_vertexMemory, m_indexMemory, m_stagingMemory})
        vkFreeMemory(m_device, memory, nullptr);
    vkDestroySampler(m_device, m_sampler, nullptr);
    vkDestroyImageView(m_device, m_textureView, nullptr);
    vkDestroyImage(m_device, m_texture, nullptr);
    vkFreeMemory(m_device, m_textureMemory, nullptr);
    vkDestroyFramebuffer(m_device, m_framebuffer, nullptr);
    vkDestroyRenderPass(m_device, m_renderPass, nullptr);
    vkDestroyImageView(m_device, m_targetView, nullptr);
    vkDestroyImage(m_device, m_target, nullptr);
    vkFreeMemory(m_device, m_targetMemory, nullptr);
    vkDestroyFence(m_device, m_fence, nullptr);
    vkDestroyCommandPool(m_device, m_pool, nullptr);
    vkDestroyDevice(m_device, nullptr);
    vkDestroyInstance(m_instance, nullptr);
}
