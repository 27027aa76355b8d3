#pragma once

#include <cstdint>

// Counts the bytes of heap blocks (malloc and everything built on it) taken
// and given back while counting is on, so that a benchmark can tell the peak
// memory of one operation; off, allocation costs nothing extra. Not
// available in sanitizer builds, which own malloc.
bool HVB_AllocationCounterAvailable();
// Starts counting from zero.
void HVB_StartCountingAllocations();
void HVB_StopCountingAllocations();
// Bytes taken and not given back since counting started, now and at most.
int64_t HVB_LiveBytes();
int64_t HVB_PeakBytes();
