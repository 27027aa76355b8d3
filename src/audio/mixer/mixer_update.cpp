// The mixer step, run every 25 ms by the mixer thread: volume fades and refills.
#include "audio/mixer/mixer_update.h"

#include <cmath>

#include <mmsystem.h>

#include "audio/decoders/mixer_sample.h"
#include "audio/mixer/mixer_state.h"
#include "audio/mixer/mixer_voices.h"
#include "foundation/engine_log.h"

namespace {

// One fade step; false when it ended the voice.
bool StepFade(HV_MixerVoice& voice, float seconds)
{
    // Counted as the distance left, not added up as a volume: the two voices of
    // a cross-fade then take the same steps and end together.
    voice.fadeLeft -= std::abs(voice.fadeRate) * seconds;
    const bool down = voice.fadeRate < 0.0f;
    if (voice.fadeLeft > 0.0f) {
        voice.volume = down ? voice.fadeTarget + voice.fadeLeft : voice.fadeTarget - voice.fadeLeft;
        HVI_ApplyMixerVoiceFadeVolume(voice);
        return true;
    }
    voice.fadeRate = 0.0f;
    if (down && voice.fadeTarget <= 0.0f) {
        HVI_Log(HV_LOG_INFO, "#%d '%s' hit lower target, stopping", int(voice.id), voice.sample->name);
        HVI_EndMixerVoice(voice);
        return false;
    }
    voice.volume = voice.fadeTarget;
    HVI_ApplyMixerVoiceVolume(voice);
    return true;
}

}  // namespace

void HVI_MixerUpdate()
{
    HV_MixerState& mixer = HVI_GetMixerState();
    // Holding the lock for the whole step keeps steps from overlapping.
    HVI_MixerLockScope hold;
    if (!mixer.initialised) {
        return;
    }
    const DWORD now = timeGetTime();
    if (!mixer.stepTimeKnown) {
        mixer.stepTimeKnown = true;
        mixer.lastStepTime = now;
        return;
    }
    const float seconds = float(now - mixer.lastStepTime) * 0.001f;
    mixer.lastStepTime = now;
    // Fades move with the clock; refills depend only on the play cursors, so
    // a step taken before the clock has moved still refills.
    for (int i = 0; i < mixer.voiceCount; ++i) {
        HV_MixerVoice& voice = mixer.voices[i];
        if (!voice.buffer || voice.id == 0 || !voice.playing) {
            continue;
        }
        if (voice.fadeRate == 0.0f || seconds <= 0.0f || StepFade(voice, seconds)) {
            HVI_FillMixerVoice(voice);
        }
    }
}
