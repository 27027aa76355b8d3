#include "winapi/d3d11/vulkan/vulkan_backend.h"

#include <mutex>

#include "winapi/d3d11/memory/memory_backend.h"
#include "winapi/d3d11/vulkan/vulkan_device.h"
#include "winapi/d3d11/vulkan/vulkan_draw.h"
#include "winapi/d3d11/vulkan/vulkan_presenter.h"
#include "winapi/d3d11/vulkan/vulkan_resource.h"
#include "winapi/d3d11/vulkan/vulkan_shader.h"

namespace halvo::d3d11::vulkan {

namespace {

class VulkanBackend final : public Backend {
public:
    explicit VulkanBackend(std::unique_ptr<VulkanDevice> device)
        : device_(std::move(device)),
          renderer_(std::make_unique<VulkanRenderer>(*device_)),
          presenter_(std::make_unique<VulkanPresenter>(*device_))
    {}

    const char* Name() const override { return "vulkan"; }

    AdapterInfo Describe() const override
    {
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
        // What the 11_1 runtime adds is the object layer's work; the device needs nothing more for it.
        adapter.highestFeatureLevel = D3D_FEATURE_LEVEL_11_1;
        // The outputs are the memory back end's: the screens of the display, else a virtual one.
        adapter.outputs = memory::CreateMemoryBackend()->Describe().outputs;
        return adapter;
    }

    std::unique_ptr<BackendResource> CreateResource(const ResourceShape& shape,
                                                    const D3D11_SUBRESOURCE_DATA* initial) override
    {
        return VulkanResource::Create(*device_, shape, initial);
    }

    std::unique_ptr<BackendShader> CreateShader(ShaderStage stage, const uint32_t* words, size_t wordCount) override
    {
        return VulkanShader::Create(*device_, stage, words, wordCount);
    }

    void Draw(const DrawState& state, const DrawCall& call) override
    {
        std::lock_guard<std::mutex> lock(drawing_);
        renderer_->Draw(state, call);
    }

    // The recorded work goes to the device, as the platform's Flush sends it, without waiting for it.
    void Flush() override { device_->Submit(); }

    // A real window shows the buffer through its swap chain. Without a
    // display nothing can show or read the frame, so presenting only sends it
    // to the device, which runs it while the next is recorded.
    HRESULT Present(BackendResource& buffer, const ResourceShape&, HWND window, UINT syncInterval) override
    {
        HRESULT shown;
        if (presenter_->Present(static_cast<VulkanResource&>(buffer), window, syncInterval, &shown)) return shown;
        device_->Submit();
        return S_OK;
    }

private:
    std::unique_ptr<VulkanDevice> device_;
    std::unique_ptr<VulkanRenderer> renderer_;    // before device_ goes
    std::unique_ptr<VulkanPresenter> presenter_;  // before device_ goes
    std::mutex drawing_;                          // the renderer's caches
};

}  // namespace

std::shared_ptr<Backend> CreateVulkanBackend()
{
    std::unique_ptr<VulkanDevice> device = VulkanDevice::Create();
    if (device == nullptr) return nullptr;
    return std::make_shared<VulkanBackend>(std::move(device));
}

}  // namespace halvo::d3d11::vulkan
