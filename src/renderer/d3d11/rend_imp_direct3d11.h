// The renderer back end over Direct3D 11 and DXGI. One instance per process,
// made and destroyed only through the entry points HALVO_RendImp_GetInterface
// and HALVO_RendImp_Unload (renderer_entry_points.cpp, declared in graphics);
// everything runs on the main thread.
//
// Where each concern lives (all in this folder):
//   device.cpp                 Initialize, Shutdown, device creation and its capability bits,
//                              the constant queries and the threading capabilities
//   adapter_outputs.cpp        the DXGI factory, the adapter and its attached outputs, desktop sizes
//   display_modes.cpp          the output's display modes
//   swap_chain.cpp             the swap chain and the back-buffer colour and depth views
//   window_mode.cpp            quick re-initialisation, the window mode, fullscreen on activation
//   frame.cpp                  frame begin and present
//   error_reporting.cpp        the error report with the device-removed reason
//   states.cpp                 blend, rasterizer, sampler and depth-stencil states and the
//                              calls that select them (scissor, cull, blend, filters)
//   buffers.h,
//   buffers_and_drawing.cpp    vertex and index buffers, viewport, clears, constant upload, draws
//   texture_data.h,
//   textures.cpp               textures from bitmaps, the format check, texture release
//   bitmap_packer.h/.cpp       power-of-two padding of bitmap pixels for upload
//   render_targets.cpp         render targets, the render-target set, texture binding, read-back
//   shader_program.h,
//   shader_programs.cpp        shader programs and their input layouts
//   device_messages.h          the message texts of the device and presentation
#pragma once

#include <d3d11_1.h>
#include <dxgi1_2.h>

#include <cstdint>
#include <mutex>

#include "foundation/array.h"
#include "foundation/string.h"
#include "graphics/renderer_implementation.h"

struct HVI_EngineState;
class ImageLoaderImp;
struct RendererBufferBlock;
struct RendererShaderProgram;

class RendImpDirect3D11 final : public RendererImplementation {
public:
    RendImpDirect3D11() = default;
    RendImpDirect3D11(const RendImpDirect3D11&) = delete;
    RendImpDirect3D11& operator=(const RendImpDirect3D11&) = delete;
    // Releases the outputs and the adapter; the device objects are Shutdown's.
    ~RendImpDirect3D11() override;

