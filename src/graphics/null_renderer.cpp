#include "graphics/null_renderer.h"

void RendererImplementationNull::GetDesktopSize(int32_t, int32_t& width, int32_t& height)
{
    width = 1;
    height = 1;
}

bool RendererImplementationNull::CreateTexture(HV_Bitmap* bitmap)
{
    if (bitmap == nullptr || bitmap->pixelWidth <= 0 || bitmap->pixelHeight <= 0) return false;
    HV_BitmapRendererBlock& block = bitmap->renderer;
    block.textureWidth = bitmap->pixelWidth;
    block.textureHeight = bitmap->pixelHeight;
    block.uv[0] = 0.0f;
    block.uv[1] = 0.0f;
    block.uv[2] = static_cast<float>(bitmap->width) / static_cast<float>(bitmap->pixelWidth);
    block.uv[3] = static_cast<float>(bitmap->height) / static_cast<float>(bitmap->pixelHeight);
    block.loaded = true;
    return true;
}

void RendererImplementationNull::ReleaseTexture(HV_BitmapRendererBlock& block)
{
    block.loaded = false;
    block.texture = nullptr;
}
