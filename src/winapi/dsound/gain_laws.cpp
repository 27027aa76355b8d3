#include "gain_laws.h"

#include <cmath>

#include <dsound.h>

float AmplitudeFromAttenuation(LONG hundredthsOfDecibel)
{
    if (hundredthsOfDecibel <= DSBVOLUME_MIN) {
        return 0.0f;
    }
    if (hundredthsOfDecibel >= 0) {
        return 1.0f;
    }
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

StereoGain GainFromVolumeAndPan(LONG volume, LONG pan)
{
    const float amplitude = AmplitudeFromAttenuation(volume);
    StereoGain gain = {amplitude, amplitude};
    if (pan > 0) {
        gain.left *= AmplitudeFromAttenuation(-pan);
    } else if (pan < 0) {
        gain.right *= AmplitudeFromAttenuation(pan);
    }
    return gain;
}
