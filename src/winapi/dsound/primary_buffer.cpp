#include "primary_buffer.h"

#include <new>

#include "secondary_buffer.h"
#include "sound_object.h"

namespace {
// The primary buffer offers no frequency, pan or volume control here.
constexpr DWORD kRefusedPrimaryFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFX |
                                       DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRL3D;
}  // namespace

HRESULT PrimaryBuffer::Create(SoundObject* owner, LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer)
{
    if (description->dwBufferBytes != 0 || description->lpwfxFormat != nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (description->dwFlags & kRefusedPrimaryFlags) {
        return DSERR_CONTROLUNAVAIL;
    }
    auto* created = new (std::nothrow) PrimaryBuffer(owner);
    if (!created) {
        return DSERR_OUTOFMEMORY;
    }
    *buffer = created;
    return DS_OK;
}

PrimaryBuffer::PrimaryBuffer(SoundObject* owner) : m_owner(owner) { m_owner->AddInternalReference(); }

PrimaryBuffer::~PrimaryBuffer() { m_owner->ReleaseInternalReference(); }

HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetCaps(LPDSBCAPS caps)
{
    if (!caps || caps->dwSize != sizeof(DSBCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    caps->dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = 0;
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetCurrentPosition(LPDWORD, LPDWORD) { return DSERR_INVALIDCALL; }

HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten)
{
    const DWORD rate = m_owner->GetOutputRate();
    WAVEFORMATEX output = {};
    output.wFormatTag = WAVE_FORMAT_PCM;
    output.nChannels = 2;
    output.nSamplesPerSec = rate;
    output.nAvgBytesPerSec = rate * 4;
    output.nBlockAlign = 4;
    output.wBitsPerSample = 16;
    return CopyFormatOut(output, format, sizeAllocated, sizeWritten);
}

HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetVolume(LPLONG) { return DSERR_CONTROLUNAVAIL; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetPan(LPLONG) { return DSERR_CONTROLUNAVAIL; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetFrequency(LPDWORD) { return DSERR_CONTROLUNAVAIL; }

HRESULT STDMETHODCALLTYPE PrimaryBuffer::GetStatus(LPDWORD status)
{
    if (!status) {
        return DSERR_INVALIDPARAM;
    }
    // The output mixes all the time.
    *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE PrimaryBuffer::Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) { return DSERR_ALREADYINITIALIZED; }

HRESULT STDMETHODCALLTYPE PrimaryBuffer::Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD)
{
    return DSERR_PRIOLEVELNEEDED;
}

HRESULT STDMETHODCALLTYPE PrimaryBuffer::Play(DWORD reserved, DWORD priority, DWORD flags)
{
    if (reserved != 0 || priority != 0 || !(flags & DSBPLAY_LOOPING)) {
        return DSERR_INVALIDPARAM;
    }
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE PrimaryBuffer::SetCurrentPosition(DWORD) { return DSERR_INVALIDCALL; }

HRESULT STDMETHODCALLTYPE PrimaryBuffer::SetFormat(LPCWAVEFORMATEX format)
{
    if (!format) {
        return DSERR_INVALIDPARAM;
    }
    if (m_owner->GetCooperativeLevel() < DSSCL_PRIORITY) {
        return DSERR_PRIOLEVELNEEDED;
    }
    if (!IsSupportedPcmFormat(*format)) {
        return DSERR_BADFORMAT;
    }
    m_owner->SetOutputRate(format->nSamplesPerSec);
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE PrimaryBuffer::SetVolume(LONG) { return DSERR_CONTROLUNAVAIL; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::SetPan(LONG) { return DSERR_CONTROLUNAVAIL; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::SetFrequency(DWORD) { return DSERR_CONTROLUNAVAIL; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::Stop() { return DS_OK; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::Unlock(LPVOID, DWORD, LPVOID, DWORD) { return DSERR_INVALIDCALL; }
HRESULT STDMETHODCALLTYPE PrimaryBuffer::Restore() { return DS_OK; }
