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

bool Check(VkResult result, const char* call, std::string* reason)
{
    if (result == VK_SUCCESS) return true;
    *reason = std::string(call) + " failed with " + std::to_string(int(result));
    return false;
}

}  // namespace

VulkanRow::~VulkanRow()
{
    if (m_device != VK_NULL_HANDLE) vkDestroyDevice(m_device, nullptr);
    if (m_instance != VK_NULL_HANDLE) vkDestroyInstance(m_instance, nullptr);
}

bool VulkanRow::Open(std::string* reason)
{
    VkApplicationInfo application{};
    application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    application.apiVersion = VK_API_VERSION_1_2;
    VkInstanceCreateInfo instanceInfo{};
    instanceInfo.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    instanceInfo.pApplicationInfo = &application;
    if (!Check(vkCreateInstance(&instanceInfo, nullptr, &m_instance), "vkCreateInstance", reason)) return false;
    uint32_t count = 1;
    const VkResult listed = vkEnumeratePhysicalDevices(m_instance, &count, &m_physical);
    if ((listed != VK_SUCCESS && listed != VK_INCOMPLETE) || count == 0) {
        *reason = "no Vulkan device";
        return false;
    }
    VkPhysicalDeviceProperties properties{};
    vkGetPhysicalDeviceProperties(m_physical, &properties);
    m_deviceName = properties.deviceName;
    uint32_t families = 0;
    vkGetPhysicalDeviceQueueFamilyProperties(m_physical, &families, nullptr);
    std::vector<VkQueueFamilyProperties> familyList(families);
    vkGetPhysicalDeviceQueueFamilyProperties(m_physical, &families, familyList.data());
    m_queueFamily = families;
    for (uint32_t family = 0; family < families && m_queueFamily == families; ++family) {
        if ((familyList[family].queueFlags & VK_QUEUE_GRAPHICS_BIT) != 0) m_queueFamily = family;
    }
    if (m_queueFamily == families) {
        *reason = "the device has no graphics queue";
        return false;
    }
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
    if (!Check(vkCreateDevice(m_physical, &deviceInfo, nullptr, &m_device), "vkCreateDevice", reason)) return false;
    vkGetDeviceQueue(m_device, m_queueFamily, 0, &m_queue);
    return true;
}

bool VulkanRow::MemoryType(uint32_t bits, VkMemoryPropertyFlags flags, uint32_t* index) const
{
    VkPhysicalDeviceMemoryProperties memory{};
    vkGetPhysicalDeviceMemoryProperties(m_physical, &memory);
    for (uint32_t type = 0; type < memory.memoryTypeCount; ++type) {
        if ((bits & (1u << type)) != 0 && (memory.memoryTypes[type].propertyFlags & flags) == flags) {
            *index = type;
            return true;
        }
    }
    return false;
}

bool VulkanRow::MakeBuffer(VkDeviceSize size, VkBufferUsageFlags usage, const void* bytes, Buffer* buffer)
{
    VkBufferCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
    info.size = size;
    info.usage = usage;
    if (vkCreateBuffer(m_device, &info, nullptr, &buffer->buffer) != VK_SUCCESS) return false;
    VkMemoryRequirements needs{};
    vkGetBufferMemoryRequirements(m_device, buffer->buffer, &needs);
    VkMemoryAllocateInfo allocation{};
    allocation.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    allocation.allocationSize = needs.size;
    if (!MemoryType(needs.memoryTypeBits, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT,
                    &allocation.memoryTypeIndex) ||
        vkAllocateMemory(m_device, &allocation, nullptr, &buffer->memory) != VK_SUCCESS ||
        vkBindBufferMemory(m_device, buffer->buffer, buffer->memory, 0) != VK_SUCCESS) {
        return false;
    }
    void* mapped = nullptr;
    if (vkMapMemory(m_device, buffer->memory, 0, size, 0, &mapped) != VK_SUCCESS) return false;
    std::memset(mapped, 0, size_t(size));
    if (bytes != nullptr) std::memcpy(mapped, bytes, size_t(size));
    vkUnmapMemory(m_device, buffer->memory);
    return true;
}

void VulkanRow::FreeBuffer(Buffer& buffer)
{
    vkDestroyBuffer(m_device, buffer.buffer, nullptr);
    vkFreeMemory(m_device, buffer.memory, nullptr);
}

