#pragma once

#include "foundation/engine_log.h"

// The engine's log lines (a file that cannot be opened, say) are dropped:
// a fuzzer meets such faults millions of times, and printing them costs more
// than the run.
inline void SilenceEngineLog()
{
    HVI_SetLogSink([](void*, int, bool, const char*) {}, nullptr);
}
