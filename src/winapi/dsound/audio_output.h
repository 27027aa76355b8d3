#pragma once

#include <memory>

#include <windows.h>

class BufferMixer;

// Where a sound object's mix goes. Start begins taking frames from the mixer
// at its output rate; Stop ends that (and may be called when not started).
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual const char* GetName() const = 0;
    virtual bool Start(BufferMixer* mixer) = 0;
    virtual void Stop() = 0;
    // Mixes frames on request; only the pull output does, the others return 0.
    virtual DWORD Pull(SHORT* frames, DWORD frameCount)
    {
        (void)frames;
        (void)frameCount;
        return 0;
    }
};

std::unique_ptr<AudioOutput> CreateSdlOutput();
std::unique_ptr<AudioOutput> CreateCaptureOutput(const char* path);
std::unique_ptr<AudioOutput> CreatePullOutput();
std::unique_ptr<AudioOutput> CreateSilentOutput();

// The output that HALVO_AUDIO_OUTPUT names (see dsound_output.h), already
// started; the silent output when the named one cannot start.
std::unique_ptr<AudioOutput> StartConfiguredOutput(BufferMixer* mixer);
