#include "audio/audio_state.h"

#include <cstdlib>
#include <cstring>

#include "core/engine_state.h"

namespace {

HV_AudioState* CreateState()
{
    auto* state = static_cast<HV_AudioState*>(calloc(1, sizeof(HV_AudioState)));
    state->referenceCounting = true;
    state->masterVolume = 1.0f;
    state->nextHandle = 1;
    return state;
}

}  // namespace

HV_AudioState& HVI_GetAudioState()
{
    static HV_AudioState* state = CreateState();
    return *state;
}

void HVI_ResetAudioState()
{
    HV_AudioState& state = HVI_GetAudioState();
    for (HV_SoundRecord& sound : state.sounds) {
        free(sound.name);
        free(sound.loadedPath);
    }
    memset(&state, 0, sizeof(state));
    state.referenceCounting = true;
    state.masterVolume = 1.0f;
    state.nextHandle = 1;
}

bool HVI_IsAudioDisabled() { return HVI_GetEngineState().video.noSound != 0; }

float HVI_SnapVolume(float volume)
{
    if (volume < 0.001f) {
        return 0.0f;
    }
    return volume > 0.999f ? 1.0f : volume;
}
