#include "audio/audio_subsystem.h"

#include "audio/audio_channel_operations.h"
#include "audio/audio_state.h"
#include "audio/audio_table.h"
#include "audio/null/sound_implementation_null.h"
#include "audio/sound_channels.h"
#include "audio/sound_table.h"
#include "audio/velt/sound_imp_velt.h"
#include "core/engine_state.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"

namespace {

SoundImplementationNull g_nullBackEnd;  // serves the whole run, never deleted
SoundImpVELT* g_veltBackEnd = nullptr;  // main thread only
bool g_switchedOff = false;             // sound is off by the no-sound flag (main thread only)

bool IsSoundWanted(const HVI_EngineState& state) { return !HV_HasFeature("NO_SOUND") && !state.video.noSound; }

void UseNullBackEnd()
{
    HVI_GetAudioState().backEnd = &g_nullBackEnd;
    HVI_ClearSoundChannels();
}

// Sets up the mixer back end, falling back to the silent one; true when the mixer runs.
bool BringUpBackEnd(HVI_EngineState& state)
{
    HV_Log(HV_LOG_SYSTEM, "Loading Sound Implementation...");
    if (!g_veltBackEnd) {
        g_veltBackEnd = new SoundImpVELT();
    }
    HV_AudioState& audio = HVI_GetAudioState();
    audio.backEnd = g_veltBackEnd;
    HVI_ClearSoundChannels();
    if (!g_veltBackEnd->Initialize(state, state.video)) {
        HV_Log(HV_LOG_WARNING, "No Sound Implementation available.");
        UseNullBackEnd();
        return false;
    }
    audio.backEnd->SetMasterVolume(audio.masterVolume);
    return true;
}

// The core starts the sound back end only when sound is wanted; with sound
// switched off the silent back end is chosen here, before start-up.
bool Preinitialize(HVI_EngineState& state)
{
    HVI_GetAudioState().referenceCounting = !HV_HasFeature("DISABLE_REFERENCE_COUNTING");
    state.engine->audio = HVI_GetAudioTable();
    g_switchedOff = !IsSoundWanted(state);
    if (g_switchedOff) {
        HV_Log(HV_LOG_SYSTEM, "Sounds disabled. Null Sound Implementation in use.");
        UseNullBackEnd();
    }
    return true;
}

bool Startup(HVI_EngineState& state)
{
    if (BringUpBackEnd(state)) {
        HV_Log(HV_LOG_SYSTEM, "Sound Implementation initialized.");
    }
    return true;
}

void UpdateFrame(HVI_EngineState&, float)
{
    if (SoundImplementation* backEnd = HVI_GetAudioState().backEnd) {
        backEnd->Update();
    }
    HVI_UpdateAudio();
}

void LateFrame(HVI_EngineState&)
{
    if (SoundImplementation* backEnd = HVI_GetAudioState().backEnd) {
        backEnd->LateFrameUpdate();
    }
}

void Reinitialize(HVI_EngineState& state, bool windowRecreated)
{
    HV_AudioState& audio = HVI_GetAudioState();
    if (g_switchedOff && IsSoundWanted(state)) {
        g_switchedOff = false;
        if (audio.backEnd) {
            audio.backEnd->Shutdown();
        }
        if (BringUpBackEnd(state)) {
            HV_Log(HV_LOG_SYSTEM, "SoundImplementation initialized.");
        }
        HVI_ReloadSounds();
        return;
    }
    if (windowRecreated && audio.backEnd) {
        audio.backEnd->OnWindowChanged(state, state.video);
        audio.backEnd->SetMasterVolume(audio.masterVolume);
    }
}

void Shutdown(HVI_EngineState&)
{
    HV_Log(HV_LOG_INFO, "Releasing Sound Implementation.");
    HV_AudioState& audio = HVI_GetAudioState();
    if (audio.backEnd) {
        audio.backEnd->Shutdown();
        // The records stay, but the samples belong to the back end that goes now.
        HVI_ReleaseAllSoundSamples();
    }
    delete g_veltBackEnd;
    g_veltBackEnd = nullptr;
    audio.backEnd = &g_nullBackEnd;
}

}  // namespace

void HVI_RegisterAudioSubsystem()
{
    HVI_SubsystemHooks hooks = {};
    hooks.Preinitialize = Preinitialize;
    hooks.Startup = Startup;
    hooks.UpdateFrame = UpdateFrame;
    hooks.LateFrame = LateFrame;
    hooks.Reinitialize = Reinitialize;
    hooks.Shutdown = Shutdown;
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_SOUND, hooks);
}
