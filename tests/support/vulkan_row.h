// A plain Vulkan program of the tests' own: SPIR-V vertex and pixel code
// draws two triangles over a row of four-float pixels on the first device
// (lavapipe where there is no GPU), each stage reading its constant bytes as
// a uniform buffer, and the pixels are read back.
#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/plain_vulkan.h"
#include "support/row_texture.h"
#include "support/row_vertices.h"

class VulkanRow {
public:
    VulkanRow() = default;
    ~VulkanRow();
    VulkanRow(const VulkanRow&) = delete;
    VulkanRow& operator=(const VulkanRow&) = delete;

    // Makes the instance and the device; false, with the reason, when there is no Vulkan device.
    bool Open(std::string* reason);
    // The device's name, for messages.
    const std::string& DeviceName() const { return m_vulkan.DeviceName(); }

    // Draws with the two modules over `outputs` targets of `width` x 1 R32G32B32A32 pixels, pixel output i
    // into target i: the vertex stage's input i is fed
    // attribute i of the vertices, the vertex constant bytes are the uniform buffer
    // of set 0 and the pixel constant bytes that of set 1 (binding 0 each); texture i is sampled in the pixel
    // stage through the sampler at binding i of set 2 (nearest texel and level, clamped) and the image at
    // binding i of set 3. The pixels' floats, left to right, target after target; false with a reason when a
    // call fails.
    bool DrawRow(const std::vector<uint32_t>& vertexCode, const std::vector<uint32_t>& pixelCode,
                 const std::vector<uint8_t>& vertexConstants, const std::vector<uint8_t>& pixelConstants,
                 const std::vector<RowTexture>& textures, const RowVertices& vertices, int width, int outputs,
                 std::vector<float>* pixels, std::string* reason);

private:
    struct TextureObjects {
        PlainImage image;
        VkSampler sampler = VK_NULL_HANDLE;
        PlainBuffer texels;  // copied into the image by RecordUpload
    };
    bool MakeTexture(const RowTexture& texture, TextureObjects* objects, std::string* reason);
    void FreeTexture(TextureObjects& objects);
    // Copies every level in and leaves the image ready for sampling.
    static void RecordUpload(VkCommandBuffer commands, const RowTexture& texture, const TextureObjects& objects);

    PlainVulkan m_vulkan;
};
