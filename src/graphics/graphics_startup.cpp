#include "graphics/graphics_startup.h"

#include "core/engine_state.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "extensions/simulated/picture_loading.h"
#include "graphics/bitmap_queue.h"
#include "graphics/bitmap_table.h"
#include "graphics/graphics_table.h"
#include "graphics/null_renderer.h"
#include "graphics/renderer_entry_points.h"
#include "graphics/renderer_messages.h"
#include "graphics/shader_translation.h"
#include "graphics/sprite_drawer.h"
#include "imaging/image_loader.h"

namespace {

RendererImplementationNull g_nullRenderer;  // main thread only
// The back end the executable exports, taken at pre-initialisation and
// unloaded at exit; null in builds without one. Main thread only.
HVI_RendererEntryPoints g_entryPoints;
RendererImplementation* g_backEnd = nullptr;

const char* ModeName(const HV_VideoParameters& video) { return video.windowed ? "windowed" : "fullscreen"; }

bool Preinitialize(HVI_EngineState& state)
{
    if (state.engine) state.engine->graphics = HVI_GetGraphicsTable();
    state.imageLoader = HVI_GetImageLoader();  // the renderer pads and reads back pixels through it
    g_entryPoints = HVI_FindRendererEntryPoints();
    if (g_entryPoints.getInterface == nullptr) {
        HV_Log(HV_LOG_SYSTEM, "%s", kRendererNone);
        return true;
    }
    g_backEnd = g_entryPoints.getInterface();
    if (g_backEnd == nullptr) {
        HV_Log(HV_LOG_ERROR, "%s", kRendererInterfaceMissing);
        return false;
    }
    HV_Log(HV_LOG_SYSTEM, kRendererTaken, g_backEnd->GetName());
    return true;
}

// Initialises the back end with the program's video parameters; the core
// rolls them back and tries again when this fails.
bool StartBackEnd(HVI_EngineState& state)
{
    const HV_VideoParameters& video = state.program ? state.program->video : state.video;
    if (!g_backEnd->Initialize(state.engine, &state, video)) {
        HV_Log(HV_LOG_ERROR, kRendererInitializeFailed, g_backEnd->GetName(), video.width, video.height,
               ModeName(video), video.displayIndex);
        return false;
    }
    HV_Log(HV_LOG_SYSTEM, kRendererInitialized, g_backEnd->GetName(), video.width, video.height, ModeName(video),
           video.displayIndex);
    HVI_SetRenderer(g_backEnd);
    g_backEnd->PostInitialize();
    HVI_InitShaders();
    // Bitmaps kept through a full re-initialisation get textures of the new device.
    HVI_RecreateTextures();
    return true;
}

bool Startup(HVI_EngineState& state)
{
    HVI_StartGraphicsFrontEnd();
    if (g_backEnd) return StartBackEnd(state);
    if (HVI_GetRenderer() == nullptr) HVI_SetRenderer(&g_nullRenderer);
    return true;
}

bool BeginFrame(HVI_EngineState&)
{
    RendererImplementation* renderer = HVI_GetRenderer();
    if (renderer == nullptr) return false;
    renderer->BeginFrame();
    renderer->AfterBeginFrame();
    return renderer->CanDraw();
}

void RunResourceQueues(HVI_EngineState&) { HVI_RunBitmapQueue(); }

void EndFrame(HVI_EngineState&)
{
    if (RendererImplementation* renderer = HVI_GetRenderer()) renderer->Present();
}

bool QuickReinitialize(HVI_EngineState&, const HV_VideoParameters& requested)
{
    RendererImplementation* renderer = HVI_GetRenderer();
    return renderer != nullptr && renderer->QuickReinitialize(requested.displayIndex, requested.width, requested.height,
                                                              requested.windowed != 0);
}

void SetActive(HVI_EngineState&, bool active)
{
    if (RendererImplementation* renderer = HVI_GetRenderer()) renderer->SetActive(active);
}

void Shutdown(HVI_EngineState&)
{
    if (RendererImplementation* renderer = HVI_GetRenderer()) {
        // Nothing made by this device outlives it: queued releases go first,
        // then every texture (the pixels stay for the next device) and the
        // sprite drawer's objects.
        HVI_RunBitmapQueue();
        HVI_ReleaseAllTextures();
        HVI_ReleaseSpriteDrawer();
        renderer->Shutdown();
    }
    HVI_SetRenderer(nullptr);
    HVI_StopGraphicsFrontEnd();
}

void Unload(HVI_EngineState&)
{
    if (g_entryPoints.unload && g_backEnd) g_entryPoints.unload();
    g_backEnd = nullptr;
    g_entryPoints = {};
}

}  // namespace

void HVI_StartGraphicsFrontEnd() { HVI_SetPictureLoader(HV_Graphics_LoadBitmap); }

void HVI_StopGraphicsFrontEnd() { HVI_SetPictureLoader(nullptr); }

void HVI_RegisterGraphicsSubsystem()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Preinitialize = Preinitialize;
    hooks.Startup = Startup;
    hooks.BeginFrame = BeginFrame;
    hooks.RunResourceQueues = RunResourceQueues;
    hooks.EndFrame = EndFrame;
    hooks.QuickReinitialize = QuickReinitialize;
    hooks.SetActive = SetActive;
    hooks.Shutdown = Shutdown;
    hooks.Unload = Unload;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, hooks);
}
