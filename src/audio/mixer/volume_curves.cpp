#include "audio/mixer/volume_curves.h"

#include <cmath>

#include <dsound.h>

namespace {
// 1000 / log10(2): hundredths of a decibel per decade of linear volume on the -10 dB a halving scale.
constexpr double kAttenuationPerDecade = 3321.928;
constexpr float kFadeSilenceBelow = 0.15f;
}  // namespace

LONG HVI_AttenuationFromVolume(float effectiveVolume)
{
    if (effectiveVolume >= 1.0f) {
        return DSBVOLUME_MAX;
    }
    if (effectiveVolume <= 0.0f) {
        return DSBVOLUME_MIN;
    }
    const double attenuation = std::trunc(std::log10(double(effectiveVolume)) * kAttenuationPerDecade);
    return attenuation < DSBVOLUME_MIN ? DSBVOLUME_MIN : LONG(attenuation);
}

LONG HVI_FadeAttenuationFromVolume(float effectiveVolume)
{
    if (effectiveVolume < kFadeSilenceBelow) {
        return DSBVOLUME_MIN;
    }
    const float clamped = effectiveVolume > 1.0f ? 1.0f : effectiveVolume;
    return LONG((1.0f - (clamped / 3.0f + 2.0f / 3.0f)) * -10000.0f);
}
