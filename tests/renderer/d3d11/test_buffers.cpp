// Vertex and index buffers through the renderer: sizes from the vertex
// format, lock and unlock in both modes, the colour swap for devices that
// cannot read B8G8R8A8 vertices, and failures that leave nothing behind.
#include <cstring>
#include <vector>

#include "renderer/d3d11/buffers.h"
#include "renderer/d3d11/renderer_test_support.h"

namespace {

using RendererBuffers = StateTest;

D3D11_BUFFER_DESC DescOf(ID3D11Buffer* buffer)
{
    D3D11_BUFFER_DESC desc{};
    buffer->GetDesc(&desc);
    return desc;
}

TEST_P(RendererBuffers, VertexBuffersTakeTheirStrideFromTheElementsOfTheirFormat)
{
    // Mask -> bytes per vertex: the fixed layouts keep their sizes, and masks
    // outside them get the sum of their elements (not 24).
    const struct {
        uint32_t mask;
        UINT stride;
    } kCases[] = {{1, 12}, {7, 24}, {15, 36}, {47, 48}, {111, 60}, {385, 32}, {399, 56}, {495, 80}, {511, 88}, {3, 16}};
    for (const auto& row : kCases) {
        RendererVertexBuffer* vertices = renderer_->CreateVertexBuffer(row.mask, 10, kBufferUsageDynamic);
        ASSERT_NE(vertices->block->buffer, nullptr);
        const D3D11_BUFFER_DESC desc = DescOf(vertices->block->buffer);
        EXPECT_EQ(desc.ByteWidth, 10 * row.stride) << "mask " << row.mask;
        EXPECT_EQ(desc.StructureByteStride, row.stride) << "mask " << row.mask;
        EXPECT_EQ(desc.BindFlags, UINT(D3D11_BIND_VERTEX_BUFFER));
        EXPECT_EQ(desc.Usage, D3D11_USAGE_DYNAMIC);
        EXPECT_EQ(desc.CPUAccessFlags, UINT(D3D11_CPU_ACCESS_WRITE));
        renderer_->ReleaseVertexBuffer(vertices);
    }
    RendererIndexBuffer* indices = renderer_->CreateIndexBuffer(6, kBufferUsageCopy);
    const D3D11_BUFFER_DESC desc = DescOf(indices->block->buffer);
    EXPECT_EQ(desc.ByteWidth, 12u);
    EXPECT_EQ(desc.StructureByteStride, 2u);
    EXPECT_EQ(desc.BindFlags, UINT(D3D11_BIND_INDEX_BUFFER));
    EXPECT_EQ(desc.Usage, D3D11_USAGE_DEFAULT);
    EXPECT_EQ(desc.CPUAccessFlags, 0u);
    renderer_->ReleaseIndexBuffer(indices);
}

TEST_P(RendererBuffers, FailedCreationsLeaveObjectsWithoutADeviceBufferAndNothingAlive)
{
    int failures = SweepCreationFailures([this] {
        RendererVertexBuffer* vertices = renderer_->CreateVertexBuffer(7, 4, kBufferUsageDynamic);
        const bool made = vertices->block->buffer != nullptr;
        if (!made) {
            EXPECT_EQ(renderer_->LockVertexBuffer(vertices), nullptr);
            EXPECT_TRUE(IsLogged("LockVertexBuffer: the vertex buffer has no device buffer."));
            renderer_->UnlockVertexBuffer(vertices);
            EXPECT_TRUE(IsLogged("UnlockVertexBuffer: the vertex buffer is not locked."));
        }
        renderer_->ReleaseVertexBuffer(vertices);
        return made;
    });
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(IsLogged("[POPUP] D3D11 renderer failed to create a vertex buffer."));

    failures = SweepCreationFailures([this] {
        RendererIndexBuffer* indices = renderer_->CreateIndexBuffer(6, kBufferUsageCopy);
        const bool made = indices->block->buffer != nullptr;
        if (!made) {
            EXPECT_EQ(renderer_->LockIndexBuffer(indices), nullptr);
            EXPECT_TRUE(IsLogged("LockIndexBuffer: the index buffer has no device buffer."));
        }
        renderer_->ReleaseIndexBuffer(indices);
        return made;
    });
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(IsLogged("[POPUP] D3D11 renderer failed to create an index buffer."));

    // Sizes that are empty or past 32 bits are refused the same way, without asking the device.
    RendererVertexBuffer* empty = renderer_->CreateVertexBuffer(7, 0, kBufferUsageDynamic);
    RendererVertexBuffer* huge = renderer_->CreateVertexBuffer(495, 0x7fffffff, kBufferUsageDynamic);
    EXPECT_EQ(empty->block->buffer, nullptr);
    EXPECT_EQ(huge->block->buffer, nullptr);
    renderer_->ReleaseVertexBuffer(empty);
    renderer_->ReleaseVertexBuffer(huge);
}

TEST_P(RendererBuffers, DynamicLocksMapWithDiscardAndAreNotNested)
{
    RendererIndexBuffer* indices = renderer_->CreateIndexBuffer(4, kBufferUsageDynamic);
    auto* memory = static_cast<uint16_t*>(renderer_->LockIndexBuffer(indices));
    ASSERT_NE(memory, nullptr);
    EXPECT_TRUE(indices->locked);
    const uint16_t values[4] = {3, 1, 4, 1};
    std::memcpy(memory, values, sizeof values);
    EXPECT_EQ(renderer_->LockIndexBuffer(indices), nullptr);
    EXPECT_TRUE(IsLogged("LockIndexBuffer: the index buffer is locked."));
    renderer_->UnlockIndexBuffer(indices);
    EXPECT_FALSE(indices->locked);
    renderer_->UnlockIndexBuffer(indices);
    EXPECT_TRUE(IsLogged("UnlockIndexBuffer: the index buffer is not locked."));
    const std::vector<uint8_t> stored = ReadBuffer(indices->block->buffer, 8);
    EXPECT_EQ(std::memcmp(stored.data(), values, 8), 0);
    renderer_->ReleaseIndexBuffer(indices);
}

TEST_P(RendererBuffers, AFailedMapLeavesTheBufferUnlocked)
{
    RendererVertexBuffer* vertices = renderer_->CreateVertexBuffer(7, 2, kBufferUsageDynamic);
    RendererIndexBuffer* indices = renderer_->CreateIndexBuffer(2, kBufferUsageDynamic);
    HalvoD3D11_FailCall("ID3D11DeviceContext::Map", 1, E_OUTOFMEMORY);
    EXPECT_EQ(renderer_->LockVertexBuffer(vertices), nullptr);
    EXPECT_TRUE(IsLogged("[POPUP] D3D11 renderer failed to lock a vertex buffer."));
    EXPECT_FALSE(vertices->locked);
    EXPECT_NE(renderer_->LockVertexBuffer(vertices), nullptr) << "a later lock works";
    renderer_->UnlockVertexBuffer(vertices);

    HalvoD3D11_FailCall("ID3D11DeviceContext::Map", 1, E_OUTOFMEMORY);
    EXPECT_EQ(renderer_->LockIndexBuffer(indices), nullptr);
    EXPECT_TRUE(IsLogged("[POPUP] D3D11 renderer failed to lock an index buffer."));
    EXPECT_FALSE(indices->locked);
    renderer_->ReleaseVertexBuffer(vertices);
    renderer_->ReleaseIndexBuffer(indices);
}

TEST_P(RendererBuffers, CopyModeHandsOutOneCopyAndUploadsItWhole)
{
    for (uint32_t usage : {kBufferUsageCopy, kBufferUsageCopy | kBufferUsageDynamic}) {
        RendererIndexBuffer* indices = renderer_->CreateIndexBuffer(3, usage);
        auto* first = static_cast<uint16_t*>(renderer_->LockIndexBuffer(indices));
        ASSERT_NE(first, nullptr);
        const uint16_t values[3] = {7, 8, 9};
        std::memcpy(first, values, sizeof values);
        renderer_->UnlockIndexBuffer(indices);
        EXPECT_EQ(ReadBuffer(indices->block->buffer, 6), std::vector<uint8_t>({7, 0, 8, 0, 9, 0})) << "usage " << usage;

        // The second lock hands out the same copy with what was written before.
        auto* second = static_cast<uint16_t*>(renderer_->LockIndexBuffer(indices));
        EXPECT_EQ(second, first);
        second[1] = 0x102;
        renderer_->UnlockIndexBuffer(indices);
        EXPECT_EQ(ReadBuffer(indices->block->buffer, 6), std::vector<uint8_t>({7, 0, 2, 1, 9, 0})) << "usage " << usage;
        renderer_->ReleaseIndexBuffer(indices);
    }
}

class RendererColourSwap : public StateTest {
protected:
    // Writes colours (10, 20, 30, 40) and (1, 2, 3, 4) into two vertices of the mask.
    void WriteColours(RendererVertexBuffer* vertices, UINT stride, UINT offset)
    {
        auto* bytes = static_cast<uint8_t*>(renderer_->LockVertexBuffer(vertices));
        ASSERT_NE(bytes, nullptr);
        std::memset(bytes, 0xee, 2 * stride);
        const uint8_t first[4] = {10, 20, 30, 40};
        const uint8_t second[4] = {1, 2, 3, 4};
        std::memcpy(bytes + offset, first, 4);
        std::memcpy(bytes + stride + offset, second, 4);
        renderer_->UnlockVertexBuffer(vertices);
    }

