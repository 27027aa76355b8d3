#include "winapi/d3d11/vulkan/vulkan_draw.h"

#include <algorithm>
#include <cctype>
#include <cstring>
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
// A stage's set is written in three runs of consecutive bindings, one run per kind.
static_assert(kTextureSlots == kSamplerBindingBase - kTextureBindingBase,
              "the textures' run ends where samplers start");
static_assert(kSamplerSlots == kConstantBufferBindingBase - kSamplerBindingBase,
              "the samplers' run ends where constants start");

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
        const char c = name[at] >= 'a' && name[at] <= 'z' ? char(name[at] - 'a' + 'A') : name[at];
        if (at >= upper.size() || upper[at] != c) return false;
    }
    return at == upper.size();
}

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
    zeroView2D_ = zeroImages_.View(VK_IMAGE_VIEW_TYPE_2D);
    if (zeroBuffer_ == nullptr || zeroView2D_ == VK_NULL_HANDLE) return false;
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
    // Four-byte fields only: no padding.
    if (lastSampler_ != VK_NULL_HANDLE && std::memcmp(&lastSamplerDesc_, &desc, sizeof desc) == 0) return lastSampler_;
    std::string key;
    Put(key, desc);
    auto found = samplers_.find(key);
    VkSampler sampler = found != samplers_.end() ? found->second : MakeSampler(device_, desc);
    if (sampler == VK_NULL_HANDLE) return defaultSampler_;
    samplers_[key] = sampler;
    lastSamplerDesc_ = desc;
    lastSampler_ = sampler;
    return sampler;
}

VkDescriptorSet VulkanRenderer::AllocateSet(UINT stage, uint64_t batch, uint64_t finished)
{
    VkDescriptorSet set = VK_NULL_HANDLE;
    auto allocate = [&](DescriptorPool& pool) {
        VkDescriptorSetAllocateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
        info.descriptorPool = pool.pool;
        info.descriptorSetCount = 1;
        info.pSetLayouts = &setLayouts_[stage];
        if (vkAllocateDescriptorSets(device_.device(), &info, &set) != VK_SUCCESS) return false;
        pool.lastBatch = batch;
        return true;
    };
    if (currentPool_ < descriptorPools_.size() && allocate(descriptorPools_[currentPool_])) return set;
    for (size_t index = 0; index < descriptorPools_.size(); ++index) {
        if (descriptorPools_[index].lastBatch > finished) continue;
        vkResetDescriptorPool(device_.device(), descriptorPools_[index].pool, 0);
        currentPool_ = index;
        if (allocate(descriptorPools_[index])) return set;
    }
    constexpr uint32_t kSetsPerPool = 256;
    const VkDescriptorPoolSize sizes[] = {{VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE, kTextureSlots * kSetsPerPool},
                                          {VK_DESCRIPTOR_TYPE_SAMPLER, kSamplerSlots * kSetsPerPool},
                                          {VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, kConstantSlots * kSetsPerPool}};
    VkDescriptorPoolCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    info.maxSets = kSetsPerPool;
    info.poolSizeCount = 3;
    info.pPoolSizes = sizes;
    DescriptorPool made{VK_NULL_HANDLE, 0};
    if (vkCreateDescriptorPool(device_.device(), &info, nullptr, &made.pool) != VK_SUCCESS) return VK_NULL_HANDLE;
    descriptorPools_.push_back(made);
    currentPool_ = descriptorPools_.size() - 1;
    return allocate(descriptorPools_.back()) ? set : VK_NULL_HANDLE;
}

