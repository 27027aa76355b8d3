// The mixer table's LoadSample and FreeSample.
#include "audio/mixer/mixer_samples.h"

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/sample_files.h"
#include "audio/mixer/mixer_state.h"

HV_MixerSample* HVI_MixerLoadSample(const char* path, int32_t flags)
{
    bool initialised = false;
    {
        HVI_MixerLockScope hold;
        initialised = HVI_GetMixerState().initialised;
    }
    if ((flags & HV_MIXER_LOAD_EMPTY) || !initialised) {
        return HVI_CreateMixerSample(path, flags);
    }
    // Read without the lock: decoding must not hold up the mixer thread. A
    // failure is reported once, by the reader (a missing file by the audio
    // table), so nothing more is logged here.
    return HVI_ReadSampleFile(path, flags);
}

void HVI_MixerFreeSample(HV_MixerSample* sample)
{
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
