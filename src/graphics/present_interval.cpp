#include "graphics/present_interval.h"

#include <halvo/graphics.h>

#include "core/engine_state.h"
#include "core/logging.h"
#include "graphics/render_state_messages.h"
#include "graphics/renderer_implementation.h"

uint32_t HV_Graphics_GetPresentInterval() { return static_cast<uint32_t>(HVI_GetEngineState().presentInterval); }

void HV_Graphics_SetPresentInterval(uint32_t interval)
{
    if (interval > HV_PRESENT_INTERVAL_MAX) {
        HV_Log(HV_LOG_WARNING, kPresentIntervalInvalid, interval, HV_PRESENT_INTERVAL_MAX);
        return;
    }
    HVI_GetEngineState().presentInterval = static_cast<int>(interval);
    if (RendererImplementation* renderer = HVI_GetRenderer()) renderer->SetPresentInterval(interval);
}
