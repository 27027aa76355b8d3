#include "winapi/dsound/dsound_library.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The entry point under its own type; FARPROC stands for any function.
template <class Function>
Function FindEntry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

DSoundLibrary::DSoundLibrary()
{
    m_module = LoadLibraryA("DSOUND.DLL");
    EXPECT_NE(m_module, nullptr) << "DSOUND.DLL not found; HALVO_LIBRARY_PATH must name " HALVO_MODULE_DIR;
    if (!m_module) {
        return;
    }
    create = FindEntry<LPDIRECTSOUNDCREATE>(m_module, "DirectSoundCreate");
    m_pull = FindEntry<LPHALVODSOUNDPULLFRAMES>(m_module, "HalvoDSound_PullFrames");
    m_outputName = FindEntry<LPHALVODSOUNDGETOUTPUTNAME>(m_module, "HalvoDSound_GetOutputName");
    EXPECT_NE(create, nullptr);
    EXPECT_NE(m_pull, nullptr);
    EXPECT_NE(m_outputName, nullptr);
}

DSoundLibrary::~DSoundLibrary()
{
    if (m_module) {
        FreeLibrary(m_module);
    }
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", nullptr);
}

HWND TestWindow() { return reinterpret_cast<HWND>(uintptr_t(0x1000)); }

IDirectSound* DSoundLibrary::CreateSoundObject(const char* output)
{
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", output);
    IDirectSound* sound = nullptr;
    if (!create || create(nullptr, &sound, nullptr) != DS_OK) {
        return nullptr;
    }
    EXPECT_EQ(sound->SetCooperativeLevel(TestWindow(), DSSCL_PRIORITY), DS_OK);
    return sound;
}

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(channels * 2);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

IDirectSoundBuffer* DSoundLibrary::CreateBuffer(IDirectSound* sound, WORD channels, DWORD rate, DWORD bytes)
{
    WAVEFORMATEX format = PcmFormat(channels, rate);
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                          DSBCAPS_LOCSOFTWARE | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(sound->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    return buffer;
}

std::vector<SHORT> DSoundLibrary::Pull(DWORD frames)
{
    std::vector<SHORT> out(size_t(frames) * 2);
    EXPECT_EQ(m_pull(out.data(), frames), frames);
    return out;
}

void WriteSamples(IDirectSoundBuffer* buffer, DWORD offset, const std::vector<SHORT>& samples)
{
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    const DWORD bytes = DWORD(samples.size() * 2);
    ASSERT_EQ(buffer->Lock(offset, bytes, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    memcpy(first, samples.data(), firstBytes);
    if (second) {
        memcpy(second, reinterpret_cast<const uint8_t*>(samples.data()) + firstBytes, secondBytes);
    }
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
}
