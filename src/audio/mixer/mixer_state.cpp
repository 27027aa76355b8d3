#include "audio/mixer/mixer_state.h"

#include <cstdio>

#include "audio/mixer/dsound_error_texts.h"
#include "foundation/engine_log.h"

namespace {

struct MixerStateHolder {
    MixerStateHolder() : state() { InitializeCriticalSection(&state.lock); }
    HV_MixerState state;
};

}  // namespace

HV_MixerState& HVI_GetMixerState()
{
    static MixerStateHolder holder;
    return holder.state;
}

void HVI_EnterMixerLock() { EnterCriticalSection(&HVI_GetMixerState().lock); }

void HVI_LeaveMixerLock() { LeaveCriticalSection(&HVI_GetMixerState().lock); }

void HVI_TraceDirectSoundError(const char* step, HRESULT result)
{
    char text[1024];
    const char* known = nullptr;
    for (const auto& row : HV_DIRECTSOUND_ERROR_TEXTS) {
        if (row.result == result) {
            known = row.text;
        }
    }
    if (known) {
        snprintf(text, sizeof(text), "%s: %s", step, known);
    } else {
        snprintf(text, sizeof(text), "%s: Unknown DirectSound error: 0x%x", step, static_cast<unsigned>(result));
    }
    HVI_Log(HV_LOG_INFO, "VELT DirectSound error: '%s'\n", text);
}
