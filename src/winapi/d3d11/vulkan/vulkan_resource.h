#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/format_table.h"
#include "winapi/d3d11/vulkan/vulkan_device.h"

namespace halvo::d3d11::vulkan {

// What distinguishes one view of an image from another.
struct ViewKey {
    VkImageViewType type = VK_IMAGE_VIEW_TYPE_2D;
    VkFormat format = VK_FORMAT_UNDEFINED;
    VkImageAspectFlags aspects = VK_IMAGE_ASPECT_COLOR_BIT;
    uint32_t firstMip = 0;
    uint32_t mipCount = 1;
    uint32_t firstSlice = 0;
    uint32_t sliceCount = 1;
    bool alphaOne = false;  // the view reads alpha as 1 (formats without alpha)
    auto operator<=>(const ViewKey&) const = default;
};

// One buffer or texture. Buffers and staging textures live in host-visible
// buffers laid out as the platform maps them (rows without gaps, one
// subresource after the other), so Map answers their memory directly. Other
// textures are images in device memory, always in the GENERAL layout; the
// CPU reaches them through staging buffers.
class VulkanResource final : public BackendResource {
public:
    // Null when the device cannot hold the resource.
    static std::unique_ptr<VulkanResource> Create(VulkanDevice& device, const ResourceShape& shape,
                                                  const D3D11_SUBRESOURCE_DATA* initial);
    ~VulkanResource() override;

    void* Map(UINT subresource, D3D11_MAP type, UINT* rowPitch, UINT* depthPitch) override;
    void Unmap(UINT subresource) override;
    void Write(UINT subresource, const D3D11_BOX& box, const void* data, UINT rowPitch) override;
    void CopyRegion(UINT subresource, UINT x, UINT y, BackendResource& source, UINT sourceSubresource,
                    const D3D11_BOX& box) override;
    void ClearColor(const ViewRange& view, const FLOAT rgba[4]) override;
    void ClearDepthStencil(const ViewRange& view, UINT clearFlags, FLOAT depth, UINT8 stencil) override;
    void GenerateMips(const ViewRange& view) override;

    // A view of the image, made on first use and kept while the resource lives;
    // VK_NULL_HANDLE when the device refuses it.
    VkImageView View(const ViewKey& key);

    VkImage image() const { return image_; }
    VkBuffer buffer() const { return linear_.buffer; }
    VkFormat format() const { return format_; }
    const ResourceShape& shape() const { return shape_; }

private:
    struct Mapping {
        DeviceBuffer staging;
        D3D11_MAP type = D3D11_MAP_READ;
    };

    VulkanResource(VulkanDevice& device, const ResourceShape& shape);
    bool Allocate(const D3D11_SUBRESOURCE_DATA* initial);
    bool AllocateImage();

    UINT RowPitch(UINT subresource) const;
    UINT Rows(UINT subresource) const;
    D3D11_BOX WholeBox(UINT subresource) const;

    // A tightly packed copy of a box of an image subresource in a host buffer;
    // and the reverse, a packed host buffer into the box's place at (x, y).
    DeviceBuffer ImageToHost(UINT subresource, const D3D11_BOX& box);
    void HostToImage(UINT subresource, UINT x, UINT y, const DeviceBuffer& host, const D3D11_BOX& box);
    // Fills the view's subresources with one texel's bytes.
    void FillWithPattern(const ViewRange& view, const uint8_t* pattern, size_t size);

    VulkanDevice& device_;
    ResourceShape shape_;
    const FormatInfo* info_;  // null for a buffer
    VkFormat format_ = VK_FORMAT_UNDEFINED;
    DeviceBuffer linear_;
    std::vector<VkDeviceSize> offsets_;  // of each subresource inside linear_
    VkImage image_ = VK_NULL_HANDLE;
    VkDeviceMemory imageMemory_ = VK_NULL_HANDLE;
    std::vector<Mapping> mappings_;
    std::mutex viewsLock_;
    std::map<ViewKey, VkImageView> views_;  // guarded by viewsLock_
};

}  // namespace halvo::d3d11::vulkan
