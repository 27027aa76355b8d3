#pragma once

#include "graphics/renderer_implementation.h"

// A back end that draws nothing, for engines and tests without a display:
// it reports a 1x1 desktop with no display modes, accepts textures without
// making device objects (the bitmap is marked loaded with its uv rectangle)
// and makes no buffers or programs.
class RendererImplementationNull : public RendererImplementation {
public:
    bool Reserved1() override { return true; }
    uint32_t GetThreadingCapabilities() override { return 0; }
    int32_t GetMaxTextureSize() override { return 16384; }
    bool CanDraw() override { return false; }
    int32_t GetRendererId() override { return 0; }
    const char* GetName() override { return "Null"; }
    int32_t GetDisplayOutputCount() override { return 1; }
    void GetDesktopSize(int32_t displayIndex, int32_t& width, int32_t& height) override;
    int32_t GetTextureChannelOrder() override { return 0; }
    int32_t GetVertexColorOrder() override { return 0; }
    bool SupportsNonPowerOfTwoTextures() override { return true; }
    bool Initialize(HV_EngineInterface*, HVI_EngineState*, const HV_VideoParameters&) override { return true; }
    bool QuickReinitialize(int32_t, int32_t, int32_t, bool) override { return true; }
    void Shutdown() override {}
    void SetViewport(int32_t, int32_t, int32_t, int32_t, float, float) override {}
    void SetActive(bool) override {}
    bool SetRenderTargets(const HV_RenderTargetSet&) override { return true; }
    bool ReadRenderTargetPixels(HV_Bitmap*) override { return false; }
    bool IsTextureFormatSupported(const HV_TextureDescription&) override { return false; }
    bool CreateRenderTarget(HV_Bitmap*) override { return false; }
    bool CreateTexture(HV_Bitmap* bitmap) override;
    void ReleaseTexture(HV_BitmapRendererBlock& block) override;
    uint32_t GetShaderFeatureLevel() override { return 0; }
    uint32_t GetShaderTarget() override { return 0; }
    bool CreateShaderProgram(HV_Shader*, const ShaderTool::ShaderDescription*, const ByteBuffer*) override
    {
        return false;
    }
    void ReleaseShaderProgram(HV_Shader*) override {}
    void BindShaderProgram(HV_Shader*) override {}
    bool IsShaderProgramReady(HV_Shader*) override { return false; }
    void BeginFrame() override {}
    void Present() override {}
    void Clear(float, float, float, float) override {}
    void ClearDepth(float) override {}
    bool SetScissorRectangle(int32_t, int32_t, int32_t, int32_t) override { return true; }
    void DisableScissor() override {}
    void SetBlendMode(int32_t) override {}
    void SetTextureFilter(int32_t, int32_t, int32_t, int32_t) override {}
    void SetTextureAddressMode(int32_t, int32_t, int32_t, int32_t) override {}
    int32_t Reserved44() override { return 0; }
    void Reserved45() override {}
    void Reserved46() override {}
    void SetDepthTest(bool) override {}
    void SetDepthFunction(int32_t) override {}
    void SetDepthWrite(bool) override {}
    void SetColorWrite(bool) override {}
    void SetCullMode(int32_t) override {}
    void BindTextures(RendererTextureData* const[kRendererTextureUnits]) override {}
    void DrawTriangles(RendererVertexBuffer*, int32_t, RendererIndexBuffer*, int32_t) override {}
    void DrawLines(RendererVertexBuffer*, RendererIndexBuffer*, int32_t) override {}
    void DrawTrianglesInstanced(RendererVertexBuffer*, int32_t, RendererIndexBuffer*, int32_t, int32_t) override {}
    RendererVertexBuffer* CreateVertexBuffer(uint32_t, int32_t, uint32_t) override { return nullptr; }
    void ReleaseVertexBuffer(RendererVertexBuffer*) override {}
    void* LockVertexBuffer(RendererVertexBuffer*) override { return nullptr; }
    void UnlockVertexBuffer(RendererVertexBuffer*) override {}
    RendererIndexBuffer* CreateIndexBuffer(int32_t, uint32_t) override { return nullptr; }
    void ReleaseIndexBuffer(RendererIndexBuffer*) override {}
    void* LockIndexBuffer(RendererIndexBuffer*) override { return nullptr; }
    void UnlockIndexBuffer(RendererIndexBuffer*) override {}
    void SetPresentInterval(uint32_t) override {}
    void EnumerateDisplayModes(int32_t) override {}
};
