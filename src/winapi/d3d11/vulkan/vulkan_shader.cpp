#include "winapi/d3d11/vulkan/vulkan_shader.h"

#include <atomic>

#include "winapi/d3d11/vulkan/vulkan_spirv.h"

namespace halvo::d3d11::vulkan {

std::unique_ptr<VulkanShader> VulkanShader::Create(VulkanDevice& device, ShaderStage stage, const uint32_t* words,
                                                   size_t wordCount)
{
    static std::atomic<uint64_t> serials{0};
    std::unique_ptr<VulkanShader> shader(new VulkanShader(device, stage));
    shader->words_.assign(words, words + wordCount);
    shader->serial_ = ++serials;
    if (stage == ShaderStage::kVertex) shader->outputLocations_ = OutputLocations(words, wordCount);
    shader->images_ = DeclaredImages(words, wordCount);
    shader->module_ = CreateModule(device, shader->words_, stage);
    if (shader->module_ == VK_NULL_HANDLE) return nullptr;
    return shader;
}

VkShaderModule CreateModule(VulkanDevice& device, const std::vector<uint32_t>& words, ShaderStage stage)
{
    const std::vector<uint32_t> module = PrepareModule(words.data(), words.size(), stage, device.hlslDecorations());
    VkShaderModuleCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
    info.codeSize = module.size() * sizeof(uint32_t);
    info.pCode = module.data();
    VkShaderModule made = VK_NULL_HANDLE;
    if (vkCreateShaderModule(device.device(), &info, nullptr, &made) != VK_SUCCESS) return VK_NULL_HANDLE;
    return made;
}

VulkanShader::~VulkanShader()
{
    if (module_ != VK_NULL_HANDLE) vkDestroyShaderModule(device_.device(), module_, nullptr);
}

}  // namespace halvo::d3d11::vulkan
