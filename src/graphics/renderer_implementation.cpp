#include "graphics/renderer_implementation.h"

namespace {
RendererImplementation* g_renderer = nullptr;  // main thread only
}

RendererImplementation::~RendererImplementation() = default;

void HVI_SetRenderer(RendererImplementation* renderer)
{
    g_renderer = renderer;
}

RendererImplementation* HVI_GetRenderer()
{
    return g_renderer;
}
