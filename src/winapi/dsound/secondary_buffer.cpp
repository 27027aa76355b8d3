#include "secondary_buffer.h"

#include <cstddef>
#include <cstring>
#include <mutex>

namespace {

// Controls of a secondary buffer that this layer does not provide.
constexpr DWORD kUnsupportedControls = DSBCAPS_CTRL3D | DSBCAPS_CTRLFX | DSBCAPS_CTRLPOSITIONNOTIFY;

// Reads a control's value under the mixer's lock, for a buffer made with that
// control; the platform's errors otherwise.
template <typename Value>
HRESULT ReadControl(Value* out, DWORD flags, DWORD control, std::mutex& lock, const Value& field)
{
    if (!out) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags & control)) {
        return DSERR_CONTROLUNAVAIL;
    }
    std::lock_guard<std::mutex> hold(lock);
    *out = field;
    return DS_OK;
}

// Sets a control's value under the mixer's lock, for a buffer made with that
// control and a value in lowest..highest; the platform's errors otherwise.
template <typename Value>
HRESULT WriteControl(Value value, Value lowest, Value highest, DWORD flags, DWORD control, std::mutex& lock,
                     Value& field)
{
    if (!(flags & control)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (value < lowest || value > highest) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard<std::mutex> hold(lock);
    field = value;
    return DS_OK;
}

// Descriptions of before and after the 3D algorithm member are both accepted.
bool HasValidSize(const DSBUFFERDESC& description)
{
    return description.dwSize == sizeof(DSBUFFERDESC) || description.dwSize == offsetof(DSBUFFERDESC, guid3DAlgorithm);
}

}  // namespace

bool IsSupportedPcmFormat(const WAVEFORMATEX& format)
{
    if (format.wFormatTag != WAVE_FORMAT_PCM || (format.nChannels != 1 && format.nChannels != 2) ||
        (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)) {
        return false;
    }
    if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return false;
    }
    const DWORD blockAlign = DWORD(format.nChannels) * format.wBitsPerSample / 8;
    return format.nBlockAlign == blockAlign && format.nAvgBytesPerSec == format.nSamplesPerSec * blockAlign;
}

HRESULT CopyFormatOut(const WAVEFORMATEX& source, LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten)
{
    if (!format && !sizeWritten) {
        return DSERR_INVALIDPARAM;
    }
    DWORD size = sizeof(WAVEFORMATEX);
    if (format) {
        size = sizeAllocated < size ? sizeAllocated : size;
        memcpy(format, &source, size);
    }
    if (sizeWritten) {
        *sizeWritten = size;
    }
    return DS_OK;
}

HRESULT SecondaryBuffer::Create(const std::shared_ptr<BufferMixer>& mixer, LPCDSBUFFERDESC description,
                                LPDIRECTSOUNDBUFFER* buffer)
{
    if (!description || !buffer || !HasValidSize(*description) || !description->lpwfxFormat) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (description->dwFlags & kUnsupportedControls) {
        return DSERR_UNSUPPORTED;
    }
    const WAVEFORMATEX& format = *description->lpwfxFormat;
    if (!IsSupportedPcmFormat(format)) {
        return DSERR_BADFORMAT;
    }
    // The size is kept to whole frames.
    const DWORD bytes = description->dwBufferBytes - description->dwBufferBytes % format.nBlockAlign;
    if (description->dwBufferBytes < DSBSIZE_MIN || description->dwBufferBytes > DSBSIZE_MAX || bytes == 0) {
        return DSERR_INVALIDPARAM;
    }
    auto* created = new (std::nothrow) SecondaryBuffer(mixer, description->dwFlags, format, bytes);
    if (!created) {
        return DSERR_OUTOFMEMORY;
    }
    *buffer = created;
    return DS_OK;
}

SecondaryBuffer::SecondaryBuffer(const std::shared_ptr<BufferMixer>& mixer, DWORD flags, const WAVEFORMATEX& format,
                                 DWORD bytes)
    : m_mixer(mixer), m_flags(flags), m_format(format)
{
    m_voice.memory.assign(bytes, format.wBitsPerSample == 8 ? 0x80 : 0);
    m_voice.channels = format.nChannels;
    m_voice.bitsPerSample = format.wBitsPerSample;
    m_voice.blockAlign = format.nBlockAlign;
    m_voice.frameCount = bytes / format.nBlockAlign;
    m_voice.originalFrequency = format.nSamplesPerSec;
    m_voice.frequency = format.nSamplesPerSec;
    m_mixer->AddVoice(&m_voice);
}

