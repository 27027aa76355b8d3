#pragma once

#include <dxgiformat.h>

#include <cstdint>

// Bitmap pixels are R, G, B, A bytes whatever the format of the render
// target they are read from. Each pixel is the texel as a shader samples it
// (channels the format lacks read 0, alpha 1, the X of B8G8R8X8 1; a depth
// texel is its depth in the red channel), clamped to 0..1 and rounded to 8
// bits.

// Bytes of one texel of the formats a render target can have; 0 for others.
uint32_t ReadBackTexelSize(DXGI_FORMAT format);
// Converts one row of `width` texels of the format into R, G, B, A pixels.
void ConvertTexelRow(DXGI_FORMAT format, const uint8_t* texels, uint8_t* pixels, int32_t width);
