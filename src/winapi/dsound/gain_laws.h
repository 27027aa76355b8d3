#pragma once

#include <windows.h>

// The platform's published laws for buffer volume and pan, in hundredths of a
// decibel: an attenuation of v gives the amplitude factor 10^(v / 2000), and
// DSBVOLUME_MIN stands for silence. A pan attenuates the opposite side only:
// a pan of p > 0 lowers the left channel by p, p < 0 the right one by -p.
struct StereoGain {
    float left;
    float right;
};

float AmplitudeFromAttenuation(LONG hundredthsOfDecibel);
StereoGain GainFromVolumeAndPan(LONG volume, LONG pan);
