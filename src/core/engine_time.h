#pragma once

// Engine time and calendar time.

#include <halvo/core.h>

// Milliseconds since the engine started (32-bit, wraps after 49 days).
uint32_t HV_GetTimeMs();
// Nanoseconds since the engine started.
uint64_t HV_GetTimeNs();
// Calendar time in seconds since 1970.
int64_t HV_GetTimestamp();
// The local date and time.
HV_DateTime HV_GetLocalTime();

// Takes now as the engine's start time (pre-initialisation).
void HVI_ResetEngineTime();
