#include "graphics/graphics_startup.h"

#include "core/subsystem_hooks.h"
#include "extensions/simulated/picture_loading.h"
#include "graphics/bitmap_queue.h"
#include "graphics/bitmap_table.h"
#include "graphics/null_renderer.h"

namespace {

RendererImplementationNull g_nullRenderer;  // main thread only

bool Startup(HVI_EngineState&)
{
    HVI_StartGraphicsFrontEnd();
    if (HVI_GetRenderer() == nullptr) HVI_SetRenderer(&g_nullRenderer);
    return true;
}

void RunResourceQueues(HVI_EngineState&) { HVI_RunBitmapQueue(); }

void Shutdown(HVI_EngineState&)
{
    if (RendererImplementation* renderer = HVI_GetRenderer()) renderer->Shutdown();
    HVI_SetRenderer(nullptr);
    HVI_StopGraphicsFrontEnd();
}

}  // namespace

void HVI_StartGraphicsFrontEnd() { HVI_SetPictureLoader(HV_Graphics_LoadBitmap); }

void HVI_StopGraphicsFrontEnd() { HVI_SetPictureLoader(nullptr); }

void HVI_RegisterGraphicsSubsystem()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Startup = Startup;
    hooks.RunResourceQueues = RunResourceQueues;
    hooks.Shutdown = Shutdown;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, hooks);
}
