#include <SDL.h>

#include "audio_output.h"
#include "buffer_mixer.h"

namespace {

constexpr Uint16 kDeviceBlockFrames = 1024;

// Plays the mix on the default audio device; SDL converts from the mixer's
// rate when the device runs at another.
class SdlOutput final : public AudioOutput {
public:
    ~SdlOutput() override { Stop(); }
    const char* GetName() const override { return "sdl"; }

    bool Start(BufferMixer* mixer) override
    {
        if (m_device != 0 || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        SDL_AudioSpec wanted = {};
        wanted.freq = int(mixer->GetOutputRate());
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = kDeviceBlockFrames;
        wanted.callback = &SdlOutput::Fill;
        wanted.userdata = mixer;
        SDL_AudioSpec obtained = {};
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (m_device == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

    void Stop() override
    {
        if (m_device == 0) {
            return;
        }
        SDL_CloseAudioDevice(m_device);  // waits for a running callback
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    // Runs on SDL's audio thread.
    static void SDLCALL Fill(void* context, Uint8* stream, int length)
    {
        static_cast<BufferMixer*>(context)->Mix(reinterpret_cast<SHORT*>(stream), DWORD(length / 4));
    }

    SDL_AudioDeviceID m_device = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> CreateSdlOutput() { return std::make_unique<SdlOutput>(); }
