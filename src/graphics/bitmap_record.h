#pragma once

#include <cstdint>

#include "foundation/string.h"

// The texture object a renderer back end makes for a bitmap; the back end
// defines it.
struct RendererTextureData;

// Texture format codes of HV_TextureDescription and HV_Bitmap.
enum HV_TextureFormat : int32_t {
    HV_TEXTURE_FORMAT_NONE = 0,
    HV_TEXTURE_FORMAT_D16 = 1,
    HV_TEXTURE_FORMAT_D24S8 = 2,
    HV_TEXTURE_FORMAT_D32F = 3,
    HV_TEXTURE_FORMAT_R16F = 4,
    HV_TEXTURE_FORMAT_RGBA16F = 5,
    HV_TEXTURE_FORMAT_R32F = 6,
    HV_TEXTURE_FORMAT_B8G8R8A8 = 7,
    HV_TEXTURE_FORMAT_B8G8R8X8 = 8,
};

// Texture types.
enum HV_TextureType : int32_t {
    HV_TEXTURE_TYPE_2D = 1,
    HV_TEXTURE_TYPE_VOLUME = 2,
    HV_TEXTURE_TYPE_CUBE = 3,
};

// Bits of HV_Bitmap::flags.
constexpr uint32_t HV_BITMAP_TRANSPARENT_PADDING = 1;  // the packer may pad with transparent pixels
constexpr uint32_t HV_BITMAP_RENDER_TARGET = 4;

// Pack modes: how a bitmap is padded for a texture of power-of-two size.
enum HV_BitmapPackMode : int32_t {
    HV_PACK_PAD_EXPAND = 0,
    HV_PACK_PAD_TRANSPARENT = 2,
    HV_PACK_NO_PADDING = 3,
};

// What the renderer keeps in a bitmap once it made a texture of it.
struct HV_BitmapRendererBlock {
    bool loaded = false;
    float uv[4] = {0.0f, 0.0f, 1.0f, 1.0f};  // left, top, right, bottom in the texture
    int32_t textureWidth = 0;
    int32_t textureHeight = 0;
    RendererTextureData* texture = nullptr;  // released only through the renderer
};

// One bitmap of the bitmap table. Pixels are rows without gaps of 4 bytes a
// pixel in the channel order the renderer asks for, alpha last; the image
// loader allocates and frees them. Guarded by GET_BITMAP while in the table.
struct HV_Bitmap {
    String name;
    uint32_t hash = 0;        // HVI_HashName of the name
    uint16_t references = 0;  // at most kBitmapReferenceLimit
    int32_t cacheMode = 0;    // the mode it was created with
    uint8_t* pixels = nullptr;
    int32_t pixelWidth = 0;
    int32_t pixelHeight = 0;
    int32_t width = 0;  // logical size
    int32_t height = 0;
    int32_t format = HV_TEXTURE_FORMAT_B8G8R8A8;
    int32_t type = HV_TEXTURE_TYPE_2D;
    uint16_t mips = 1;  // 1 one level, 0 as many as the rule gives, n > 1 at most n
    uint32_t flags = 0;
    int32_t packMode = HV_PACK_PAD_EXPAND;
    HV_BitmapRendererBlock renderer;
    // A thread is reading its pixels outside GET_BITMAP; others that need
    // them wait for that read instead of starting their own.
    bool loading = false;
};

// Seven 32-bit words describing a texture the front end asks about.
struct HV_TextureDescription {
    int32_t format = 0;
    int32_t type = HV_TEXTURE_TYPE_2D;
    int32_t mips = 1;
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    int32_t renderTarget = 0;
};
static_assert(sizeof(HV_TextureDescription) == 28, "seven 32-bit words");

// Up to four colour targets and a depth target; without a first colour
// target the set stands for the back buffer.
struct HV_RenderTargetSet {
    HV_Bitmap* color[4] = {};
    HV_Bitmap* depth = nullptr;
    int32_t faces[4] = {};  // cube face drawn to, per colour target
};
