#include "winapi/d3d11/vulkan/vulkan_resource.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "winapi/d3d11/memory/texel_codec.h"
#include "winapi/d3d11/vulkan/vulkan_formats.h"

namespace halvo::d3d11::vulkan {

namespace {

constexpr VkBufferUsageFlags kBufferUsage = VK_BUFFER_USAGE_TRANSFER_SRC_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT |
                                            VK_BUFFER_USAGE_VERTEX_BUFFER_BIT | VK_BUFFER_USAGE_INDEX_BUFFER_BIT |
                                            VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT;
constexpr VkBufferUsageFlags kTransferUsage = VK_BUFFER_USAGE_TRANSFER_SRC_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;
// Where versions of a buffer may start: where constants may be bound from (the largest
// minUniformBufferOffsetAlignment a device may ask for), else where any index or texel may.
constexpr VkDeviceSize kConstantVersionAlignment = 256;
constexpr VkDeviceSize kVersionAlignment = 16;
// Versions of vertices start at whole vertices only up to this alignment.
constexpr VkDeviceSize kMostVertexAlignment = 4096;
// A buffer's ring grows no further than this; past it a write waits for the device instead.
constexpr VkDeviceSize kMostRingBytes = VkDeviceSize(64) << 20;

// A typeless group that a depth-stencil view will look at holds depth.
VkFormat StorageFormat(const ResourceShape& shape)
{
    if ((shape.bindFlags & D3D11_BIND_DEPTH_STENCIL) != 0) {
        switch (shape.format) {
        case DXGI_FORMAT_R32_TYPELESS: return VK_FORMAT_D32_SFLOAT;
        case DXGI_FORMAT_R24G8_TYPELESS: return VK_FORMAT_D24_UNORM_S8_UINT;
        case DXGI_FORMAT_R16_TYPELESS: return VK_FORMAT_D16_UNORM;
        default: break;
        }
    }
    return ToVulkanFormat(shape.format);
}

void CopyRows(uint8_t* target, size_t targetPitch, const uint8_t* source, size_t sourcePitch, size_t rowBytes,
              UINT rows)
{
    for (UINT row = 0; row < rows; ++row) std::memcpy(target + row * targetPitch, source + row * sourcePitch, rowBytes);
}

VkImageSubresourceLayers Layers(VkImageAspectFlags aspects, UINT mip, UINT slice) { return {aspects, mip, slice, 1}; }

bool IsIntegerView(const FormatInfo& info, ChannelKind* kind)
{
    for (UINT c = 0; c < info.channelCount; ++c) {
        if (info.channels[c].kind == ChannelKind::kUint || info.channels[c].kind == ChannelKind::kSint) {
            *kind = info.channels[c].kind;
            return true;
        }
    }
    return false;
}

}  // namespace

VulkanResource::VulkanResource(VulkanDevice& device, const ResourceShape& shape)
    : device_(device), shape_(shape), info_(FindFormat(shape.format)), format_(StorageFormat(shape))
{}

std::unique_ptr<VulkanResource> VulkanResource::Create(VulkanDevice& device, const ResourceShape& shape,
                                                       const D3D11_SUBRESOURCE_DATA* initial)
{
    std::unique_ptr<VulkanResource> resource(new VulkanResource(device, shape));
    if (!resource->Allocate(initial)) return nullptr;
    return resource;
}

VulkanResource::~VulkanResource()
{
    device_.Sync();  // recorded draws may still read it
    for (auto& [key, view] : views_) {
        device_.RetireView(view);
        vkDestroyImageView(device_.device(), view, nullptr);
    }
    for (Mapping& mapping : mappings_) device_.Destroy(mapping.staging);
    device_.Destroy(linear_);
    if (image_ != VK_NULL_HANDLE) vkDestroyImage(device_.device(), image_, nullptr);
    if (imageMemory_ != VK_NULL_HANDLE) vkFreeMemory(device_.device(), imageMemory_, nullptr);
}

uint8_t* VulkanResource::Version(uint32_t index) const
{
    return static_cast<uint8_t*>(linear_.mapped) + VkDeviceSize(index) * versionSize_;
}

uint8_t* VulkanResource::Contents(UINT subresource) const { return Version(version_) + offsets_[subresource]; }

VkDeviceSize VulkanResource::VersionSizeFor(UINT stride) const
{
    VkDeviceSize alignment =
        (shape_.bindFlags & D3D11_BIND_CONSTANT_BUFFER) != 0 ? kConstantVersionAlignment : kVersionAlignment;
    if (stride > 0 && std::lcm(alignment, VkDeviceSize(stride)) <= kMostVertexAlignment) {
        alignment = std::lcm(alignment, VkDeviceSize(stride));
    }
    return (contentsSize_ + alignment - 1) / alignment * alignment;
}

bool VulkanResource::VertexShift(UINT stride, uint32_t* shift)
{
    if (stride == 0 || info_ != nullptr) return false;
    vertexStride_ = stride;
    if (offset() % stride != 0) return false;
    *shift = uint32_t(offset() / stride);
    return true;
}

void VulkanResource::MarkRead(uint64_t batch)
{
    if (reads_[1].batch == batch) return;
    reads_[0] = reads_[1];
    reads_[1] = {batch, version_};
}

bool VulkanResource::Busy() const { return reads_[1].batch > device_.FinishedBatch(); }

bool VulkanResource::InUse(uint32_t version) const
{
    // The versions read by batches that have not run yet, from the first the earliest of them read to the
    // current one (versions are read in ring order).
    const uint64_t finished = device_.FinishedBatch();
    const Read* earliest = reads_[0].batch > finished ? &reads_[0] : reads_[1].batch > finished ? &reads_[1] : nullptr;
    if (earliest == nullptr) return false;
    const uint32_t span = (version_ + versionCount_ - earliest->version) % versionCount_;
    return (version + versionCount_ - earliest->version) % versionCount_ <= span;
}

void VulkanResource::NextVersion(bool keepContents)
{
    const uint32_t next = (version_ + 1) % versionCount_;
    if (!InUse(next)) {
        if (keepContents) std::memcpy(Version(next), Version(version_), size_t(contentsSize_));
        version_ = next;
        return;
    }
    // Every version is read by batches not yet run: a ring twice as long, the old one going once they have.
    // Versions of vertices start at whole vertices, so that draws can reach them without binding anew.
    const VkDeviceSize longerVersions = VersionSizeFor(vertexStride_);
    DeviceBuffer longer;
    if (longerVersions * versionCount_ * 2 <= kMostRingBytes) {
        longer = device_.CreateHostBuffer(longerVersions * versionCount_ * 2, kBufferUsage);
    }
    if (longer.mapped == nullptr) {
        device_.Sync();  // nothing reads the buffer any more
        return;
    }
    if (keepContents) std::memcpy(longer.mapped, Version(version_), size_t(contentsSize_));
    device_.DestroyAfterSync(linear_);
    linear_ = longer;
    versionSize_ = longerVersions;
    versionCount_ *= 2;
    version_ = 0;
    reads_[0] = reads_[1] = {};
}

VkImageView VulkanResource::View(const ViewKey& key)
{
    std::lock_guard<std::mutex> lock(viewsLock_);
    auto found = views_.find(key);
    if (found != views_.end()) return found->second;
    VkImageViewCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    info.image = image_;
    info.viewType = key.type;
    info.format = key.format;
    if (key.alphaOne) info.components.a = VK_COMPONENT_SWIZZLE_ONE;
    info.subresourceRange = {key.aspects, key.firstMip, key.mipCount, key.firstSlice, key.sliceCount};
    VkImageView view = VK_NULL_HANDLE;
    if (image_ == VK_NULL_HANDLE || vkCreateImageView(device_.device(), &info, nullptr, &view) != VK_SUCCESS) {
        return VK_NULL_HANDLE;
    }
    views_[key] = view;
    return view;
}

UINT VulkanResource::RowPitch(UINT subresource) const
{
    if (info_ == nullptr) return shape_.width;
    return UINT(RowBytes(*info_, shape_.WidthAt(shape_.MipOf(subresource))));
}

UINT VulkanResource::Rows(UINT subresource) const
{
    if (info_ == nullptr) return 1;
    return BlockRows(*info_, shape_.HeightAt(shape_.MipOf(subresource)));
}

D3D11_BOX VulkanResource::WholeBox(UINT subresource) const
{
    const UINT mip = shape_.MipOf(subresource);
    return {0, 0, 0, shape_.WidthAt(mip), shape_.HeightAt(mip), 1};
}

bool VulkanResource::Allocate(const D3D11_SUBRESOURCE_DATA* initial)
{
    mappings_.resize(shape_.SubresourceCount());
    const bool linear = info_ == nullptr || shape_.usage == D3D11_USAGE_STAGING;
    if (!linear)
        return AllocateImage() && [&] {
            for (UINT index = 0; index < shape_.SubresourceCount(); ++index) {
                const D3D11_BOX box = WholeBox(index);
                DeviceBuffer host =
                    device_.CreateHostBuffer(VkDeviceSize(RowPitch(index)) * Rows(index), kTransferUsage);
                if (host.mapped == nullptr) return false;
                if (initial != nullptr && initial[index].pSysMem != nullptr) {
                    CopyRows(static_cast<uint8_t*>(host.mapped), RowPitch(index),
                             static_cast<const uint8_t*>(initial[index].pSysMem), initial[index].SysMemPitch,
                             RowPitch(index), Rows(index));
                } else {
                    std::memset(host.mapped, 0, size_t(RowPitch(index)) * Rows(index));
                }
                HostToImage(index, 0, 0, host, box);
            }
            return true;
        }();

    // Offsets keep every subresource aligned for copies of its texels.
    const VkDeviceSize alignment = info_ == nullptr ? 4 : std::lcm(VkDeviceSize(info_->bytesPerBlock), VkDeviceSize(4));
    VkDeviceSize size = 0;
    for (UINT index = 0; index < shape_.SubresourceCount(); ++index) {
        size = (size + alignment - 1) / alignment * alignment;
        offsets_.push_back(size);
        size += VkDeviceSize(RowPitch(index)) * Rows(index);
    }
    contentsSize_ = size;
    versionSize_ = VersionSizeFor(0);
    linear_ = device_.CreateHostBuffer(versionSize_, info_ == nullptr ? kBufferUsage : kTransferUsage);
    if (linear_.mapped == nullptr) return false;
    std::memset(linear_.mapped, 0, size_t(versionSize_));
    for (UINT index = 0; initial != nullptr && index < shape_.SubresourceCount(); ++index) {
        if (initial[index].pSysMem == nullptr) continue;
        const UINT sourcePitch = info_ == nullptr ? shape_.width : initial[index].SysMemPitch;
        CopyRows(Contents(index), RowPitch(index), static_cast<const uint8_t*>(initial[index].pSysMem), sourcePitch,
                 RowPitch(index), Rows(index));
    }
    return true;
}

bool VulkanResource::AllocateImage()
{
    if (format_ == VK_FORMAT_UNDEFINED) return false;
    VkImageCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    info.imageType = shape_.dimension == D3D11_RESOURCE_DIMENSION_TEXTURE1D ? VK_IMAGE_TYPE_1D : VK_IMAGE_TYPE_2D;
    info.format = format_;
    info.extent = {shape_.width, shape_.height, 1};
    info.mipLevels = shape_.mipLevels;
    info.arrayLayers = shape_.arraySize;
    info.samples = VK_SAMPLE_COUNT_1_BIT;
    info.tiling = VK_IMAGE_TILING_OPTIMAL;
    info.usage = VK_IMAGE_USAGE_TRANSFER_SRC_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT;
    if (shape_.bindFlags & D3D11_BIND_SHADER_RESOURCE) info.usage |= VK_IMAGE_USAGE_SAMPLED_BIT;
    if (shape_.bindFlags & D3D11_BIND_RENDER_TARGET) info.usage |= VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT;
    if (shape_.bindFlags & D3D11_BIND_DEPTH_STENCIL) info.usage |= VK_IMAGE_USAGE_DEPTH_STENCIL_ATTACHMENT_BIT;
    if (info_->group != shape_.format || info_->formatClass == kTypelessGroup) {
        info.flags |= VK_IMAGE_CREATE_MUTABLE_FORMAT_BIT;
    }
    if ((shape_.miscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE) != 0) info.flags |= VK_IMAGE_CREATE_CUBE_COMPATIBLE_BIT;
    info.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    info.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    VkImageFormatProperties properties;
    if (vkGetPhysicalDeviceImageFormatProperties(device_.physicalDevice(), info.format, info.imageType, info.tiling,
                                                 info.usage, info.flags, &properties) != VK_SUCCESS) {
        return false;
    }
    if (vkCreateImage(device_.device(), &info, nullptr, &image_) != VK_SUCCESS) return false;
    VkMemoryRequirements requirements;
    vkGetImageMemoryRequirements(device_.device(), image_, &requirements);
    imageMemory_ = device_.Allocate(requirements, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (imageMemory_ == VK_NULL_HANDLE) imageMemory_ = device_.Allocate(requirements, 0);
    if (imageMemory_ == VK_NULL_HANDLE || vkBindImageMemory(device_.device(), image_, imageMemory_, 0) != VK_SUCCESS) {
        return false;
    }
    return device_.Record([&](VkCommandBuffer commands, uint64_t, uint64_t) {
        VkImageMemoryBarrier barrier{};
        barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
        barrier.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
        barrier.oldLayout = VK_IMAGE_LAYOUT_UNDEFINED;
        barrier.newLayout = VK_IMAGE_LAYOUT_GENERAL;
        barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
        barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
        barrier.image = image_;
        barrier.subresourceRange = {AspectsOf(format_), 0, shape_.mipLevels, 0, shape_.arraySize};
        vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_TOP_OF_PIPE_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0,
                             nullptr, 0, nullptr, 1, &barrier);
    });
}

DeviceBuffer VulkanResource::ImageToHost(UINT subresource, const D3D11_BOX& box)
{
    const BlockRegion region = RegionInBlocks(info_, box);
    DeviceBuffer host = device_.CreateHostBuffer(VkDeviceSize(region.rowBytes) * region.rowCount, kTransferUsage);
    if (host.mapped == nullptr) return host;
    const UINT mip = shape_.MipOf(subresource);
    const UINT width = std::min(box.right, shape_.WidthAt(mip)) - box.left;
    const UINT height = std::min(box.bottom, shape_.HeightAt(mip)) - box.top;
    const bool stencil = (AspectsOf(format_) & VK_IMAGE_ASPECT_STENCIL_BIT) != 0;
    // Stencil comes out one byte a texel; it is laid into the top byte of each depth texel.
    DeviceBuffer stencilBytes =
        stencil ? device_.CreateHostBuffer(VkDeviceSize(width) * height, kTransferUsage) : DeviceBuffer{};
    device_.Run([&](VkCommandBuffer commands) {
        VkBufferImageCopy copy{};
        copy.imageSubresource = Layers(stencil ? VkImageAspectFlags(VK_IMAGE_ASPECT_DEPTH_BIT) : AspectsOf(format_),
                                       mip, shape_.SliceOf(subresource));
        copy.imageOffset = {INT(box.left), INT(box.top), 0};
        copy.imageExtent = {width, height, 1};
        vkCmdCopyImageToBuffer(commands, image_, VK_IMAGE_LAYOUT_GENERAL, host.buffer, 1, &copy);
        if (stencil && stencilBytes.buffer != VK_NULL_HANDLE) {
            copy.imageSubresource.aspectMask = VK_IMAGE_ASPECT_STENCIL_BIT;
            vkCmdCopyImageToBuffer(commands, image_, VK_IMAGE_LAYOUT_GENERAL, stencilBytes.buffer, 1, &copy);
        }
    });
    if (stencil && stencilBytes.mapped != nullptr) {
        auto* texels = static_cast<uint8_t*>(host.mapped);
        const auto* stencils = static_cast<const uint8_t*>(stencilBytes.mapped);
        for (size_t texel = 0; texel < size_t(width) * height; ++texel) texels[texel * 4 + 3] = stencils[texel];
    }
    device_.Destroy(stencilBytes);
    return host;
}

void VulkanResource::HostToImage(UINT subresource, UINT x, UINT y, DeviceBuffer host, const D3D11_BOX& box)
{
    const UINT mip = shape_.MipOf(subresource);
    const UINT width = std::min(box.right - box.left, shape_.WidthAt(mip) - x);
    const UINT height = std::min(box.bottom - box.top, shape_.HeightAt(mip) - y);
    const bool stencil = (AspectsOf(format_) & VK_IMAGE_ASPECT_STENCIL_BIT) != 0;
    DeviceBuffer stencilBytes =
        stencil ? device_.CreateHostBuffer(VkDeviceSize(width) * height, kTransferUsage) : DeviceBuffer{};
    if (stencilBytes.mapped != nullptr) {
        const auto* texels = static_cast<const uint8_t*>(host.mapped);
        auto* stencils = static_cast<uint8_t*>(stencilBytes.mapped);
        for (size_t texel = 0; texel < size_t(width) * height; ++texel) stencils[texel] = texels[texel * 4 + 3];
    }
    device_.Record([&](VkCommandBuffer commands, uint64_t, uint64_t) {
        VkBufferImageCopy copy{};
        const UINT blockWidth = (box.right - box.left + info_->blockSize - 1) / info_->blockSize * info_->blockSize;
        copy.bufferRowLength = blockWidth;
        copy.imageSubresource = Layers(stencil ? VkImageAspectFlags(VK_IMAGE_ASPECT_DEPTH_BIT) : AspectsOf(format_),
                                       mip, shape_.SliceOf(subresource));
        copy.imageOffset = {INT(x), INT(y), 0};
        copy.imageExtent = {width, height, 1};
        vkCmdCopyBufferToImage(commands, host.buffer, image_, VK_IMAGE_LAYOUT_GENERAL, 1, &copy);
        if (stencilBytes.buffer != VK_NULL_HANDLE) {
            copy.bufferRowLength = width;
            copy.imageSubresource.aspectMask = VK_IMAGE_ASPECT_STENCIL_BIT;
            vkCmdCopyBufferToImage(commands, stencilBytes.buffer, image_, VK_IMAGE_LAYOUT_GENERAL, 1, &copy);
        }
    });
    device_.DestroyAfterSync(host);
    device_.DestroyAfterSync(stencilBytes);
}

void* VulkanResource::Map(UINT subresource, D3D11_MAP type, UINT* rowPitch, UINT* depthPitch)
{
    *rowPitch = RowPitch(subresource);
    *depthPitch = RowPitch(subresource) * Rows(subresource);
    if (image_ == VK_NULL_HANDLE) {
        // Draws of the open batch keep reading the version they were given: a write moves on to the next
        // (a discard without the old contents). Reads and NO_OVERWRITE, which promises not to touch what
        // the draws read, stay where they are.
        if ((type == D3D11_MAP_WRITE_DISCARD || type == D3D11_MAP_WRITE || type == D3D11_MAP_READ_WRITE) && Busy()) {
            NextVersion(type != D3D11_MAP_WRITE_DISCARD);
        }
        return Contents(subresource);
    }
    Mapping& mapping = mappings_[subresource];
    mapping.type = type;
    if (type == D3D11_MAP_WRITE_DISCARD) {
        mapping.staging = device_.CreateHostBuffer(*depthPitch, kTransferUsage);
    } else {
        mapping.staging = ImageToHost(subresource, WholeBox(subresource));
    }
    return mapping.staging.mapped;
}

void VulkanResource::Unmap(UINT subresource)
{
    if (image_ == VK_NULL_HANDLE) return;
    Mapping& mapping = mappings_[subresource];
    if (mapping.staging.mapped != nullptr && mapping.type != D3D11_MAP_READ) {
        HostToImage(subresource, 0, 0, mapping.staging, WholeBox(subresource));
    } else {
        device_.Destroy(mapping.staging);
    }
    mapping.staging = {};
}

void VulkanResource::Write(UINT subresource, const D3D11_BOX& box, const void* data, UINT rowPitch)
{
    const BlockRegion region = RegionInBlocks(info_, box);
    if (image_ == VK_NULL_HANDLE) {
        if (Busy()) NextVersion(true);
        CopyRows(Contents(subresource) + region.firstRow * size_t(RowPitch(subresource)) + region.rowOffset,
                 RowPitch(subresource), static_cast<const uint8_t*>(data), rowPitch, region.rowBytes, region.rowCount);
        return;
    }
    DeviceBuffer host = device_.CreateHostBuffer(VkDeviceSize(region.rowBytes) * region.rowCount, kTransferUsage);
    if (host.mapped == nullptr) return;
    CopyRows(static_cast<uint8_t*>(host.mapped), region.rowBytes, static_cast<const uint8_t*>(data), rowPitch,
             region.rowBytes, region.rowCount);
    HostToImage(subresource, box.left, box.top, host, box);
}

void VulkanResource::CopyRegion(UINT subresource, UINT x, UINT y, BackendResource& source, UINT sourceSubresource,
                                const D3D11_BOX& box)
{
    VulkanResource& from = static_cast<VulkanResource&>(source);
    if (image_ != VK_NULL_HANDLE && from.image_ != VK_NULL_HANDLE &&
        (&from != this || subresource != sourceSubresource)) {
        device_.Record([&](VkCommandBuffer commands, uint64_t, uint64_t) {
            const UINT mip = from.shape_.MipOf(sourceSubresource);
            VkImageCopy copy{};
            copy.srcSubresource = Layers(AspectsOf(from.format_), mip, from.shape_.SliceOf(sourceSubresource));
            copy.srcOffset = {INT(box.left), INT(box.top), 0};
            copy.dstSubresource = Layers(AspectsOf(format_), shape_.MipOf(subresource), shape_.SliceOf(subresource));
            copy.dstOffset = {INT(x), INT(y), 0};
            copy.extent = {std::min(box.right, from.shape_.WidthAt(mip)) - box.left,
                           std::min(box.bottom, from.shape_.HeightAt(mip)) - box.top, 1};
            vkCmdCopyImage(commands, from.image_, VK_IMAGE_LAYOUT_GENERAL, image_, VK_IMAGE_LAYOUT_GENERAL, 1, &copy);
        });
        return;
    }
    // Through host memory: the packed rows of the source box, then into place.
    const BlockRegion region = RegionInBlocks(from.info_, box);
    DeviceBuffer packed;
    if (from.image_ != VK_NULL_HANDLE) {
        packed = from.ImageToHost(sourceSubresource, box);
    } else {
        packed = device_.CreateHostBuffer(VkDeviceSize(region.rowBytes) * region.rowCount, kTransferUsage);
        if (packed.mapped != nullptr) {
            CopyRows(static_cast<uint8_t*>(packed.mapped), region.rowBytes,
                     from.Contents(sourceSubresource) + region.firstRow * size_t(from.RowPitch(sourceSubresource)) +
                         region.rowOffset,
                     from.RowPitch(sourceSubresource), region.rowBytes, region.rowCount);
        }
    }
    if (packed.mapped == nullptr) return;
    if (image_ != VK_NULL_HANDLE) {
        HostToImage(subresource, x, y, packed, box);
        return;
    }
    if (Busy()) NextVersion(true);
    D3D11_BOX destination{x, y, 0, x + 1, y + 1, 1};
    const BlockRegion at = RegionInBlocks(info_, destination);
    CopyRows(Contents(subresource) + at.firstRow * size_t(RowPitch(subresource)) + at.rowOffset, RowPitch(subresource),
             static_cast<const uint8_t*>(packed.mapped), region.rowBytes, region.rowBytes, region.rowCount);
    device_.Destroy(packed);
}

ImageClear VulkanResource::ClearOf(const ViewRange& view, VkImageAspectFlags aspects, const VkClearValue& value) const
{
    return {image_, format_, aspects, view.firstMip, view.mipCount, view.firstSlice, view.sliceCount, value};
}

void VulkanResource::ClearColor(const ViewRange& view, const FLOAT rgba[4])
{
    const FormatInfo& info = *FindFormat(view.format);
    if (ToVulkanFormat(view.format) != format_ || info.format == DXGI_FORMAT_B8G8R8X8_UNORM ||
        info.format == DXGI_FORMAT_B8G8R8X8_UNORM_SRGB || info.format == DXGI_FORMAT_A8_UNORM) {
        // The image's own format reads the clear colour differently: the view's texel is encoded here.
        memory::Texel texel;
        for (int c = 0; c < 4; ++c) texel.values[c] = rgba[c];
        uint8_t pattern[16] = {};
        memory::EncodeTexel(info, texel, 0xf, pattern);
        FillWithPattern(view, pattern, info.bytesPerBlock);
        return;
    }
    VkClearValue value{};
    ChannelKind kind = ChannelKind::kFloat;
    for (int c = 0; c < 4; ++c) {
        if (!IsIntegerView(info, &kind)) {
            value.color.float32[c] = rgba[c];
        } else if (kind == ChannelKind::kUint) {
            value.color.uint32[c] = uint32_t(rgba[c]);
        } else {
            value.color.int32[c] = int32_t(rgba[c]);
        }
    }
    device_.RecordClear(ClearOf(view, VK_IMAGE_ASPECT_COLOR_BIT, value));
}

void VulkanResource::FillWithPattern(const ViewRange& view, const uint8_t* pattern, size_t size)
{
    for (UINT slice = view.firstSlice; slice < view.firstSlice + view.sliceCount; ++slice) {
        for (UINT mip = view.firstMip; mip < view.firstMip + view.mipCount; ++mip) {
            const UINT subresource = slice * shape_.mipLevels + mip;
            const size_t bytes = size_t(RowPitch(subresource)) * Rows(subresource);
            DeviceBuffer host = device_.CreateHostBuffer(bytes, kTransferUsage);
            if (host.mapped == nullptr) return;
            for (size_t at = 0; at + size <= bytes; at += size)
                std::memcpy(static_cast<uint8_t*>(host.mapped) + at, pattern, size);
            HostToImage(subresource, 0, 0, host, WholeBox(subresource));
        }
    }
}

void VulkanResource::ClearDepthStencil(const ViewRange& view, UINT clearFlags, FLOAT depth, UINT8 stencil)
{
    VkImageAspectFlags aspects = 0;
    if (clearFlags & D3D11_CLEAR_DEPTH) aspects |= VK_IMAGE_ASPECT_DEPTH_BIT;
    if (clearFlags & D3D11_CLEAR_STENCIL) aspects |= VK_IMAGE_ASPECT_STENCIL_BIT;
    aspects &= AspectsOf(format_);
    if (aspects == 0) return;
    VkClearValue value{};
    value.depthStencil = {depth, stencil};
    device_.RecordClear(ClearOf(view, aspects, value));
}

void VulkanResource::GenerateMips(const ViewRange& view)
{
    device_.Record([&](VkCommandBuffer commands, uint64_t, uint64_t) {
        for (UINT mip = view.firstMip + 1; mip < view.firstMip + view.mipCount; ++mip) {
            VkImageBlit blit{};
            blit.srcSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, mip - 1, view.firstSlice, view.sliceCount};
            blit.srcOffsets[1] = {INT(shape_.WidthAt(mip - 1)), INT(shape_.HeightAt(mip - 1)), 1};
            blit.dstSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, mip, view.firstSlice, view.sliceCount};
            blit.dstOffsets[1] = {INT(shape_.WidthAt(mip)), INT(shape_.HeightAt(mip)), 1};
            vkCmdBlitImage(commands, image_, VK_IMAGE_LAYOUT_GENERAL, image_, VK_IMAGE_LAYOUT_GENERAL, 1, &blit,
                           VK_FILTER_LINEAR);
            FullBarrier(commands);
        }
    });
}

}  // namespace halvo::d3d11::vulkan
