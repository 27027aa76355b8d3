#pragma once

#include <string>
#include <vector>

#include "audio/audio_fixtures.h"
#include "audio/mixer_rig.h"
#include "core/engine_state.h"
#include "halvo/audio.h"

// The audio subsystem plugged into the rig's reset engine as the host does it:
// registered, pre-initialised and started with the mixer back end over the
// pull output, sounds found in a fresh "res://" folder.
class AudioEngineRig {
public:
    explicit AudioEngineRig(bool noSound = false, bool developerMode = false);
    ~AudioEngineRig();

    HV_AudioInterface& audio() { return *m_state->engine->audio; }
    HVI_EngineState& state() { return *m_state; }
    audio_test::ResourceFolder& folder() { return m_folder; }
    // One frame's sound updates (the back end's, then channels and music).
    void Frame();
    // Frames for `milliseconds` of engine time, a frame every 5 ms.
    void RunFrames(int milliseconds);
    std::vector<SHORT> Pull(DWORD frames) { return m_output.Pull(frames); }
    // Whether a line of the log contains the text.
    bool Logged(const std::string& text) const { return m_log.AnyContains(text); }
    std::string LogText() const { return m_log.Text(); }

private:
    LogCapture m_log;
    audio_test::ResourceFolder m_folder;
    PulledOutput m_output;
    HVI_EngineState* m_state = nullptr;
};
