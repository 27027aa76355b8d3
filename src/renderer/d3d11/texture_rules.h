#pragma once

#include <d3d11.h>

#include <cstdint>

// Sizes, level counts and formats of the textures and render targets the
// Direct3D 11 back end makes for bitmaps.

// A cube has six faces, one per array slice.
constexpr int kCubeFaces = 6;

// v itself when it is a power of two (0 included), else the next one up
// (100 gives 128).
uint32_t NextPowerOfTwo(uint32_t v);
bool IsPowerOfTwo(uint32_t v);

// Mip levels of a texture of width x height (for a cube, of one face): one
// when the bitmap's mip setting is 1 or a side is below 17; otherwise one
// more for every halving while both sides stay above 16, at most `setting`
// levels when the setting is not 0. 256 x 256 gives 5, 33 x 1000 gives 2.
uint32_t MipLevelCount(int32_t width, int32_t height, uint32_t setting);

// The DXGI format of a texture format code (HV_TextureFormat);
// DXGI_FORMAT_UNKNOWN for codes without one.
DXGI_FORMAT ToDXGIFormat(int32_t code);
// Codes 1 to 3 are depth formats.
bool IsDepthTextureFormat(int32_t code);

// A shader view of every level of a 2D texture or a cube.
D3D11_SHADER_RESOURCE_VIEW_DESC ShaderViewOfAllLevels(DXGI_FORMAT format, bool cube);
