#include "support/plain_vulkan.h"

#include <cstring>
#include <vector>

namespace {

// A GPU first; a CPU device only without one.
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

// The first queue family that draws; false when none does.
bool GraphicsFamily(VkPhysicalDevice device, uint32_t* index)
{
    uint32_t families = 0;
    vkGetPhysicalDeviceQueueFamilyProperties(device, &families, nullptr);
    std::vector<VkQueueFamilyProperties> familyList(families);
    vkGetPhysicalDeviceQueueFamilyProperties(device, &families, familyList.data());
    for (uint32_t family = 0; family < families; ++family) {
        if ((familyList[family].queueFlags & VK_QUEUE_GRAPHICS_BIT) != 0) {
            *index = family;
            return true;
        }
    }
    return false;
}

}  // namespace

bool CheckVulkan(VkResult result, const char* call, std::string* reason)
{
    if (result == VK_SUCCESS) return true;
    *reason = std::string(call) + " failed with " + std::to_string(int(result));
    return false;
}

VkAttachmentDescription ClearedColourTarget(VkFormat format, VkImageLayout initial, VkImageLayout final)
{
    VkAttachmentDescription attachment{};
    attachment.format = format;
    attachment.samples = VK_SAMPLE_COUNT_1_BIT;
    attachment.loadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    attachment.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
    attachment.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    attachment.stencilStoreOp = VK_ATTACHMENT_STORE_OP_DONT_CARE;
    attachment.initialLayout = initial;
    attachment.finalLayout = final;
    return attachment;
}

PlainVulkan::~PlainVulkan()
{
    if (m_device != VK_NULL_HANDLE) {
        vkDeviceWaitIdle(m_device);
        vkDestroyFence(m_device, m_fence, nullptr);
        vkDestroyCommandPool(m_device, m_pool, nullptr);
        vkDestroyDevice(m_device, nullptr);
    }
    if (m_instance != VK_NULL_HANDLE) vkDestroyInstance(m_instance, nullptr);
}

bool PlainVulkan::ChooseDevice(uint32_t apiVersion, DeviceChoice choice, std::string* reason)
{
    uint32_t count = 0;
    vkEnumeratePhysicalDevices(m_instance, &count, nullptr);
    std::vector<VkPhysicalDevice> devices(count);
    const VkResult listed = vkEnumeratePhysicalDevices(m_instance, &count, devices.data());
    if ((listed != VK_SUCCESS && listed != VK_INCOMPLETE) || count == 0) {
        *reason = "no Vulkan device";
        return false;
    }
    if (choice == DeviceChoice::First) {
        m_physical = devices[0];
        if (!GraphicsFamily(m_physical, &m_queueFamily)) {
            *reason = "the device has no graphics queue";
            return false;
        }
        return true;
    }
    int best = 0;
    for (VkPhysicalDevice candidate : devices) {
        VkPhysicalDeviceProperties properties{};
        vkGetPhysicalDeviceProperties(candidate, &properties);
        uint32_t family = 0;
        if (!GraphicsFamily(candidate, &family) || properties.apiVersion < apiVersion) continue;
        if (Preference(properties.deviceType) > best) {
            best = Preference(properties.deviceType);
            m_physical = candidate;
            m_queueFamily = family;
        }
    }
    if (m_physical == VK_NULL_HANDLE) {
        *reason = "no Vulkan device";
        return false;
    }
    return true;
}

