#include "winapi/d3d11/vulkan/vulkan_shader.h"

#include "winapi/d3d11/vulkan/vulkan_spirv.h"

namespace halvo::d3d11::vulkan {

std::unique_ptr<VulkanShader> VulkanShader::Create(VulkanDevice& device, ShaderStage stage, const uint32_t* words,
                                                   size_t wordCount) {
  std::unique_ptr<VulkanShader> shader(new VulkanShader(device, stage));
  const std::vector<uint32_t> module = PrepareModule(words, wordCount, stage, device.hlslDecorations());
  VkShaderModuleCreateInfo info{};
  info.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
  info.codeSize = module.size() * sizeof(uint32_t);
  info.pCode = module.data();
  if (vkCreateShaderModule(device.device(), &info, nullptr, &shader->module_) != VK_SUCCESS) return nullptr;
  return shader;
}

VulkanShader::~VulkanShader() {
  if (module_ != VK_NULL_HANDLE) vkDestroyShaderModule(device_.device(), module_, nullptr);
}

}  // namespace halvo::d3d11::vulkan
