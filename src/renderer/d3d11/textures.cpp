// Textures from bitmaps (2D, padded by the bitmap packer, and cube maps), the
// format check, and texture release.
#include "renderer/d3d11/bitmap_packer.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"
#include "renderer/d3d11/texture_data.h"

bool RendImpDirect3D11::CreateTexture(HV_Bitmap*) { return false; }

bool RendImpDirect3D11::CreateTexture2D(HV_Bitmap*) { return false; }

bool RendImpDirect3D11::CreateTextureCube(HV_Bitmap*) { return false; }

void RendImpDirect3D11::ReleaseTexture(HV_BitmapRendererBlock&) {}

void RendImpDirect3D11::ReleaseTextureData(RendererTextureData*) {}

DXGI_FORMAT RendImpDirect3D11::ToDXGIFormat(int32_t) { return DXGI_FORMAT_UNKNOWN; }

bool RendImpDirect3D11::IsTextureFormatSupported(const HV_TextureDescription&) { return false; }
