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
//
// The device only ever reads a buffer (as vertices, indices or constants).
// When the CPU writes a buffer that draws of a batch not yet run still read,
// the buffer moves on to the next version of its contents in a ring, so
// neither waits for the other; a ring whose versions are all in use grows.
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
    // Where the current contents start inside buffer().
    VkDeviceSize offset() const { return VkDeviceSize(version_) * versionSize_; }
    // Whether draws reading the buffer's vertices `stride` bytes apart reach
    // the current version by `shift` vertices from the buffer's start; later
    // versions are laid out so that they do.
    bool VertexShift(UINT stride, uint32_t* shift);
    // Told by each draw that reads the buffer in the numbered batch.
    void MarkRead(uint64_t batch);
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

    // The current contents of a subresource of a buffer or staging texture.
    uint8_t* Contents(UINT subresource) const;
    uint8_t* Version(uint32_t index) const;
    // Whether a batch not yet run reads the current version.
    bool Busy() const;
    // Whether a batch not yet run reads the version.
    bool InUse(uint32_t version) const;
    // Makes the next version of a buffer current, keeping the contents when
    // asked; waits for the device only when the ring can grow no further.
    void NextVersion(bool keepContents);
    // The size of a version: the contents rounded up to where versions may start (whole vertices of the stride).
    VkDeviceSize VersionSizeFor(UINT stride) const;

    UINT RowPitch(UINT subresource) const;
    UINT Rows(UINT subresource) const;
    D3D11_BOX WholeBox(UINT subresource) const;

    // A tightly packed copy of a box of an image subresource in a host buffer
    // (waits for the device); and the reverse, recorded without waiting: a
    // packed host buffer into the box's place at (x, y), the buffer going once
    // the batch has run.
    DeviceBuffer ImageToHost(UINT subresource, const D3D11_BOX& box);
    void HostToImage(UINT subresource, UINT x, UINT y, DeviceBuffer host, const D3D11_BOX& box);
    // A clear of the view's subresources, in the image's own format.
    ImageClear ClearOf(const ViewRange& view, VkImageAspectFlags aspects, const VkClearValue& value) const;
    // Fills the view's subresources with one texel's bytes.
    void FillWithPattern(const ViewRange& view, const uint8_t* pattern, size_t size);

    VulkanDevice& device_;
    ResourceShape shape_;
    const FormatInfo* info_;  // null for a buffer
    VkFormat format_ = VK_FORMAT_UNDEFINED;
    DeviceBuffer linear_;                // versionCount_ versions of versionSize_ bytes
    std::vector<VkDeviceSize> offsets_;  // of each subresource inside a version
    VkDeviceSize contentsSize_ = 0;
    VkDeviceSize versionSize_ = 0;
    UINT vertexStride_ = 0;  // of the draws that read it as vertices
    uint32_t versionCount_ = 1;
    uint32_t version_ = 0;  // the current one
    // The last two batches that read the buffer (the later second) and the
    // first version each read: no more than two batches are unfinished, the
    // one submitted and the open one. Used on the immediate context's thread,
    // as is every write.
    struct Read {
        uint64_t batch = 0;
        uint32_t version = 0;
    };
    Read reads_[2];
    VkImage image_ = VK_NULL_HANDLE;
    VkDeviceMemory imageMemory_ = VK_NULL_HANDLE;
    std::vector<Mapping> mappings_;
    std::mutex viewsLock_;
    std::map<ViewKey, VkImageView> views_;  // guarded by viewsLock_
};

}  // namespace halvo::d3d11::vulkan
