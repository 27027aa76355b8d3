// The seam between our Direct3D 11 object layer and the back end that holds
// the data and does the work.
//
// The object layer (everything in this folder outside a back end's own
// folder) owns the platform's objects, their descriptions, their reference
// counts, the pipeline state of the immediate context and every validation:
// a back end is only ever called with arguments that the platform would
// accept, already clipped and resolved (subresource indices in range, boxes
// inside their subresources, formats of views cast-compatible with their
// resources, every bound object alive for the duration of the call).
//
// A back end provides:
// - what it runs on: the adapter's description, the driver type it stands
//   for (a CPU device is WARP, a GPU HARDWARE), the highest feature level,
//   and the outputs with their display modes;
// - storage: one BackendResource per buffer or texture, created from its
//   shape with its initial data, which maps, writes, copies, clears and
//   generates mips on its subresources. A texture's view is passed as a
//   ViewRange; a back end that needs objects of its own for views keeps them
//   inside the BackendResource, keyed by the range;
// - shaders: one BackendShader per vertex or pixel shader, made from the
//   SPIR-V inside our compiler's code blob;
// - drawing: Draw receives the whole pipeline state of the draw (DrawState)
//   and the call's counts;
// - presenting: Present receives the swap chain's buffer to show and its window.
//
// The memory back end (memory/) keeps every subresource in CPU memory and
// records draws without rasterising them. A GPU back end adds a folder of its
// own and one line to backend_selection.cpp; nothing else changes.
#pragma once

#include <d3d11_1.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace halvo::d3d11 {

// The shape of a buffer or texture, as created.
struct ResourceShape {
    D3D11_RESOURCE_DIMENSION dimension = D3D11_RESOURCE_DIMENSION_UNKNOWN;
    DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;  // UNKNOWN for buffers
    UINT width = 0;                            // bytes for a buffer
    UINT height = 1;
    UINT mipLevels = 1;
    UINT arraySize = 1;
    D3D11_USAGE usage = D3D11_USAGE_DEFAULT;
    UINT bindFlags = 0;
    UINT cpuAccessFlags = 0;
    UINT miscFlags = 0;

    UINT SubresourceCount() const { return mipLevels * arraySize; }
    UINT MipOf(UINT subresource) const { return subresource % mipLevels; }
    UINT SliceOf(UINT subresource) const { return subresource / mipLevels; }
    UINT WidthAt(UINT mip) const { return width >> mip > 0 ? width >> mip : 1; }
    UINT HeightAt(UINT mip) const { return height >> mip > 0 ? height >> mip : 1; }
};

// The part of a texture a view sees, in the view's format.
struct ViewRange {
    DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;
    UINT firstMip = 0;
    UINT mipCount = 1;
    UINT firstSlice = 0;
    UINT sliceCount = 1;
    bool cube = false;
};

// Storage of one resource's subresources.
class BackendResource {
public:
    virtual ~BackendResource() = default;

    // CPU access to one subresource. The returned memory holds the
    // subresource's rows rowPitch bytes apart (depthPitch per array slice of a
    // 3D subresource); for WRITE_DISCARD the old contents need not be kept.
    // Null when the memory cannot be made available.
    virtual void* Map(UINT subresource, D3D11_MAP type, UINT* rowPitch, UINT* depthPitch) = 0;
    virtual void Unmap(UINT subresource) = 0;
    // Copies rows of a box of a subresource from CPU memory (in texels, or
    // bytes for a buffer; boxes of block-compressed formats are block-aligned).
    virtual void Write(UINT subresource, const D3D11_BOX& box, const void* data, UINT rowPitch) = 0;
    // Copies a box of a subresource of `source` (same format group) to (x, y)
    // of a subresource of this resource.
    virtual void CopyRegion(UINT subresource, UINT x, UINT y, BackendResource& source, UINT sourceSubresource,
                            const D3D11_BOX& box) = 0;
    virtual void ClearColor(const ViewRange& view, const FLOAT rgba[4]) = 0;
    virtual void ClearDepthStencil(const ViewRange& view, UINT clearFlags, FLOAT depth, UINT8 stencil) = 0;
    // Fills the levels after the view's first from the one above each (box filter).
    virtual void GenerateMips(const ViewRange& view) = 0;
};

enum class ShaderStage { kVertex, kPixel };

class BackendShader {
public:
    virtual ~BackendShader() = default;
};

