#pragma once

#include <d3d11.h>

#include <cstdint>

// The vertex elements of the HV_VertexFormat bits, in the order they lie in
// a vertex. Strides, the colour's offset and input layouts all come from
// this one table.
struct VertexElement {
    uint32_t bit;  // HV_VertexFormat bit
    const char* semantic;
    uint32_t semanticIndex;
    DXGI_FORMAT format;  // the colour row's format is chosen by the device (VertexColorFormat)
    uint32_t bytes;
};

// One row per element, in vertex order: bit, semantic, index, format, bytes.
constexpr VertexElement kVertexElements[] = {
    {1, "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},          //
    {2, "COLOR", 0, DXGI_FORMAT_B8G8R8A8_UNORM, 4},               //
    {4, "TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 8},              //
    {16, "TEXCOORD", 1, DXGI_FORMAT_R32G32_FLOAT, 8},             //
    {8, "NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},            //
    {32, "TANGENT", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},          //
    {64, "BINORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 12},         //
    {128, "BLENDINDICES", 0, DXGI_FORMAT_R8G8B8A8_UINT, 4},       //
    {256, "BLENDWEIGHT", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 16},  //
};
constexpr int kVertexElementCount = sizeof(kVertexElements) / sizeof(kVertexElements[0]);
static_assert(kVertexElementCount == 9);

constexpr uint32_t kVertexColorBit = 2;

// Bytes of one vertex of the mask: the sum of its elements' sizes.
constexpr uint32_t VertexStride(uint32_t mask)
{
    uint32_t bytes = 0;
    for (const VertexElement& element : kVertexElements) bytes += (mask & element.bit) != 0 ? element.bytes : 0;
    return bytes;
}

// Byte offset of the element `bit` in a vertex of the mask.
constexpr uint32_t VertexElementOffset(uint32_t mask, uint32_t bit)
{
    uint32_t offset = 0;
    for (const VertexElement& element : kVertexElements) {
        if (element.bit == bit) break;
        offset += (mask & element.bit) != 0 ? element.bytes : 0;
    }
    return offset;
}

static_assert(VertexStride(7) == 24 && VertexElementOffset(7, kVertexColorBit) == 12);
static_assert(VertexStride(511) == 88);

// Packed vertex colours are read as B8G8R8A8 when the device can, else as
// R8G8B8A8 (and swapped when they are written).
constexpr DXGI_FORMAT VertexColorFormat(bool deviceReadsBgra)
{
    return deviceReadsBgra ? DXGI_FORMAT_B8G8R8A8_UNORM : DXGI_FORMAT_R8G8B8A8_UNORM;
}

// The input layout of a vertex of the mask, in input slot 0, per vertex,
// into room for kVertexElementCount elements; returns the number written.
int BuildInputLayout(uint32_t mask, bool deviceReadsBgra, D3D11_INPUT_ELEMENT_DESC* elements);
