// The mixer table's LoadSample and FreeSample.
#include "audio/mixer/mixer_samples.h"

#include "audio/mixer/mixer_sample.h"
#include "audio/mixer/mixer_state.h"
#include "audio/mixer/sample_files.h"
#include "foundation/log.h"

HV_MixerSample* HVI_MixerLoadSample(const char* path, int32_t flags) {
    bool initialised = false;
    {
        HVI_MixerLockScope hold;
        initialised = HVI_GetMixerState().initialised;
    }
    if ((flags & HV_MIXER_LOAD_EMPTY) || !initialised) {
        HVI_Log(HV_LOG_INFO, "VELT LoadSample '%s': empty sample.", path);
        return HVI_CreateMixerSample(path, flags);
    }
    // Read without the lock: decoding must not hold up the mixer thread.
    HV_MixerSample* sample = HVI_ReadSampleFile(path, flags);
    if (!sample) {
        HVI_Log(HV_LOG_INFO, "VELT LoadSample '%s': file not found.", path);
    } else if (sample->channels == 0) {
        HVI_Log(HV_LOG_INFO, "VELT LoadSample '%s': load failed.", path);
    }
    return sample;
}

void HVI_MixerFreeSample(HV_MixerSample* sample) {
    if (!sample) {
        return;
    }
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    for (int i = 0; i < mixer.voiceCount; ++i) {
        if (mixer.voices[i].id != 0 && mixer.voices[i].sample == sample) {
            HVI_EndMixerVoice(mixer.voices[i]);
        }
    }
    HVI_DestroyMixerSample(sample);
}
