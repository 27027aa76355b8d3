#pragma once

#include <memory>

#include <dsound.h>

#include "winapi/com/com_object.h"

#include "buffer_mixer.h"

// A secondary sound buffer: one sound in the buffer's own format, mixed in
// software into the sound object's output while it plays.
class SecondaryBuffer final : public halvo::com::Object<IDirectSoundBuffer> {
public:
    // Checks the description as the platform does; DS_OK and the new buffer, or an error code.
    static HRESULT Create(const std::shared_ptr<BufferMixer>& mixer, LPCDSBUFFERDESC description,
                          LPDIRECTSOUNDBUFFER* buffer);

    HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) override;
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) override;
    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override;
    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) override;
    HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) override;
    HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) override;
    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTSOUND directSound, LPCDSBUFFERDESC description) override;
    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* audio1, LPDWORD bytes1, LPVOID* audio2,
                                   LPDWORD bytes2, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override;
    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) override;
    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override;
    HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override;
    HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID audio1, DWORD bytes1, LPVOID audio2, DWORD bytes2) override;
    HRESULT STDMETHODCALLTYPE Restore() override;

private:
    SecondaryBuffer(const std::shared_ptr<BufferMixer>& mixer, DWORD flags, const WAVEFORMATEX& format, DWORD bytes);
    ~SecondaryBuffer() override;

    std::shared_ptr<BufferMixer> m_mixer;
    const DWORD m_flags;
    const WAVEFORMATEX m_format;
    BufferVoice m_voice;  // guarded by m_mixer's lock
};

// Whether the format is one a secondary buffer can hold: PCM, 1 or 2 channels,
// 8 or 16 bits, a rate in DSBFREQUENCY_MIN..DSBFREQUENCY_MAX, and consistent
// block alignment and byte rate.
bool IsSupportedPcmFormat(const WAVEFORMATEX& format);

// GetFormat of either buffer kind: copies as much of the format as fits in
// sizeAllocated bytes and says how much that was; an error when there is
// nowhere to answer.
HRESULT CopyFormatOut(const WAVEFORMATEX& source, LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten);