void VulkanRenderer::FillBindings(const DrawState& state, UINT stage, StageBindings& bindings)
{
    std::memset(&bindings, 0, sizeof bindings);  // compared byte for byte, padding included
    BackendResource* const* constants = stage == 0 ? state.vertexConstantBuffers : state.pixelConstantBuffers;
    const VkDeviceSize mostConstants = device_.properties().limits.maxUniformBufferRange;
    for (UINT slot = 0; slot < kConstantSlots; ++slot) {
        if (constants[slot] == nullptr) {
            bindings.constants[slot] = {static_cast<VulkanResource*>(zeroBuffer_.get())->buffer(), 0, VK_WHOLE_SIZE};
            continue;
        }
        auto* buffer = static_cast<VulkanResource*>(constants[slot]);
        bindings.constants[slot] = {buffer->buffer(), buffer->offset(),
                                    std::min<VkDeviceSize>(buffer->shape().width, mostConstants)};
    }
    // The kind of image the stage declares in each slot (a slot it does not use takes any).
    VkImageViewType types[kTextureSlots];
    std::fill(types, types + kTextureSlots, VK_IMAGE_VIEW_TYPE_2D);
    const auto* shader =
        static_cast<const VulkanShader*>(stage == 0 ? state.vertexShader.shader : state.pixelShader.shader);
    if (shader != nullptr) {
        for (const auto& [binding, declared] : shader->images()) {
            const uint32_t slot = binding - kTextureBindingBase;  // past the slots when below them
            if (slot < kTextureSlots) types[slot] = ViewTypeOf(declared);
        }
    }
    for (UINT slot = 0; slot < kTextureSlots; ++slot) {
        VkImageView view = VK_NULL_HANDLE;
        if (stage == 1 && state.pixelResources[slot].resource != nullptr) {
            view = SampledView(state.pixelResources[slot], types[slot]);
        }
        if (view == VK_NULL_HANDLE) {
            view = types[slot] == VK_IMAGE_VIEW_TYPE_2D ? zeroView2D_ : zeroImages_.View(types[slot]);
        }
        bindings.textures[slot] = {VK_NULL_HANDLE, view, VK_IMAGE_LAYOUT_GENERAL};
    }
    for (UINT slot = 0; slot < kSamplerSlots; ++slot) {
        VkSampler sampler = defaultSampler_;
        if (stage == 1 && state.pixelSamplers[slot] != nullptr) sampler = SamplerFor(*state.pixelSamplers[slot]);
        bindings.samplers[slot] = {sampler, VK_NULL_HANDLE, VK_IMAGE_LAYOUT_UNDEFINED};
    }
}

VkDescriptorSet VulkanRenderer::SetFor(UINT stage, const StageBindings& bindings, uint64_t batch, uint64_t finished)
{
    StageSet& cached = sets_[stage];
    if (cached.set != VK_NULL_HANDLE && cached.batch == batch &&
        std::memcmp(&cached.bindings, &bindings, sizeof bindings) == 0) {
        return cached.set;
    }
    const VkDescriptorSet set = AllocateSet(stage, batch, finished);
    if (set == VK_NULL_HANDLE) return VK_NULL_HANDLE;
    VkWriteDescriptorSet writes[3] = {};
    for (VkWriteDescriptorSet& write : writes) {
        write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
        write.dstSet = set;
    }
    writes[0].dstBinding = kConstantBufferBindingBase;
    writes[0].descriptorCount = kConstantSlots;
    writes[0].descriptorType = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
    writes[0].pBufferInfo = bindings.constants;
    writes[1].dstBinding = kTextureBindingBase;
    writes[1].descriptorCount = kTextureSlots;
    writes[1].descriptorType = VK_DESCRIPTOR_TYPE_SAMPLED_IMAGE;
    writes[1].pImageInfo = bindings.textures;
    writes[2].dstBinding = kSamplerBindingBase;
    writes[2].descriptorCount = kSamplerSlots;
    writes[2].descriptorType = VK_DESCRIPTOR_TYPE_SAMPLER;
    writes[2].pImageInfo = bindings.samplers;
    vkUpdateDescriptorSets(device_.device(), 3, writes, 0, nullptr);
    cached = {set, batch, bindings};
    return set;
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
    // Most draws make the pipeline of the draw before.
    PipelineInputs inputs;
    std::memset(&inputs, 0, sizeof inputs);  // compared byte for byte, padding included
    inputs.renderPass = renderPass;
    inputs.vertexShader = vertex->serial();
    inputs.pixelShader = pixel != nullptr ? pixel->serial() : 0;
    inputs.topology = state.topology;
    for (UINT slot = 0; slot < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
        inputs.strides[slot] = state.vertexBuffers[slot].stride;
    }
    inputs.rasterizer = state.rasterizer;
    inputs.depthStencil = state.depthStencilState;
    inputs.blend = state.blend;
    inputs.sampleMask = state.sampleMask;
    for (UINT slot = 0; slot < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++slot) {
        if (state.renderTargets[slot].resource != nullptr)
            inputs.targetFormats[slot] = state.renderTargets[slot].range.format;
    }
    if (lastPipeline_ != VK_NULL_HANDLE && std::memcmp(&inputs, &lastInputs_, sizeof inputs) == 0 &&
        SameElements(state.inputElements)) {
        return lastPipeline_;
    }
    const VkPipeline pipeline = MakePipeline(state, renderPass);
    if (pipeline == VK_NULL_HANDLE) return VK_NULL_HANDLE;
    std::memcpy(&lastInputs_, &inputs, sizeof inputs);
    lastElements_.clear();
    lastElementNames_.clear();
    if (state.inputElements != nullptr) {
        lastElements_ = *state.inputElements;
        for (const D3D11_INPUT_ELEMENT_DESC& element : lastElements_)
            lastElementNames_.emplace_back(element.SemanticName);
    }
    lastPipeline_ = pipeline;
    return pipeline;
}

