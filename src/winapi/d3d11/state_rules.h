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

std::vector<unsigned char> StateKey(const D3D11_BLEND_DESC1& desc);
std::vector<unsigned char> StateKey(const D3D11_RASTERIZER_DESC1& desc);
std::vector<unsigned char> StateKey(const D3D11_SAMPLER_DESC& desc);
std::vector<unsigned char> StateKey(const D3D11_DEPTH_STENCIL_DESC& desc);

}  // namespace halvo::d3d11
