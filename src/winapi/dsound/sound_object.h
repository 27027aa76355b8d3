#pragma once

#include <atomic>
#include <memory>

#include <dsound.h>

#include "winapi/com/com_object.h"

#include "audio_output.h"
#include "buffer_mixer.h"

// The sound object: creates the buffers and owns the mix of their sounds and
// the output it goes to. Every sound object alive is listed in a registry
// whose lock also guards each object's output (see dsound_output.h).
class SoundObject final : public halvo::com::Object<IDirectSound8, IDirectSound> {
public:
    static SoundObject* Create();

    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                                                LPUNKNOWN outer) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS caps) override;
    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                   LPDIRECTSOUNDBUFFER* duplicate) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override;
    HRESULT STDMETHODCALLTYPE Compact() override;
    HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD speakerConfig) override;
    HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD speakerConfig) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPCGUID device) override;
    HRESULT STDMETHODCALLTYPE VerifyCertification(LPDWORD certified) override;

    DWORD GetCooperativeLevel() const { return m_level; }
    DWORD GetOutputRate() { return m_mixer->GetOutputRate(); }
    // Restarts the output at the new rate.
    void SetOutputRate(DWORD rate);

    // Both are called with the registry's lock held.
    const char* GetOutputName() const { return m_output->GetName(); }
    DWORD Pull(SHORT* frames, DWORD frameCount) { return m_output->Pull(frames, frameCount); }

private:
    SoundObject();
    ~SoundObject() override;

    std::atomic<DWORD> m_level{0};  // the cooperative level, 0 until set
    std::atomic<DWORD> m_speakerConfig{DSSPEAKER_STEREO};
    std::shared_ptr<BufferMixer> m_mixer;   // shared with the buffers, which may outlive this object
    std::unique_ptr<AudioOutput> m_output;  // guarded by the registry's lock
};
