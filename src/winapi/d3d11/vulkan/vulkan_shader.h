#pragma once

#include <memory>
#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/vulkan/vulkan_device.h"

namespace halvo::d3d11::vulkan {

// One vertex or pixel shader: its module, made from the prepared SPIR-V.
class VulkanShader final : public BackendShader {
 public:
  // Null when the device refuses the module.
  static std::unique_ptr<VulkanShader> Create(VulkanDevice& device, ShaderStage stage, const uint32_t* words,
                                              size_t wordCount);
  ~VulkanShader() override;

  ShaderStage stage() const { return stage_; }
  VkShaderModule module() const { return module_; }

 private:
  VulkanShader(VulkanDevice& device, ShaderStage stage) : device_(device), stage_(stage) {}

  VulkanDevice& device_;
  ShaderStage stage_;
  VkShaderModule module_ = VK_NULL_HANDLE;
};

}  // namespace halvo::d3d11::vulkan
