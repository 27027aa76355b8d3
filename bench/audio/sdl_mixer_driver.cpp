#include "sdl_mixer_driver.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "voice_sounds.h"

using namespace voice_bench;

namespace {

// SDL2_mixer hands its mixing callback to SDL_OpenAudioDevice. This program's
// own definition of that function stands in for the device (the dynamic linker
// binds SDL2_mixer's call to it): it keeps the callback for Mix to call.
SDL_AudioCallback g_callback = nullptr;
void* g_callbackData = nullptr;
constexpr SDL_AudioDeviceID kDriverDevice = 0x7FFF;

std::vector<std::vector<int16_t>> g_chunkSamples;  // SDL2_mixer plays chunks in the output format: stereo
std::vector<Mix_Chunk*> g_chunks;

}  // namespace

extern "C" SDL_AudioDeviceID SDL_OpenAudioDevice(const char*, int, const SDL_AudioSpec* desired,
                                                 SDL_AudioSpec* obtained, int)
{
    g_callback = desired->callback;
    g_callbackData = desired->userdata;
    *obtained = *desired;
    obtained->size = Uint32(desired->samples) * desired->channels * 2;
    return kDriverDevice;
}

extern "C" void SDL_PauseAudioDevice(SDL_AudioDeviceID, int) {}
extern "C" void SDL_CloseAudioDevice(SDL_AudioDeviceID) {}

SdlMixerDriver::SdlMixerDriver()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBlockFrames) != 0 || !g_callback) {
        return;
    }
    Mix_AllocateChannels(kVoices);
    const auto& voices = Voices();
    g_chunkSamples.resize(voices.size());
    for (size_t i = 0; i < voices.size(); ++i) {
        const VoiceSound& voice = voices[i];
        std::vector<int16_t>& stereo = g_chunkSamples[i];
        for (size_t s = 0; s < voice.samples.size(); ++s) {
            stereo.push_back(voice.samples[s]);
            if (voice.channels == 1) {
                stereo.push_back(voice.samples[s]);
            }
        }
        Mix_Chunk* chunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(stereo.data()), Uint32(stereo.size() * 2));
        g_chunks.push_back(chunk);
        // Volume carries the louder side; panning scales each side relative to it.
        const float loud = std::max(voice.left, voice.right);
        Mix_Volume(int(i), int(std::lrint(loud * MIX_MAX_VOLUME)));
        Mix_SetPanning(int(i), Uint8(std::lrint(voice.left / loud * 255.0f)),
                       Uint8(std::lrint(voice.right / loud * 255.0f)));
        Mix_PlayChannel(int(i), chunk, -1);
    }
    m_ready = true;
}

SdlMixerDriver::~SdlMixerDriver()
{
    if (g_callback) {
        Mix_HaltChannel(-1);
        for (Mix_Chunk* chunk : g_chunks) {
            Mix_FreeChunk(chunk);
        }
        g_chunks.clear();
        g_chunkSamples.clear();
        Mix_CloseAudio();
    }
}

void SdlMixerDriver::Mix(int16_t* frames)
{
    // SDL clears the stream before the callback mixes into it.
    memset(frames, 0, size_t(kBlockFrames) * 4);
    g_callback(g_callbackData, reinterpret_cast<Uint8*>(frames), kBlockFrames * 4);
}