// One vertex input of a vertex shader's signature, or one output of a pixel
// shader, as the code declares it.
struct SignatureElement {
    std::string semanticName;  // upper case, without its index
    UINT semanticIndex = 0;
    UINT location = 0;
    UINT componentCount = 0;
    enum class Type { kFloat, kUint, kSint } type = Type::kFloat;
    bool systemValue = false;  // SV_... with a built-in meaning, fed by the pipeline
};

struct BoundShader {
    BackendShader* shader = nullptr;
    const std::vector<SignatureElement>* inputs = nullptr;
};

struct BoundBuffer {
    BackendResource* resource = nullptr;
    UINT stride = 0;
    UINT offset = 0;
};

struct BoundTextureView {
    BackendResource* resource = nullptr;
    const ResourceShape* shape = nullptr;
    ViewRange range;
};

// The pipeline state of one draw, resolved from the immediate context.
struct DrawState {
    BoundShader vertexShader;
    BoundShader pixelShader;
    const std::vector<D3D11_INPUT_ELEMENT_DESC>* inputElements = nullptr;  // null without an input layout
    D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED;
    BoundBuffer vertexBuffers[D3D11_IA_VERTEX_INPUT_RESOURCE_SLOT_COUNT];
    BoundBuffer indexBuffer;
    DXGI_FORMAT indexFormat = DXGI_FORMAT_UNKNOWN;
    BackendResource* vertexConstantBuffers[D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT] = {};
    BackendResource* pixelConstantBuffers[D3D11_COMMONSHADER_CONSTANT_BUFFER_API_SLOT_COUNT] = {};
    BoundTextureView pixelResources[D3D11_COMMONSHADER_INPUT_RESOURCE_SLOT_COUNT];
    const D3D11_SAMPLER_DESC* pixelSamplers[D3D11_COMMONSHADER_SAMPLER_SLOT_COUNT] = {};
    BoundTextureView renderTargets[D3D11_SIMULTANEOUS_RENDER_TARGET_COUNT];
    BoundTextureView depthStencil;
    UINT viewportCount = 0;
    const D3D11_VIEWPORT* viewports = nullptr;
    UINT scissorCount = 0;
    const D3D11_RECT* scissors = nullptr;
    D3D11_RASTERIZER_DESC1 rasterizer{};
    D3D11_BLEND_DESC1 blend{};
    FLOAT blendFactor[4] = {};
    UINT sampleMask = 0xffffffff;
    D3D11_DEPTH_STENCIL_DESC depthStencilState{};
    UINT stencilReference = 0;
};

struct DrawCall {
    bool indexed = false;
    UINT count = 0;  // vertices or indices per instance
    UINT instanceCount = 1;
    UINT start = 0;  // first vertex or index
    INT baseVertex = 0;
    UINT startInstance = 0;
};

struct DisplayMode {
    UINT width = 0;
    UINT height = 0;
    DXGI_RATIONAL refreshRate{};
};

struct OutputInfo {
    std::wstring name;
    RECT desktop{};
    bool attached = true;
    std::vector<DisplayMode> modes;  // in the order the output reports them
};

struct AdapterInfo {
    std::wstring description;
    UINT vendorId = 0;
    UINT deviceId = 0;
    SIZE_T dedicatedVideoMemory = 0;
    SIZE_T sharedSystemMemory = 0;
    bool software = false;  // a CPU device: D3D_DRIVER_TYPE_WARP, else HARDWARE
    D3D_FEATURE_LEVEL highestFeatureLevel = D3D_FEATURE_LEVEL_11_0;
    std::vector<OutputInfo> outputs;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual const char* Name() const = 0;
    virtual AdapterInfo Describe() const = 0;

    // Null when the storage cannot be had (the caller answers E_OUTOFMEMORY).
    // `initial` holds one entry per subresource, or is null.
    virtual std::unique_ptr<BackendResource> CreateResource(const ResourceShape& shape,
                                                            const D3D11_SUBRESOURCE_DATA* initial) = 0;
    virtual std::unique_ptr<BackendShader> CreateShader(ShaderStage stage, const uint32_t* words, size_t wordCount) = 0;

    virtual void Draw(const DrawState& state, const DrawCall& call) = 0;
    virtual void Flush() = 0;

    // Shows the buffer in the window (a copy, without a display).
    virtual HRESULT Present(BackendResource& buffer, const ResourceShape& shape, HWND window, UINT syncInterval) = 0;
};

// The back end named by HALVO_D3D11_BACKEND (see backend_selection.cpp).
std::shared_ptr<Backend> CreateConfiguredBackend();

}  // namespace halvo::d3d11
