#pragma once

#include <halvo/graphics.h>

#include <cstdint>

// The front end's cache of the blend mode and the render states, which
// back ends read back (the cull mode with the scissor, the blend mode with
// colour writes). Main thread only. Setting a state stores it and hands it
// to the running renderer; an invalid mode, id or value is logged and leaves
// everything as it was.

// The render-state ids HV_RENDER_STATE_* and the blend-mode count are the
// public header's.

int32_t HV_Graphics_GetBlendMode();
void HV_Graphics_SetBlendMode(int32_t mode);

// The cached value; 0 (logged) for an unknown id.
int32_t HV_Graphics_GetRenderStatei(int32_t id);
void HV_Graphics_SetRenderStatei(int32_t id, int32_t value);

// Back to the states a renderer starts with: blend mode 0, depth test off,
// depth function 1 (less), depth write off, colour write on, no culling.
void HVI_ResetRenderStates();
