#pragma once

#include <halvo/program.h>

#include <string>
#include <vector>

#include "graphics/bitmap_record.h"
#include "graphics/renderer_implementation.h"
#include "graphics/shader_record.h"
#include "quad_frame.h"

// The frame through the renderer back end, as the engine drives it: the
// back end the executable exports, initialised on a window of its own, the
// front end's sprite program, a texture made from a bitmap, and the buffers.
class RendererScene {
public:
    // Empty when made, else why not.
    std::string Make();
    void Frame();
    ~RendererScene();

private:
    HV_ProgramInterface m_program = {};
    RendererImplementation* m_renderer = nullptr;
    HV_Shader m_shader;
    HV_Bitmap m_bitmap;
    RendererVertexBuffer* m_vertices = nullptr;
    RendererIndexBuffer* m_indices = nullptr;
    std::vector<QuadVertex> m_quads;
};
