#pragma once

#include <cstdint>

// The present interval the renderer hands to each present: kept in the
// engine state (0 with the feature DISABLE_VSYNC at pre-initialisation, else
// 1) and passed to the running renderer. Main thread.
uint32_t HV_Graphics_GetPresentInterval();
// Values above HV_PRESENT_INTERVAL_MAX are logged and change nothing.
void HV_Graphics_SetPresentInterval(uint32_t interval);