bool PlainVulkan::Open(uint32_t apiVersion, DeviceChoice choice, std::string* reason)
{
    VkApplicationInfo application{};
    application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    application.apiVersion = apiVersion;
    VkInstanceCreateInfo instanceInfo{};
    instanceInfo.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    instanceInfo.pApplicationInfo = &application;
    if (!CheckVulkan(vkCreateInstance(&instanceInfo, nullptr, &m_instance), "vkCreateInstance", reason) ||
        !ChooseDevice(apiVersion, choice, reason)) {
        return false;
    }
    VkPhysicalDeviceProperties properties{};
    vkGetPhysicalDeviceProperties(m_physical, &properties);
    m_deviceName = properties.deviceName;
    vkGetPhysicalDeviceMemoryProperties(m_physical, &m_memory);
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
    if (!CheckVulkan(vkCreateDevice(m_physical, &deviceInfo, nullptr, &m_device), "vkCreateDevice", reason)) {
        return false;
    }
    vkGetDeviceQueue(m_device, m_queueFamily, 0, &m_queue);
    VkCommandPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    poolInfo.flags = VK_COMMAND_POOL_CREATE_RESET_COMMAND_BUFFER_BIT;
    poolInfo.queueFamilyIndex = m_queueFamily;
    if (!CheckVulkan(vkCreateCommandPool(m_device, &poolInfo, nullptr, &m_pool), "vkCreateCommandPool", reason)) {
        return false;
    }
    VkCommandBufferAllocateInfo allocateInfo{};
    allocateInfo.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
    allocateInfo.commandPool = m_pool;
    allocateInfo.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
    allocateInfo.commandBufferCount = 1;
    VkFenceCreateInfo fenceInfo{};
    fenceInfo.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    return CheckVulkan(vkAllocateCommandBuffers(m_device, &allocateInfo, &m_commands), "vkAllocateCommandBuffers",
                       reason) &&
           CheckVulkan(vkCreateFence(m_device, &fenceInfo, nullptr, &m_fence), "vkCreateFence", reason);
}

bool PlainVulkan::Allocate(const VkMemoryRequirements& requirements, VkMemoryPropertyFlags wanted,
                           VkDeviceMemory* memory, std::string* reason)
{
    VkResult result = VK_SUCCESS;
    for (uint32_t type = 0; type < m_memory.memoryTypeCount; ++type) {
        if ((requirements.memoryTypeBits & (1u << type)) == 0) continue;
        if ((m_memory.memoryTypes[type].propertyFlags & wanted) != wanted) continue;
        VkMemoryAllocateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
        info.allocationSize = requirements.size;
        info.memoryTypeIndex = type;
        result = vkAllocateMemory(m_device, &info, nullptr, memory);
        if (result == VK_SUCCESS) return true;
    }
    if (result == VK_SUCCESS) {
        *reason = "no memory type has the wanted properties";
        return false;
    }
    return CheckVulkan(result, "vkAllocateMemory", reason);
}

bool PlainVulkan::MakeBuffer(VkDeviceSize size, VkBufferUsageFlags usage, const void* bytes, PlainBuffer* buffer,
                             std::string* reason)
{
    VkBufferCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
    info.size = size;
    info.usage = usage;
    if (!CheckVulkan(vkCreateBuffer(m_device, &info, nullptr, &buffer->buffer), "vkCreateBuffer", reason)) {
        return false;
    }
    VkMemoryRequirements requirements{};
    vkGetBufferMemoryRequirements(m_device, buffer->buffer, &requirements);
    void* mapped = nullptr;
    if (!Allocate(requirements, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT,
                  &buffer->memory, reason) ||
        !CheckVulkan(vkBindBufferMemory(m_device, buffer->buffer, buffer->memory, 0), "vkBindBufferMemory", reason) ||
        !CheckVulkan(vkMapMemory(m_device, buffer->memory, 0, size, 0, &mapped), "vkMapMemory", reason)) {
        return false;
    }
    std::memset(mapped, 0, size_t(size));
    if (bytes != nullptr) std::memcpy(mapped, bytes, size_t(size));
    vkUnmapMemory(m_device, buffer->memory);
    return true;
}

void PlainVulkan::FreeBuffer(PlainBuffer& buffer)
{
    vkDestroyBuffer(m_device, buffer.buffer, nullptr);
    vkFreeMemory(m_device, buffer.memory, nullptr);
}

