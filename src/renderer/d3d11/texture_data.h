// What the back end attaches to a bitmap for its texture or render target.
#pragma once

#include <d3d11.h>

struct RendererTextureData {
    ID3D11Resource* texture = nullptr;               // the ID3D11Texture2D
    ID3D11ShaderResourceView* shaderView = nullptr;  // null for depth targets
    ID3D11RenderTargetView* targetViews[6] = {};     // entry 0 for a 2D target, one per face for a cube
    ID3D11DepthStencilView* depthView = nullptr;     // depth targets only
    bool mipsCurrent = true;     // false while a mip-mapped target was drawn to since its mips were made
    bool generatesMips = false;  // more than one level, made on the device
};
