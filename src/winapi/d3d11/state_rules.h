#pragma once

#include <d3d11_1.h>

#include <vector>

// The platform's rules for state descriptions, and the keys under which
// equal descriptions find the same state object.
namespace halvo::d3d11 {

bool CheckBlendDesc(const char* entryPoint, const D3D11_BLEND_DESC1& desc);
bool CheckRasterizerDesc(const char* entryPoint, const D3D11_RASTERIZER_DESC1& desc);
bool CheckSamplerDesc(const char* entryPoint, const D3D11_SAMPLER_DESC* desc);
bool CheckDepthStencilDesc(const char* entryPoint, const D3D11_DEPTH_STENCIL_DESC* desc);

// The 11.1 descriptions that the 11.0 ones stand for.
D3D11_BLEND_DESC1 WidenBlendDesc(const D3D11_BLEND_DESC& desc);
D3D11_RASTERIZER_DESC1 WidenRasterizerDesc(const D3D11_RASTERIZER_DESC& desc);

// The description a state keeps and is found by: the fields the platform
// documents as ignored take one value, so that descriptions differing only
// there are one object. RenderTarget[1..7] of a blend without independent
// blending become RenderTarget[0], which every target uses; the stencil
// fields of a depth-stencil state without stencil, the maximum anisotropy of
// a sampler that does not filter anisotropically and the border colour of
// one that addresses no border take their documented defaults; line
// antialiasing of a multisampling rasterizer is off.
D3D11_BLEND_DESC1 Normalized(const D3D11_BLEND_DESC1& desc);
D3D11_RASTERIZER_DESC1 Normalized(const D3D11_RASTERIZER_DESC1& desc);
D3D11_SAMPLER_DESC Normalized(const D3D11_SAMPLER_DESC& desc);
D3D11_DEPTH_STENCIL_DESC Normalized(const D3D11_DEPTH_STENCIL_DESC& desc);

std::vector<unsigned char> StateKey(const D3D11_BLEND_DESC1& desc);
std::vector<unsigned char> StateKey(const D3D11_RASTERIZER_DESC1& desc);
std::vector<unsigned char> StateKey(const D3D11_SAMPLER_DESC& desc);
std::vector<unsigned char> StateKey(const D3D11_DEPTH_STENCIL_DESC& desc);

}  // namespace halvo::d3d11
