#include "winapi/d3d11/vulkan/vulkan_backend.h"

#include <mutex>

#include "winapi/d3d11/vulkan/vulkan_device.h"
#include "winapi/d3d11/vulkan/vulkan_draw.h"
#include "winapi/d3d11/vulkan/vulkan_resource.h"
#include "winapi/d3d11/vulkan/vulkan_shader.h"

namespace halvo::d3d11::vulkan {

namespace {

class VulkanBackend final : public Backend {
 public:
  explicit VulkanBackend(std::unique_ptr<VulkanDevice> device)
      : device_(std::move(device)), renderer_(std::make_unique<VulkanRenderer>(*device_)) {}

  const char* Name() const override { return "vulkan"; }

  AdapterInfo Describe() const override {
    const VkPhysicalDeviceProperties& properties = device_->properties();
    AdapterInfo adapter;
    for (const char* c = properties.deviceName; *c != '\0'; ++c) adapter.description.push_back(wchar_t(*c));
    adapter.vendorId = properties.vendorID;
    adapter.deviceId = properties.deviceID;
    adapter.software = properties.deviceType == VK_PHYSICAL_DEVICE_TYPE_CPU;
    VkPhysicalDeviceMemoryProperties memory;
    vkGetPhysicalDeviceMemoryProperties(device_->physicalDevice(), &memory);
    for (uint32_t heap = 0; heap < memory.memoryHeapCount; ++heap) {
      const bool local = (memory.memoryHeaps[heap].flags & VK_MEMORY_HEAP_DEVICE_LOCAL_BIT) != 0;
      (local && !adapter.software ? adapter.dedicatedVideoMemory : adapter.sharedSystemMemory) +=
          SIZE_T(memory.memoryHeaps[heap].size);
    }
    adapter.highestFeatureLevel = D3D_FEATURE_LEVEL_11_0;
    // Without a display there is one virtual output of the desktop's size.
    OutputInfo output;
    output.name = L"\\\\.\\DISPLAY1";
    output.desktop = {0, 0, 1920, 1080};
    output.modes.push_back({1920, 1080, {60, 1}});
    adapter.outputs.push_back(output);
    return adapter;
  }

  std::unique_ptr<BackendResource> CreateResource(const ResourceShape& shape,
                                                  const D3D11_SUBRESOURCE_DATA* initial) override {
    return VulkanResource::Create(*device_, shape, initial);
  }

  std::unique_ptr<BackendShader> CreateShader(ShaderStage stage, const uint32_t* words, size_t wordCount) override {
    return VulkanShader::Create(*device_, stage, words, wordCount);
  }

  void Draw(const DrawState& state, const DrawCall& call) override {
    std::lock_guard<std::mutex> lock(drawing_);
    renderer_->Draw(state, call);
  }

  void Flush() override {}

  HRESULT Present(BackendResource&, const ResourceShape&, HWND, UINT) override { return S_OK; }

 private:
  std::unique_ptr<VulkanDevice> device_;
  std::unique_ptr<VulkanRenderer> renderer_;  // before device_ goes
  std::mutex drawing_;                        // the renderer's caches
};

}  // namespace

std::shared_ptr<Backend> CreateVulkanBackend() {
  std::unique_ptr<VulkanDevice> device = VulkanDevice::Create();
  if (device == nullptr) return nullptr;
  return std::make_shared<VulkanBackend>(std::move(device));
}

}  // namespace halvo::d3d11::vulkan
