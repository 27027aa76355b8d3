#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "audio_output.h"

// An output without a device: a thread takes frames from the mixer in real
// time, every few milliseconds, and hands them to Consume.
class ClockedOutput : public AudioOutput {
public:
    // Derived outputs call Stop in their destructors, while Finish is still theirs.
    bool Start(BufferMixer* mixer) override;
    void Stop() override;

protected:
    // Called on Start before the thread runs, with the output rate; false refuses the start.
    virtual bool Begin(DWORD rate) = 0;
    virtual void Consume(const SHORT* frames, DWORD frameCount) = 0;
    // Called on Stop after the thread has ended.
    virtual void Finish() = 0;

private:
    void Run(BufferMixer* mixer, DWORD rate);

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    bool m_started = false;
};
