#pragma once

#include <cstdint>

// The renderer back-end interface, as far as the shader translator needs it:
// the one target bit and feature-level bit its shaders are built for.
class RendererImplementation {
public:
    virtual ~RendererImplementation();
    // A single ShaderTool::Target bit.
    virtual uint32_t GetShaderTarget() = 0;
    // A single ShaderTool::FeatureLevel bit.
    virtual uint32_t GetShaderFeatureLevel() = 0;
};

// The running renderer back end; null before the renderer is initialised.
// Set and read on the main thread.
void HVI_SetRenderer(RendererImplementation* renderer);
RendererImplementation* HVI_GetRenderer();
