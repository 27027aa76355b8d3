#pragma once

#include <windows.h>

// DirectSound attenuation (hundredths of a decibel, DSBVOLUME_MIN..0) for a
// linear volume (master x voice, clamped to 0..1).

// The full curve: -10 dB for every halving, 1000 x log2 of the volume; never
// below DSBVOLUME_MIN, which DirectSound would refuse.
LONG HVI_AttenuationFromVolume(float effectiveVolume);

// The cheaper curve used while a fade runs: a straight line from 0 at full
// volume down to a third of DSBVOLUME_MIN, and silence below 0.15.
LONG HVI_FadeAttenuationFromVolume(float effectiveVolume);