bool PlainVulkan::MakeImage(VkFormat format, uint32_t width, uint32_t height, uint32_t levels, VkImageUsageFlags usage,
                            PlainImage* image, std::string* reason)
{
    VkImageCreateInfo imageInfo{};
    imageInfo.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    imageInfo.imageType = VK_IMAGE_TYPE_2D;
    imageInfo.format = format;
    imageInfo.extent = {width, height, 1};
    imageInfo.mipLevels = levels;
    imageInfo.arrayLayers = 1;
    imageInfo.samples = VK_SAMPLE_COUNT_1_BIT;
    imageInfo.tiling = VK_IMAGE_TILING_OPTIMAL;
    imageInfo.usage = usage;
    if (!CheckVulkan(vkCreateImage(m_device, &imageInfo, nullptr, &image->image), "vkCreateImage", reason)) {
        return false;
    }
    VkMemoryRequirements requirements{};
    vkGetImageMemoryRequirements(m_device, image->image, &requirements);
    if (!Allocate(requirements, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, &image->memory, reason) ||
        !CheckVulkan(vkBindImageMemory(m_device, image->image, image->memory, 0), "vkBindImageMemory", reason)) {
        return false;
    }
    VkImageViewCreateInfo viewInfo{};
    viewInfo.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    viewInfo.image = image->image;
    viewInfo.viewType = VK_IMAGE_VIEW_TYPE_2D;
    viewInfo.format = format;
    viewInfo.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, levels, 0, 1};
    return CheckVulkan(vkCreateImageView(m_device, &viewInfo, nullptr, &image->view), "vkCreateImageView", reason);
}

void PlainVulkan::FreeImage(PlainImage& image)
{
    vkDestroyImageView(m_device, image.view, nullptr);
    vkDestroyImage(m_device, image.image, nullptr);
    vkFreeMemory(m_device, image.memory, nullptr);
}

bool PlainVulkan::MakeModule(const uint32_t* words, size_t bytes, VkShaderModule* module, std::string* reason)
{
    VkShaderModuleCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
    info.codeSize = bytes;
    info.pCode = words;
    return CheckVulkan(vkCreateShaderModule(m_device, &info, nullptr, module), "vkCreateShaderModule", reason);
}

