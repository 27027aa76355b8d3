#include "core/engine_state.h"

namespace {
HVI_EngineState g_state;  // main thread only
}  // namespace

HVI_EngineState& HVI_GetEngineState() { return g_state; }

void HVI_ResetEngineState() { g_state = HVI_EngineState{}; }
