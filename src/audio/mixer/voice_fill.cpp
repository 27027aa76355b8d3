// Refilling a voice's buffer half by half from its sample.
#include <cstring>

#include "audio/mixer/mixer_sample.h"
#include "audio/mixer/mixer_state.h"
#include "audio/mixer/ogg_decoding.h"

namespace {

// Play-list reading gives up after this many entries in a row that yield nothing.
constexpr int kMaxEmptyEntries = 4;

void OpenDecoder(HV_MixerVoice& voice, const HV_MixerSample& sample)
{
    HVI_CloseMixerVoiceDecoder(voice);
    voice.decoderSource = {sample.data, sample.dataBytes, 0};
    voice.decoderOpen = HVI_OpenOggDecoder(&voice.decoder, &voice.decoderSource) == 0;
    voice.decoderErrorRun = 0;
}

// PCM copied from the read position; with `loop` the sample starts over at its end.
int64_t ReadPcm(HV_MixerVoice& voice, const HV_MixerSample& sample, uint8_t* out, int64_t bytes, bool loop)
{
    int64_t written = 0;
    while (written < bytes && sample.dataBytes > 0) {
        if (voice.readPosition >= sample.dataBytes) {
            if (!loop) {
                break;
            }
            voice.readPosition = 0;
        }
        const int64_t available = sample.dataBytes - voice.readPosition;
        const int64_t chunk = available < bytes - written ? available : bytes - written;
        memcpy(out + written, sample.data + voice.readPosition, size_t(chunk));
        voice.readPosition += chunk;
        written += chunk;
    }
    return written;
}

// Decoded from the voice's decoder; with `loop` the stream starts over at its end.
int64_t ReadStream(HV_MixerVoice& voice, const HV_MixerSample& sample, uint8_t* out, int64_t bytes, bool loop)
{
    if (!voice.decoderOpen) {
        OpenDecoder(voice, sample);
    }
    int64_t written = 0;
    bool restarted = false;
    while (voice.decoderOpen && written < bytes && voice.decoderErrorRun <= HV_OGG_MAX_ERRORS_IN_A_ROW) {
        const int64_t chunk = HVI_DecodeOgg(&voice.decoder, out + written, bytes - written, &voice.decoderErrorRun);
        written += chunk;
        voice.readPosition += chunk;
        if (written < bytes && voice.decoderErrorRun <= HV_OGG_MAX_ERRORS_IN_A_ROW) {
            // The end of the stream: start over once per call, so that an empty stream cannot spin.
            if (!loop || (restarted && chunk == 0) || ov_pcm_seek(&voice.decoder, 0) != 0) {
                break;
            }
            restarted = true;
            voice.readPosition = 0;
        }
    }
    return written;
}

int64_t ReadSample(HV_MixerVoice& voice, const HV_MixerSample& sample, uint8_t* out, int64_t bytes, bool loop)
{
    switch (sample.kind) {
    case HV_MIXER_SAMPLE_PCM: return ReadPcm(voice, sample, out, bytes, loop);
    case HV_MIXER_SAMPLE_OGG_STREAM: return ReadStream(voice, sample, out, bytes, loop);
    default: return 0;
    }
}

// A play list always loops: each entry is read to its end, then the next one
// (the first after the last) continues the fill.
int64_t ReadPlayList(HV_MixerVoice& voice, const HV_MixerSample& list, uint8_t* out, int64_t bytes)
{
    int64_t written = 0;
    int emptyEntries = 0;
    while (written < bytes && list.entryCount > 0 && emptyEntries < kMaxEmptyEntries) {
        if (!voice.entry) {
            voice.entryIndex %= list.entryCount;
            voice.entry = list.entries[voice.entryIndex];
            voice.readPosition = 0;
            HVI_CloseMixerVoiceDecoder(voice);
        }
        const int64_t chunk = ReadSample(voice, *voice.entry, out + written, bytes - written, false);
        written += chunk;
        if (written < bytes) {
            emptyEntries = chunk == 0 ? emptyEntries + 1 : 0;
            voice.entryIndex = (voice.entryIndex + 1) % list.entryCount;
            voice.entry = nullptr;
        }
    }
    return written;
}

// Fills `bytes` of the buffer from `from` (within the buffer) from the
// sample, then silence; notes where silence after the sample's end begins.
void FillRange(HV_MixerVoice& voice, uint8_t* buffer, DWORD from, DWORD bytes, bool loop)
{
    const HV_MixerSample& sample = *voice.sample;
    const int64_t written = sample.kind == HV_MIXER_SAMPLE_PLAY_LIST
                                ? ReadPlayList(voice, sample, buffer + from, bytes)
                                : ReadSample(voice, sample, buffer + from, bytes, loop);
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

void HVI_CloseMixerVoiceDecoder(HV_MixerVoice& voice)
{
    if (voice.decoderOpen) {
        ov_clear(&voice.decoder);
        voice.decoderOpen = false;
    }
}

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
        const DWORD unplayed = (filledEnd + size - play) % size;
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
