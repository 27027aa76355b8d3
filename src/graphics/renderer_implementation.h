#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/byte_buffer.h"
#include "foundation/string.h"
#include "graphics/bitmap_record.h"
#include "graphics/shader_record.h"

struct HV_EngineInterface;
struct HV_VideoParameters;
struct HVI_EngineState;

// The objects a back end makes for vertex and index buffers (16-bit
// indices); the back end defines them.
struct RendererVertexBuffer;
struct RendererIndexBuffer;

// Texture units a draw can bind.
constexpr int kRendererTextureUnits = 8;

// One display mode of an output.
struct HV_DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
};

// The renderer back-end interface. The slots stand in the order back ends
// are written against; the bodies here are the defaults a back end may keep.
// Everything is called on the main thread.
class RendererImplementation {
public:
    virtual ~RendererImplementation();
    virtual bool Reserved1() = 0;
    // Kinds of work that may be done off the main thread (bits).
    virtual uint32_t GetThreadingCapabilities() = 0;
    virtual int32_t GetMaxTextureSize() = 0;
    virtual bool CanDraw() = 0;
    virtual int32_t GetRendererId() = 0;
    virtual const char* GetName() = 0;
    // Whether the output lists a mode of exactly that size.
    virtual bool IsDisplayModeSupported(int32_t displayIndex, int32_t width, int32_t height);
    virtual int32_t GetDisplayOutputCount() = 0;
    virtual void GetDesktopSize(int32_t displayIndex, int32_t& width, int32_t& height) = 0;
    // The output's modes sorted by width then height, as "WxH" joined by ", ".
    virtual const char* GetDisplayModesText(int32_t displayIndex);
    // 0: bitmap pixels are R, G, B, A in memory; 1: B, G, R, A.
    virtual int32_t GetTextureChannelOrder() = 0;
    // 0: packed vertex colours are R, G, B, A in memory; 1: B, G, R, A.
    virtual int32_t GetVertexColorOrder() = 0;
    virtual bool SupportsNonPowerOfTwoTextures() = 0;
    virtual bool NeedsProjectionFlipY();
    virtual bool Initialize(HV_EngineInterface* engine, HVI_EngineState* state, const HV_VideoParameters& video) = 0;
    virtual void PostInitialize();
    virtual bool QuickReinitialize(int32_t displayIndex, int32_t width, int32_t height, bool windowed) = 0;
    virtual void Shutdown() = 0;
    virtual void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height, float minDepth, float maxDepth) = 0;
    virtual void SetActive(bool active) = 0;
    virtual bool SetRenderTargets(const HV_RenderTargetSet& set) = 0;
    virtual bool ReadRenderTargetPixels(HV_Bitmap* bitmap) = 0;
    virtual bool IsTextureFormatSupported(const HV_TextureDescription& description) = 0;
    virtual bool CreateRenderTarget(HV_Bitmap* bitmap) = 0;
    virtual bool CreateTexture(HV_Bitmap* bitmap) = 0;
    virtual void ReleaseTexture(HV_BitmapRendererBlock& block) = 0;
    // A single ShaderTool::FeatureLevel bit.
    virtual uint32_t GetShaderFeatureLevel() = 0;
    // A single ShaderTool::Target bit.
    virtual uint32_t GetShaderTarget() = 0;
    // outputs holds one buffer per translator stage; the vertex and pixel
    // stages are read.
    virtual bool CreateShaderProgram(HV_Shader* shader, const ShaderTool::ShaderDescription* description,
                                     const ByteBuffer* outputs) = 0;
    virtual void ReleaseShaderProgram(HV_Shader* shader) = 0;
    virtual void BindShaderProgram(HV_Shader* shader) = 0;
    virtual bool IsShaderProgramReady(HV_Shader* shader) = 0;
    virtual void BeginFrame() = 0;
    virtual void AfterBeginFrame();
    virtual void AfterProgramDraw();
    virtual void Present() = 0;
    virtual void Clear(float r, float g, float b, float a) = 0;
    virtual void ClearDepth(float value) = 0;
    virtual bool SetScissorRectangle(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void DisableScissor() = 0;
    virtual void SetBlendMode(int32_t mode) = 0;
    virtual void SetTextureFilter(int32_t unit, int32_t minification, int32_t magnification, int32_t mip) = 0;
    virtual void SetTextureAddressMode(int32_t unit, int32_t u, int32_t v, int32_t w) = 0;
    virtual int32_t Reserved44() = 0;
    virtual void Reserved45() = 0;
    virtual void Reserved46() = 0;
    virtual void SetDepthTest(bool on) = 0;
    virtual void SetDepthFunction(int32_t code) = 0;
    virtual void SetDepthWrite(bool on) = 0;
    virtual void SetColorWrite(bool on) = 0;
    virtual void SetCullMode(int32_t mode) = 0;
    virtual void BindTextures(RendererTextureData* const units[kRendererTextureUnits]) = 0;
    virtual void DrawTriangles(RendererVertexBuffer* vertices, int32_t vertexCount, RendererIndexBuffer* indices,
                               int32_t triangleCount) = 0;
    virtual void DrawLines(RendererVertexBuffer* vertices, RendererIndexBuffer* indices, int32_t lineCount) = 0;
    virtual void DrawTrianglesInstanced(RendererVertexBuffer* vertices, int32_t vertexCount,
                                        RendererIndexBuffer* indices, int32_t triangleCount, int32_t instanceCount) = 0;
    virtual RendererVertexBuffer* CreateVertexBuffer(uint32_t vertexFormat, int32_t count, uint32_t usage) = 0;
    virtual void ReleaseVertexBuffer(RendererVertexBuffer* buffer) = 0;
    virtual void* LockVertexBuffer(RendererVertexBuffer* buffer) = 0;
    virtual void UnlockVertexBuffer(RendererVertexBuffer* buffer) = 0;
    // Lock, copy, unlock; false when the lock gives no memory.
    virtual bool UploadVertexBuffer(RendererVertexBuffer* buffer, const void* bytes, int64_t byteCount);
    virtual RendererIndexBuffer* CreateIndexBuffer(int32_t count, uint32_t usage) = 0;
    virtual void ReleaseIndexBuffer(RendererIndexBuffer* buffer) = 0;
    virtual void* LockIndexBuffer(RendererIndexBuffer* buffer) = 0;
    virtual void UnlockIndexBuffer(RendererIndexBuffer* buffer) = 0;
    virtual bool UploadIndexBuffer(RendererIndexBuffer* buffer, const void* bytes, int64_t byteCount);
    virtual void GetPixelCenterOffset(float& x, float& y);
    virtual bool Unsupported67();
    virtual void Unsupported68();
    virtual void SetPresentInterval(uint32_t interval) = 0;
    virtual void SetTextureRegion(HV_Bitmap* bitmap, int32_t x, int32_t y, int32_t width, int32_t height);
    virtual int32_t Unsupported71();
    virtual int32_t Unsupported72();
    virtual int32_t Unsupported73();
    virtual int32_t Unsupported74();
    virtual int32_t Unsupported75();
    virtual int32_t Unsupported76();
    virtual int32_t Unsupported77();
    virtual int32_t Unsupported78();
    virtual int32_t Unsupported79();
    virtual int32_t Unsupported80();
    virtual int32_t Unsupported81();
    virtual int32_t Unsupported82();
    // Adds the output's modes to the display-mode list (AddDisplayMode).
    virtual void EnumerateDisplayModes(int32_t displayIndex) = 0;

protected:
    // Adds a mode unless that exact size is listed already.
    void AddDisplayMode(int32_t width, int32_t height);
    const Array<HV_DisplayMode>& GetDisplayModes() const { return m_displayModes; }

private:
    // Both filled again by every query that needs them.
    Array<HV_DisplayMode> m_displayModes;
    String m_displayModesText;
};

// The running renderer back end; null before the renderer is initialised.
// Set and read on the main thread.
void HVI_SetRenderer(RendererImplementation* renderer);
RendererImplementation* HVI_GetRenderer();
