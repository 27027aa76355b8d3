#include "winapi/d3d11/vulkan/vulkan_device.h"

#include <SDL2/SDL_vulkan.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "winapi/d3d11/hooks.h"
#include "winapi/d3d11/vulkan/vulkan_backend.h"
#include "winapi/user/native_window.h"

namespace halvo::d3d11::vulkan {

namespace {

constexpr const char* kValidationLayer = "VK_LAYER_KHRONOS_validation";

std::atomic<unsigned> validationMessages{0};

VKAPI_ATTR VkBool32 VKAPI_CALL CountMessage(VkDebugUtilsMessageSeverityFlagBitsEXT, VkDebugUtilsMessageTypeFlagsEXT,
                                            const VkDebugUtilsMessengerCallbackDataEXT* data, void*)
{
    validationMessages.fetch_add(1);
    hooks::LogMessage(std::string("D3D11 WARNING: Vulkan validation: ") + (data->pMessage ? data->pMessage : ""));
    return VK_FALSE;
}

bool ValidationWanted()
{
    const char* setting = std::getenv("HALVO_VULKAN_VALIDATION");
    if (setting == nullptr || std::strcmp(setting, "1") != 0) return false;
    uint32_t count = 0;
    vkEnumerateInstanceLayerProperties(&count, nullptr);
    std::vector<VkLayerProperties> layers(count);
    vkEnumerateInstanceLayerProperties(&count, layers.data());
    for (const VkLayerProperties& layer : layers) {
        if (std::strcmp(layer.layerName, kValidationLayer) == 0) return true;
    }
    return false;
}

// A GPU first; a CPU device only when there is no GPU.
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

// The surface extensions the window system of the real windows needs (none
// without a display), where the loader offers them all.
std::vector<const char*> SurfaceExtensions()
{
    unsigned wanted = 0;
    if (!HVU_DisplayPresent() || !SDL_Vulkan_GetInstanceExtensions(nullptr, &wanted, nullptr)) return {};
    std::vector<const char*> names(wanted);
    if (!SDL_Vulkan_GetInstanceExtensions(nullptr, &wanted, names.data())) return {};
    uint32_t count = 0;
    vkEnumerateInstanceExtensionProperties(nullptr, &count, nullptr);
    std::vector<VkExtensionProperties> offered(count);
    vkEnumerateInstanceExtensionProperties(nullptr, &count, offered.data());
    for (const char* name : names) {
        bool found = false;
        for (const VkExtensionProperties& extension : offered) {
            found = found || std::strcmp(extension.extensionName, name) == 0;
        }
        if (!found) return {};
    }
    return names;
}

template <size_t N>
bool HasExtensions(VkPhysicalDevice device, const char* const (&names)[N])
{
    uint32_t count = 0;
    vkEnumerateDeviceExtensionProperties(device, nullptr, &count, nullptr);
    std::vector<VkExtensionProperties> extensions(count);
    vkEnumerateDeviceExtensionProperties(device, nullptr, &count, extensions.data());
    for (const char* name : names) {
        bool found = false;
        for (const VkExtensionProperties& extension : extensions)
            found = found || std::strcmp(extension.extensionName, name) == 0;
        if (!found) return false;
    }
    return true;
}

}  // namespace

unsigned ValidationMessageCount() { return validationMessages.load(); }

std::unique_ptr<VulkanDevice> VulkanDevice::Create()
{
    std::unique_ptr<VulkanDevice> device(new VulkanDevice());
    if (!device->Start()) return nullptr;
    return device;
}

bool VulkanDevice::Start()
{
    const bool validation = ValidationWanted();
    VkApplicationInfo application{};
    application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    application.pEngineName = "Halvo";
    application.apiVersion = VK_API_VERSION_1_1;
    VkDebugUtilsMessengerCreateInfoEXT messenger{};
    messenger.sType = VK_STRUCTURE_TYPE_DEBUG_UTILS_MESSENGER_CREATE_INFO_EXT;
    messenger.messageSeverity =
        VK_DEBUG_UTILS_MESSAGE_SEVERITY_WARNING_BIT_EXT | VK_DEBUG_UTILS_MESSAGE_SEVERITY_ERROR_BIT_EXT;
    // Performance hints are left out: images stay in the GENERAL layout on purpose.
    messenger.messageType =
        VK_DEBUG_UTILS_MESSAGE_TYPE_GENERAL_BIT_EXT | VK_DEBUG_UTILS_MESSAGE_TYPE_VALIDATION_BIT_EXT;
    messenger.pfnUserCallback = CountMessage;
    // With a display, surfaces of its window system, so that frames can be shown in real windows.
    std::vector<const char*> instanceExtensions = SurfaceExtensions();
    const bool surfaces = !instanceExtensions.empty();
    VkInstanceCreateInfo instanceInfo{};
    instanceInfo.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    instanceInfo.pApplicationInfo = &application;
    if (validation) {
        instanceInfo.pNext = &messenger;  // also covers instance creation and destruction
        instanceInfo.enabledLayerCount = 1;
        instanceInfo.ppEnabledLayerNames = &kValidationLayer;
        instanceExtensions.push_back(VK_EXT_DEBUG_UTILS_EXTENSION_NAME);
    }
    instanceInfo.enabledExtensionCount = uint32_t(instanceExtensions.size());
    instanceInfo.ppEnabledExtensionNames = instanceExtensions.data();
    if (vkCreateInstance(&instanceInfo, nullptr, &instance_) != VK_SUCCESS) return false;
    if (validation) {
        auto create = reinterpret_cast<PFN_vkCreateDebugUtilsMessengerEXT>(
            vkGetInstanceProcAddr(instance_, "vkCreateDebugUtilsMessengerEXT"));
        if (create != nullptr) create(instance_, &messenger, nullptr, &messenger_);
    }

    uint32_t count = 0;
    vkEnumeratePhysicalDevices(instance_, &count, nullptr);
    std::vector<VkPhysicalDevice> devices(count);
    vkEnumeratePhysicalDevices(instance_, &count, devices.data());
    int best = 0;
    for (VkPhysicalDevice candidate : devices) {
        VkPhysicalDeviceProperties properties;
        vkGetPhysicalDeviceProperties(candidate, &properties);
        uint32_t families = 0;
        vkGetPhysicalDeviceQueueFamilyProperties(candidate, &families, nullptr);
        std::vector<VkQueueFamilyProperties> familyList(families);
        vkGetPhysicalDeviceQueueFamilyProperties(candidate, &families, familyList.data());
        for (uint32_t family = 0; family < families; ++family) {
            if ((familyList[family].queueFlags & VK_QUEUE_GRAPHICS_BIT) == 0) continue;
            if (Preference(properties.deviceType) > best && properties.apiVersion >= VK_API_VERSION_1_1) {
                best = Preference(properties.deviceType);
                physicalDevice_ = candidate;
                properties_ = properties;
                queueFamily_ = family;
            }
            break;
        }
    }
    if (physicalDevice_ == VK_NULL_HANDLE) return false;
    vkGetPhysicalDeviceMemoryProperties(physicalDevice_, &memory_);

    const float priority = 1.0f;
    VkDeviceQueueCreateInfo queueInfo{};
    queueInfo.sType = VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO;
    queueInfo.queueFamilyIndex = queueFamily_;
    queueInfo.queueCount = 1;
    queueInfo.pQueuePriorities = &priority;
    VkDeviceCreateInfo deviceInfo{};
    deviceInfo.sType = VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO;
    deviceInfo.queueCreateInfoCount = 1;
    deviceInfo.pQueueCreateInfos = &queueInfo;
    // The optional features that the platform's rasteriser and samplers have, where the device has them.
    VkPhysicalDeviceFeatures available{};
    vkGetPhysicalDeviceFeatures(physicalDevice_, &available);
    VkPhysicalDeviceFeatures features{};
    features.depthClamp = available.depthClamp;
    features.depthBiasClamp = available.depthBiasClamp;
    features.fillModeNonSolid = available.fillModeNonSolid;
    features.independentBlend = available.independentBlend;
    features.dualSrcBlend = available.dualSrcBlend;
    features.imageCubeArray = available.imageCubeArray;
    features_ = features;
    deviceInfo.pEnabledFeatures = &features_;
    static const char* const kHlslExtensions[] = {VK_GOOGLE_HLSL_FUNCTIONALITY_1_EXTENSION_NAME,
                                                  VK_GOOGLE_DECORATE_STRING_EXTENSION_NAME};
    hlslDecorations_ = HasExtensions(physicalDevice_, kHlslExtensions);
    static const char* const kSwapchainExtension[] = {VK_KHR_SWAPCHAIN_EXTENSION_NAME};
    presentation_ = surfaces && HasExtensions(physicalDevice_, kSwapchainExtension);
    std::vector<const char*> deviceExtensions;
    if (hlslDecorations_) deviceExtensions.assign(std::begin(kHlslExtensions), std::end(kHlslExtensions));
    if (presentation_) deviceExtensions.push_back(VK_KHR_SWAPCHAIN_EXTENSION_NAME);
    deviceInfo.enabledExtensionCount = uint32_t(deviceExtensions.size());
    deviceInfo.ppEnabledExtensionNames = deviceExtensions.data();
    if (vkCreateDevice(physicalDevice_, &deviceInfo, nullptr, &device_) != VK_SUCCESS) return false;
    vkGetDeviceQueue(device_, queueFamily_, 0, &queue_);

    VkCommandPoolCreateInfo poolInfo{};

    poolInfo.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    poolInfo.flags = VK_COMMAND_POOL_CREATE_TRANSIENT_BIT;
    poolInfo.queueFamilyIndex = queueFamily_;
    if (vkCreateCommandPool(device_, &poolInfo, nullptr, &pool_) != VK_SUCCESS) return false;
    passes_ = std::make_unique<PassRecorder>(device_);
    VkFenceCreateInfo fenceInfo{};
    fenceInfo.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    return vkCreateFence(device_, &fenceInfo, nullptr, &fence_) == VK_SUCCESS;
}

VulkanDevice::~VulkanDevice()
{
    if (device_ != VK_NULL_HANDLE) {
        Sync();
        vkDeviceWaitIdle(device_);
        passes_.reset();
        if (fence_ != VK_NULL_HANDLE) vkDestroyFence(device_, fence_, nullptr);
        if (pool_ != VK_NULL_HANDLE) vkDestroyCommandPool(device_, pool_, nullptr);
        vkDestroyDevice(device_, nullptr);
    }
    if (messenger_ != VK_NULL_HANDLE) {
        auto destroy = reinterpret_cast<PFN_vkDestroyDebugUtilsMessengerEXT>(
            vkGetInstanceProcAddr(instance_, "vkDestroyDebugUtilsMessengerEXT"));
        if (destroy != nullptr) destroy(instance_, messenger_, nullptr);
    }
    if (instance_ != VK_NULL_HANDLE) vkDestroyInstance(instance_, nullptr);
}

VkDeviceMemory VulkanDevice::Allocate(const VkMemoryRequirements& requirements, VkMemoryPropertyFlags wanted)
{
    for (uint32_t type = 0; type < memory_.memoryTypeCount; ++type) {
        if ((requirements.memoryTypeBits & (1u << type)) == 0) continue;
        if ((memory_.memoryTypes[type].propertyFlags & wanted) != wanted) continue;
        VkMemoryAllocateInfo info{};
        info.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
        info.allocationSize = requirements.size;
        info.memoryTypeIndex = type;
        VkDeviceMemory memory = VK_NULL_HANDLE;
        if (vkAllocateMemory(device_, &info, nullptr, &memory) == VK_SUCCESS) return memory;
    }
    return VK_NULL_HANDLE;
}

DeviceBuffer VulkanDevice::CreateHostBuffer(VkDeviceSize size, VkBufferUsageFlags usage)
{
    DeviceBuffer result;
    VkBufferCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
    info.size = size > 0 ? size : 4;
    info.usage = usage;
    info.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    if (vkCreateBuffer(device_, &info, nullptr, &result.buffer) != VK_SUCCESS) return {};
    VkMemoryRequirements requirements;
    vkGetBufferMemoryRequirements(device_, result.buffer, &requirements);
    result.memory = Allocate(requirements, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (result.memory == VK_NULL_HANDLE || vkBindBufferMemory(device_, result.buffer, result.memory, 0) != VK_SUCCESS ||
        vkMapMemory(device_, result.memory, 0, VK_WHOLE_SIZE, 0, &result.mapped) != VK_SUCCESS) {
        Destroy(result);
        return {};
    }
    return result;
}

void VulkanDevice::Destroy(DeviceBuffer& buffer)
{
    if (buffer.buffer != VK_NULL_HANDLE) vkDestroyBuffer(device_, buffer.buffer, nullptr);
    if (buffer.memory != VK_NULL_HANDLE) vkFreeMemory(device_, buffer.memory, nullptr);
    buffer = {};
}

VkCommandBuffer VulkanDevice::OpenBatch()
{
    if (open_ != VK_NULL_HANDLE) return open_;
    VkCommandBufferAllocateInfo allocateInfo{};
    allocateInfo.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
    allocateInfo.commandPool = pool_;
    allocateInfo.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
    allocateInfo.commandBufferCount = 1;
    if (vkAllocateCommandBuffers(device_, &allocateInfo, &open_) != VK_SUCCESS) {
        open_ = VK_NULL_HANDLE;
        return VK_NULL_HANDLE;
    }
    VkCommandBufferBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    begin.flags = VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT;
    vkBeginCommandBuffer(open_, &begin);
    return open_;
}

bool VulkanDevice::Record(const std::function<void(VkCommandBuffer, uint64_t, uint64_t)>& record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    VkCommandBuffer commands = OpenBatch();
    if (commands == VK_NULL_HANDLE) return false;
    passes_->Close(commands);
    FullBarrier(commands);  // the work sees all that was recorded before it
    record(commands, batch_, finished_);
    SubmitWhenLong();
    return true;
}

bool VulkanDevice::RecordDraw(const PassTargets& targets,
                              const std::function<void(VkCommandBuffer, uint64_t, uint64_t, bool)>& record)
{
    std::lock_guard<std::mutex> lock(mutex_);
    VkCommandBuffer commands = OpenBatch();
    if (commands == VK_NULL_HANDLE) return false;
    const bool newPass = !passes_->Continues(targets);
    if (newPass && !passes_->Begin(commands, targets)) return false;
    record(commands, batch_, finished_, newPass);
    SubmitWhenLong();
    return true;
}

bool VulkanDevice::RecordClear(const ImageClear& clear)
{
    std::lock_guard<std::mutex> lock(mutex_);
    VkCommandBuffer commands = OpenBatch();
    if (commands == VK_NULL_HANDLE) return false;
    passes_->Clear(commands, clear);
    return true;
}

VkRenderPass VulkanDevice::CompatiblePass(const std::vector<VkFormat>& colourFormats, VkFormat depthFormat)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return passes_->Compatible(colourFormats, depthFormat);
}

void VulkanDevice::SubmitWhenLong()
{
    // A program that never presents still has its work run, and the batch's memory stays bounded.
    constexpr unsigned kMostPiecesPerBatch = 8192;
    if (++pieces_ >= kMostPiecesPerBatch) SubmitOpen();
}

bool VulkanDevice::WaitForSubmitted()
{
    if (submitted_.commands == VK_NULL_HANDLE) return true;
    const bool done = vkWaitForFences(device_, 1, &fence_, VK_TRUE, UINT64_MAX) == VK_SUCCESS;
    vkResetFences(device_, 1, &fence_);
    vkFreeCommandBuffers(device_, pool_, 1, &submitted_.commands);
    for (DeviceBuffer& buffer : submitted_.retired) Destroy(buffer);
    finished_ = submitted_.batch;
    submitted_ = {};
    return done;
}

bool VulkanDevice::SubmitOpen()
{
    bool done = WaitForSubmitted();
    if (open_ == VK_NULL_HANDLE) return done;
    passes_->Close(open_);
    vkEndCommandBuffer(open_);
    VkSubmitInfo submit{};
    submit.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    submit.commandBufferCount = 1;
    submit.pCommandBuffers = &open_;
    if (vkQueueSubmit(queue_, 1, &submit, fence_) == VK_SUCCESS) {
        submitted_ = {open_, batch_, std::move(retired_)};
    } else {
        // Nothing of the batch will run: what it would have read can go now.
        done = false;
        vkFreeCommandBuffers(device_, pool_, 1, &open_);
        for (DeviceBuffer& buffer : retired_) Destroy(buffer);
        finished_ = batch_;
    }
    retired_.clear();
    open_ = VK_NULL_HANDLE;
    pieces_ = 0;
    ++batch_;
    return done;
}

bool VulkanDevice::Submit()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return SubmitOpen();
}