bool PlainVulkan::MakePipeline(const PipelineShape& shape, VkPipeline* pipeline, std::string* reason)
{
    VkPipelineShaderStageCreateInfo stages[2] = {};
    for (int stage = 0; stage < 2; ++stage) {
        stages[stage].sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
        stages[stage].stage = stage == 0 ? VK_SHADER_STAGE_VERTEX_BIT : VK_SHADER_STAGE_FRAGMENT_BIT;
        stages[stage].module = stage == 0 ? shape.vertex : shape.pixel;
        stages[stage].pName = "main";
    }
    const VkVertexInputBindingDescription vertexBinding{0, shape.vertexStride, VK_VERTEX_INPUT_RATE_VERTEX};
    VkPipelineVertexInputStateCreateInfo vertexInput{};
    vertexInput.sType = VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO;
    vertexInput.vertexBindingDescriptionCount = 1;
    vertexInput.pVertexBindingDescriptions = &vertexBinding;
    vertexInput.vertexAttributeDescriptionCount = uint32_t(shape.attributes.size());
    vertexInput.pVertexAttributeDescriptions = shape.attributes.data();
    VkPipelineInputAssemblyStateCreateInfo assembly{};
    assembly.sType = VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO;
    assembly.topology = VK_PRIMITIVE_TOPOLOGY_TRIANGLE_LIST;
    VkPipelineViewportStateCreateInfo viewportState{};
    viewportState.sType = VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO;
    viewportState.viewportCount = 1;
    viewportState.pViewports = &shape.viewport;
    viewportState.scissorCount = 1;
    viewportState.pScissors = &shape.scissor;
    VkPipelineRasterizationStateCreateInfo raster{};
    raster.sType = VK_STRUCTURE_TYPE_PIPELINE_RASTERIZATION_STATE_CREATE_INFO;
    raster.polygonMode = VK_POLYGON_MODE_FILL;
    raster.cullMode = VK_CULL_MODE_NONE;
    raster.lineWidth = 1;
    VkPipelineMultisampleStateCreateInfo multisample{};
    multisample.sType = VK_STRUCTURE_TYPE_PIPELINE_MULTISAMPLE_STATE_CREATE_INFO;
    multisample.rasterizationSamples = VK_SAMPLE_COUNT_1_BIT;
    VkPipelineColorBlendAttachmentState blendAttachment{};
    blendAttachment.colorWriteMask =
        VK_COLOR_COMPONENT_R_BIT | VK_COLOR_COMPONENT_G_BIT | VK_COLOR_COMPONENT_B_BIT | VK_COLOR_COMPONENT_A_BIT;
    const std::vector<VkPipelineColorBlendAttachmentState> blendAttachments(shape.colourTargets, blendAttachment);
    VkPipelineColorBlendStateCreateInfo blend{};
    blend.sType = VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO;
    blend.attachmentCount = shape.colourTargets;
    blend.pAttachments = blendAttachments.data();
    VkGraphicsPipelineCreateInfo pipelineInfo{};
    pipelineInfo.sType = VK_STRUCTURE_TYPE_GRAPHICS_PIPELINE_CREATE_INFO;
    pipelineInfo.stageCount = 2;
    pipelineInfo.pStages = stages;
    pipelineInfo.pVertexInputState = &vertexInput;
    pipelineInfo.pInputAssemblyState = &assembly;
    pipelineInfo.pViewportState = &viewportState;
    pipelineInfo.pRasterizationState = &raster;
    pipelineInfo.pMultisampleState = &multisample;
    pipelineInfo.pColorBlendState = &blend;
    pipelineInfo.layout = shape.layout;
    pipelineInfo.renderPass = shape.renderPass;
    return CheckVulkan(vkCreateGraphicsPipelines(m_device, VK_NULL_HANDLE, 1, &pipelineInfo, nullptr, pipeline),
                       "vkCreateGraphicsPipelines", reason);
}

bool PlainVulkan::MakePointSampler(float maxLod, VkSampler* sampler, std::string* reason)
{
    VkSamplerCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    info.magFilter = VK_FILTER_NEAREST;
    info.minFilter = VK_FILTER_NEAREST;
    info.mipmapMode = VK_SAMPLER_MIPMAP_MODE_NEAREST;
    info.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    info.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    info.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    info.maxLod = maxLod;
    return CheckVulkan(vkCreateSampler(m_device, &info, nullptr, sampler), "vkCreateSampler", reason);
}

bool PlainVulkan::Submit(const std::function<void(VkCommandBuffer)>& record, std::string* reason)
{
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    if (!CheckVulkan(vkBeginCommandBuffer(m_commands, &begin), "vkBeginCommandBuffer", reason)) return false;
    record(m_commands);
    if (!CheckVulkan(vkEndCommandBuffer(m_commands), "vkEndCommandBuffer", reason)) return false;
    VkSubmitInfo submit{};
    submit.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    submit.commandBufferCount = 1;
    submit.pCommandBuffers = &m_commands;
    const bool done =
        CheckVulkan(vkQueueSubmit(m_queue, 1, &submit, m_fence), "vkQueueSubmit", reason) &&
        CheckVulkan(vkWaitForFences(m_device, 1, &m_fence, VK_TRUE, UINT64_MAX), "vkWaitForFences", reason);
    vkResetFences(m_device, 1, &m_fence);
    return done;
}

void PlainVulkan::RecordLayoutChange(VkCommandBuffer commands, VkImage image, uint32_t levels,
                                     const LayoutChange& change)
{
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = change.doneAccess;
    barrier.dstAccessMask = change.waitingAccess;
    barrier.oldLayout = change.from;
    barrier.newLayout = change.to;
    barrier.srcQueueFamilyIndex = barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, levels, 0, 1};
    vkCmdPipelineBarrier(commands, change.doneStages, change.waitingStages, 0, 0, nullptr, 0, nullptr, 1, &barrier);
}