    bool Reserved1() override;
    uint32_t GetThreadingCapabilities() override;
    int32_t GetMaxTextureSize() override;
    bool CanDraw() override;
    int32_t GetRendererId() override;
    const char* GetName() override;
    int32_t GetDisplayOutputCount() override;
    void GetDesktopSize(int32_t displayIndex, int32_t& width, int32_t& height) override;
    int32_t GetTextureChannelOrder() override;
    int32_t GetVertexColorOrder() override;
    bool SupportsNonPowerOfTwoTextures() override;
    bool Initialize(HV_EngineInterface* engine, HVI_EngineState* state, const HV_VideoParameters& video) override;
    bool QuickReinitialize(int32_t displayIndex, int32_t width, int32_t height, bool windowed) override;
    void Shutdown() override;
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height, float minDepth, float maxDepth) override;
    void SetActive(bool active) override;
    bool SetRenderTargets(const HV_RenderTargetSet& set) override;
    bool ReadRenderTargetPixels(HV_Bitmap* bitmap) override;
    bool IsTextureFormatSupported(const HV_TextureDescription& description) override;
    bool CreateRenderTarget(HV_Bitmap* bitmap) override;
    bool CreateTexture(HV_Bitmap* bitmap) override;
    void ReleaseTexture(HV_BitmapRendererBlock& block) override;
    uint32_t GetShaderFeatureLevel() override;
    uint32_t GetShaderTarget() override;
    bool CreateShaderProgram(HV_Shader* shader, const ShaderTool::ShaderDescription* description,
                             const ByteBuffer* outputs) override;
    void ReleaseShaderProgram(HV_Shader* shader) override;
    void BindShaderProgram(HV_Shader* shader) override;
    bool IsShaderProgramReady(HV_Shader* shader) override;
    void BeginFrame() override;
    void Present() override;
    void Clear(float r, float g, float b, float a) override;
    void ClearDepth(float value) override;
    bool SetScissorRectangle(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void DisableScissor() override;
    void SetBlendMode(int32_t mode) override;
    void SetTextureFilter(int32_t unit, int32_t minification, int32_t magnification, int32_t mip) override;
    void SetTextureAddressMode(int32_t unit, int32_t u, int32_t v, int32_t w) override;
    int32_t Reserved44() override;
    void Reserved45() override;
    void Reserved46() override;
    void SetDepthTest(bool on) override;
    void SetDepthFunction(int32_t code) override;
    void SetDepthWrite(bool on) override;
    void SetColorWrite(bool on) override;
    void SetCullMode(int32_t mode) override;
    void BindTextures(RendererTextureData* const units[kRendererTextureUnits]) override;
    void DrawTriangles(RendererVertexBuffer* vertices, int32_t vertexCount, RendererIndexBuffer* indices,
                       int32_t triangleCount) override;
    void DrawLines(RendererVertexBuffer* vertices, RendererIndexBuffer* indices, int32_t lineCount) override;
    void DrawTrianglesInstanced(RendererVertexBuffer* vertices, int32_t vertexCount, RendererIndexBuffer* indices,
                                int32_t triangleCount, int32_t instanceCount) override;
    RendererVertexBuffer* CreateVertexBuffer(uint32_t vertexFormat, int32_t count, uint32_t usage) override;
    void ReleaseVertexBuffer(RendererVertexBuffer* buffer) override;
    void* LockVertexBuffer(RendererVertexBuffer* buffer) override;
    void UnlockVertexBuffer(RendererVertexBuffer* buffer) override;
    RendererIndexBuffer* CreateIndexBuffer(int32_t count, uint32_t usage) override;
    void ReleaseIndexBuffer(RendererIndexBuffer* buffer) override;
    void* LockIndexBuffer(RendererIndexBuffer* buffer) override;
    void UnlockIndexBuffer(RendererIndexBuffer* buffer) override;
    void SetPresentInterval(uint32_t interval) override;
    void EnumerateDisplayModes(int32_t displayIndex) override;

private:
    // Capability bits, found once by device creation and never cleared.
    static constexpr uint32_t kCapabilityDepth32Float = 1;           // D32_FLOAT back-buffer depth
    static constexpr uint32_t kCapabilityBgraVertexColors = 2;       // vertex colours read as B8G8R8A8
    static constexpr uint32_t kCapabilityConcurrentCreates = 4;      // GetThreadingCapabilities answers 6
    static constexpr uint32_t kCapabilityNonPowerOfTwoTextures = 8;  // SupportsNonPowerOfTwoTextures

    // --- device, adapter and outputs (device.cpp, adapter_outputs.cpp) ---
    bool SelectAdapter();
    IDXGIFactory1* CreateFactory();
    bool EnumerateOutputs();
    bool CreateDevice();
    // Takes the device's own adapter and its outputs in place of the one
    // SelectAdapter found, so that the swap chain, fullscreen and display
    // modes all go through the device's own factory.
    void AdoptDeviceAdapter();
    void FindCapabilities();
    void ReleaseOutputs();
    // The output at the display index, or null (logged) when there is none.
    IDXGIOutput* GetOutput(int32_t displayIndex, const char* operation);

    // --- display modes (display_modes.cpp) ---
    Array<DXGI_MODE_DESC> GetOutputDisplayModes(int32_t displayIndex);

    // --- swap chain and back-buffer views (swap_chain.cpp) ---
    IDXGIFactory1* GetAdapterFactory();
    bool CreateSwapChain();
    bool CreateBackBufferColorView(ID3D11Texture2D** buffer);
    bool CreateBackBufferViews();
    // ResizeBuffers with the swap chain's two buffers, format and flags; a
    // size of 0 x 0 takes the window's client size.
    HRESULT ResizeSwapChainBuffers(UINT width, UINT height);
    // Unbinds the output merger's targets and releases the depth view, the
    // depth texture and the colour view, so that the buffers can be resized.
    void ReleaseBackBufferViews();

    // --- window mode and activation (window_mode.cpp) ---
    bool ApplyWindowMode(int32_t displayIndex, int32_t width, int32_t height, bool windowed);

    // --- errors (error_reporting.cpp) ---
    // Reports a renderer error code with the platform result; extra may be
    // null. Adds the device-removed reason when the device has one.
    void ReportError(uint32_t code, HRESULT result, const char* extra);

    // --- state tables and state objects (states.cpp) ---
    bool CreateBlendStates();
    bool CreateRasterizerState();
    bool CreateSamplerStates();
    // The sampler of the group and entry a filter and an address triple select.
    ID3D11SamplerState* SelectSamplerState(const uint32_t filter[3], const uint32_t address[3]) const;
    // Builds and binds the depth-stencil state from the three depth inputs
    // and marks it fresh; on failure the previous state stays bound until an
    // input changes again.
    bool ApplyDepthState();
    // Every texture unit's filter and address triples become (1, 1, 1).
    void ResetTextureUnits();
    // Releases the blend, rasterizer, sampler and depth-stencil states.
    void ReleaseStateObjects();
    // Binds the unit's sampler to the pixel stage.
    void BindSampler(int32_t unit, const uint32_t filter[3], const uint32_t address[3]);
    // Whether there is a context to call; logs the operation when not.
    bool HasContext(const char* operation) const;
    // Whether the unit is 0..7; logs the operation when not.
    bool IsTextureUnit(const char* operation, int32_t unit) const;
    // The front end's cull mode (render state 14), or -1 (logged) when it is not 0..2.
    int32_t CurrentCullMode(const char* operation) const;

    // --- buffers and drawing (buffers_and_drawing.cpp) ---
    // Depth state, constants, vertex and index buffer for a draw of that
    // many indices; false (logged) when nothing can be drawn.
    bool PrepareDraw(const char* operation, RendererVertexBuffer* vertices, RendererIndexBuffer* indices,
                     int64_t indexCount);
    void UpdateConstantBuffer(const void* bytes, uint32_t byteCount, ID3D11Buffer* buffer);
    // Whether a draw can read the buffer: it has a device buffer and is not locked.
    static bool IsDrawable(const char* operation, const char* kind, const RendererBufferBlock* block, bool locked);
    // How unlock swaps the colours of a vertex buffer; not needed for indices.
    struct ColourSwap {
        bool needed = false;
        uint32_t count = 0;
        uint32_t stride = 0;
        uint32_t offset = 0;
    };
    void* LockBuffer(const char* operation, const char* kind, RendererBufferBlock& block, uint32_t usage, bool& locked,
                     const char* failure);
    void UnlockBuffer(const char* operation, const char* kind, RendererBufferBlock& block, uint32_t usage, bool& locked,
                      const char* failure, const ColourSwap& swap);
    // Uploads bytes to the whole device buffer (copy mode).
    void UploadCopy(RendererBufferBlock& block, uint32_t usage, const uint8_t* bytes, const char* failure);
    void ReleaseBuffer(RendererBufferBlock* block, bool locked, uint32_t usage);

    // --- textures (textures.cpp) ---
    // The bitmap's texture from its pixels: padded into a power-of-two 2D
    // texture, or six cube faces stacked in the bitmap. E_ABORT when the
    // bitmap gave nothing to upload (already reported).
    HRESULT CreateTexture2D(HV_Bitmap* bitmap, D3D11_TEXTURE2D_DESC& desc, ID3D11Texture2D** texture);
    HRESULT CreateTextureCube(HV_Bitmap* bitmap, D3D11_TEXTURE2D_DESC& desc, ID3D11Texture2D** texture);
    // Gives the bitmap the data in place of any it had, and marks it loaded.
    void AttachTextureData(HV_Bitmap* bitmap, RendererTextureData* data);
    void ReleaseTextureData(RendererTextureData* data);
    // The engine state's image loader, or the engine's own before there is one.
    ImageLoaderImp& GetImageLoader() const;

    // --- shader programs (shader_programs.cpp) ---
    // Fills up to kVertexElementCount elements for the vertex-format mask; the count.
    uint32_t CreateInputLayoutDescription(uint32_t vertexFormat, D3D11_INPUT_ELEMENT_DESC* elements) const;
    // A dynamic constant buffer with room for byteSize bytes of constants.
    bool CreateConstantBuffer(uint32_t byteSize, ID3D11Buffer** buffer);

    // --- device objects: made by Initialize, released by Shutdown ---
    IDXGIAdapter* m_adapter = nullptr;  // kept until the destructor
    Array<IDXGIOutput*> m_outputs;      // attached outputs; a display index indexes this; kept until the destructor
    ID3D11Device* m_device = nullptr;
    ID3D11Device1* m_device1 = nullptr;  // null without Direct3D 11.1
    ID3D11DeviceContext* m_context = nullptr;
    IDXGISwapChain* m_swapChain = nullptr;
    IDXGISwapChain1* m_swapChain1 = nullptr;  // only when made through IDXGIFactory2
    ID3D11RenderTargetView* m_backBufferView = nullptr;
    ID3D11Texture2D* m_depthTexture = nullptr;
    ID3D11DepthStencilView* m_depthView = nullptr;
    D3D_FEATURE_LEVEL m_featureLevel = D3D_FEATURE_LEVEL_9_1;
    uint32_t m_capabilities = 0;
    uint32_t m_presentInterval = 1;
    bool m_initialized = false;
    bool m_wasDeactivated = false;  // a deactivation left fullscreen
    HVI_EngineState* m_engineState = nullptr;

    // --- what is bound to the output merger (not references of their own) ---
    ID3D11RenderTargetView* m_currentColorViews[4] = {};
    ID3D11DepthStencilView* m_currentDepthView = nullptr;

    // --- state tables and current states (states.cpp) ---
    static constexpr int kBlendModes = 9;
    static constexpr int kCullModes = 3;
    static constexpr int kSamplerGroups = 9;
    static constexpr int kSamplersPerGroup = 27;
    ID3D11BlendState* m_blendStates[kBlendModes][2] = {};           // [mode][colour write]; mode 0 has none
    ID3D11RasterizerState* m_rasterizerStates[kCullModes][2] = {};  // [cull][scissor]
    ID3D11SamplerState* m_samplerStates[kSamplerGroups][kSamplersPerGroup] = {};  // [group][address triple]
    ID3D11DepthStencilState* m_depthStencilState = nullptr;
    bool m_depthTest = false;
    bool m_depthWrite = false;
    int32_t m_depthFunction = 1;  // engine code; 1 is less
    bool m_depthStateStale = true;
    bool m_colorWrite = true;
    bool m_scissorOn = false;
    uint32_t m_unitFilters[kRendererTextureUnits][3] = {};    // minification, magnification, mip
    uint32_t m_unitAddresses[kRendererTextureUnits][3] = {};  // u, v, w

    // --- shader programs (shader_programs.cpp, buffers_and_drawing.cpp) ---
    // Binds the program's shaders and input layout and notes it as bound. Called with m_programLock held.
    void BindProgramObjects(const RendererShaderProgram& program);

    // When the device allows concurrent creation, other threads make, replace and release programs
    // (GetThreadingCapabilities); this lock guards every shader record's program pointer and the two
    // members below, and a draw holds it while it uses the current program.
    std::mutex m_programLock;
    HV_Shader* m_currentShader = nullptr;  // guarded by m_programLock; supplies the constants of each draw
    uint64_t m_boundProgram = 0;           // guarded by m_programLock; serial of the program bound to the context
};
