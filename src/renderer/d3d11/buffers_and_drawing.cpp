// Vertex and index buffers, the viewport, clears, the constant upload before
// each draw, and the draws. Dynamic buffers are mapped with discard on lock;
// copy-mode buffers hand out a CPU copy that unlock uploads whole. Vertex
// colours are swapped on their way to a device that cannot read B8G8R8A8.
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "core/logging.h"
#include "renderer/d3d11/buffers.h"
#include "renderer/d3d11/com_reference.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/shader_program.h"
#include "renderer/d3d11/state_messages.h"
#include "renderer/d3d11/vertex_elements.h"

namespace {

constexpr uint32_t kIndexBytes = 2;

// False, leaving the block without a device buffer, when there is no device,
// the size is 0 or does not fit in 32 bits, or the device refuses.
bool CreateDeviceBuffer(ID3D11Device* device, RendererBufferBlock& block, int64_t byteSize, uint32_t stride,
                        uint32_t usage, UINT bindFlags)
{
    if (device == nullptr || byteSize <= 0 || byteSize > int64_t(UINT32_MAX)) return false;
    const bool dynamic = (usage & kBufferUsageDynamic) != 0;
    const D3D11_BUFFER_DESC desc{UINT(byteSize),
                                 dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT,
                                 bindFlags,
                                 dynamic ? UINT(D3D11_CPU_ACCESS_WRITE) : 0u,
                                 0,
                                 stride};
    if (FAILED(device->CreateBuffer(&desc, nullptr, &block.buffer))) return false;
    block.byteSize = uint32_t(byteSize);
    return true;
}

void SwapColours(uint8_t* vertices, uint32_t count, uint32_t stride, uint32_t offset)
{
    for (uint32_t vertex = 0; vertex < count; ++vertex) {
        uint8_t* colour = vertices + size_t(vertex) * stride + offset;
        std::swap(colour[0], colour[2]);
    }
}

}  // namespace

void RendImpDirect3D11::SetViewport(int32_t x, int32_t y, int32_t width, int32_t height, float minDepth, float maxDepth)
{
    if (!HasContext("SetViewport")) return;
    const D3D11_VIEWPORT viewport = {float(x), float(y), float(width), float(height), minDepth, maxDepth};
    m_context->RSSetViewports(1, &viewport);
}

void RendImpDirect3D11::Clear(float r, float g, float b, float a)
{
    if (!HasContext("Clear")) return;
    const FLOAT colour[4] = {r, g, b, a};
    for (ID3D11RenderTargetView* view : m_currentColorViews) {
        if (view != nullptr) m_context->ClearRenderTargetView(view, colour);
    }
}

void RendImpDirect3D11::ClearDepth(float value)
{
    if (!HasContext("ClearDepth")) return;
    if (m_currentDepthView != nullptr) {
        m_context->ClearDepthStencilView(m_currentDepthView, D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, value, 0);
    }
}

bool RendImpDirect3D11::IsDrawable(const char* operation, const char* kind, const RendererBufferBlock* block,
                                   bool locked)
{
    if (block == nullptr || block->buffer == nullptr) {
        HV_Log(HV_LOG_ERROR, kNoDeviceBufferText, operation, kind);
        return false;
    }
    if (locked) {
        HV_Log(HV_LOG_ERROR, kBufferLockedText, operation, kind);
        return false;
    }
    return true;
}

bool RendImpDirect3D11::PrepareDraw(const char* operation, RendererVertexBuffer* vertices, RendererIndexBuffer* indices,
                                    int64_t indexCount)
{
    if (!HasContext(operation)) return false;
    if (!IsDrawable(operation, "vertex", vertices != nullptr ? vertices->block : nullptr,
                    vertices != nullptr && vertices->locked) ||
        !IsDrawable(operation, "index", indices != nullptr ? indices->block : nullptr,
                    indices != nullptr && indices->locked)) {
        return false;
    }
    if (indexCount < 0 || indexCount > int64_t(indices->indexCount)) {
        HV_Log(HV_LOG_ERROR, kCountRangeText, operation, "index", static_cast<long long>(indexCount),
               static_cast<long long>(indices->indexCount));
        return false;
    }
    // Held until the program's buffers are bound: no other thread releases or replaces it meanwhile.
    std::lock_guard<std::mutex> hold(m_programLock);
    if (m_currentShader == nullptr || m_currentShader->program == nullptr) {
        HV_Log(HV_LOG_ERROR, kNoProgramText, operation);
        return false;
    }
    if (m_depthStateStale) ApplyDepthState();
    HV_Shader& shader = *m_currentShader;
    RendererShaderProgram& program = *shader.program;
    if (program.serial != m_boundProgram) BindProgramObjects(program);  // replaced since it was bound
    if (shader.vertexConstants.count > 0 && program.vertexConstants != nullptr) {
        UpdateConstantBuffer(shader.vertexConstants.bytes.GetData(), shader.vertexConstants.byteSize,
                             program.vertexConstants);
        m_context->VSSetConstantBuffers(0, 1, &program.vertexConstants);
    }
    if (shader.pixelConstants.count > 0 && program.pixelConstants != nullptr) {
        UpdateConstantBuffer(shader.pixelConstants.bytes.GetData(), shader.pixelConstants.byteSize,
                             program.pixelConstants);
        m_context->PSSetConstantBuffers(0, 1, &program.pixelConstants);
    }
    shader.flags |= HV_SHADER_CONSTANTS_UPLOADED;
    const UINT stride = VertexStride(vertices->vertexFormat);
    const UINT offset = 0;
    m_context->IASetVertexBuffers(0, 1, &vertices->block->buffer, &stride, &offset);
    m_context->IASetIndexBuffer(indices->block->buffer, DXGI_FORMAT_R16_UINT, 0);
    return true;
}

