#include "winapi/d3d11/vulkan/vulkan_pass.h"

namespace halvo::d3d11::vulkan {

namespace {

template <typename T>
void Put(std::string& key, const T& value)
{
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool IsColour(VkImageAspectFlags aspects) { return aspects == VK_IMAGE_ASPECT_COLOR_BIT; }

void RecordImageClear(VkCommandBuffer commands, const ImageClear& clear)
{
    const VkImageSubresourceRange range{clear.aspects, clear.firstMip, clear.mipCount, clear.firstSlice,
                                        clear.sliceCount};
    if (IsColour(clear.aspects)) {
        vkCmdClearColorImage(commands, clear.image, VK_IMAGE_LAYOUT_GENERAL, &clear.value.color, 1, &range);
    } else {
        vkCmdClearDepthStencilImage(commands, clear.image, VK_IMAGE_LAYOUT_GENERAL, &clear.value.depthStencil, 1,
                                    &range);
    }
}

bool SameRange(const ImageClear& clear, const ImageClear& other)
{
    return clear.image == other.image && clear.format == other.format && clear.aspects == other.aspects &&
           clear.firstMip == other.firstMip && clear.mipCount == other.mipCount &&
           clear.firstSlice == other.firstSlice && clear.sliceCount == other.sliceCount;
}

// Whether the clear covers exactly what an attachment of a pass over
// width x height draws into, as the pass's load operation or a clear inside
// it would (both reach the render area of the framebuffer's one layer only).
bool Covers(const ImageClear& clear, const PassAttachment& attachment, uint32_t width, uint32_t height)
{
    return clear.image == attachment.image && clear.firstMip == attachment.mip && clear.mipCount == 1 &&
           clear.firstSlice == attachment.firstSlice && clear.sliceCount == 1 && attachment.sliceCount == 1 &&
           attachment.width == width && attachment.height == height &&
           (!IsColour(clear.aspects) || clear.format == attachment.format);
}

}  // namespace

PassRecorder::~PassRecorder()
{
    for (auto& [key, pass] : renderPasses_) vkDestroyRenderPass(device_, pass, nullptr);
}

VkRenderPass PassRecorder::Compatible(const std::vector<VkFormat>& colourFormats, VkFormat depthFormat)
{
    size_t count = depthFormat != VK_FORMAT_UNDEFINED ? 1 : 0;
    for (VkFormat format : colourFormats) count += format != VK_FORMAT_UNDEFINED ? 1 : 0;
    const std::vector<VkAttachmentLoadOp> loads(count, VK_ATTACHMENT_LOAD_OP_LOAD);
    return Variant(colourFormats, depthFormat, loads, loads);
}

VkRenderPass PassRecorder::Variant(const std::vector<VkFormat>& colourFormats, VkFormat depthFormat,
                                   const std::vector<VkAttachmentLoadOp>& loads,
                                   const std::vector<VkAttachmentLoadOp>& stencilLoads)
{
    std::string key;
    for (VkFormat format : colourFormats) Put(key, format);
    Put(key, depthFormat);
    for (size_t index = 0; index < loads.size(); ++index) {
        Put(key, loads[index]);
        Put(key, stencilLoads[index]);
    }
    auto found = renderPasses_.find(key);
    if (found != renderPasses_.end()) return found->second;

    std::vector<VkAttachmentDescription> attachments;
    std::vector<VkAttachmentReference> colours;
    VkAttachmentReference depth{VK_ATTACHMENT_UNUSED, VK_IMAGE_LAYOUT_GENERAL};
    auto attach = [&](VkFormat format) {
        const size_t index = attachments.size();
        VkAttachmentDescription attachment{};
        attachment.format = format;
        attachment.samples = VK_SAMPLE_COUNT_1_BIT;
        attachment.loadOp = loads[index];
        attachment.stencilLoadOp = stencilLoads[index];
        attachment.storeOp = attachment.stencilStoreOp = VK_ATTACHMENT_STORE_OP_STORE;
        attachment.initialLayout = attachment.finalLayout = VK_IMAGE_LAYOUT_GENERAL;
        attachments.push_back(attachment);
        return uint32_t(index);
    };
    for (VkFormat format : colourFormats) {
        colours.push_back(
            {format != VK_FORMAT_UNDEFINED ? attach(format) : VK_ATTACHMENT_UNUSED, VK_IMAGE_LAYOUT_GENERAL});
    }
    if (depthFormat != VK_FORMAT_UNDEFINED) depth.attachment = attach(depthFormat);
    VkSubpassDescription subpass{};
    subpass.pipelineBindPoint = VK_PIPELINE_BIND_POINT_GRAPHICS;
    subpass.colorAttachmentCount = uint32_t(colours.size());
    subpass.pColorAttachments = colours.data();
    subpass.pDepthStencilAttachment = &depth;
    VkRenderPassCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    info.attachmentCount = uint32_t(attachments.size());
    info.pAttachments = attachments.data();
    info.subpassCount = 1;
    info.pSubpasses = &subpass;
    VkRenderPass pass = VK_NULL_HANDLE;
    if (vkCreateRenderPass(device_, &info, nullptr, &pass) != VK_SUCCESS) return VK_NULL_HANDLE;
    renderPasses_[key] = pass;
    return pass;
}

bool PassRecorder::Continues(const PassTargets& targets) const
{
    if (!open_ || targets.framebuffer != current_.framebuffer || targets.width != current_.width ||
        targets.height != current_.height || targets.attachments.size() != current_.attachments.size()) {
        return false;
    }
    for (size_t index = 0; index < targets.attachments.size(); ++index) {
        const PassAttachment& a = targets.attachments[index];
        const PassAttachment& b = current_.attachments[index];
        if (a.image != b.image || a.mip != b.mip || a.firstSlice != b.firstSlice || a.format != b.format) return false;
    }
    return true;
}

bool PassRecorder::Begin(VkCommandBuffer commands, const PassTargets& targets)
{
    End(commands);
    // The last waiting clear of an attachment's image becomes its load operation when it covers just what the
    // pass draws into; every other waiting clear runs before the pass.
    std::vector<VkAttachmentLoadOp> loads(targets.attachments.size(), VK_ATTACHMENT_LOAD_OP_LOAD);
    std::vector<VkAttachmentLoadOp> stencilLoads = loads;
    std::vector<VkClearValue> values(targets.attachments.size());
    std::vector<bool> taken(waiting_.size(), false);
    for (size_t index = 0; index < targets.attachments.size(); ++index) {
        const PassAttachment& attachment = targets.attachments[index];
        size_t last = waiting_.size();
        for (size_t at = 0; at < waiting_.size(); ++at) {
            if (waiting_[at].image == attachment.image) last = at;
        }
        if (last == waiting_.size() || !Covers(waiting_[last], attachment, targets.width, targets.height)) continue;
        const ImageClear& clear = waiting_[last];
        if ((clear.aspects & (VK_IMAGE_ASPECT_COLOR_BIT | VK_IMAGE_ASPECT_DEPTH_BIT)) != 0) {
            loads[index] = VK_ATTACHMENT_LOAD_OP_CLEAR;
        }
        if ((clear.aspects & VK_IMAGE_ASPECT_STENCIL_BIT) != 0) stencilLoads[index] = VK_ATTACHMENT_LOAD_OP_CLEAR;
        values[index] = clear.value;
        taken[last] = true;
    }
    for (size_t at = 0; at < waiting_.size(); ++at) {
        if (taken[at]) continue;
        FullBarrier(commands);
        RecordImageClear(commands, waiting_[at]);
    }
    waiting_.clear();
    const VkRenderPass pass = Variant(targets.colourFormats, targets.depthFormat, loads, stencilLoads);
    if (pass == VK_NULL_HANDLE) return false;
    FullBarrier(commands);
    VkRenderPassBeginInfo begin{};
    begin.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    begin.renderPass = pass;
    begin.framebuffer = targets.framebuffer;
    begin.renderArea = {{0, 0}, {targets.width, targets.height}};
    begin.clearValueCount = uint32_t(values.size());
    begin.pClearValues = values.data();
    vkCmdBeginRenderPass(commands, &begin, VK_SUBPASS_CONTENTS_INLINE);
    open_ = true;
    current_ = targets;
    return true;
}

void PassRecorder::End(VkCommandBuffer commands)
{
    if (!open_) return;
    vkCmdEndRenderPass(commands);
    open_ = false;
}

void PassRecorder::Close(VkCommandBuffer commands)
{
    End(commands);
    for (const ImageClear& clear : waiting_) {
        FullBarrier(commands);
        RecordImageClear(commands, clear);
    }
    waiting_.clear();
}

const PassAttachment* PassRecorder::AttachmentCleared(const ImageClear& clear) const
{
    for (const PassAttachment& attachment : current_.attachments) {
        if (Covers(clear, attachment, current_.width, current_.height)) return &attachment;
    }
    return nullptr;
}

void PassRecorder::Clear(VkCommandBuffer commands, const ImageClear& clear)
{
    if (open_) {
        if (const PassAttachment* attachment = AttachmentCleared(clear)) {
            VkClearAttachment cleared{};
            cleared.aspectMask = clear.aspects;
            cleared.colorAttachment = attachment->colourSlot;
            cleared.clearValue = clear.value;
            const VkClearRect rect{{{0, 0}, {current_.width, current_.height}}, 0, 1};
            vkCmdClearAttachments(commands, 1, &cleared, 1, &rect);
            return;
        }
        // Draws recorded later in the pass would not see a clear recorded after it.
        End(commands);
    }
    for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
        if (SameRange(*it, clear)) {
            waiting_.erase(it);  // the new value replaces it, in the new clear's place in the order
            break;
        }
    }
    waiting_.push_back(clear);
}

void FullBarrier(VkCommandBuffer commands)
{
    VkMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_MEMORY_BARRIER;
    barrier.srcAccessMask = VK_ACCESS_MEMORY_WRITE_BIT;
    barrier.dstAccessMask = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
    vkCmdPipelineBarrier(commands, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 1,
                         &barrier, 0, nullptr, 0, nullptr);
}

}  // namespace halvo::d3d11::vulkan
