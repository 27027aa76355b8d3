#include "audio/sound_implementation.h"

#include "core/logging.h"

namespace {

constexpr int32_t kDeprecatedAnswer = 555;

int32_t ReportDeprecatedCall()
{
    HV_Popup(HV_LOG_WARNING, "Calling deprecated Sound Imp method!");
    return kDeprecatedAnswer;
}

}  // namespace

bool SoundImplementation::OnWindowChanged(HVI_EngineState&, const HV_VideoParameters&) { return true; }

uint32_t SoundImplementation::PlaySampleLooped(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop)
{
    const uint32_t voice = PlaySample(sound, volume, pan, pitch);
    if (loop) {
        SetVoiceLooping(voice, true);
    }
    return voice;
}

int32_t SoundImplementation::DeprecatedMethod17() { return ReportDeprecatedCall(); }
int32_t SoundImplementation::DeprecatedValue20() { return kDeprecatedAnswer; }
int32_t SoundImplementation::DeprecatedMethod21() { return ReportDeprecatedCall(); }
int32_t SoundImplementation::DeprecatedMethod22() { return ReportDeprecatedCall(); }
int32_t SoundImplementation::DeprecatedMethod23() { return ReportDeprecatedCall(); }
int32_t SoundImplementation::DeprecatedMethod24() { return ReportDeprecatedCall(); }
int32_t SoundImplementation::DeprecatedMethod25() { return ReportDeprecatedCall(); }
int32_t SoundImplementation::DeprecatedMethod26() { return ReportDeprecatedCall(); }