bool VulkanRenderer::SameElements(const std::vector<D3D11_INPUT_ELEMENT_DESC>* elements) const
{
    const size_t count = elements != nullptr ? elements->size() : 0;
    if (count != lastElements_.size()) return false;
    for (size_t index = 0; index < count; ++index) {
        const D3D11_INPUT_ELEMENT_DESC& a = (*elements)[index];
        const D3D11_INPUT_ELEMENT_DESC& b = lastElements_[index];
        if (a.SemanticIndex != b.SemanticIndex || a.Format != b.Format || a.InputSlot != b.InputSlot ||
            a.AlignedByteOffset != b.AlignedByteOffset || a.InputSlotClass != b.InputSlotClass ||
            a.InstanceDataStepRate != b.InstanceDataStepRate || lastElementNames_[index] != a.SemanticName) {
            return false;
        }
    }
    return true;
}

VkPipeline VulkanRenderer::MakePipeline(const DrawState& state, VkRenderPass renderPass)
{
    auto* vertex = static_cast<VulkanShader*>(state.vertexShader.shader);
    auto* pixel = static_cast<VulkanShader*>(state.pixelShader.shader);
    // The key and the descriptions are built in buffers kept from draw to draw, which keeps a look-up free of
    // allocations.
    std::string& key = pipelineKey_;
    key.clear();
    Put(key, renderPass);
    Put(key, vertex->serial());
    Put(key, pixel != nullptr ? pixel->serial() : 0);
    Put(key, state.topology);

    // Vertex input: each element reaches the vertex input of its semantic.
    std::vector<VkVertexInputAttributeDescription>& attributes = attributes_;
    std::vector<VkVertexInputBindingDescription>& bindings = bindings_;
    attributes.clear();
    bindings.clear();
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
    std::vector<VkPipelineColorBlendAttachmentState>& blends = blends_;
    blends.clear();
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

bool VulkanRenderer::TargetsOf(const DrawState& state, PassTargets& targets, std::vector<VkImageView>& views)
{
    targets.width = targets.height = ~0u;
    auto add = [&](const BoundTextureView& bound, uint32_t slot) {
        auto& resource = static_cast<VulkanResource&>(*bound.resource);
        const VkImageView view = TargetView(bound);
        if (view == VK_NULL_HANDLE) return false;
        views.push_back(view);
        PassAttachment attachment;
        attachment.image = resource.image();
        attachment.aspects = AspectsOf(resource.format());
        attachment.format =
            attachment.aspects == VK_IMAGE_ASPECT_COLOR_BIT ? ToVulkanFormat(bound.range.format) : resource.format();
        attachment.mip = bound.range.firstMip;
        attachment.firstSlice = bound.range.firstSlice;
        attachment.sliceCount = bound.range.sliceCount;
        attachment.width = resource.shape().WidthAt(bound.range.firstMip);
        attachment.height = resource.shape().HeightAt(bound.range.firstMip);
        attachment.colourSlot = slot;
        targets.attachments.push_back(attachment);
        targets.width = std::min(targets.width, attachment.width);
        targets.height = std::min(targets.height, attachment.height);
        return true;
    };
    for (UINT slot = 0; slot < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++slot) {
        const BoundTextureView& target = state.renderTargets[slot];
        if (target.resource == nullptr) continue;
        targets.colourFormats.resize(slot + 1, VK_FORMAT_UNDEFINED);
        targets.colourFormats[slot] = ToVulkanFormat(target.range.format);
        if (!add(target, slot)) return false;
    }
    if (state.depthStencil.resource != nullptr) {
        targets.depthFormat = static_cast<VulkanResource&>(*state.depthStencil.resource).format();
        if (!add(state.depthStencil, 0)) return false;
    }
    return !views.empty();  // without targets nothing would be written
}

namespace {

// Whether every vertex input comes from one buffer, per vertex, into a shader that does not see vertex numbers
// (which a shift of the draw's vertices would change); its slot in `slot`.
bool OneVertexBuffer(const DrawState& state, UINT* slot)
{
    if (state.inputElements == nullptr || state.vertexShader.inputs == nullptr) return false;
    // The stage's built-in inputs are the vertex and instance numbers.
    for (const SignatureElement& input : *state.vertexShader.inputs) {
        if (input.systemValue) return false;
    }
    UINT bound = 0;
    for (UINT at = 0; at < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++at) {
        if (state.vertexBuffers[at].resource == nullptr) continue;
        *slot = at;
        ++bound;
    }
    if (bound != 1) return false;
    for (const D3D11_INPUT_ELEMENT_DESC& element : *state.inputElements) {
        if (element.InputSlot == *slot && element.InputSlotClass != D3D11_INPUT_PER_VERTEX_DATA) return false;
    }
    return true;
}

}  // namespace

void VulkanRenderer::Draw(const DrawState& state, const DrawCall& call)
{
    if (state.viewportCount == 0 || !MakeLayout()) return;
    // Most draws go to the targets of the draw before: what was found for them is kept until one of their views goes.
    TargetsKey key;
    std::memset(static_cast<void*>(&key), 0, sizeof key);  // compared byte for byte, padding included
    key.viewGeneration = device_.ViewGeneration();
    for (UINT slot = 0; slot < D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT; ++slot) {
        key.resources[slot] = state.renderTargets[slot].resource;
        if (key.resources[slot] != nullptr) key.ranges[slot] = state.renderTargets[slot].range;
    }
    key.resources[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT] = state.depthStencil.resource;
    if (state.depthStencil.resource != nullptr)
        key.ranges[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT] = state.depthStencil.range;
    if (lastTargetsPass_ == VK_NULL_HANDLE || std::memcmp(&key, &lastTargetsKey_, sizeof key) != 0) {
        lastTargetsPass_ = VK_NULL_HANDLE;
        PassTargets found;
        std::vector<VkImageView> views;
        if (!TargetsOf(state, found, views)) return;
        const VkRenderPass compatible = device_.CompatiblePass(found.colourFormats, found.depthFormat);
        if (compatible == VK_NULL_HANDLE) return;
        found.framebuffer = FramebufferFor(compatible, views, found.width, found.height);
        if (found.framebuffer == VK_NULL_HANDLE) return;
        lastTargets_ = std::move(found);
        std::memcpy(static_cast<void*>(&lastTargetsKey_), &key, sizeof key);
        lastTargetsPass_ = compatible;
    }
    const PassTargets& targets = lastTargets_;
    const VkPipeline pipeline = PipelineFor(state, lastTargetsPass_);
    if (pipeline == VK_NULL_HANDLE) return;
    StageBindings bindings[2];
    for (UINT stage = 0; stage < 2; ++stage) FillBindings(state, stage, bindings[stage]);

    // What the draw binds, so that only what changed since the last draw of the pass is bound again.
    Bound wanted;
    wanted.pipeline = pipeline;
    const D3D11_VIEWPORT& area = state.viewports[0];
    // A negative height flips y, so that y grows downwards as on the platform.
    wanted.viewport = {area.TopLeftX, area.TopLeftY + area.Height, area.Width, -area.Height, area.MinDepth,
                       area.MaxDepth};
    wanted.scissor = {{0, 0}, {targets.width, targets.height}};
    if (state.rasterizer.ScissorEnable) {
        wanted.scissor = {{0, 0}, {0, 0}};  // without a rectangle nothing passes
        if (state.scissorCount > 0) {
            const D3D11_RECT& rect = state.scissors[0];
            const LONG left = std::max<LONG>(rect.left, 0);
            const LONG top = std::max<LONG>(rect.top, 0);
            wanted.scissor = {{INT(left), INT(top)},
                              {UINT(std::max<LONG>(std::min<LONG>(rect.right, targets.width) - left, 0)),
                               UINT(std::max<LONG>(std::min<LONG>(rect.bottom, targets.height) - top, 0))}};
        }
    }
    std::copy(state.blendFactor, state.blendFactor + 4, wanted.blendConstants);
    wanted.stencilReference = state.stencilReference;
    std::vector<VulkanResource*>& read = read_;  // the buffers the draw reads
    read.clear();
    for (UINT slot = 0; slot < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
        const BoundBuffer& bound = state.vertexBuffers[slot];
        if (bound.resource == nullptr) continue;
        auto* buffer = static_cast<VulkanResource*>(bound.resource);
        wanted.vertexBuffers[slot] = {buffer->buffer(), buffer->offset() + bound.offset};
        read.push_back(buffer);
    }
    // Vertices from one buffer written anew for each draw are reached by shifting the draw's vertices into the
    // buffer's current version, which keeps the buffer bound as it was.
    int32_t shift = 0;
    UINT slot = 0;
    if (OneVertexBuffer(state, &slot)) {
        const BoundBuffer& bound = state.vertexBuffers[slot];
        uint32_t vertices = 0;
        if (static_cast<VulkanResource*>(bound.resource)->VertexShift(bound.stride, &vertices)) {
            wanted.vertexBuffers[slot].offset = bound.offset;
            shift = int32_t(vertices);
        }
    }
    // An element whose slot has no buffer reads zeros: its stride is 0, so every vertex reads the zero buffer's start.
    if (state.inputElements != nullptr) {
        for (const D3D11_INPUT_ELEMENT_DESC& element : *state.inputElements) {
            if (state.vertexBuffers[element.InputSlot].resource != nullptr) continue;
            wanted.vertexBuffers[element.InputSlot] = {static_cast<VulkanResource*>(zeroBuffer_.get())->buffer(), 0};
        }
    }
    if (call.indexed) {
        if (state.indexBuffer.resource == nullptr) return;
        auto* buffer = static_cast<VulkanResource*>(state.indexBuffer.resource);
        wanted.indexBuffer = {buffer->buffer(), buffer->offset() + state.indexBuffer.offset};
        wanted.indexType = state.indexFormat == DXGI_FORMAT_R16_UINT ? VK_INDEX_TYPE_UINT16 : VK_INDEX_TYPE_UINT32;
        read.push_back(buffer);
    }
    for (BackendResource* const* constants : {state.vertexConstantBuffers, state.pixelConstantBuffers}) {
        for (UINT slot = 0; slot < kConstantSlots; ++slot) {
            if (constants[slot] != nullptr) read.push_back(static_cast<VulkanResource*>(constants[slot]));
        }
    }

    // Recorded into the open batch: nothing waits for the draw until something needs it done. Everything the
    // recording needs is made beforehand, since it runs under the queue's lock.
    device_.RecordDraw(targets, [&](VkCommandBuffer commands, uint64_t batch, uint64_t finished, bool newPass) {
        VkDescriptorSet sets[2];
        for (UINT stage = 0; stage < 2; ++stage) {
            sets[stage] = SetFor(stage, bindings[stage], batch, finished);
            if (sets[stage] == VK_NULL_HANDLE) return;
        }
        for (VulkanResource* buffer : read) buffer->MarkRead(batch);
        if (newPass) bound_ = Bound{};
        if (bound_.pipeline != wanted.pipeline) {
            vkCmdBindPipeline(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, wanted.pipeline);
        }
        for (UINT stage = 0; stage < 2; ++stage) {
            if (bound_.sets[stage] == sets[stage]) continue;
            vkCmdBindDescriptorSets(commands, VK_PIPELINE_BIND_POINT_GRAPHICS, pipelineLayout_, stage, 1, &sets[stage],
                                    0, nullptr);
            bound_.sets[stage] = sets[stage];
        }
        if (newPass || std::memcmp(&bound_.viewport, &wanted.viewport, sizeof wanted.viewport) != 0) {
            vkCmdSetViewport(commands, 0, 1, &wanted.viewport);
        }
        if (newPass || std::memcmp(&bound_.scissor, &wanted.scissor, sizeof wanted.scissor) != 0) {
            vkCmdSetScissor(commands, 0, 1, &wanted.scissor);
        }
        if (newPass || !std::equal(wanted.blendConstants, wanted.blendConstants + 4, bound_.blendConstants)) {
            vkCmdSetBlendConstants(commands, wanted.blendConstants);
        }
        if (newPass || bound_.stencilReference != wanted.stencilReference) {
            vkCmdSetStencilReference(commands, VK_STENCIL_FACE_FRONT_AND_BACK, wanted.stencilReference);
        }
        for (UINT slot = 0; slot < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
            const BoundVertexBuffer& buffer = wanted.vertexBuffers[slot];
            if (buffer.buffer == VK_NULL_HANDLE || buffer == bound_.vertexBuffers[slot]) continue;
            vkCmdBindVertexBuffers(commands, slot, 1, &buffer.buffer, &buffer.offset);
        }
        if (call.indexed && (wanted.indexBuffer != bound_.indexBuffer || wanted.indexType != bound_.indexType)) {
            vkCmdBindIndexBuffer(commands, wanted.indexBuffer.buffer, wanted.indexBuffer.offset, wanted.indexType);
        }
        if (call.indexed) {
            vkCmdDrawIndexed(commands, call.count, call.instanceCount, call.start, call.baseVertex + shift,
                             call.startInstance);
        } else {
            vkCmdDraw(commands, call.count, call.instanceCount, call.start + uint32_t(shift), call.startInstance);
        }
        const BoundVertexBuffer indexBuffer = call.indexed ? wanted.indexBuffer : bound_.indexBuffer;
        const VkIndexType indexType = call.indexed ? wanted.indexType : bound_.indexType;
        const VkDescriptorSet keptSets[2] = {bound_.sets[0], bound_.sets[1]};
        const Bound previous = bound_;
        bound_ = wanted;
        for (UINT slot = 0; slot < D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT; ++slot) {
            if (wanted.vertexBuffers[slot].buffer == VK_NULL_HANDLE)
                bound_.vertexBuffers[slot] = previous.vertexBuffers[slot];
        }
        bound_.indexBuffer = indexBuffer;
        bound_.indexType = indexType;
        std::copy(keptSets, keptSets + 2, bound_.sets);
    });
}

}  // namespace halvo::d3d11::vulkan
