// The mixer's start and end: DirectSound loaded from "DSOUND.DLL", the voice
// buffers, the keep-alive buffer and the mixer thread.
#include "audio/mixer/mixer_lifecycle.h"

#include <cstring>

#include "audio/mixer/mixer_interface.h"
#include "audio/mixer/mixer_update.h"
#include "audio/mixer/mixer_state.h"
#include "foundation/engine_log.h"

namespace {

constexpr DWORD kVoiceBufferFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                                    DSBCAPS_LOCSOFTWARE | DSBCAPS_GETCURRENTPOSITION2;
constexpr DWORD kMixerThreadPeriodMs = 25;

WAVEFORMATEX PcmFormat(const HV_MixerState& mixer, int channels)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(channels);
    format.nSamplesPerSec = DWORD(mixer.outputRate);
    format.wBitsPerSample = WORD(mixer.bitsPerSample);
    format.nBlockAlign = WORD(channels * mixer.bitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    return format;
}

IDirectSoundBuffer* CreateSecondaryBuffer(HV_MixerState& mixer, int channels)
{
    WAVEFORMATEX format = PcmFormat(mixer, channels);
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = kVoiceBufferFlags;
    description.dwBufferBytes = DWORD(mixer.bytesPerBuffer);
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    const HRESULT result = mixer.directSound->CreateSoundBuffer(&description, &buffer, nullptr);
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("CreateSoundBuffer", result);
        return nullptr;
    }
    return buffer;
}

bool SetUpDirectSound(HV_MixerState& mixer, HWND window)
{
    mixer.library = LoadLibraryA("DSOUND.DLL");
    const auto create = mixer.library ? reinterpret_cast<LPDIRECTSOUNDCREATE>(reinterpret_cast<void (*)()>(
                                            GetProcAddress(mixer.library, "DirectSoundCreate")))
                                      : nullptr;
    if (!create) {
        return false;
    }
    HRESULT result = create(nullptr, &mixer.directSound, nullptr);
    if (result != DS_OK) {
        mixer.directSound = nullptr;
        HVI_TraceDirectSoundError("DirectSoundCreate", result);
        return false;
    }
    // Our DirectSound layer also tells where it plays (a device, a capture
    // file, ...); the platform's own library has no such entry point.
    using GetOutputName = const char*(WINAPI*)(void);
    if (const auto outputName = reinterpret_cast<GetOutputName>(
            reinterpret_cast<void (*)()>(GetProcAddress(mixer.library, "HalvoDSound_GetOutputName")))) {
        HVI_Log(HV_LOG_SYSTEM, "VELT sound output: %s", outputName());
    }
    result = mixer.directSound->SetCooperativeLevel(window, DSSCL_PRIORITY);
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("SetCooperativeLevel", result);
        return false;
    }
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    result = mixer.directSound->CreateSoundBuffer(&description, &primary, nullptr);
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("CreateSoundBuffer", result);
        return false;
    }
    const WAVEFORMATEX format = PcmFormat(mixer, mixer.primaryChannels);
    result = primary->SetFormat(&format);
    primary->Release();
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("SetFormat", result);
        return false;
    }
    return true;
}

bool StartKeepAlive(HV_MixerState& mixer)
{
    mixer.keepAlive = CreateSecondaryBuffer(mixer, 2);
    if (!mixer.keepAlive) {
        return false;
    }
    void* audio = nullptr;
    DWORD bytes = 0;
    const HRESULT result = mixer.keepAlive->Lock(0, 0, &audio, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("Lock", result);
        return false;
    }
    memset(audio, 0, bytes);
    mixer.keepAlive->Unlock(audio, bytes, nullptr, 0);
    mixer.keepAlive->Play(0, 0, DSBPLAY_LOOPING);
    return true;
}

