#include "dsound_voice_driver.h"

#include <cstdlib>
#include <cstring>

#include "voice_sounds.h"

using namespace voice_bench;

namespace {

template <class Function>
Function FindEntry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

IDirectSoundBuffer* CreateVoiceBuffer(IDirectSound* sound, const VoiceSound& voice)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(voice.channels);
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(voice.channels * 2);
    format.nAvgBytesPerSec = kRate * format.nBlockAlign;
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                          DSBCAPS_LOCSOFTWARE | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = DWORD(voice.samples.size() * 2);
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    if (sound->CreateSoundBuffer(&description, &buffer, nullptr) != DS_OK) {
        return nullptr;
    }
    void* audio = nullptr;
    DWORD bytes = 0;
    if (buffer->Lock(0, 0, &audio, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) == DS_OK) {
        memcpy(audio, voice.samples.data(), bytes);
        buffer->Unlock(audio, bytes, nullptr, 0);
    }
    buffer->SetVolume(voice.volume);
    buffer->SetPan(voice.pan);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    return buffer;
}

}  // namespace

HMODULE LoadDSoundForBench()
{
    if (!getenv("HALVO_LIBRARY_PATH")) {
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", HALVO_MODULE_DIR);
    }
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "pull");
    return LoadLibraryA("DSOUND.DLL");
}

DSoundVoiceDriver::DSoundVoiceDriver()
{
    m_library = LoadDSoundForBench();
    const auto create = m_library ? FindEntry<LPDIRECTSOUNDCREATE>(m_library, "DirectSoundCreate") : nullptr;
    m_pull = m_library ? FindEntry<LPHALVODSOUNDPULLFRAMES>(m_library, "HalvoDSound_PullFrames") : nullptr;
    if (!create || !m_pull || create(nullptr, &m_sound, nullptr) != DS_OK) {
        return;
    }
    m_sound->SetCooperativeLevel(reinterpret_cast<HWND>(uintptr_t(1)), DSSCL_PRIORITY);
    for (const VoiceSound& voice : Voices()) {
        IDirectSoundBuffer* buffer = CreateVoiceBuffer(m_sound, voice);
        if (!buffer) {
            return;
        }
        m_buffers.push_back(buffer);
    }
    m_ready = true;
}

DSoundVoiceDriver::~DSoundVoiceDriver()
{
    for (IDirectSoundBuffer* buffer : m_buffers) {
        buffer->Release();
    }
    if (m_sound) {
        m_sound->Release();
    }
    if (m_library) {
        FreeLibrary(m_library);
    }
}

void DSoundVoiceDriver::Mix(int16_t* frames) { m_pull(reinterpret_cast<SHORT*>(frames), kBlockFrames); }