bool VulkanRow::MakeImage(VkFormat format, uint32_t width, uint32_t height, uint32_t levels, VkImageUsageFlags usage,
                          Image* image, std::string* reason)
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
    if (!Check(vkCreateImage(m_device, &imageInfo, nullptr, &image->image), "vkCreateImage", reason)) return false;
    VkMemoryRequirements needs{};
    vkGetImageMemoryRequirements(m_device, image->image, &needs);
    VkMemoryAllocateInfo allocation{};
    allocation.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    allocation.allocationSize = needs.size;
    if (!MemoryType(needs.memoryTypeBits, 0, &allocation.memoryTypeIndex) ||
        !Check(vkAllocateMemory(m_device, &allocation, nullptr, &image->memory), "vkAllocateMemory", reason) ||
        !Check(vkBindImageMemory(m_device, image->image, image->memory, 0), "vkBindImageMemory", reason)) {
        return false;
    }
    VkImageViewCreateInfo viewInfo{};
    viewInfo.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    viewInfo.image = image->image;
    viewInfo.viewType = VK_IMAGE_VIEW_TYPE_2D;
    viewInfo.format = format;
    viewInfo.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, levels, 0, 1};
    return Check(vkCreateImageView(m_device, &viewInfo, nullptr, &image->view), "vkCreateImageView", reason);
}

void VulkanRow::FreeImage(Image& image)
{
    vkDestroyImageView(m_device, image.view, nullptr);
    vkDestroyImage(m_device, image.image, nullptr);
    vkFreeMemory(m_device, image.memory, nullptr);
}

bool VulkanRow::MakeTexture(const RowTexture& texture, TextureObjects* objects, std::string* reason)
{
    if (!MakeImage(VK_FORMAT_R8G8B8A8_UNORM, texture.width, texture.height, texture.levels,
                   VK_IMAGE_USAGE_SAMPLED_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT, &objects->image, reason)) {
        return false;
    }
    VkSamplerCreateInfo samplerInfo{};
    samplerInfo.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    samplerInfo.magFilter = VK_FILTER_NEAREST;
    samplerInfo.minFilter = VK_FILTER_NEAREST;
    samplerInfo.mipmapMode = VK_SAMPLER_MIPMAP_MODE_NEAREST;
    samplerInfo.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    samplerInfo.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    samplerInfo.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    samplerInfo.maxLod = float(texture.levels);
    if (!Check(vkCreateSampler(m_device, &samplerInfo, nullptr, &objects->sampler), "vkCreateSampler", reason)) {
        return false;
    }
    if (!MakeBuffer(texture.Size(), VK_BUFFER_USAGE_TRANSFER_SRC_BIT, texture.texels.data(), &objects->texels)) {
        *reason = "the texels' buffer could not be made";
        return false;
    }
    return true;
}

void VulkanRow::FreeTexture(TextureObjects& objects)
{
    vkDestroySampler(m_device, objects.sampler, nullptr);
    FreeImage(objects.image);
    FreeBuffer(objects.texels);
}

void VulkanRow::RecordUpload(VkCommandBuffer commands, const RowTexture& texture, const TextureObjects& objects)
{
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = 0;
    barrier.dstAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
    barrier.oldLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    barrier.newLayout = VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = objects.image.image;
    barrier.subresourceRange = {VK_IMAGE_ASPECT_COLOR_BIT, 0, texture.levels, 0, 1};
    vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0, nullptr, 0,
                         nullptr, 1, &barrier);
    std::vector<VkBufferImageCopy> copies(texture.levels);
    for (uint32_t level = 0; level < texture.levels; ++level) {
        copies[level].bufferOffset = texture.LevelOffset(level);
        copies[level].imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, level, 0, 1};
        copies[level].imageExtent = {texture.LevelWidth(level), texture.LevelHeight(level), 1};
    }
    vkCmdCopyBufferToImage(commands, objects.texels.buffer, objects.image.image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                           texture.levels, copies.data());
    barrier.srcAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
    barrier.dstAccessMask = VK_ACCESS_SHADER_READ_BIT;
    barrier.oldLayout = VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL;
    barrier.newLayout = VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL;
    vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, 0, 0, nullptr,
                         0, nullptr, 1, &barrier);
}

