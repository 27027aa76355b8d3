#include "graphics/render_states.h"

#include <array>

#include "core/logging.h"
#include "graphics/render_state_messages.h"
#include "graphics/renderer_implementation.h"

namespace {

// One row per render state, in id order from the first.
struct RenderStateRow {
    int32_t initial;
    int32_t maximum;  // values run from 0
};
constexpr int32_t kFirstRenderState = HV_RENDER_STATE_DEPTH_TEST;
constexpr RenderStateRow kRenderStateRows[] = {
    {0, 1},  // 10 depth test
    {1, 7},  // 11 depth function
    {0, 1},  // 12 depth write
    {1, 1},  // 13 colour write
    {0, 2},  // 14 cull mode
};
constexpr int32_t kRenderStateCount = sizeof(kRenderStateRows) / sizeof(kRenderStateRows[0]);
static_assert(kFirstRenderState + kRenderStateCount - 1 == HV_RENDER_STATE_CULL_MODE, "ids 10..14");

constexpr std::array<int32_t, kRenderStateCount> InitialStates()
{
    std::array<int32_t, kRenderStateCount> states{};
    for (int32_t i = 0; i < kRenderStateCount; ++i) states[i] = kRenderStateRows[i].initial;
    return states;
}

// Main thread only.
int32_t g_blendMode = 0;
std::array<int32_t, kRenderStateCount> g_renderStates = InitialStates();

bool IsKnown(int32_t id) { return id >= kFirstRenderState && id < kFirstRenderState + kRenderStateCount; }

void ApplyToRenderer(int32_t id, int32_t value)
{
    RendererImplementation* renderer = HVI_GetRenderer();
    if (renderer == nullptr) return;
    switch (id) {
    case HV_RENDER_STATE_DEPTH_TEST: renderer->SetDepthTest(value != 0); break;
    case HV_RENDER_STATE_DEPTH_FUNCTION: renderer->SetDepthFunction(value); break;
    case HV_RENDER_STATE_DEPTH_WRITE: renderer->SetDepthWrite(value != 0); break;
    case HV_RENDER_STATE_COLOR_WRITE: renderer->SetColorWrite(value != 0); break;
    case HV_RENDER_STATE_CULL_MODE: renderer->SetCullMode(value); break;
    default: break;
    }
}

}  // namespace

int32_t HV_Graphics_GetBlendMode() { return g_blendMode; }

void HV_Graphics_SetBlendMode(int32_t mode)
{
    if (mode < 0 || mode >= HV_BLEND_MODE_COUNT) {
        HV_Log(HV_LOG_ERROR, kBlendModeInvalid, mode);
        return;
    }
    g_blendMode = mode;
    if (RendererImplementation* renderer = HVI_GetRenderer()) renderer->SetBlendMode(mode);
}

int32_t HV_Graphics_GetRenderStatei(int32_t id)
{
    if (!IsKnown(id)) {
        HV_Log(HV_LOG_ERROR, kRenderStateUnknown, "HV_Graphics_GetRenderStatei", id);
        return 0;
    }
    return g_renderStates[id - kFirstRenderState];
}

void HV_Graphics_SetRenderStatei(int32_t id, int32_t value)
{
    if (!IsKnown(id)) {
        HV_Log(HV_LOG_ERROR, kRenderStateUnknown, "HV_Graphics_SetRenderStatei", id);
        return;
    }
    if (value < 0 || value > kRenderStateRows[id - kFirstRenderState].maximum) {
        HV_Log(HV_LOG_ERROR, kRenderStateValueInvalid, value, id);
        return;
    }
    g_renderStates[id - kFirstRenderState] = value;
    ApplyToRenderer(id, value);
}

void HVI_ResetRenderStates()
{
    g_blendMode = 0;
    g_renderStates = InitialStates();
}
