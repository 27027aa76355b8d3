#pragma once

#include <vulkan/vulkan.h>

#include <map>
#include <string>
#include <vector>

namespace halvo::d3d11::vulkan {

// One attachment of a render pass: a view of one level and slice of an image.
struct PassAttachment {
    VkImage image = VK_NULL_HANDLE;
    VkFormat format = VK_FORMAT_UNDEFINED;  // the view's
    VkImageAspectFlags aspects = 0;         // the image's
    uint32_t mip = 0;
    uint32_t firstSlice = 0;
    uint32_t sliceCount = 1;
    uint32_t width = 0;  // of the level
    uint32_t height = 0;
    uint32_t colourSlot = 0;  // the subpass's colour slot; unused for depth
};

// What a draw renders into.
struct PassTargets {
    // Formats of the colour slots (VK_FORMAT_UNDEFINED where a slot is empty,
    // without empty slots at the end), then the depth format or UNDEFINED.
    std::vector<VkFormat> colourFormats;
    VkFormat depthFormat = VK_FORMAT_UNDEFINED;
    std::vector<PassAttachment> attachments;  // the bound colour slots in order, then depth
    VkFramebuffer framebuffer = VK_NULL_HANDLE;
    uint32_t width = 0;  // the area every attachment covers
    uint32_t height = 0;
};

// A clear of levels and slices of an image, in the given format's reading of the value.
struct ImageClear {
    VkImage image = VK_NULL_HANDLE;
    VkFormat format = VK_FORMAT_UNDEFINED;
    VkImageAspectFlags aspects = 0;  // the parts cleared
    uint32_t firstMip = 0;
    uint32_t mipCount = 1;
    uint32_t firstSlice = 0;
    uint32_t sliceCount = 1;
    VkClearValue value{};
};

// The render pass open in the device's batch, and the clears waiting for the
// next one. Draws into the same targets share one pass. A clear of one of
// the open pass's attachments is recorded inside it; any other clear waits,
// so that when the next pass begins over the image it becomes that pass's
// load operation, and else is recorded before the next other piece of work.
// Every call is made under the device's queue lock.
class PassRecorder {
public:
    explicit PassRecorder(VkDevice device) : device_(device) {}
    ~PassRecorder();
    PassRecorder(const PassRecorder&) = delete;
    PassRecorder& operator=(const PassRecorder&) = delete;

    // The pass that pipelines and framebuffers for these formats are made
    // with (every attachment loaded and stored); VK_NULL_HANDLE on failure.
    VkRenderPass Compatible(const std::vector<VkFormat>& colourFormats, VkFormat depthFormat);

    // Whether a draw into `targets` goes on in the open pass.
    bool Continues(const PassTargets& targets) const;
    // Ends the open pass and begins one over `targets`, taking the waiting
    // clears of its attachments as load operations; false (and no pass open)
    // when no render pass can be had.
    bool Begin(VkCommandBuffer commands, const PassTargets& targets);
    // Ends the open pass, if any, and records the waiting clears: before any
    // other work and before the batch is submitted.
    void Close(VkCommandBuffer commands);
    void Clear(VkCommandBuffer commands, const ImageClear& clear);
    bool Open() const { return open_; }

private:
    VkRenderPass Variant(const std::vector<VkFormat>& colourFormats, VkFormat depthFormat,
                         const std::vector<VkAttachmentLoadOp>& loads,
                         const std::vector<VkAttachmentLoadOp>& stencilLoads);
    void End(VkCommandBuffer commands);
    // The open pass's attachment that the clear covers exactly, or null.
    const PassAttachment* AttachmentCleared(const ImageClear& clear) const;

    VkDevice device_;
    std::map<std::string, VkRenderPass> renderPasses_;  // by formats and load operations
    bool open_ = false;
    PassTargets current_;
    std::vector<ImageClear> waiting_;  // in the order they were asked for; empty while a pass is open
};

// A barrier that orders every earlier transfer, draw and clear before every later one.
void FullBarrier(VkCommandBuffer commands);

}  // namespace halvo::d3d11::vulkan