    std::vector<uint8_t> ColoursInBuffer(RendererVertexBuffer* vertices, UINT stride, UINT offset)
    {
        const std::vector<uint8_t> bytes = ReadBuffer(vertices->block->buffer, 2 * stride);
        std::vector<uint8_t> colours;
        for (UINT vertex = 0; vertex < 2 && bytes.size() == 2 * stride; ++vertex) {
            for (UINT byte = 0; byte < 4; ++byte) colours.push_back(bytes[vertex * stride + offset + byte]);
        }
        return colours;
    }
};

TEST_P(RendererColourSwap, ColoursReachADeviceWithoutBgraVerticesSwapped)
{
    RestartWithoutBgraVertexColours();
    const std::vector<uint8_t> swapped = {30, 20, 10, 40, 3, 2, 1, 4};
    // Position, colour and texture coordinate: the colour at 12; colour and texture coordinate: at 0.
    for (const auto& [mask, stride, offset] : {std::tuple{7u, 24u, 12u}, std::tuple{6u, 12u, 0u}}) {
        for (uint32_t usage : {kBufferUsageDynamic, kBufferUsageCopy}) {
            SCOPED_TRACE("mask " + std::to_string(mask) + " usage " + std::to_string(usage));
            RendererVertexBuffer* vertices = renderer_->CreateVertexBuffer(mask, 2, usage);
            WriteColours(vertices, stride, offset);
            EXPECT_EQ(ColoursInBuffer(vertices, stride, offset), swapped);
            if (usage == kBufferUsageCopy) {
                // The copy keeps the colours as written, so a second upload is not swapped back.
                auto* bytes = static_cast<uint8_t*>(renderer_->LockVertexBuffer(vertices));
                EXPECT_EQ(std::vector<uint8_t>(bytes + offset, bytes + offset + 4),
                          std::vector<uint8_t>({10, 20, 30, 40}));
                renderer_->UnlockVertexBuffer(vertices);
                EXPECT_EQ(ColoursInBuffer(vertices, stride, offset), swapped);
            }
            const std::vector<uint8_t> rest = ReadBuffer(vertices->block->buffer, 2 * stride);
            EXPECT_EQ(rest[offset == 0 ? 4 : 0], 0xee) << "bytes beside the colour are untouched";
            renderer_->ReleaseVertexBuffer(vertices);
        }
    }
}

TEST_P(RendererColourSwap, ColoursReachADeviceWithBgraVerticesAsWritten)
{
    for (uint32_t usage : {kBufferUsageDynamic, kBufferUsageCopy}) {
        RendererVertexBuffer* vertices = renderer_->CreateVertexBuffer(7, 2, usage);
        WriteColours(vertices, 24, 12);
        EXPECT_EQ(ColoursInBuffer(vertices, 24, 12), std::vector<uint8_t>({10, 20, 30, 40, 1, 2, 3, 4}));
        renderer_->ReleaseVertexBuffer(vertices);
    }
}

HALVO_RENDERER_BACKENDS(RendererBuffers);
HALVO_RENDERER_BACKENDS(RendererColourSwap);

}  // namespace
