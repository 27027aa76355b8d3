// A presented buffer as a display shows it: 8-bit R, G, B, A pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "winapi/d3d11/format_table.h"

namespace halvo::d3d11 {

// The texels of a subresource (rows `rowPitch` bytes apart) as R, G, B, A
// bytes, rows without gaps. Eight-bit formats keep their stored bytes (sRGB
// ones as encoded, as a display shows them); wider ones are clamped to 0..1
// and rounded to 8 bits.
std::vector<uint8_t> ToRgba(const FormatInfo& info, const uint8_t* texels, size_t rowPitch, uint32_t width,
                            uint32_t height);

}  // namespace halvo::d3d11
