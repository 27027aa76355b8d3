#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/vulkan/vulkan_device.h"
#include "winapi/d3d11/vulkan/vulkan_spirv.h"

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
    // The code as our compiler wrote it.
    const std::vector<uint32_t>& words() const { return words_; }
    // Unique for the process's life, so caches never mistake a new shader for a destroyed one.
    uint64_t serial() const { return serial_; }
    // The vertex stage's outputs by semantic.
    const std::map<std::string, uint32_t>& outputLocations() const { return outputLocations_; }
    // The kind of image the code declares at each texture register it uses.
    const std::map<uint32_t, DeclaredImage>& images() const { return images_; }

private:
    VulkanShader(VulkanDevice& device, ShaderStage stage) : device_(device), stage_(stage) {}

    VulkanDevice& device_;
    ShaderStage stage_;
    VkShaderModule module_ = VK_NULL_HANDLE;
    std::vector<uint32_t> words_;
    uint64_t serial_ = 0;
    std::map<std::string, uint32_t> outputLocations_;
    std::map<uint32_t, DeclaredImage> images_;
};

// A shader module of prepared code; VK_NULL_HANDLE when the device refuses it.
VkShaderModule CreateModule(VulkanDevice& device, const std::vector<uint32_t>& words, ShaderStage stage);

}  // namespace halvo::d3d11::vulkan
