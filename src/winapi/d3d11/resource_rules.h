#pragma once

#include <d3d11_1.h>

#include <vector>

#include "winapi/d3d11/backend.h"
#include "winapi/d3d11/resources.h"

// The platform's rules for descriptions of resources, views and input
// layouts. Each check logs the first rule broken and answers false.
namespace halvo::d3d11 {

class Device;

// The D3D11_FORMAT_SUPPORT bits the device answers for a format.
UINT SupportOf(DXGI_FORMAT format);

// The largest side of a 2D texture, cube face and array at a feature level.
UINT MaxTextureSize(D3D_FEATURE_LEVEL level);

bool CheckBufferDesc(const char* entryPoint, const D3D11_BUFFER_DESC* desc, const D3D11_SUBRESOURCE_DATA* initial,
                     D3D_FEATURE_LEVEL level);
ResourceShape BufferShape(const D3D11_BUFFER_DESC& desc);

// `resolved` is the description with a mip count of 0 replaced by the full chain.
bool CheckTexture2DDesc(const char* entryPoint, Device* device, const D3D11_TEXTURE2D_DESC* desc,
                        const D3D11_SUBRESOURCE_DATA* initial, D3D11_TEXTURE2D_DESC* resolved);
ResourceShape TextureShape(const D3D11_TEXTURE2D_DESC& desc);

// A null description is resolved to the view of the whole resource.
bool CheckShaderResourceViewDesc(const char* entryPoint, Device* device, ResourceCore* resource,
                                 const D3D11_SHADER_RESOURCE_VIEW_DESC* desc, D3D11_SHADER_RESOURCE_VIEW_DESC* resolved,
                                 ViewRange* range);
bool CheckRenderTargetViewDesc(const char* entryPoint, Device* device, ResourceCore* resource,
                               const D3D11_RENDER_TARGET_VIEW_DESC* desc, D3D11_RENDER_TARGET_VIEW_DESC* resolved,
                               ViewRange* range);
bool CheckDepthStencilViewDesc(const char* entryPoint, ResourceCore* resource,
                               const D3D11_DEPTH_STENCIL_VIEW_DESC* desc, D3D11_DEPTH_STENCIL_VIEW_DESC* resolved,
                               ViewRange* range);

// Checks the elements and matches them against the vertex code's inputs by
// semantic; `offsets` receives each element's byte offset.
bool CheckInputLayout(const char* entryPoint, const D3D11_INPUT_ELEMENT_DESC* elements, UINT count,
                      const std::vector<SignatureElement>& inputs, std::vector<UINT>* offsets);
// Whether the elements feed every input of a vertex shader (by semantic, with a fitting type).
bool LayoutFeedsInputs(const char* entryPoint, const D3D11_INPUT_ELEMENT_DESC* elements, UINT count,
                       const std::vector<SignatureElement>& inputs);
// Whether the vertex shader writes every input the pixel shader reads (by semantic).
bool StagesLink(const char* entryPoint, const std::vector<SignatureElement>& vertexOutputs,
                const std::vector<SignatureElement>& pixelInputs);

}  // namespace halvo::d3d11