SecondaryBuffer::~SecondaryBuffer() { m_mixer->RemoveVoice(&m_voice); }

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetCaps(LPDSBCAPS caps)
{
    if (!caps || caps->dwSize != sizeof(DSBCAPS)) {
        return DSERR_INVALIDPARAM;
    }
    caps->dwFlags = (m_flags & ~DSBCAPS_LOCHARDWARE) | DSBCAPS_LOCSOFTWARE;
    caps->dwBufferBytes = DWORD(m_voice.memory.size());
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor)
{
    if (!playCursor && !writeCursor) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    // Nothing is mixed ahead of the play cursor, so writing may begin right at it.
    const DWORD play = DWORD(m_voice.position >> 32) * m_voice.blockAlign;
    if (playCursor) {
        *playCursor = play;
    }
    if (writeCursor) {
        *writeCursor = play;
    }
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten)
{
    return CopyFormatOut(m_format, format, sizeAllocated, sizeWritten);
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetVolume(LPLONG volume)
{
    return ReadControl(volume, m_flags, DSBCAPS_CTRLVOLUME, m_mixer->GetLock(), m_voice.volume);
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetPan(LPLONG pan)
{
    return ReadControl(pan, m_flags, DSBCAPS_CTRLPAN, m_mixer->GetLock(), m_voice.pan);
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetFrequency(LPDWORD frequency)
{
    return ReadControl(frequency, m_flags, DSBCAPS_CTRLFREQUENCY, m_mixer->GetLock(), m_voice.frequency);
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::GetStatus(LPDWORD status)
{
    if (!status) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    *status = 0;
    if (m_voice.playing) {
        *status = DSBSTATUS_PLAYING | (m_voice.looping ? DSBSTATUS_LOOPING : 0);
    }
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC)
{
    return DSERR_ALREADYINITIALIZED;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* audio1, LPDWORD bytes1,
                                                LPVOID* audio2, LPDWORD bytes2, DWORD flags)
{
    if (!audio1 || !bytes1) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD size = DWORD(m_voice.memory.size());
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        offset = DWORD(m_voice.position >> 32) * m_voice.blockAlign;
    }
    if (flags & DSBLOCK_ENTIREBUFFER) {
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size) {
        return DSERR_INVALIDPARAM;
    }
    // A region that runs past the end continues at the start of the buffer.
    const DWORD first = bytes < size - offset ? bytes : size - offset;
    *audio1 = m_voice.memory.data() + offset;
    *bytes1 = first;
    if (audio2) {
        *audio2 = first < bytes ? m_voice.memory.data() : nullptr;
    }
    if (bytes2) {
        *bytes2 = audio2 ? bytes - first : 0;
    }
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::Play(DWORD reserved, DWORD priority, DWORD flags)
{
    if (reserved != 0 || (priority != 0 && !(m_flags & DSBCAPS_LOCDEFER))) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    m_voice.playing = true;
    m_voice.looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::SetCurrentPosition(DWORD position)
{
    if (position >= m_voice.memory.size()) {
        return DSERR_INVALIDPARAM;
    }
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    m_voice.position = uint64_t(position / m_voice.blockAlign) << 32;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::SetFormat(LPCWAVEFORMATEX) { return DSERR_INVALIDCALL; }

HRESULT STDMETHODCALLTYPE SecondaryBuffer::SetVolume(LONG volume)
{
    return WriteControl<LONG>(volume, DSBVOLUME_MIN, DSBVOLUME_MAX, m_flags, DSBCAPS_CTRLVOLUME, m_mixer->GetLock(),
                              m_voice.volume);
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::SetPan(LONG pan)
{
    return WriteControl<LONG>(pan, DSBPAN_LEFT, DSBPAN_RIGHT, m_flags, DSBCAPS_CTRLPAN, m_mixer->GetLock(),
                              m_voice.pan);
}

// The original frequency is the format's rate, which creation kept in range.
HRESULT STDMETHODCALLTYPE SecondaryBuffer::SetFrequency(DWORD frequency)
{
    const DWORD wanted = frequency == DSBFREQUENCY_ORIGINAL ? m_voice.originalFrequency : frequency;
    return WriteControl<DWORD>(wanted, DSBFREQUENCY_MIN, DSBFREQUENCY_MAX, m_flags, DSBCAPS_CTRLFREQUENCY,
                               m_mixer->GetLock(), m_voice.frequency);
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::Stop()
{
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    m_voice.playing = false;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::Unlock(LPVOID audio1, DWORD bytes1, LPVOID audio2, DWORD bytes2)
{
    const uint8_t* begin = m_voice.memory.data();
    const uint8_t* end = begin + m_voice.memory.size();
    const auto* first = static_cast<const uint8_t*>(audio1);
    const auto* second = static_cast<const uint8_t*>(audio2);
    // Pointers are compared as addresses, since they may come from anywhere.
    const auto address = [](const uint8_t* pointer) { return reinterpret_cast<uintptr_t>(pointer); };
    if (!first || address(first) < address(begin) || address(first) >= address(end) || bytes1 > size_t(end - first)) {
        return DSERR_INVALIDPARAM;
    }
    if (second && (second != begin || bytes2 > size_t(first - begin))) {
        return DSERR_INVALIDPARAM;
    }
    // Taking the lock orders the application's writes before the mixer's next reads.
    std::lock_guard<std::mutex> hold(m_mixer->GetLock());
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE SecondaryBuffer::Restore() { return DS_OK; }