void RendImpDirect3D11::UpdateConstantBuffer(const void* bytes, uint32_t byteCount, ID3D11Buffer* buffer)
{
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(m_context->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) {
        HV_Popup(HV_LOG_ERROR, "%s", kConstantBufferLockFailedText);
        return;
    }
    std::memcpy(mapped.pData, bytes, byteCount);
    m_context->Unmap(buffer, 0);
}

void RendImpDirect3D11::DrawTriangles(RendererVertexBuffer* vertices, int32_t, RendererIndexBuffer* indices,
                                      int32_t triangleCount)
{
    const int64_t indexCount = 3 * int64_t(triangleCount);
    if (!PrepareDraw("DrawTriangles", vertices, indices, indexCount)) return;
    m_context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    m_context->DrawIndexed(UINT(indexCount), 0, 0);
}

void RendImpDirect3D11::DrawLines(RendererVertexBuffer* vertices, RendererIndexBuffer* indices, int32_t lineCount)
{
    const int64_t indexCount = 2 * int64_t(lineCount);
    if (!PrepareDraw("DrawLines", vertices, indices, indexCount)) return;
    m_context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    m_context->DrawIndexed(UINT(indexCount), 0, 0);
}

void RendImpDirect3D11::DrawTrianglesInstanced(RendererVertexBuffer* vertices, int32_t, RendererIndexBuffer* indices,
                                               int32_t triangleCount, int32_t instanceCount)
{
    if (instanceCount < 0) {
        HV_Log(HV_LOG_ERROR, kCountRangeText, "DrawTrianglesInstanced", "instance",
               static_cast<long long>(instanceCount), static_cast<long long>(INT32_MAX));
        return;
    }
    const int64_t indexCount = 3 * int64_t(triangleCount);
    if (!PrepareDraw("DrawTrianglesInstanced", vertices, indices, indexCount)) return;
    m_context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    m_context->DrawIndexedInstanced(UINT(indexCount), UINT(instanceCount), 0, 0, 0);
}

