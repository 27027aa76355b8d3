#include "sound_object.h"

#include <new>

#include "primary_buffer.h"
#include "secondary_buffer.h"
#include "sound_object_registry.h"

namespace {
// The rate the output mixes at until the primary buffer's format is set.
constexpr DWORD kDefaultOutputRate = 44100;
}  // namespace

SoundObject* SoundObject::Create() { return new (std::nothrow) SoundObject(); }

SoundObject::SoundObject() : m_mixer(std::make_shared<BufferMixer>(kDefaultOutputRate))
{
    std::lock_guard<std::mutex> hold(GetSoundObjectRegistryLock());
    m_output = StartConfiguredOutput(m_mixer.get());
    RegisterSoundObject(this);
}

SoundObject::~SoundObject()
{
    std::lock_guard<std::mutex> hold(GetSoundObjectRegistryLock());
    UnregisterSoundObject(this);
    m_output->Stop();
}

void SoundObject::SetOutputRate(DWORD rate)
{
    std::lock_guard<std::mutex> hold(GetSoundObjectRegistryLock());
    if (rate == m_mixer->GetOutputRate()) {
        return;
    }
    m_output->Stop();
    m_mixer->SetOutputRate(rate);
    if (!m_output->Start(m_mixer.get())) {
        m_output = CreateSilentOutput();
        m_output->Start(m_mixer.get());
    }
}

HRESULT STDMETHODCALLTYPE SoundObject::CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                                                         LPUNKNOWN outer)
{
    if (outer) {
        return DSERR_NOAGGREGATION;
    }
    if (!description || !buffer) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (m_level == 0) {
        return DSERR_PRIOLEVELNEEDED;
    }
    if (description->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        return PrimaryBuffer::Create(this, description, buffer);
    }
    return SecondaryBuffer::Create(m_mixer, description, buffer);
}

HRESULT STDMETHODCALLTYPE SoundObject::GetCaps(LPDSCAPS caps)
{
    if (!caps || caps->dwSize != sizeof(DSCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    *caps = DSCAPS{};
    caps->dwSize = sizeof(DSCAPS);
    caps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT | DSCAPS_PRIMARY16BIT |
                    DSCAPS_CONTINUOUSRATE | DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO | DSCAPS_SECONDARY8BIT |
                    DSCAPS_SECONDARY16BIT;
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    caps->dwPrimaryBuffers = 1;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SoundObject::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER* duplicate)
{
    if (duplicate) {
        *duplicate = nullptr;
    }
    return DSERR_UNSUPPORTED;
}

HRESULT STDMETHODCALLTYPE SoundObject::SetCooperativeLevel(HWND window, DWORD level)
{
    if (!window || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    m_level = level;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SoundObject::Compact() { return m_level == 0 ? DSERR_UNINITIALIZED : DS_OK; }

HRESULT STDMETHODCALLTYPE SoundObject::GetSpeakerConfig(LPDWORD speakerConfig)
{
    if (!speakerConfig) {
        return DSERR_INVALIDPARAM;
    }
    *speakerConfig = m_speakerConfig;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SoundObject::SetSpeakerConfig(DWORD speakerConfig)
{
    m_speakerConfig = speakerConfig;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SoundObject::Initialize(LPCGUID) { return DSERR_ALREADYINITIALIZED; }

HRESULT STDMETHODCALLTYPE SoundObject::VerifyCertification(LPDWORD certified)
{
    if (!certified) {
        return DSERR_INVALIDPARAM;
    }
    *certified = DS_UNCERTIFIED;
    return DS_OK;
}
