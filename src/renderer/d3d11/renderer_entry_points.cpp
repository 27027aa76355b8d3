// The one place that names the concrete back end.
#include "graphics/renderer_entry_points.h"

#include <halvo/program.h>

#include "renderer/d3d11/rend_imp_direct3d11.h"

namespace {

RendImpDirect3D11* g_renderer = nullptr;  // main thread only

}  // namespace

HV_EXPORT RendererImplementation* HALVO_RendImp_GetInterface()
{
    if (g_renderer == nullptr) g_renderer = new RendImpDirect3D11();
    return g_renderer;
}

HV_EXPORT void HALVO_RendImp_Unload()
{
    delete g_renderer;
    g_renderer = nullptr;
}
