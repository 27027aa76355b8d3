#include "audio/mixer/mixer_interface.h"

#include "audio/mixer/mixer_lifecycle.h"
#include "audio/mixer/mixer_samples.h"
#include "audio/mixer/mixer_update.h"
#include "audio/mixer/mixer_voices.h"

namespace {

void Empty() {}

constexpr HV_MixerInterface kMixerInterface = {
    1,
    HVI_MixerInit,
    HVI_MixerShutdown,
    HVI_MixerSetWindow,
    Empty,
    HVI_MixerSetMasterVolume,
    HVI_MixerGetMasterVolume,
    HVI_MixerLoadSample,
    HVI_MixerFreeSample,
    HVI_MixerPlay,
    HVI_MixerSetVoiceFrequency,
    HVI_MixerSetVoiceVolume,
    HVI_MixerSetVoicePan,
    HVI_MixerSetVoiceLooping,
    HVI_MixerSetVoicePaused,
    HVI_MixerGetVoiceFrequency,
    HVI_MixerGetVoiceVolume,
    HVI_MixerGetVoicePan,
    HVI_MixerGetVoiceLooping,
    HVI_MixerGetVoicePaused,
    HVI_MixerGetVoiceSample,
    HVI_MixerGetVoiceState,
    HVI_MixerSwitchSegment,
    HVI_MixerStopVoice,
    HVI_MixerSlideVoiceVolume,
    HVI_MixerUpdate,
    HVI_MixerSetRunning,
};

}  // namespace

const HV_MixerInterface* HVI_GetMixerInterface() { return &kMixerInterface; }
