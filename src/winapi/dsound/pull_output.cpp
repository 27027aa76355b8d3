#include "audio_output.h"
#include "buffer_mixer.h"

namespace {

// Mixes only when asked, so that play cursors advance exactly as frames are pulled.
class PullOutput final : public AudioOutput {
public:
    const char* GetName() const override { return "pull"; }
    bool Start(BufferMixer* mixer) override
    {
        m_mixer = mixer;
        return true;
    }
    void Stop() override { m_mixer = nullptr; }
    DWORD Pull(SHORT* frames, DWORD frameCount) override
    {
        if (!m_mixer) {
            return 0;
        }
        m_mixer->Mix(frames, frameCount);
        return frameCount;
    }

private:
    BufferMixer* m_mixer = nullptr;  // set and read under the sound object registry's lock
};

}  // namespace

std::unique_ptr<AudioOutput> CreatePullOutput() { return std::make_unique<PullOutput>(); }
