#pragma once

#include <cstdint>

// The front end's cache of the blend mode and the render states, which
// back ends read back (the cull mode with the scissor, the blend mode with
// colour writes). Main thread only. Setting a state stores it and hands it
// to the running renderer; an invalid mode, id or value is logged and leaves
// everything as it was.

// Render-state ids.
enum HV_RenderState : int32_t {
    HV_RENDER_STATE_DEPTH_TEST = 10,  // bool
    HV_RENDER_STATE_DEPTH_FUNCTION =
        11,  // 0..7: never, less, equal, less-or-equal, greater, not-equal, greater-or-equal, always
    HV_RENDER_STATE_DEPTH_WRITE = 12,  // bool
    HV_RENDER_STATE_COLOR_WRITE = 13,  // bool
    HV_RENDER_STATE_CULL_MODE = 14,    // 0 none, 1 front, 2 back
};

constexpr int32_t kBlendModeCount = 9;  // modes 0..8

int32_t HV_Graphics_GetBlendMode();
void HV_Graphics_SetBlendMode(int32_t mode);

// The cached value; 0 (logged) for an unknown id.
int32_t HV_Graphics_GetRenderStatei(int32_t id);
void HV_Graphics_SetRenderStatei(int32_t id, int32_t value);

// Back to the states a renderer starts with: blend mode 0, depth test off,
// depth function 1 (less), depth write off, colour write on, no culling.
void HVI_ResetRenderStates();