DWORD WINAPI RunMixerThread(LPVOID)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    while (InterlockedCompareExchange(&mixer.stop, 0, 0) == 0) {
        HVI_MixerUpdate();
        Sleep(kMixerThreadPeriodMs);
    }
    return 0;
}

// Releases whatever Init created, in reverse order; the lock is held.
void ReleaseEverything(HV_MixerState& mixer)
{
    for (int i = 0; i < HV_MIXER_MAX_VOICES; ++i) {
        HV_MixerVoice& voice = mixer.voices[i];
        if (voice.id != 0) {
            HVI_EndMixerVoice(voice);
        }
        if (voice.buffer) {
            voice.buffer->Release();
        }
        memset(&voice, 0, sizeof(voice));
    }
    if (mixer.keepAlive) {
        mixer.keepAlive->Release();
        mixer.keepAlive = nullptr;
    }
    if (mixer.directSound) {
        mixer.directSound->Release();
        mixer.directSound = nullptr;
    }
    if (mixer.library) {
        FreeLibrary(mixer.library);
        mixer.library = nullptr;
    }
    mixer.voicesPlaying = 0;
}

}  // namespace

bool HVI_MixerInit(int32_t outputRate, int32_t voiceCount, HWND window, int32_t reserved)
{
    HVI_MixerShutdown();
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    mixer.requestedVoiceCount = voiceCount;
    mixer.voiceCount = voiceCount < 0 ? 0 : (voiceCount > HV_MIXER_MAX_VOICES ? HV_MIXER_MAX_VOICES : voiceCount);
    mixer.outputRate = outputRate;
    mixer.bitsPerSample = 16;
    mixer.primaryChannels = 2;
    mixer.bytesPerBuffer = outputRate * 2;
    mixer.masterVolume = 1.0f;
    mixer.voicesPlaying = 0;
    mixer.running = false;
    mixer.reserved = reserved;
    mixer.stepTimeKnown = false;
    mixer.stop = 0;
    if (outputRate < DSBFREQUENCY_MIN || outputRate > DSBFREQUENCY_MAX || !SetUpDirectSound(mixer, window)) {
        ReleaseEverything(mixer);
        return false;
    }
    const int firstStereo = mixer.voiceCount > HV_MIXER_STEREO_VOICES ? mixer.voiceCount - HV_MIXER_STEREO_VOICES : 0;
    for (int i = 0; i < mixer.voiceCount; ++i) {
        HV_MixerVoice& voice = mixer.voices[i];
        memset(&voice, 0, sizeof(voice));
        voice.channels = i < firstStereo ? 1 : 2;
        voice.buffer = CreateSecondaryBuffer(mixer, voice.channels);
        voice.bufferBytes = mixer.bytesPerBuffer;
    }
    if (!StartKeepAlive(mixer)) {
        ReleaseEverything(mixer);
        return false;
    }
    mixer.thread = CreateThread(nullptr, 0, RunMixerThread, nullptr, 0, nullptr);
    if (!mixer.thread) {
        ReleaseEverything(mixer);
        return false;
    }
    mixer.running = true;
    mixer.initialised = true;
    return true;
}

void HVI_MixerShutdown()
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HANDLE thread = nullptr;
    {
        HVI_MixerLockScope hold;
        if (!mixer.initialised) {
            return;
        }
        mixer.running = false;
        mixer.initialised = false;
        InterlockedExchange(&mixer.stop, 1);
        thread = mixer.thread;
        mixer.thread = nullptr;
    }
    // Joined, not polled: a thread that has not yet begun cannot be missed.
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    HVI_MixerLockScope hold;
    ReleaseEverything(mixer);
}

void HVI_MixerSetWindow(HWND window)
{
    HV_MixerState& mixer = HVI_GetMixerState();
    HVI_MixerLockScope hold;
    if (!mixer.directSound) {
        return;
    }
    const HRESULT result = mixer.directSound->SetCooperativeLevel(window, DSSCL_PRIORITY);
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("SetCooperativeLevel", result);
    }
}