bool VulkanRow::DrawRow(const std::vector<uint32_t>& vertexCode, const std::vector<uint32_t>& pixelCode,
                        const std::vector<uint8_t>& vertexConstants, const std::vector<uint8_t>& pixelConstants,
                        const std::vector<RowTexture>& textures, const RowVertices& vertices, int width, int outputs,
                        std::vector<float>* pixels, std::string* reason)
{
    VkDevice device = m_device;
    Undo undo;

    // A target per pixel output, and the buffer they are copied into one after another.
    std::vector<VkImage> images;
    std::vector<VkImageView> views;
    for (int output = 0; output < outputs; ++output) {
        Image target;
        const bool targetMade =
            MakeImage(kTargetFormat, uint32_t(width), 1, 1,
                      VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_TRANSFER_SRC_BIT, &target, reason);
        undo.Add([this, target]() mutable { FreeImage(target); });
        if (!targetMade) return false;
        images.push_back(target.image);
        views.push_back(target.view);
    }

    Buffer readBack;
    Buffer vertexBuffer;
    Buffer constants[2];
    const std::vector<uint8_t>* blocks[2] = {&vertexConstants, &pixelConstants};
    const VkDeviceSize rowBytes = VkDeviceSize(width) * 16;
    bool made =
        MakeBuffer(rowBytes * VkDeviceSize(outputs), VK_BUFFER_USAGE_TRANSFER_DST_BIT, nullptr, &readBack) &&
        MakeBuffer(vertices.bytes.size(), VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, vertices.bytes.data(), &vertexBuffer);
    for (int stage = 0; stage < 2 && made; ++stage) {
        // A stage without constants still gets a buffer: the layout of both sets is fixed.
        const std::vector<uint8_t>& block = *blocks[stage];
        made = MakeBuffer(block.empty() ? 16 : block.size(), VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT,
                          block.empty() ? nullptr : block.data(), &constants[stage]);
    }
    undo.Add([this, readBack, vertexBuffer, constants]() mutable {
        for (Buffer* buffer : {&readBack, &vertexBuffer, &constants[0], &constants[1]}) FreeBuffer(*buffer);
    });
    if (!made) {
        *reason = "a buffer could not be made";
        return false;
    }

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
        if (!Check(vkCreateDescriptorSetLayout(device, &setInfo, nullptr, &layout), "vkCreateDescriptorSetLayout",
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
    if (!Check(vkCreatePipelineLayout(device, &layoutInfo, nullptr, &pipelineLayout), "vkCreatePipelineLayout",
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
    if (!Check(vkCreateDescriptorPool(device, &poolInfo, nullptr, &pool), "vkCreateDescriptorPool", reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyDescriptorPool(device, pool, nullptr); });
    VkDescriptorSetAllocateInfo setAllocation{};
    setAllocation.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    setAllocation.descriptorPool = pool;
    setAllocation.descriptorSetCount = 4;
    setAllocation.pSetLayouts = setLayouts;
    VkDescriptorSet sets[4] = {};
    if (!Check(vkAllocateDescriptorSets(device, &setAllocation, sets), "vkAllocateDescriptorSets", reason)) {
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
    VkAttachmentDescription attachment{};
    attachment.format = kTargetFormat;
    attachment.samples = VK_SAMPLE_COUNT_1_BIT;
    attachment.loadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    attachment.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
    attachment.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    attachment.stencilStoreOp = VK_ATTACHMENT_STORE_OP_DONT_CARE;
    attachment.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    attachment.finalLayout = VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL;
    const std::vector<VkAttachmentDescription> attachments(size_t(outputs), attachment);
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
    if (!Check(vkCreateRenderPass(device, &passInfo, nullptr, &pass), "vkCreateRenderPass", reason)) return false;
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
    if (!Check(vkCreateFramebuffer(device, &framebufferInfo, nullptr, &framebuffer), "vkCreateFramebuffer", reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyFramebuffer(device, framebuffer, nullptr); });

    // The pipeline.
    VkShaderModule modules[2] = {};
    const std::vector<uint32_t>* codes[2] = {&vertexCode, &pixelCode};
    for (int stage = 0; stage < 2; ++stage) {
        VkShaderModuleCreateInfo moduleInfo{};
        moduleInfo.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
        moduleInfo.codeSize = codes[stage]->size() * 4;
        moduleInfo.pCode = codes[stage]->data();
        if (!Check(vkCreateShaderModule(device, &moduleInfo, nullptr, &modules[stage]), "vkCreateShaderModule",
                   reason)) {
            return false;
        }
        const VkShaderModule module = modules[stage];
        undo.Add([=] { vkDestroyShaderModule(device, module, nullptr); });
    }
    VkPipelineShaderStageCreateInfo stages[2] = {};
    for (int stage = 0; stage < 2; ++stage) {
        stages[stage].sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
        stages[stage].stage = stage == 0 ? VK_SHADER_STAGE_VERTEX_BIT : VK_SHADER_STAGE_FRAGMENT_BIT;
        stages[stage].module = modules[stage];
        stages[stage].pName = "main";
    }
    const VkVertexInputBindingDescription vertexBinding{0, vertices.stride, VK_VERTEX_INPUT_RATE_VERTEX};
    std::vector<VkVertexInputAttributeDescription> vertexAttributes;
    for (const RowAttribute& attribute : vertices.attributes) {
        vertexAttributes.push_back({uint32_t(vertexAttributes.size()), 0, Format(attribute.format), attribute.offset});
    }
    VkPipelineVertexInputStateCreateInfo vertexInput{};
    vertexInput.sType = VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO;
    vertexInput.vertexBindingDescriptionCount = 1;
    vertexInput.pVertexBindingDescriptions = &vertexBinding;
    vertexInput.vertexAttributeDescriptionCount = uint32_t(vertexAttributes.size());
    vertexInput.pVertexAttributeDescriptions = vertexAttributes.data();
    VkPipelineInputAssemblyStateCreateInfo assembly{};
    assembly.sType = VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO;
    assembly.topology = VK_PRIMITIVE_TOPOLOGY_TRIANGLE_LIST;
    const VkViewport viewport{0, 0, float(width), 1, 0, 1};
    const VkRect2D scissor{{0, 0}, {uint32_t(width), 1}};
    VkPipelineViewportStateCreateInfo viewportState{};
    viewportState.sType = VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO;
    viewportState.viewportCount = 1;
    viewportState.pViewports = &viewport;
    viewportState.scissorCount = 1;
    viewportState.pScissors = &scissor;
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
    const std::vector<VkPipelineColorBlendAttachmentState> blendAttachments(size_t(outputs), blendAttachment);
    VkPipelineColorBlendStateCreateInfo blend{};
    blend.sType = VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO;
    blend.attachmentCount = uint32_t(outputs);
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
    pipelineInfo.layout = pipelineLayout;
    pipelineInfo.renderPass = pass;
    VkPipeline pipeline = VK_NULL_HANDLE;
    if (!Check(vkCreateGraphicsPipelines(device, VK_NULL_HANDLE, 1, &pipelineInfo, nullptr, &pipeline),
               "vkCreateGraphicsPipelines", reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyPipeline(device, pipeline, nullptr); });

    // Record, submit, wait.
    VkCommandPoolCreateInfo commandPoolInfo{};
    commandPoolInfo.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    commandPoolInfo.queueFamilyIndex = m_queueFamily;
    VkCommandPool commandPool = VK_NULL_HANDLE;
    if (!Check(vkCreateCommandPool(device, &commandPoolInfo, nullptr, &commandPool), "vkCreateCommandPool", reason)) {
        return false;
    }
    undo.Add([=] { vkDestroyCommandPool(device, commandPool, nullptr); });
    VkCommandBufferAllocateInfo commandInfo{};
    commandInfo.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
    commandInfo.commandPool = commandPool;
    commandInfo.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
    commandInfo.commandBufferCount = 1;
    VkCommandBuffer commands = VK_NULL_HANDLE;
    if (!Check(vkAllocateCommandBuffers(device, &commandInfo, &commands), "vkAllocateCommandBuffers", reason)) {
        return false;
    }
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    vkBeginCommandBuffer(commands, &begin);
    for (size_t index = 0; index < textures.size(); ++index) RecordUpload(commands, textures[index], objects[index]);
    VkClearValue clear{};
    for (float& channel : clear.color.float32) channel = -7;  // a value no probe writes
    const std::vector<VkClearValue> clears(size_t(outputs), clear);
    VkRenderPassBeginInfo passBegin{};
    passBegin.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    passBegin.renderPass = pass;
    passBegin.framebuffer = framebuffer;
    passBegin.renderArea = scissor;
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
        vkCmdCopyImageToBuffer(commands, images[size_t(output)], VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, readBack.buffer,
                               1, &copy);
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
    if (!Check(vkEndCommandBuffer(commands), "vkEndCommandBuffer", reason)) return false;
    VkSubmitInfo submit{};
    submit.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    submit.commandBufferCount = 1;
    submit.pCommandBuffers = &commands;
    if (!Check(vkQueueSubmit(m_queue, 1, &submit, VK_NULL_HANDLE), "vkQueueSubmit", reason) ||
        !Check(vkQueueWaitIdle(m_queue), "vkQueueWaitIdle", reason)) {
        return false;
    }
    void* mapped = nullptr;
    const VkDeviceSize allBytes = rowBytes * VkDeviceSize(outputs);
    if (!Check(vkMapMemory(device, readBack.memory, 0, allBytes, 0, &mapped), "vkMapMemory", reason)) return false;
    pixels->assign(size_t(width) * 4 * size_t(outputs), 0.0f);
    std::memcpy(pixels->data(), mapped, size_t(allBytes));
    vkUnmapMemory(device, readBack.memory);
    return true;
}