bool VulkanDevice::Sync()
{
    std::lock_guard<std::mutex> lock(mutex_);
    const bool submitted = SubmitOpen();
    return WaitForSubmitted() && submitted;
}

bool VulkanDevice::Run(const std::function<void(VkCommandBuffer)>& record)
{
    const bool recorded = Record([&](VkCommandBuffer commands, uint64_t, uint64_t) { record(commands); });
    return Sync() && recorded;
}

uint64_t VulkanDevice::FinishedBatch()
{
    std::lock_guard<std::mutex> lock(mutex_);
    // A submitted batch that has run is let go of here, without waiting.
    if (submitted_.commands != VK_NULL_HANDLE && vkGetFenceStatus(device_, fence_) == VK_SUCCESS) WaitForSubmitted();
    return finished_;
}

void VulkanDevice::DestroyAfterSync(DeviceBuffer buffer)
{
    constexpr size_t kMostRetired = 256;  // memory allocations are a limited resource of the device
    bool full = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (open_ != VK_NULL_HANDLE) {
            retired_.push_back(buffer);
            full = retired_.size() >= kMostRetired;
        } else if (submitted_.commands != VK_NULL_HANDLE) {
            submitted_.retired.push_back(buffer);
        } else {
            Destroy(buffer);
        }
    }
    if (full) Sync();
}

void VulkanDevice::SetViewRetirement(std::function<void(VkImageView)> retire)
{
    std::lock_guard<std::mutex> lock(retirementLock_);
    retire_ = std::move(retire);
}

void VulkanDevice::RetireView(VkImageView view)
{
    viewGeneration_.fetch_add(1);
    std::lock_guard<std::mutex> lock(retirementLock_);
    if (retire_) retire_(view);
}

VkResult VulkanDevice::PresentImage(VkSwapchainKHR swapchain, uint32_t index)
{
    std::lock_guard<std::mutex> lock(mutex_);
    VkPresentInfoKHR info{};
    info.sType = VK_STRUCTURE_TYPE_PRESENT_INFO_KHR;
    info.swapchainCount = 1;
    info.pSwapchains = &swapchain;
    info.pImageIndices = &index;
    return vkQueuePresentKHR(queue_, &info);
}

void VulkanDevice::WaitIdle()
{
    std::lock_guard<std::mutex> lock(mutex_);
    vkQueueWaitIdle(queue_);
}

}  // namespace halvo::d3d11::vulkan
