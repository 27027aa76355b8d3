#include "renderer_scene.h"

#include <cstring>

#include "core/engine_interface.h"
#include "core/engine_state.h"
#include "graphics/renderer_entry_points.h"
#include "graphics/shader_translation.h"
#include "graphics/sprite_shader.h"
#include "imaging/image_loader.h"

namespace {

constexpr uint32_t kDynamicUsage = 1;
constexpr uint32_t kCopyUsage = 4;

}  // namespace

std::string RendererScene::Make()
{
    PrepareEngine();
    HVI_EngineState& state = HVI_GetEngineState();
    m_program.video.width = int32_t(kBackBufferWidth);
    m_program.video.height = int32_t(kBackBufferHeight);
    m_program.video.windowed = 1;
    state.engine = HVI_GetEngineInterface();
    state.program = &m_program;
    state.video = m_program.video;
    state.presentInterval = 0;
    state.imageLoader = HVI_GetImageLoader();
    state.window = MakeBenchWindow();
    if (state.window == nullptr) return "no window could be made";
    m_renderer = HALVO_RendImp_GetInterface();
    if (!m_renderer->Initialize(state.engine, &state, m_program.video)) return "the renderer did not initialise";
    HVI_SetRenderer(m_renderer);
    if (!HVI_InitShaders()) return "the shader translator did not initialise";
    m_shader.name = kSpriteShaderName;
    if (HVI_LoadShaderText(m_shader, kSpriteShaderXml) != HVI_SHADER_TRANSLATED ||
        !m_renderer->CreateShaderProgram(&m_shader, &m_shader.description, m_shader.stageOutputs)) {
        return "the renderer made no sprite program";
    }
    m_bitmap.name = "bench-texture";
    if (!HVI_GetImageLoader()->AllocateImagePixels(&m_bitmap, kTextureSide, kTextureSide)) return "no pixels";
    const std::vector<uint8_t> texels = MakeTexels();
    std::memcpy(m_bitmap.pixels, texels.data(), texels.size());
    m_bitmap.width = kTextureSide;
    m_bitmap.height = kTextureSide;
    if (!m_renderer->CreateTexture(&m_bitmap)) return "the renderer made no texture";
    m_vertices = m_renderer->CreateVertexBuffer(kSpriteVertexFormat, 4, kDynamicUsage);
    m_indices = m_renderer->CreateIndexBuffer(6, kCopyUsage);
    if (m_vertices == nullptr || m_indices == nullptr ||
        !m_renderer->UploadIndexBuffer(m_indices, kSpriteQuadIndices, sizeof kSpriteQuadIndices)) {
        return "the renderer made no vertex or index buffer";
    }
    m_renderer->SetTextureFilter(0, 1, 1, 1);
    m_renderer->SetTextureAddressMode(0, 1, 1, 1);
    m_quads = MakeQuads();
    return "";
}

void RendererScene::Frame()
{
    m_renderer->BeginFrame();
    m_renderer->Clear(0.1f, 0.2f, 0.3f, 1.0f);
    m_renderer->BindShaderProgram(&m_shader);
    RendererTextureData* units[kRendererTextureUnits] = {m_bitmap.renderer.texture};
    m_renderer->BindTextures(units);
    for (int i = 0; i < kQuadCount; ++i) {
        m_renderer->UploadVertexBuffer(m_vertices, &m_quads[size_t(i) * 4], 4 * sizeof(QuadVertex));
        m_renderer->DrawTriangles(m_vertices, 4, m_indices, 2);
    }
    m_renderer->Present();
}

RendererScene::~RendererScene()
{
    HVI_EngineState& state = HVI_GetEngineState();
    if (m_renderer != nullptr) {
        if (m_vertices != nullptr) m_renderer->ReleaseVertexBuffer(m_vertices);
        if (m_indices != nullptr) m_renderer->ReleaseIndexBuffer(m_indices);
        if (m_bitmap.renderer.loaded) m_renderer->ReleaseTexture(m_bitmap.renderer);
        if (m_shader.program != nullptr) m_renderer->ReleaseShaderProgram(&m_shader);
        m_renderer->Shutdown();
        HVI_SetRenderer(nullptr);
        HALVO_RendImp_Unload();
    }
    HVI_GetImageLoader()->FreeImagePixels(&m_bitmap);
    if (state.window != nullptr) DestroyWindow(state.window);
    state.window = nullptr;
    state.program = nullptr;
}