void* RendImpDirect3D11::LockBuffer(const char* operation, const char* kind, RendererBufferBlock& block, uint32_t usage,
                                    bool& locked, const char* failure)
{
    if (!HasContext(operation)) return nullptr;
    if (block.buffer == nullptr) {
        HV_Log(HV_LOG_ERROR, kNoDeviceBufferText, operation, kind);
        return nullptr;
    }
    if (locked) {
        HV_Log(HV_LOG_ERROR, kBufferLockedText, operation, kind);
        return nullptr;
    }
    if ((usage & kBufferUsageCopy) != 0) {
        if (block.cpuCopy == nullptr) block.cpuCopy = new (std::nothrow) uint8_t[block.byteSize];
        block.lockedMemory = block.cpuCopy;
    } else {
        D3D11_MAPPED_SUBRESOURCE mapped{};
        if (SUCCEEDED(m_context->Map(block.buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) {
            block.lockedMemory = mapped.pData;
        }
    }
    // A lock that gave no memory leaves the buffer unlocked.
    if (block.lockedMemory == nullptr) {
        HV_Popup(HV_LOG_ERROR, "%s", failure);
        return nullptr;
    }
    locked = true;
    return block.lockedMemory;
}

void RendImpDirect3D11::UnlockBuffer(const char* operation, const char* kind, RendererBufferBlock& block,
                                     uint32_t usage, bool& locked, const char* failure, const ColourSwap& swap)
{
    if (!locked) {
        HV_Log(HV_LOG_ERROR, kBufferNotLockedText, operation, kind);
        return;
    }
    locked = false;
    auto* memory = static_cast<uint8_t*>(std::exchange(block.lockedMemory, nullptr));
    if (!HasContext(operation)) return;
    if ((usage & kBufferUsageCopy) == 0) {
        if (swap.needed) SwapColours(memory, swap.count, swap.stride, swap.offset);
        m_context->Unmap(block.buffer, 0);
        return;
    }
    // The CPU copy keeps what the front end wrote: colours are swapped in the upload only.
    std::unique_ptr<uint8_t[]> swapped;
    if (swap.needed) {
        swapped.reset(new (std::nothrow) uint8_t[block.byteSize]);
        if (swapped == nullptr) {
            HV_Popup(HV_LOG_ERROR, "%s", failure);
            return;
        }
        std::memcpy(swapped.get(), memory, block.byteSize);
        SwapColours(swapped.get(), swap.count, swap.stride, swap.offset);
        memory = swapped.get();
    }
    UploadCopy(block, usage, memory, failure);
}

void RendImpDirect3D11::UploadCopy(RendererBufferBlock& block, uint32_t usage, const uint8_t* bytes,
                                   const char* failure)
{
    // A dynamic buffer takes no UpdateSubresource: it is written through a discard map.
    if ((usage & kBufferUsageDynamic) == 0) {
        m_context->UpdateSubresource(block.buffer, 0, nullptr, bytes, 0, 0);
        return;
    }
    D3D11_MAPPED_SUBRESOURCE mapped{};
    if (FAILED(m_context->Map(block.buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) {
        HV_Popup(HV_LOG_ERROR, "%s", failure);
        return;
    }
    std::memcpy(mapped.pData, bytes, block.byteSize);
    m_context->Unmap(block.buffer, 0);
}

void RendImpDirect3D11::ReleaseBuffer(RendererBufferBlock* block, bool locked, uint32_t usage)
{
    if (locked && (usage & kBufferUsageCopy) == 0 && m_context != nullptr) m_context->Unmap(block->buffer, 0);
    delete[] block->cpuCopy;
    ReleaseReference(block->buffer);
    delete block;
}

RendererVertexBuffer* RendImpDirect3D11::CreateVertexBuffer(uint32_t vertexFormat, int32_t count, uint32_t usage)
{
    auto* vertices = new RendererVertexBuffer;
    vertices->block = new RendererBufferBlock;
    vertices->vertexCount = uint32_t(count > 0 ? count : 0);
    vertices->usage = usage;
    vertices->vertexFormat = vertexFormat;
    const uint32_t stride = VertexStride(vertexFormat);
    if (!CreateDeviceBuffer(m_device, *vertices->block, int64_t(count) * stride, stride, usage,
                            D3D11_BIND_VERTEX_BUFFER)) {
        HV_Popup(HV_LOG_ERROR, "%s", kVertexBufferCreateFailedText);
    }
    return vertices;
}

void RendImpDirect3D11::ReleaseVertexBuffer(RendererVertexBuffer* vertices)
{
    if (vertices == nullptr) return;
    ReleaseBuffer(vertices->block, vertices->locked, vertices->usage);
    delete vertices;
}

void* RendImpDirect3D11::LockVertexBuffer(RendererVertexBuffer* vertices)
{
    if (vertices == nullptr) return nullptr;
    return LockBuffer("LockVertexBuffer", "vertex", *vertices->block, vertices->usage, vertices->locked,
                      kVertexBufferLockFailedText);
}

void RendImpDirect3D11::UnlockVertexBuffer(RendererVertexBuffer* vertices)
{
    if (vertices == nullptr) return;
    const uint32_t mask = vertices->vertexFormat;
    ColourSwap swap;
    swap.needed = (mask & kVertexColorBit) != 0 && (m_capabilities & kCapabilityBgraVertexColors) == 0;
    swap.count = vertices->vertexCount;
    swap.stride = VertexStride(mask);
    swap.offset = VertexElementOffset(mask, kVertexColorBit);
    UnlockBuffer("UnlockVertexBuffer", "vertex", *vertices->block, vertices->usage, vertices->locked,
                 kVertexBufferLockFailedText, swap);
}

RendererIndexBuffer* RendImpDirect3D11::CreateIndexBuffer(int32_t count, uint32_t usage)
{
    auto* indices = new RendererIndexBuffer;
    indices->block = new RendererBufferBlock;
    indices->indexCount = uint32_t(count > 0 ? count : 0);
    indices->usage = usage;
    if (!CreateDeviceBuffer(m_device, *indices->block, int64_t(count) * kIndexBytes, kIndexBytes, usage,
                            D3D11_BIND_INDEX_BUFFER)) {
        HV_Popup(HV_LOG_ERROR, "%s", kIndexBufferCreateFailedText);
    }
    return indices;
}

void RendImpDirect3D11::ReleaseIndexBuffer(RendererIndexBuffer* indices)
{
    if (indices == nullptr) return;
    ReleaseBuffer(indices->block, indices->locked, indices->usage);
    delete indices;
}

void* RendImpDirect3D11::LockIndexBuffer(RendererIndexBuffer* indices)
{
    if (indices == nullptr) return nullptr;
    return LockBuffer("LockIndexBuffer", "index", *indices->block, indices->usage, indices->locked,
                      kIndexBufferLockFailedText);
}

void RendImpDirect3D11::UnlockIndexBuffer(RendererIndexBuffer* indices)
{
    if (indices == nullptr) return;
    UnlockBuffer("UnlockIndexBuffer", "index", *indices->block, indices->usage, indices->locked,
                 kIndexBufferLockFailedText, ColourSwap{});
}
