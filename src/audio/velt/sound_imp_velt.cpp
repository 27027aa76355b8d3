#include "audio/velt/sound_imp_velt.h"

#include <cstring>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/sample_files.h"
#include "audio/mixer/mixer_interface.h"
#include "audio/sound_record.h"
#include "core/engine_state.h"
#include "core/logging.h"
#include "filesystem/file_operations.h"

namespace {

constexpr int32_t kOutputRate = 44100;
constexpr int32_t kVoiceCount = 64;

const HV_MixerInterface& Mixer() { return *HVI_GetMixerInterface(); }

// Voice handles of the back end are the mixer's positive voice ids.
int32_t VoiceId(uint32_t voice) { return voice > uint32_t(INT32_MAX) ? 0 : int32_t(voice); }

bool EndsWith(const char* path, const char* suffix)
{
    const size_t length = strlen(path);
    const size_t suffixLength = strlen(suffix);
    return length >= suffixLength && memcmp(path + length - suffixLength, suffix, suffixLength) == 0;
}

HV_MixerSample* LoadPlayListEntry(const char* path, void*)
{
    return Mixer().LoadSample(path, HV_MIXER_LOAD_ALWAYS_STREAM);
}

HV_MixerSample* LoadPlayList(const char* path)
{
    HV_MixerSample* list = Mixer().LoadSample(path, HV_MIXER_LOAD_EMPTY);
    if (list && !HVI_ReadPlayListFile(list, path, LoadPlayListEntry, nullptr)) {
        Mixer().FreeSample(list);
        return nullptr;
    }
    return list;
}

}  // namespace

bool SoundImpVELT::Initialize(HVI_EngineState& state, const HV_VideoParameters&)
{
    m_musicVoice = 0;
    return Mixer().Init(kOutputRate, kVoiceCount, state.window, 0);
}

bool SoundImpVELT::OnWindowChanged(HVI_EngineState& state, const HV_VideoParameters&)
{
    HV_Log(HV_LOG_SYSTEM, "SoundImplementation VELT acknowledging window change.");
    Mixer().SetWindow(state.window);
    return true;
}

void SoundImpVELT::Shutdown()
{
    HV_Log(HV_LOG_SYSTEM, "SoundImplementation VELT Shutdown.");
    m_musicVoice = 0;
    Mixer().Shutdown();
}

bool SoundImpVELT::LoadSample(HV_SoundRecord* sound, const char* path)
{
    ReleaseSample(sound);
    sound->byteSize = 0;
    sound->length = 0.0f;
    if (EndsWith(path, ".mp3") && strstr(path, ".mp3") == path + strlen(path) - 4 && HV_FileSystem_FindPath(path)) {
        HV_Log(HV_LOG_WARNING, "SoundImplementation VELT pretending it can load mp3.");
        return true;
    }
    HV_MixerSample* sample = EndsWith(path, ".mpl") ? LoadPlayList(path) : Mixer().LoadSample(path, 0);
    if (!sample || sample->channels == 0) {
        Mixer().FreeSample(sample);
        return false;
    }
    sound->sample = sample;
    sound->byteSize = uint32_t(HVI_GetMixerSamplePcmBytes(sample));
    if (sample->bitsPerSample != 0 && sample->sampleRate != 0) {
        sound->length = float(double(sound->byteSize) /
                              (double(sample->bitsPerSample) / 8.0 * sample->sampleRate * sample->channels));
    }
    return true;
}

void SoundImpVELT::ReleaseSample(HV_SoundRecord* sound)
{
    if (!sound || !sound->sample) {
        return;
    }
    Mixer().FreeSample(static_cast<HV_MixerSample*>(sound->sample));
    sound->sample = nullptr;
}

void SoundImpVELT::SetMasterVolume(float volume) { Mixer().SetMasterVolume(volume); }

uint32_t SoundImpVELT::PlaySample(HV_SoundRecord* sound, float volume, float pan, float pitch)
{
    return PlaySampleLooped(sound, volume, pan, pitch, false);
}

uint32_t SoundImpVELT::PlaySampleLooped(HV_SoundRecord* sound, float volume, float pan, float pitch, bool loop)
{
    if (!sound) {
        return 0;
    }
    return Mixer().Play(static_cast<HV_MixerSample*>(sound->sample), volume, pan, pitch, loop);
}

void SoundImpVELT::StopVoice(uint32_t voice) { Mixer().StopVoice(VoiceId(voice)); }
void SoundImpVELT::SetVoicePan(uint32_t voice, float pan) { Mixer().SetVoicePan(VoiceId(voice), pan); }
void SoundImpVELT::SetVoiceVolume(uint32_t voice, float volume) { Mixer().SetVoiceVolume(VoiceId(voice), volume); }
void SoundImpVELT::SetVoicePaused(uint32_t voice, bool paused) { Mixer().SetVoicePaused(VoiceId(voice), paused); }
void SoundImpVELT::SetVoiceLooping(uint32_t voice, bool loop) { Mixer().SetVoiceLooping(VoiceId(voice), loop); }
void SoundImpVELT::SetVoiceFrequency(uint32_t voice, float pitch) { Mixer().SetVoiceFrequency(VoiceId(voice), pitch); }

bool SoundImpVELT::IsVoicePlaying(uint32_t voice)
{
    return Mixer().GetVoiceState(VoiceId(voice)) != HV_MIXER_VOICE_NONE;
}

void SoundImpVELT::PlayMusic(HV_SoundRecord* music, float volume)
{
    m_musicVoice = PlaySample(music, volume, 0.0f, 1.0f);
    SetVoiceLooping(m_musicVoice, true);
}

void SoundImpVELT::StopMusic()
{
    StopVoice(m_musicVoice);
    m_musicVoice = 0;
}

void SoundImpVELT::SetMusicPaused(bool paused)
{
    if (m_musicVoice != 0) {
        SetVoicePaused(m_musicVoice, paused);
    }
}

void SoundImpVELT::SetMusicVolume(float volume) { SetVoiceVolume(m_musicVoice, volume); }
