// Refilling a voice's buffer half by half from its sample.
#include <cstring>

#include "audio/decoders/sample_frames.h"
#include "audio/mixer/mixer_state.h"

namespace {

// Fills `bytes` of the buffer from `from` (within the buffer) from the
// sample, then silence; notes where silence after the sample's end begins.
void FillRange(HV_MixerVoice& voice, uint8_t* buffer, DWORD from, DWORD bytes, bool loop)
{
    const int64_t written = HVI_ReadSampleFrames(voice.cursor, *voice.sample, buffer + from, bytes, loop);
    memset(buffer + from + written, 0, size_t(bytes - written));
    if (written == bytes) {
        voice.silenceFrom = -1;
    } else if (voice.silenceFrom < 0) {
        voice.silenceFrom = int32_t(from + written);
    }
}

// The whole buffer locked for writing; null (traced) when the lock fails.
uint8_t* LockWholeBuffer(HV_MixerVoice& voice, DWORD* bytes)
{
    void* audio = nullptr;
    const HRESULT result = voice.buffer->Lock(0, 0, &audio, bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    if (result != DS_OK) {
        HVI_TraceDirectSoundError("Lock", result);
        return nullptr;
    }
    return static_cast<uint8_t*>(audio);
}

}  // namespace

void HVI_FillMixerVoice(HV_MixerVoice& voice)
{
    if (!voice.sample || voice.id == 0 || !voice.buffer) {
        return;
    }
    HVI_MixerLockScope hold;
    const DWORD half = DWORD(voice.bufferBytes / 2);
    if (voice.playing) {
        DWORD play = 0;
        DWORD write = 0;
        if (voice.buffer->GetCurrentPosition(&play, &write) != DS_OK) {
            return;
        }
        const DWORD moved = play >= voice.lastPlayCursor ? play - voice.lastPlayCursor
                                                         : play + DWORD(voice.bufferBytes) - voice.lastPlayCursor;
        voice.lastPlayCursor = play;
        voice.bytesPlayed += moved;
        // An endless voice (looping, or a play list) never runs out.
        if (voice.bytesLeft >= 0) {
            voice.bytesLeft -= moved;
            if (voice.bytesLeft <= 0) {
                HVI_EndMixerVoice(voice);
                return;
            }
        }
        const int fillHalf = play < half ? 1 : 0;
        const int writeHalf = write < half ? 0 : 1;
        if (fillHalf != voice.nextHalf || writeHalf == fillHalf) {
            return;
        }
    }
    DWORD bytes = 0;
    uint8_t* buffer = LockWholeBuffer(voice, &bytes);
    if (!buffer) {
        return;
    }
    FillRange(voice, buffer, DWORD(voice.nextHalf) * half, half, voice.loop);
    voice.buffer->Unlock(buffer, bytes, nullptr, 0);
    voice.nextHalf = 1 - voice.nextHalf;
}

void HVI_RepeatMixerVoiceIntoItsSilence(HV_MixerVoice& voice)
{
    if (!voice.sample || voice.id == 0 || !voice.buffer || voice.silenceFrom < 0) {
        return;
    }
    HVI_MixerLockScope hold;
    const DWORD size = DWORD(voice.bufferBytes);
    // What was written and not yet played runs from the play cursor to the half filled next.
    const DWORD filledEnd = DWORD(voice.nextHalf) * (size / 2);
    DWORD from = DWORD(voice.silenceFrom);
    if (voice.playing) {
        DWORD play = 0;
        DWORD write = 0;
        if (voice.buffer->GetCurrentPosition(&play, &write) != DS_OK) {
            return;
        }
        // A cursor standing on the end of what was written has the whole buffer
        // before it (a step refilled the other half before it moved), never none.
        const DWORD unplayed = size - (play + size - filledEnd) % size;
        if ((from + size - play) % size >= unplayed) {
            // The end itself has been played: the repeat starts where writing may.
            from = write;
            if ((from + size - play) % size >= unplayed) {
                return;
            }
        }
    }
    DWORD bytes = 0;
    uint8_t* buffer = LockWholeBuffer(voice, &bytes);
    if (!buffer) {
        return;
    }
    voice.silenceFrom = -1;
    if (from < filledEnd) {
        FillRange(voice, buffer, from, filledEnd - from, true);
    } else {
        // The silence runs over the end of the buffer into its start.
        FillRange(voice, buffer, from, size - from, true);
        if (voice.silenceFrom < 0) {
            FillRange(voice, buffer, 0, filledEnd, true);
        }
    }
    voice.buffer->Unlock(buffer, bytes, nullptr, 0);
}
