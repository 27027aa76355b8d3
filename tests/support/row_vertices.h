// The vertices of the two triangles that the tests drawing a row of pixels
// draw: each vertex holds its attributes one after another, in the order the
// program declares its inputs; every corner has the same values but for its
// position, so that what the vertex stage computes from them reaches every
// pixel unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/covering_quad.h"

enum class RowFormat { Float2, Float3, Float4, Unorm8x4, Uint8x4 };

struct RowAttribute {
    std::string name;      // the input's name in the source; GL texts call it "_in_" and the name
    const char* semantic;  // the HLSL semantic word
    uint32_t semanticIndex = 0;
    RowFormat format = RowFormat::Float4;
    uint32_t offset = 0;  // in the vertex
};

struct RowVertices {
    uint32_t stride = 16;
    std::vector<RowAttribute> attributes;  // attribute i is input location i
    std::vector<uint8_t> bytes;            // the six vertices
};

// Components of the format, and whether they are bytes.
inline int RowFormatComponents(RowFormat format)
{
    return format == RowFormat::Float2 ? 2 : format == RowFormat::Float3 ? 3 : 4;
}
inline bool RowFormatIsBytes(RowFormat format) { return format == RowFormat::Unorm8x4 || format == RowFormat::Uint8x4; }
