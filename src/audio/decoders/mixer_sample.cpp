#include "audio/decoders/mixer_sample.h"

#include <cstdlib>
#include <cstring>

#include "foundation/text.h"

HV_MixerSample* HVI_CreateMixerSample(const char* path, int32_t flags)
{
    auto* sample = static_cast<HV_MixerSample*>(calloc(1, sizeof(HV_MixerSample)));
    if (!sample) {
        return nullptr;
    }
    sample->name = HVI_StrDup(path);
    sample->flags = flags;
    return sample;
}

void HVI_ClearMixerSample(HV_MixerSample* sample)
{
    free(sample->data);
    for (int i = 0; i < sample->entryCount; ++i) {
        HVI_DestroyMixerSample(sample->entries[i]);
    }
    char* name = sample->name;
    const int32_t flags = sample->flags;
    memset(sample, 0, sizeof(*sample));
    sample->name = name;
    sample->flags = flags;
}

void HVI_DestroyMixerSample(HV_MixerSample* sample)
{
    if (!sample) {
        return;
    }
    HVI_ClearMixerSample(sample);
    free(sample->name);
    free(sample);
}

int64_t HVI_GetMixerSamplePcmBytes(const HV_MixerSample* sample)
{
    switch (sample->kind) {
    case HV_MIXER_SAMPLE_PCM: return sample->dataBytes;
    case HV_MIXER_SAMPLE_OGG_STREAM: return sample->streamBytes;
    default: return 0;
    }
}
