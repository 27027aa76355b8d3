#include "graphics/sprite_drawer.h"

#include <optional>

#include "core/engine_state.h"
#include "core/logging.h"
#include "graphics/renderer_implementation.h"
#include "graphics/renderer_messages.h"
#include "graphics/shader_translation.h"
#include "graphics/sprite_shader.h"

namespace {

constexpr uint32_t kDynamicUsage = 1;     // written anew by every draw
constexpr uint32_t kCopyUsage = 4;        // written once through the CPU copy
constexpr uint32_t kWhite = 0xFFFFFFFFu;  // the same in either colour order

struct SpriteDrawer {
    std::optional<HV_Shader> shader;  // with its program once made
    RendererVertexBuffer* vertices = nullptr;
    RendererIndexBuffer* indices = nullptr;
    bool ready = false;
    bool failed = false;  // reported once; tried again with the next renderer
};
SpriteDrawer g_drawer;  // main thread only

bool Prepare(RendererImplementation& renderer)
{
    if (g_drawer.ready) return true;
    if (g_drawer.failed) return false;
    g_drawer.failed = true;
    HV_Shader& shader = g_drawer.shader.emplace();
    shader.name = kSpriteShaderName;
    if (HVI_LoadShaderText(shader, kSpriteShaderXml) != HVI_SHADER_TRANSLATED ||
        !renderer.CreateShaderProgram(&shader, &shader.description, shader.stageOutputs)) {
        HV_Log(HV_LOG_ERROR, kSpriteProgramFailed, renderer.GetName());
        return false;
    }
    g_drawer.vertices = renderer.CreateVertexBuffer(kSpriteVertexFormat, 4, kDynamicUsage);
    g_drawer.indices = renderer.CreateIndexBuffer(6, kCopyUsage);
    if (g_drawer.vertices == nullptr || g_drawer.indices == nullptr ||
        !renderer.UploadIndexBuffer(g_drawer.indices, kSpriteQuadIndices, sizeof(kSpriteQuadIndices))) {
        HV_Log(HV_LOG_ERROR, kSpriteBuffersFailed, renderer.GetName());
        return false;
    }
    renderer.SetTextureFilter(0, 1, 1, 1);
    renderer.SetTextureAddressMode(0, 1, 1, 1);
    g_drawer.ready = true;
    g_drawer.failed = false;
    return true;
}

}  // namespace

void HV_Graphics_Clear(float r, float g, float b, float a)
{
    if (RendererImplementation* renderer = HVI_GetRenderer()) renderer->Clear(r, g, b, a);
}

void HV_Graphics_DrawBitmap(HV_Bitmap* bitmap, float x, float y, float width, float height)
{
    RendererImplementation* renderer = HVI_GetRenderer();
    const HV_VideoParameters& video = HVI_GetEngineState().video;
    if (renderer == nullptr || bitmap == nullptr || !bitmap->renderer.loaded || video.width <= 0 || video.height <= 0 ||
        !Prepare(*renderer)) {
        return;
    }
    // Pixels from the top-left corner to clip space, whose y runs up.
    const float left = 2.0f * x / float(video.width) - 1.0f;
    const float right = 2.0f * (x + width) / float(video.width) - 1.0f;
    const float top = 1.0f - 2.0f * y / float(video.height);
    const float bottom = 1.0f - 2.0f * (y + height) / float(video.height);
    const float* uv = bitmap->renderer.uv;
    const SpriteVertex quad[4] = {
        {left, top, 0.0f, kWhite, uv[0], uv[1]},
        {right, top, 0.0f, kWhite, uv[2], uv[1]},
        {left, bottom, 0.0f, kWhite, uv[0], uv[3]},
        {right, bottom, 0.0f, kWhite, uv[2], uv[3]},
    };
    if (!renderer->UploadVertexBuffer(g_drawer.vertices, quad, sizeof(quad))) return;
    renderer->BindShaderProgram(&*g_drawer.shader);
    RendererTextureData* units[kRendererTextureUnits] = {bitmap->renderer.texture};
    renderer->BindTextures(units);
    renderer->DrawTriangles(g_drawer.vertices, 4, g_drawer.indices, 2);
}

void HVI_ReleaseSpriteDrawer()
{
    RendererImplementation* renderer = HVI_GetRenderer();
    if (renderer != nullptr) {
        if (g_drawer.shader && g_drawer.shader->program != nullptr) renderer->ReleaseShaderProgram(&*g_drawer.shader);
        if (g_drawer.vertices != nullptr) renderer->ReleaseVertexBuffer(g_drawer.vertices);
        if (g_drawer.indices != nullptr) renderer->ReleaseIndexBuffer(g_drawer.indices);
    }
    g_drawer.shader.reset();
    g_drawer.vertices = nullptr;
    g_drawer.indices = nullptr;
    g_drawer.ready = false;
    g_drawer.failed = false;
}
