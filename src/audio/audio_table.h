#pragma once

#include "halvo/audio.h"

// The audio table of the engine interface.
HV_AudioInterface* HVI_GetAudioTable();
