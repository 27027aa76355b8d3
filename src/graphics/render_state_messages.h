#pragma once

// Texts the render-state cache writes.
constexpr const char* kBlendModeInvalid = "HV_Graphics_SetBlendMode: blend mode %d is not 0..8.";
constexpr const char* kRenderStateUnknown = "%s: render state %d is unknown.";
constexpr const char* kRenderStateValueInvalid =
    "HV_Graphics_SetRenderStatei: value %d is out of range for render state %d.";
constexpr const char* kPresentIntervalInvalid = "HV_Graphics_SetPresentInterval: interval %u is above %d.";
