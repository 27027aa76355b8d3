#include "audio/audio_engine_rig.h"

#include <gtest/gtest.h>

#include "audio/audio_state.h"
#include "audio/audio_subsystem.h"
#include "core/engine_interface.h"
#include "core/engine_locks.h"
#include "core/engine_time.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "support/logged_texts.h"

namespace {

// The parts of the engine core that audio uses, back to their first state.
void ResetEngineCore()
{
    HVI_ResetSubsystems();
    HVI_ResetLog();
    HVI_ResetFeatures();
    HVI_ResetEngineState();
    HVI_ResetFileSystem();
    HVI_RegisterMainThread();
    HVI_CreateEngineLocks();
}

}  // namespace

AudioEngineRig::AudioEngineRig(bool noSound, bool developerMode)
{
    ResetEngineCore();
    HVI_ResetEngineTime();
    HVI_SetLogThreshold(0);
    HVI_InstallFoundationLogSink();
    HVI_SetDeveloperMode(developerMode);
    HVI_ResetAudioState();
    // The core reset forgot the file system; the folder is mounted again.
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_folder.Path("").c_str());
    HVI_AddSearchPath("res://");
    HVI_BuildEngineInterface();
    m_state = &HVI_GetEngineState();
    m_state->engine = HVI_GetEngineInterface();
    m_state->window = reinterpret_cast<HWND__*>(TestWindow());
    m_state->video.noSound = noSound ? 1 : 0;
    HVI_RegisterAudioSubsystem();
    const HVI_SubsystemHooks& hooks = HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND);
    EXPECT_TRUE(hooks.Preinitialize(*m_state));
    if (!noSound) {
        EXPECT_TRUE(hooks.Startup(*m_state));
    }
}

AudioEngineRig::~AudioEngineRig()
{
    HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).Shutdown(*m_state);
    HVI_ResetAudioState();
    HVI_SetLogSink(nullptr, nullptr);
    ResetEngineCore();
}

void AudioEngineRig::Frame() { HVI_GetSubsystemHooks(HVI_SUBSYSTEM_SOUND).UpdateFrame(*m_state, 0.005f); }

void AudioEngineRig::RunFrames(int milliseconds)
{
    const uint32_t end = HV_GetTimeMs() + uint32_t(milliseconds);
    while (HV_GetTimeMs() < end) {
        Sleep(5);
        Frame();
    }
}

bool AudioEngineRig::Logged(const std::string& text) const
{
    for (const std::string& line : LoggedTexts()) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string AudioEngineRig::LogText() const
{
    std::string all;
    for (const std::string& line : LoggedTexts()) {
        all += line + "\n";
    }
    return all;
}
