// The high-resolution performance counter.
#pragma once

#include <minwinbase.h>

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);

#ifdef __cplusplus
}
#endif
