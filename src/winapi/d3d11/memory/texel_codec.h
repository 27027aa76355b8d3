#pragma once

#include <cstdint>

#include "winapi/d3d11/format_table.h"

namespace halvo::d3d11::memory {

// The four components of one texel: colour R, G, B, A as floats (integer
// formats keep their integers exactly), or depth (0) and stencil (1).
struct Texel {
    double values[4] = {0.0, 0.0, 0.0, 1.0};
};

// Reads one texel (bytesPerBlock bytes) of a non-block-compressed format.
Texel DecodeTexel(const FormatInfo& info, const uint8_t* bytes);

// Writes the components named by componentMask (bit c for component c) of
// one texel, leaving the other bits as they are. Padding channels are
// written whenever any component is. Conversions: a normalised channel is
// clamped and rounded to the nearest step, halves away from zero; a 16-bit
// float rounds to nearest even; an sRGB channel is encoded from linear.
void EncodeTexel(const FormatInfo& info, const Texel& texel, uint32_t componentMask, uint8_t* bytes);

// Sets the bits that EncodeTexel with this component mask writes.
void WrittenBits(const FormatInfo& info, uint32_t componentMask, uint8_t* bytes);

}  // namespace halvo::d3d11::memory
