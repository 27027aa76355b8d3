#include "winapi/d3d11/vulkan/vulkan_draw.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "winapi/d3d11/vulkan/vulkan_formats.h"
#include "winapi/d3d11/vulkan/vulkan_resource.h"
#include "winapi/d3d11/vulkan/vulkan_shader.h"
#include "winapi/d3d11/vulkan/vulkan_spirv.h"
#include "winapi/d3dcompiler/code_format.h"

namespace halvo::d3d11::vulkan {

namespace {

using d3dcompiler::kConstantBufferBindingBase;
using d3dcompiler::kSamplerBindingBase;
using d3dcompiler::kTextureBindingBase;

constexpr UINT kTextureSlots =
    D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT < 16 ? D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT : 16;
constexpr UINT kSamplerSlots = D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT;
constexpr UINT kConstantSlots = D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT;

// Appends the bytes of one field to a cache key.
template <typename T>
void Put(std::string& key, const T& value)
{
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The platform's enumerations of comparisons, stencil and blend operations
// start at 1 where Vulkan's start at 0, in the same order.
VkCompareOp Compare(D3D11_COMPARISON_FUNC func) { return VkCompareOp(func - 1); }
VkStencilOp Stencil(D3D11_STENCIL_OP op) { return VkStencilOp(op - 1); }
VkBlendOp BlendOp(D3D11_BLEND_OP op) { return VkBlendOp(op - 1); }

VkBlendFactor BlendFactor(D3D11_BLEND blend)
{
    switch (blend) {
    case D3D11_BLEND_ZERO: return VK_BLEND_FACTOR_ZERO;
    case D3D11_BLEND_ONE: return VK_BLEND_FACTOR_ONE;
    case D3D11_BLEND_SRC_COLOR: return VK_BLEND_FACTOR_SRC_COLOR;
    case D3D11_BLEND_INV_SRC_COLOR: return VK_BLEND_FACTOR_ONE_MINUS_SRC_COLOR;
    case D3D11_BLEND_SRC_ALPHA: return VK_BLEND_FACTOR_SRC_ALPHA;
    case D3D11_BLEND_INV_SRC_ALPHA: return VK_BLEND_FACTOR_ONE_MINUS_SRC_ALPHA;
    case D3D11_BLEND_DEST_ALPHA: return VK_BLEND_FACTOR_DST_ALPHA;
    case D3D11_BLEND_INV_DEST_ALPHA: return VK_BLEND_FACTOR_ONE_MINUS_DST_ALPHA;
    case D3D11_BLEND_DEST_COLOR: return VK_BLEND_FACTOR_DST_COLOR;
    case D3D11_BLEND_INV_DEST_COLOR: return VK_BLEND_FACTOR_ONE_MINUS_DST_COLOR;
    case D3D11_BLEND_SRC_ALPHA_SAT: return VK_BLEND_FACTOR_SRC_ALPHA_SATURATE;
    case D3D11_BLEND_BLEND_FACTOR: return VK_BLEND_FACTOR_CONSTANT_COLOR;
    case D3D11_BLEND_INV_BLEND_FACTOR: return VK_BLEND_FACTOR_ONE_MINUS_CONSTANT_COLOR;
    case D3D11_BLEND_SRC1_COLOR: return VK_BLEND_FACTOR_SRC1_COLOR;
    case D3D11_BLEND_INV_SRC1_COLOR: return VK_BLEND_FACTOR_ONE_MINUS_SRC1_COLOR;
    case D3D11_BLEND_SRC1_ALPHA: return VK_BLEND_FACTOR_SRC1_ALPHA;
    case D3D11_BLEND_INV_SRC1_ALPHA: return VK_BLEND_FACTOR_ONE_MINUS_SRC1_ALPHA;
    default: return VK_BLEND_FACTOR_ONE;
    }
}

VkSamplerAddressMode Address(D3D11_TEXTURE_ADDRESS_MODE mode)
{
    switch (mode) {
    case D3D11_TEXTURE_ADDRESS_WRAP: return VK_SAMPLER_ADDRESS_MODE_REPEAT;
    case D3D11_TEXTURE_ADDRESS_MIRROR: return VK_SAMPLER_ADDRESS_MODE_MIRRORED_REPEAT;
    case D3D11_TEXTURE_ADDRESS_BORDER: return VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_BORDER;
    default: return VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;  // MIRROR_ONCE needs an extension: clamped
    }
}

// Semantic names match whatever their case; the signature's are upper case.
bool SameSemantic(const std::string& upper, const char* name)
{
    size_t at = 0;
    for (; name[at] != '\0'; ++at) {
        if (at >= upper.size() || upper[at] != std::toupper(static_cast<unsigned char>(name[at]))) return false;
    }
    return at == upper.size();
}

// The attachments and the size of the draw's render targets.
struct Targets {
    std::vector<VkImageView> views;
    std::vector<VkFormat> colourFormats;
    VkFormat depthFormat = VK_FORMAT_UNDEFINED;
    UINT width = ~0u;
    UINT height = ~0u;
};

bool WithoutAlpha(DXGI_FORMAT format)
{
    return format == DXGI_FORMAT_B8G8R8X8_UNORM || format == DXGI_FORMAT_B8G8R8X8_UNORM_SRGB ||
           format == DXGI_FORMAT_B8G8R8X8_TYPELESS;
}

// The view a target is drawn through: its first level, its slices, no swizzle.
VkImageView TargetView(const BoundTextureView& bound)
{
    auto& resource = static_cast<VulkanResource&>(*bound.resource);
    const bool oneD = resource.shape().dimension == D3D11_RESOURCE_DIMENSION_TEXTURE1D;
    ViewKey key;
    key.type = bound.range.sliceCount > 1 ? (oneD ? VK_IMAGE_VIEW_TYPE_1D_ARRAY : VK_IMAGE_VIEW_TYPE_2D_ARRAY)
                                          : (oneD ? VK_IMAGE_VIEW_TYPE_1D : VK_IMAGE_VIEW_TYPE_2D);
    const VkImageAspectFlags aspects = AspectsOf(resource.format());
    // A depth image seen through a depth view keeps its own format.
    key.format = aspects == VK_IMAGE_ASPECT_COLOR_BIT ? ToVulkanFormat(bound.range.format) : resource.format();
    key.aspects = aspects;
    key.firstMip = bound.range.firstMip;
    key.firstSlice = bound.range.firstSlice;
    key.sliceCount = bound.range.sliceCount;
    return resource.View(key);
}

// The kind of view a shader's declared image takes.
VkImageViewType ViewTypeOf(const DeclaredImage& declared)
{
    switch (declared.dimension) {
    case 0: return declared.arrayed ? VK_IMAGE_VIEW_TYPE_1D_ARRAY : VK_IMAGE_VIEW_TYPE_1D;
    case 2: return VK_IMAGE_VIEW_TYPE_3D;
    case 3: return declared.arrayed ? VK_IMAGE_VIEW_TYPE_CUBE_ARRAY : VK_IMAGE_VIEW_TYPE_CUBE;
    default: return declared.arrayed ? VK_IMAGE_VIEW_TYPE_2D_ARRAY : VK_IMAGE_VIEW_TYPE_2D;
    }
}

// The view through which a shader samples a bound view as the kind of image
// it declares (a one-slice array view of a 2D texture is sampled as an
// array); VK_NULL_HANDLE when the two kinds cannot meet.
VkImageView SampledView(const BoundTextureView& bound, VkImageViewType type)
{
    auto& resource = static_cast<VulkanResource&>(*bound.resource);
    const bool oneD = resource.shape().dimension == D3D11_RESOURCE_DIMENSION_TEXTURE1D;
    const ViewRange& range = bound.range;
    ViewKey key;
    key.type = type;
    key.firstMip = range.firstMip;
    key.mipCount = range.mipCount;
    key.firstSlice = range.firstSlice;
    key.sliceCount = range.sliceCount;
    switch (type) {
    case VK_IMAGE_VIEW_TYPE_1D:
    case VK_IMAGE_VIEW_TYPE_2D:
        if (oneD != (type == VK_IMAGE_VIEW_TYPE_1D) || range.cube) return VK_NULL_HANDLE;
        key.sliceCount = 1;
        break;
    case VK_IMAGE_VIEW_TYPE_1D_ARRAY:
    case VK_IMAGE_VIEW_TYPE_2D_ARRAY:
        if (oneD != (type == VK_IMAGE_VIEW_TYPE_1D_ARRAY) || range.cube) return VK_NULL_HANDLE;
        break;
    case VK_IMAGE_VIEW_TYPE_CUBE:
        if (!range.cube) return VK_NULL_HANDLE;
        key.sliceCount = 6;
        break;
    case VK_IMAGE_VIEW_TYPE_CUBE_ARRAY:
        if (!range.cube) return VK_NULL_HANDLE;
        break;
    default: return VK_NULL_HANDLE;
    }
    // A depth image seen by a shader keeps its own format and shows its depth.
    const VkImageAspectFlags aspects = AspectsOf(resource.format());
    key.format = aspects == VK_IMAGE_ASPECT_COLOR_BIT ? ToVulkanFormat(range.format) : resource.format();
    key.aspects = aspects == VK_IMAGE_ASPECT_COLOR_BIT ? aspects : VkImageAspectFlags(VK_IMAGE_ASPECT_DEPTH_BIT);
    key.alphaOne = WithoutAlpha(range.format);
    return resource.View(key);
}

VkSampler MakeSampler(VulkanDevice& device, const D3D11_SAMPLER_DESC& desc)
{
    VkSamplerCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    const UINT filter = UINT(desc.Filter);
    info.magFilter = (filter & 0x4) ? VK_FILTER_LINEAR : VK_FILTER_NEAREST;
    info.minFilter = (filter & 0x10) ? VK_FILTER_LINEAR : VK_FILTER_NEAREST;
    info.mipmapMode = (filter & 0x1) ? VK_SAMPLER_MIPMAP_MODE_LINEAR : VK_SAMPLER_MIPMAP_MODE_NEAREST;
    info.addressModeU = Address(desc.AddressU);
    info.addressModeV = Address(desc.AddressV);
    info.addressModeW = Address(desc.AddressW);
    info.mipLodBias = desc.MipLODBias;
    info.compareEnable = (filter & 0x80) ? VK_TRUE : VK_FALSE;
    info.compareOp = info.compareEnable ? Compare(desc.ComparisonFunc) : VK_COMPARE_OP_NEVER;
    info.minLod = desc.MinLOD;
    info.maxLod = desc.MaxLOD;
    // The nearest of Vulkan's fixed border colours.
    const FLOAT* border = desc.BorderColor;
    info.borderColor =
        border[0] == 0.0f && border[1] == 0.0f && border[2] == 0.0f
            ? (border[3] == 0.0f ? VK_BORDER_COLOR_FLOAT_TRANSPARENT_BLACK : VK_BORDER_COLOR_FLOAT_OPAQUE_BLACK)
            : VK_BORDER_COLOR_FLOAT_OPAQUE_WHITE;
    VkSampler sampler = VK_NULL_HANDLE;
    vkCreateSampler(device.device(), &info, nullptr, &sampler);
    return sampler;
}

}  // namespace

VulkanRenderer::VulkanRenderer(VulkanDevice& device) : device_(device)
{
    device_.SetViewRetirement([this](VkImageView view) { ForgetView(view); });
}

VulkanRenderer::~VulkanRenderer()
{
    device_.SetViewRetirement({});
    VkDevice device = device_.device();
    for (auto& [key, framebuffer] : framebuffers_) vkDestroyFramebuffer(device, framebuffer, nullptr);
    for (const DescriptorPool& pool : descriptorPools_) vkDestroyDescriptorPool(device, pool.pool, nullptr);
    for (auto& [key, pipeline] : pipelines_) vkDestroyPipeline(device, pipeline, nullptr);
    for (auto& [key, pass] : renderPasses_) vkDestroyRenderPass(device, pass, nullptr);
    for (auto& [key, module] : pixelModules_) vkDestroyShaderModule(device, module, nullptr);
    if (pipelineLayout_ != VK_NULL_HANDLE) vkDestroyPipelineLayout(device, pipelineLayout_, nullptr);
    if (defaultSampler_ != VK_NULL_HANDLE) vkDestroySampler(device, defaultSampler_, nullptr);
    for (auto& [key, sampler] : samplers_) vkDestroySampler(device, sampler, nullptr);
    for (VkDescriptorSetLayout layout : setLayouts_) {
        if (layout != VK_NULL_HANDLE) vkDestroyDescriptorSetLayout(device, layout, nullptr);
    }
}

bool VulkanRenderer::MakeLayout()
{
    if (pipelineLayout_ != VK_NULL_HANDLE) return true;
    ResourceShape buffer;
    buffer.dimension = D3D11_RESOURCE_DIMENSION_BUFFER;
    buffer.width = D3D11_REQ_CONSTANT_BUFFER_ELEMENT_COUNT * 16;
    buffer.bindFlags = D3D11_BIND_CONSTANT_BUFFER;
    zeroBuffer_ = VulkanResource::Create(device_, buffer, nullptr);
    if (zeroBuffer_ == nullptr || zeroImages_.View(VK_IMAGE_VIEW_TYPE_2D) == VK_NULL_HANDLE) return false;
    const D3D11_SAMPLER_DESC defaults{D3D11_FILTER_MIN_MAG_MIP_LINEAR,
                                      D3D11_TEXTURE_ADDRESS_CLAMP,
                                      D3D11_TEXTURE_ADDRESS_CLAMP,
                                      D3D11_TEXTURE_ADDRESS_CLAMP,
                                      0.0f,
                                      1,
                                      D3D11_COMPARISON_NEVER,
                                      {1, 1, 1, 1},
                                      -D3D11_FLOAT32_MAX,
                                      D3D11_FLOAT32_MAX};
    defaultSampler_ = MakeSampler(device_, defaults);
    // Each stage's set is seen by that stage alone, which keeps each stage within the per-stage limits.
    const VkShaderStageFlags stages[2] = {VK_SHADER_STAGE_VERTEX_BIT, VK_SHADER_STAGE_FRAGMENT_BIT};
    for (int set = 0; set < 2; ++set) {
        std::vector<VkDescriptorSetLayoutBinding> bindings;
        for (UINT slot = 0; slot < kTextureSlots; ++slot) {
            bindings.push_back({kTextureBindingBase + slot, VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE, 1, stages[set], nullptr});
        }
        for (UINT slot = 0; slot < kSamplerSlots; ++slot) {
            bindings.push_back({kSamplerBindingBase + slot, VK_DESCRIPTOR_TYPE_SAMPLER, 1, stages[set], nullptr});
        }
        for (UINT slot = 0; slot < kConstantSlots; ++slot) {
            bindings.push_back(
                {kConstantBufferBindingBase + slot, VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, 1, stages[set], nullptr});
        }
        VkDescriptorSetLayoutCreateInfo setInfo{};
        setInfo.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
        setInfo.bindingCount = uint32_t(bindings.size());
        setInfo.pBindings = bindings.data();
        if (vkCreateDescriptorSetLayout(device_.device(), &setInfo, nullptr, &setLayouts_[set]) != VK_SUCCESS)
            return false;
    }
    VkPipelineLayoutCreateInfo layoutInfo{};
    layoutInfo.sType = VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO;
    layoutInfo.setLayoutCount = 2;
    layoutInfo.pSetLayouts = setLayouts_;
    return vkCreatePipelineLayout(device_.device(), &layoutInfo, nullptr, &pipelineLayout_) == VK_SUCCESS;
}

VkSampler VulkanRenderer::SamplerFor(const D3D11_SAMPLER_DESC& desc)
{
    std::string key;
    Put(key, desc);  // four-byte fields only: no padding
    auto found = samplers_.find(key);
    if (found != samplers_.end()) return found->second;
    const VkSampler sampler = MakeSampler(device_, desc);
    if (sampler != VK_NULL_HANDLE) samplers_[key] = sampler;
    return sampler != VK_NULL_HANDLE ? sampler : defaultSampler_;
}

bool VulkanRenderer::AllocateSets(uint64_t batch, uint64_t finished, VkDescriptorSet sets[2])
{
    auto allocate = [&](DescriptorPool& pool) {
        VkDescriptorSetAllocateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
        info.descriptorPool = pool.pool;
        info.descriptorSetCount = 2;
        info.pSetLayouts = setLayouts_;
        if (vkAllocateDescriptorSets(device_.device(), &info, sets) != VK_SUCCESS) return false;
        pool.lastBatch = batch;
        return true;
    };
    if (currentPool_ < descriptorPools_.size() && allocate(descriptorPools_[currentPool_])) return true;
    for (size_t index = 0; index < descriptorPools_.size(); ++index) {
        if (descriptorPools_[index].lastBatch > finished) continue;
        vkResetDescriptorPool(device_.device(), descriptorPools_[index].pool, 0);
        currentPool_ = index;
        if (allocate(descriptorPools_[index])) return true;
    }
    constexpr uint32_t kDrawsPerPool = 64;
    const VkDescriptorPoolSize sizes[] = {{VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE, 2 * kTextureSlots * kDrawsPerPool},
                                          {VK_DESCRIPTOR_TYPE_SAMPLER, 2 * kSamplerSlots * kDrawsPerPool},
                                          {VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, 2 * kConstantSlots * kDrawsPerPool}};
    VkDescriptorPoolCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    info.maxSets = 2 * kDrawsPerPool;
    info.poolSizeCount = 3;
    info.pPoolSizes = sizes;
    DescriptorPool made{VK_NULL_HANDLE, 0};
    if (vkCreateDescriptorPool(device_.device(), &info, nullptr, &made.pool) != VK_SUCCESS) return false;
    descriptorPools_.push_back(made);
    currentPool_ = descriptorPools_.size() - 1;
    return allocate(descriptorPools_.back());
}

VkFramebuffer VulkanRenderer::FramebufferFor(VkRenderPass renderPass, const std::vector<VkImageView>& views, UINT width,
                                             UINT height)
{
    std::lock_guard<std::mutex> lock(framebuffersLock_);
    FramebufferKey key{renderPass, views, width, height};
    auto found = framebuffers_.find(key);
    if (found != framebuffers_.end()) return found->second;
    VkFramebufferCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    info.renderPass = renderPass;
    info.attachmentCount = uint32_t(views.size());
    info.pAttachments = views.data();
    info.width = width;
    info.height = height;
    info.layers = 1;
    VkFramebuffer framebuffer = VK_NULL_HANDLE;
    if (vkCreateFramebuffer(device_.device(), &info, nullptr, &framebuffer) != VK_SUCCESS) return VK_NULL_HANDLE;
    framebuffers_.emplace(std::move(key), framebuffer);
    return framebuffer;
}

void VulkanRenderer::ForgetView(VkImageView view)
{
    // Every draw has finished with its framebuffer when it returns.
    std::lock_guard<std::mutex> lock(framebuffersLock_);
    for (auto it = framebuffers_.begin(); it != framebuffers_.end();) {
        if (std::find(it->first.views.begin(), it->first.views.end(), view) == it->first.views.end()) {
            ++it;
            continue;
        }
        vkDestroyFramebuffer(device_.device(), it->second, nullptr);
        it = framebuffers_.erase(it);
    }
}

VkRenderPass VulkanRenderer::RenderPassFor(const DrawState& state)
{
    std::string key;
    std::vector<VkAttachmentDescription> attachments;
    std::vector<VkAttachmentReference> colours;
    VkAttachmentReference depth{VK_ATTACHMENT_UNUSED, VK_IMAGE_LAYOUT_GENERAL};
    auto attach = [&](VkFormat format) {
        Put(key, format);
        VkAttachmentDescription attachment{};
        attachment.format = format;
        attachment.samples = VK_SAMPLE_COUNT_1_BIT;
        attachment.loadOp = attachment.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
        attachment.storeOp = attachment.stencilStoreOp = VK_ATTACHMENT_STORE_OP_STORE;
        attachment.initialLayout = attachment.finalLayout = VK_IMAGE_LAYOUT_GENERAL;
        attachments.push_back(attachment);
        return uint32_t(attachments.size() - 1);
    };
    for (const BoundTextureView& target : state.renderTargets) {
        if (target.resource == nullptr) {
            colours.push_back({VK_ATTACHMENT_UNUSED, VK_IMAGE_LAYOUT_GENERAL});
            Put(key, VK_FORMAT_UNDEFINED);
            continue;
        }
        colours.push_back({attach(ToVulkanFormat(target.range.format)), VK_IMAGE_LAYOUT_GENERAL});
    }
    while (!colours.empty() && colours.back().attachment == VK_ATTACHMENT_UNUSED) colours.pop_back();
    if (state.depthStencil.resource != nullptr) {
        depth.attachment = attach(static_cast<VulkanResource&>(*state.depthStencil.resource).format());
    }
    auto found = renderPasses_.find(key);
    if (found != renderPasses_.end()) return found->second;
    VkSubpassDescription subpass{};
    subpass.pipelineBindPoint = VK_PIPELINE_BIND_POINT_GRAPHICS;
    subpass.colorAttachmentCount = uint32_t(colours.size());
    subpass.pColorAttachments = colours.data();
    subpass.pDepthStencilAttachment = &depth;
    VkRenderPassCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    info.attachmentCount = uint32_t(attachments.size());
    info.pAttachments = attachments.data();
    info.subpassCount = 1;
    info.pSubpasses = &subpass;
    VkRenderPass pass = VK_NULL_HANDLE;
    if (vkCreateRenderPass(device_.device(), &info, nullptr, &pass) != VK_SUCCESS) return VK_NULL_HANDLE;
    renderPasses_[key] = pass;
    return pass;
}

VkShaderModule VulkanRenderer::LinkedPixelModule(const DrawState& state)
{
    auto* vertex = static_cast<VulkanShader*>(state.vertexShader.shader);
    auto* pixel = static_cast<VulkanShader*>(state.pixelShader.shader);
    const std::pair<uint64_t, uint64_t> key{vertex->serial(), pixel->serial()};
    auto found = pixelModules_.find(key);
    if (found != pixelModules_.end()) return found->second;
    const std::vector<uint32_t>& words = pixel->words();
    const VkShaderModule module =
        CreateModule(device_, LinkInputs(words.data(), words.size(), vertex->outputLocations()), ShaderStage::kPixel);
    if (module != VK_NULL_HANDLE) pixelModules_[key] = module;
    return module;
}

VkPipeline VulkanRenderer::PipelineFor(const DrawState& state, VkRenderPass renderPass)
{
    auto* vertex = static_cast<VulkanShader*>(state.vertexShader.shader);
    auto* pixel = static_cast<VulkanShader*>(state.pixelShader.shader);
    std::string key;
    Put(key, renderPass);
    Put(key, vertex->serial());
    Put(key, pixel != nullptr ? pixel->serial() : 0);
    Put(key, state.topology);

    // Vertex input: each element reaches the vertex input of its semantic.
    std::vector<VkVertexInputAttributeDescription> attributes;
    std::vector<VkVertexInputBindingDescription> bindings;
    if (state.inputElements != nullptr) {
        for (const D3D11_INPUT_ELEMENT_DESC& element : *state.inputElements) {
            const SignatureElement* input = nullptr;
            for (const SignatureElement& candidate : *state.vertexShader.inputs) {
                if (!candidate.systemValue && candidate.semanticIndex == element.SemanticIndex &&
                    SameSemantic(candidate.semanticName, element.SemanticName)) {
                    input = &candidate;
                }
            }
            if (input == nullptr) continue;
            attributes.push_back(
                {input->location, element.InputSlot, ToVulkanFormat(element.Format), element.AlignedByteOffset});
            Put(key, attributes.back());
            const bool seen =
                std::any_of(bindings.begin(), bindings.end(),
                            [&](const VkVertexInputBindingDescription& b) { return b.binding == element.InputSlot; });
            if (!seen) {
                bindings.push_back({element.InputSlot, state.vertexBuffers[element.InputSlot].stride,
                                    element.InputSlotClass == D3D11_INPUT_PER_INSTANCE_DATA
                                        ? VK_VERTEX_INPUT_RATE_INSTANCE
                                        : VK_VERTEX_INPUT_RATE_VERTEX});
                Put(key, bindings.back());
            }
        }
    }

    const D3D11_RASTERIZER_DESC1& raster = state.rasterizer;
    Put(key, raster.FillMode);
    Put(key, raster.CullMode);
    Put(key, raster.FrontCounterClockwise);
    Put(key, raster.DepthBias);
    Put(key, raster.DepthBiasClamp);
    Put(key, raster.SlopeScaledDepthBias);
    Put(key, raster.DepthClipEnable);
    const D3D11_DEPTH_STENCIL_DESC& depth = state.depthStencilState;
    Put(key, depth.DepthEnable);
    Put(key, depth.DepthWriteMask);
    Put(key, depth.DepthFunc);
    Put(key, depth.StencilEnable);
    Put(key, depth.StencilReadMask);
    Put(key, depth.StencilWriteMask);
    for (const D3D11_DEPTH_STENCILOP_DESC& face : {depth.FrontFace, depth.BackFace}) {
        Put(key, face.StencilFailOp);
        Put(key, face.StencilDepthFailOp);
        Put(key, face.StencilPassOp);
        Put(key, face.StencilFunc);
    }
    Put(key, state.sampleMask);
    std::vector<VkPipelineColorBlendAttachmentState> blends;
    for (UINT slot = 0; slot < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++slot) {
        if (state.renderTargets[slot].resource == nullptr) continue;
        blends.resize(slot + 1);
        const D3D11_RENDER_TARGET_BLEND_DESC1& target =
            state.blend.RenderTarget[state.blend.IndependentBlendEnable ? slot : 0];
        VkPipelineColorBlendAttachmentState& blend = blends[slot];
        blend.blendEnable = target.BlendEnable ? VK_TRUE : VK_FALSE;
        blend.srcColorBlendFactor = BlendFactor(target.SrcBlend);
        blend.dstColorBlendFactor = BlendFactor(target.DestBlend);
        blend.colorBlendOp = BlendOp(target.BlendOp);
        blend.srcAlphaBlendFactor = BlendFactor(target.SrcBlendAlpha);
        blend.dstAlphaBlendFactor = BlendFactor(target.DestBlendAlpha);
        blend.alphaBlendOp = BlendOp(target.BlendOpAlpha);
        // Without a pixel shader nothing reaches the targets.
        blend.colorWriteMask = pixel != nullptr ? target.RenderTargetWriteMask & 0xf : 0;
        // A target without alpha reads its alpha as 1.
        if (WithoutAlpha(state.renderTargets[slot].range.format)) {
            for (VkBlendFactor* factor : {&blend.srcColorBlendFactor, &blend.dstColorBlendFactor,
                                          &blend.srcAlphaBlendFactor, &blend.dstAlphaBlendFactor}) {
                if (*factor == VK_BLEND_FACTOR_DST_ALPHA) *factor = VK_BLEND_FACTOR_ONE;
                if (*factor == VK_BLEND_FACTOR_ONE_MINUS_DST_ALPHA) *factor = VK_BLEND_FACTOR_ZERO;
            }
        }
        Put(key, slot);
        Put(key, blend);
    }
    Put(key, state.blend.AlphaToCoverageEnable);

    auto found = pipelines_.find(key);
    if (found != pipelines_.end()) return found->second;

    std::vector<VkPipelineShaderStageCreateInfo> stages;
    VkPipelineShaderStageCreateInfo stage{};
    stage.sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
    stage.stage = VK_SHADER_STAGE_VERTEX_BIT;
    stage.module = vertex->module();
    stage.pName = "main";
    stages.push_back(stage);
    if (pixel != nullptr) {
        stage.stage = VK_SHADER_STAGE_FRAGMENT_BIT;
        stage.module = LinkedPixelModule(state);
        if (stage.module == VK_NULL_HANDLE) return VK_NULL_HANDLE;
        stages.push_back(stage);
    }
    VkPipelineVertexInputStateCreateInfo vertexInput{};
    vertexInput.sType = VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO;
    vertexInput.vertexBindingDescriptionCount = uint32_t(bindings.size());
    vertexInput.pVertexBindingDescriptions = bindings.data();
    vertexInput.vertexAttributeDescriptionCount = uint32_t(attributes.size());
    vertexInput.pVertexAttributeDescriptions = attributes.data();
    VkPipelineInputAssemblyStateCreateInfo assembly{};
    assembly.sType = VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO;
    assembly.topology = VkPrimitiveTopology(std::max(int(state.topology) - 1, 0));
    VkPipelineViewportStateCreateInfo viewport{};
    viewport.sType = VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO;
    viewport.viewportCount = 1;
    viewport.scissorCount = 1;
    VkPipelineRasterizationStateCreateInfo rasterization{};
    rasterization.sType = VK_STRUCTURE_TYPE_PIPELINE_RASTERIZATION_STATE_CREATE_INFO;
    rasterization.depthClampEnable = !raster.DepthClipEnable && device_.features().depthClamp ? VK_TRUE : VK_FALSE;
    rasterization.polygonMode = raster.FillMode == D3D11_FILL_WIREFRAME && device_.features().fillModeNonSolid
                                    ? VK_POLYGON_MODE_LINE
                                    : VK_POLYGON_MODE_FILL;
    rasterization.cullMode = VkCullModeFlags(raster.CullMode - 1);
    // The flipped viewport keeps the render target's y down, so the platform's windings hold as they are.
    rasterization.frontFace = raster.FrontCounterClockwise ? VK_FRONT_FACE_COUNTER_CLOCKWISE : VK_FRONT_FACE_CLOCKWISE;
    rasterization.depthBiasEnable = raster.DepthBias != 0 || raster.SlopeScaledDepthBias != 0.0f ? VK_TRUE : VK_FALSE;
    rasterization.depthBiasConstantFactor = float(raster.DepthBias);
    rasterization.depthBiasClamp = device_.features().depthBiasClamp ? raster.DepthBiasClamp : 0.0f;
    rasterization.depthBiasSlopeFactor = raster.SlopeScaledDepthBias;
    rasterization.lineWidth = 1.0f;
    VkPipelineMultisampleStateCreateInfo multisample{};
    multisample.sType = VK_STRUCTURE_TYPE_PIPELINE_MULTISAMPLE_STATE_CREATE_INFO;
    multisample.rasterizationSamples = VK_SAMPLE_COUNT_1_BIT;
    const VkSampleMask sampleMask = state.sampleMask;
    multisample.pSampleMask = &sampleMask;
    multisample.alphaToCoverageEnable = state.blend.AlphaToCoverageEnable ? VK_TRUE : VK_FALSE;
    VkPipelineDepthStencilStateCreateInfo depthStencil{};
    depthStencil.sType = VK_STRUCTURE_TYPE_PIPELINE_DEPTH_STENCIL_STATE_CREATE_INFO;
    depthStencil.depthTestEnable = depth.DepthEnable ? VK_TRUE : VK_FALSE;
    depthStencil.depthWriteEnable = depth.DepthEnable && depth.DepthWriteMask == D3D11_DEPTH_WRITE_MASK_ALL;
    depthStencil.depthCompareOp = depth.DepthEnable ? Compare(depth.DepthFunc) : VK_COMPARE_OP_ALWAYS;
    depthStencil.stencilTestEnable = depth.StencilEnable ? VK_TRUE : VK_FALSE;
    auto face = [&](const D3D11_DEPTH_STENCILOP_DESC& op) {
        return VkStencilOpState{Stencil(op.StencilFailOp),
                                Stencil(op.StencilPassOp),
                                Stencil(op.StencilDepthFailOp),
                                Compare(op.StencilFunc),
                                depth.StencilReadMask,
                                depth.StencilWriteMask,
                                0};
    };
    // Without the stencil test its fields may all be 0, which name no operation.
    if (depth.StencilEnable) {
        depthStencil.front = face(depth.FrontFace);
        depthStencil.back = face(depth.BackFace);
    }
    VkPipelineColorBlendStateCreateInfo blend{};
    blend.sType = VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO;
    blend.attachmentCount = uint32_t(blends.size());
    blend.pAttachments = blends.data();
    const VkDynamicState dynamics[] = {VK_DYNAMIC_STATE_VIEWPORT, VK_DYNAMIC_STATE_SCISSOR,
                                       VK_DYNAMIC_STATE_BLEND_CONSTANTS, VK_DYNAMIC_STATE_STENCIL_REFERENCE};
    VkPipelineDynamicStateCreateInfo dynamic{};
    dynamic.sType = VK_STRUCTURE_TYPE_PIPELINE_DYNAMIC_STATE_CREATE_INFO;
    dynamic.dynamicStateCount = 4;
    dynamic.pDynamicStates = dynamics;
    VkGraphicsPipelineCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_GRAPHICS_PIPELINE_CREATE_INFO;
    info.stageCount = uint32_t(stages.size());
    info.pStages = stages.data();
    info.pVertexInputState = &vertexInput;
    info.pInputAssemblyState = &assembly;
    info.pViewportState = &viewport;
    info.pRasterizationState = &rasterization;
    info.pMultisampleState = &multisample;
    info.pDepthStencilState = &depthStencil;
    info.pColorBlendState = &blend;
    info.pDynamicState = &dynamic;
    info.layout = pipelineLayout_;
    info.renderPass = renderPass;
    VkPipeline pipeline = VK_NULL_HANDLE;
    if (vkCreateGraphicsPipelines(device_.device(), VK_NULL_HANDLE, 1, &info, nullptr, &pipeline) != VK_SUCCESS) {
        return VK_NULL_HANDLE;
    }
    pipelines_[key] = pipeline;
    return pipeline;
}

void VulkanRenderer::Draw(const DrawState& state, const DrawCall& call)
{
    if (state.viewportCount == 0 || !MakeLayout()) return;
    VkDevice device = device_.device();
    // The targets: one view each, and the area that all of them cover.
    Targets targets;
    auto addTarget = [&](const BoundTextureView& bound) {
        auto& resource = static_cast<VulkanResource&>(*bound.resource);
        targets.views.push_back(TargetView(bound));
        targets.width = std::min(targets.width, resource.shape().WidthAt(bound.range.firstMip));
        targets.height = std::min(targets.height, resource.shape().HeightAt(bound.range.firstMip));
    };
    for (const BoundTextureView& target : state.renderTargets) {
        if (target.resource != nullptr) addTarget(target);
    }
    if (state.depthStencil.resource != nullptr) addTarget(state.depthStencil);
    if (targets.views.empty()) return;  // nothing would be written

    const VkRenderPass renderPass = RenderPassFor(state);
    const VkPipeline pipeline = renderPass != VK_NULL_HANDLE ? PipelineFor(state, renderPass) : VK_NULL_HANDLE;
    const bool viewsMade = std::find(targets.views.begin(), targets.views.end(), VK_NULL_HANDLE) == targets.views.end();
    const VkFramebuffer framebuffer = pipeline != VK_NULL_HANDLE && viewsMade
                                          ? FramebufferFor(renderPass, targets.views, targets.width, targets.height)
                                          : VK_NULL_HANDLE;
    if (framebuffer == VK_NULL_HANDLE) return;
    std::vector<VkDescriptorBufferInfo> buffers;
    std::vector<VkDescriptorImageInfo> images;
    buffers.reserve(2 * kConstantSlots);
    images.reserve(2 * (kTextureSlots + kSamplerSlots));
    std::vector<VkWriteDescriptorSet> writes;
    std::vector<UINT> writeStages;  // the stage whose set each write fills
    auto write = [&](UINT stage, uint32_t binding, VkDescriptorType type) {
        writeStages.push_back(stage);
        VkWriteDescriptorSet entry{};
        entry.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
        entry.dstBinding = binding;
        entry.descriptorCount = 1;
        entry.descriptorType = type;
        writes.push_back(entry);
        return &writes.back();
    };
    writes.reserve(2 * (kConstantSlots + kTextureSlots + kSamplerSlots));
    // Every binding is written: an empty slot reads the zero buffer or image.
    for (UINT stage = 0; stage < 2; ++stage) {
        BackendResource* const* constants = stage == 0 ? state.vertexConstantBuffers : state.pixelConstantBuffers;
        for (UINT slot = 0; slot < kConstantSlots; ++slot) {
            BackendResource* bound = constants[slot] != nullptr ? constants[slot] : zeroBuffer_.get();
            buffers.push_back({static_cast<VulkanResource*>(bound)->buffer(), 0, VK_WHOLE_SIZE});
            write(stage, kConstantBufferBindingBase + slot, VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER)->pBufferInfo =
                &buffers.back();
        }
        const auto* shader =
            static_cast<const VulkanShader*>(stage == 0 ? state.vertexShader.shader : state.pixelShader.shader);
        for (UINT slot = 0; slot < kTextureSlots; ++slot) {
            // The kind of image the stage declares here (a slot it does not use takes any).
            VkImageViewType type = VK_IMAGE_VIEW_TYPE_2D;
            if (shader != nullptr) {
                auto declared = shader->images().find(kTextureBindingBase + slot);
                if (declared != shader->images().end()) type = ViewTypeOf(declared->second);
            }
            VkImageView view = VK_NULL_HANDLE;
            if (stage == 1 && state.pixelResources[slot].resource != nullptr) {
                view = SampledView(state.pixelResources[slot], type);
            }
            if (view == VK_NULL_HANDLE) view = zeroImages_.View(type);
            images.push_back({VK_NULL_HANDLE, view, VK_IMAGE_LAYOUT_GENERAL});
            write(stage, kTextureBindingBase + slot, VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE)->pImageInfo = &images.back();
        }
        for (UINT slot = 0; slot < kSamplerSlots; ++slot) {
            VkSampler sampler = defaultSampler_;
            if (stage == 1 && state.pixelSamplers[slot] != nullptr) sampler = SamplerFor(*state.pixelSamplers[slot]);
            images.push_back({sampler, VK_NULL_HANDLE, VK_IMAGE_LAYOUT_UNDEFINED});
            write(stage, kSamplerBindingBase + slot, VK_DESCRIPTOR_TYPE_SAMPLER)->pImageInfo = &images.back();
        }
    }
    // Recorded into the open batch: nothing waits for the draw until something needs it done. Everything the
    // recording needs is made beforehand, since it runs under the queue's lock.
    device_.Record([&](VkCommandBuffer commands, uint64_t batch, uint64_t finished) {
        VkDescriptorSet sets[2] = {};
        if (!AllocateSets(batch, finished, sets)) return;
        for (size_t index = 0; index < writes.size(); ++index) writes[index].dstSet = sets[writeStages[index]];
        vkUpdateDescriptorSets(device, uint32_t(writes.size()), writes.data(), 0, nullptr);

        VkRenderPassBeginInfo begin{};
        begin.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
        begin.renderPass = renderPass;
        begin.framebuffer = framebuffer;
        begin.renderArea = {{0, 0}, {targets.width, targets.height}};
        vkCmdBeginRenderPass(commands, &begin, VK_SUBPASS_CONTENTS_INLINE);
        vkCmdBindPipeline(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline);
        vkCmdBindDescriptorSets(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout_, 0, 2, sets, 0, nullptr);
        const D3D11_VIEWPORT& area = state.viewports[0];
        // A negative height flips y, so that y grows downwards as on the platform.
        const VkViewport viewport{area.TopLeftX, area.TopLeftY + area.Height, area.Width, -area.Height, area.MinDepth,
                                  area.MaxDepth};
        vkCmdSetViewport(commands, 0, 1, &viewport);
        VkRect2D scissor{{0, 0}, {targets.width, targets.height}};
        if (state.rasterizer.ScissorEnable) {
            scissor = {{0, 0}, {0, 0}};  // without a rectangle nothing passes
            if (state.scissorCount > 0) {
                const D3D11_RECT& rect = state.scissors[0];
                const LONG left = std::max<LONG>(rect.left, 0);
                const LONG top = std::max<LONG>(rect.top, 0);
                scissor = {{INT(left), INT(top)},
                           {UINT(std::max<LONG>(std::min<LONG>(rect.right, targets.width) - left, 0)),
                            UINT(std::max<LONG>(std::min<LONG>(rect.bottom, targets.height) - top, 0))}};
            }
        }
        vkCmdSetScissor(commands, 0, 1, &scissor);
        vkCmdSetBlendConstants(commands, state.blendFactor);
        vkCmdSetStencilReference(commands, VK_STENCIL_FACE_FRONT_AND_BACK, state.stencilReference);
        for (UINT slot = 0; slot < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
            const BoundBuffer& bound = state.vertexBuffers[slot];
            if (bound.resource == nullptr) continue;
            const VkBuffer buffer = static_cast<VulkanResource*>(bound.resource)->buffer();
            const VkDeviceSize offset = bound.offset;
            vkCmdBindVertexBuffers(commands, slot, 1, &buffer, &offset);
        }
        // An element whose slot has no buffer reads zeros: its stride is 0, so every vertex reads the zero buffer's start.
        if (state.inputElements != nullptr) {
            for (const D3D11_INPUT_ELEMENT_DESC& element : *state.inputElements) {
                if (state.vertexBuffers[element.InputSlot].resource != nullptr) continue;
                const VkBuffer zero = static_cast<VulkanResource*>(zeroBuffer_.get())->buffer();
                const VkDeviceSize start = 0;
                vkCmdBindVertexBuffers(commands, element.InputSlot, 1, &zero, &start);
            }
        }
        if (call.indexed && state.indexBuffer.resource != nullptr) {
            vkCmdBindIndexBuffer(
                commands, static_cast<VulkanResource*>(state.indexBuffer.resource)->buffer(), state.indexBuffer.offset,
                state.indexFormat == DXGI_FORMAT_R16_UINT ? VK_INDEX_TYPE_UINT16 : VK_INDEX_TYPE_UINT32);
            vkCmdDrawIndexed(commands, call.count, call.instanceCount, call.start, call.baseVertex, call.startInstance);
        } else if (!call.indexed) {
            vkCmdDraw(commands, call.count, call.instanceCount, call.start, call.startInstance);
        }
        vkCmdEndRenderPass(commands);
    });
}

}  // namespace halvo::d3d11::vulkan
