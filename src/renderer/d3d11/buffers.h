// The back end's vertex and index buffers, as the front end holds them.
#pragma once

#include <d3d11.h>

#include <cstdint>

// What both kinds of buffer keep of the device buffer.
struct RendererBufferBlock {
    ID3D11Buffer* buffer = nullptr;  // null when its creation failed
    void* lockedMemory = nullptr;    // what the current lock handed out
    uint32_t byteSize = 0;
    uint8_t* cpuCopy = nullptr;  // copy mode: allocated on the first lock
};

// Usage bits of CreateVertexBuffer and CreateIndexBuffer.
constexpr uint32_t kBufferUsageDynamic = 1;  // D3D11_USAGE_DYNAMIC with CPU writes
constexpr uint32_t kBufferUsageCopy = 4;     // locks hand out the CPU copy; unlock uploads it

struct RendererVertexBuffer {
    RendererBufferBlock* block = nullptr;
    uint32_t vertexCount = 0;
    uint32_t usage = 0;
    uint32_t vertexFormat = 0;  // HV_VertexFormat mask
    bool locked = false;
};

// 16-bit indices.
struct RendererIndexBuffer {
    RendererBufferBlock* block = nullptr;
    uint32_t indexCount = 0;
    uint32_t usage = 0;
    bool locked = false;
};
