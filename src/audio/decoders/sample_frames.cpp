#include "audio/decoders/sample_frames.h"

#include <cstring>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_decoding.h"

namespace {

// Play-list reading gives up after this many entries in a row that yield nothing.
constexpr int kMaxEmptyEntries = 4;

void OpenDecoder(HV_SampleCursor& cursor, const HV_MixerSample& sample)
{
    HVI_CloseSampleCursor(cursor);
    cursor.decoderSource = {sample.data, sample.dataBytes, 0};
    cursor.decoderOpen = HVI_OpenOggDecoder(&cursor.decoder, &cursor.decoderSource) == 0;
    cursor.decoderErrorRun = 0;
}

// PCM copied from the read position; with `loop` the sample starts over at its end.
int64_t ReadPcm(HV_SampleCursor& cursor, const HV_MixerSample& sample, uint8_t* out, int64_t bytes, bool loop)
{
    int64_t written = 0;
    while (written < bytes && sample.dataBytes > 0) {
        if (cursor.readPosition >= sample.dataBytes) {
            if (!loop) {
                break;
            }
            cursor.readPosition = 0;
        }
        const int64_t available = sample.dataBytes - cursor.readPosition;
        const int64_t chunk = available < bytes - written ? available : bytes - written;
        memcpy(out + written, sample.data + cursor.readPosition, size_t(chunk));
        cursor.readPosition += chunk;
        written += chunk;
    }
    return written;
}

// Decoded with the cursor's decoder; with `loop` the stream starts over at its end.
int64_t ReadStream(HV_SampleCursor& cursor, const HV_MixerSample& sample, uint8_t* out, int64_t bytes, bool loop)
{
    if (!cursor.decoderOpen) {
        OpenDecoder(cursor, sample);
    }
    int64_t written = 0;
    bool restarted = false;
    while (cursor.decoderOpen && written < bytes && cursor.decoderErrorRun <= HV_OGG_MAX_ERRORS_IN_A_ROW) {
        const int64_t chunk = HVI_DecodeOgg(&cursor.decoder, out + written, bytes - written, &cursor.decoderErrorRun);
        written += chunk;
        cursor.readPosition += chunk;
        if (written < bytes && cursor.decoderErrorRun <= HV_OGG_MAX_ERRORS_IN_A_ROW) {
            // The end of the stream: start over once per call, so that an empty stream cannot spin.
            if (!loop || (restarted && chunk == 0) || ov_pcm_seek(&cursor.decoder, 0) != 0) {
                break;
            }
            restarted = true;
            cursor.readPosition = 0;
        }
    }
    return written;
}

int64_t ReadSample(HV_SampleCursor& cursor, const HV_MixerSample& sample, uint8_t* out, int64_t bytes, bool loop)
{
    switch (sample.kind) {
    case HV_MIXER_SAMPLE_PCM: return ReadPcm(cursor, sample, out, bytes, loop);
    case HV_MIXER_SAMPLE_OGG_STREAM: return ReadStream(cursor, sample, out, bytes, loop);
    default: return 0;
    }
}

// A play list always loops: each entry is read to its end, then the next one
// (the first after the last) continues the read.
int64_t ReadPlayList(HV_SampleCursor& cursor, const HV_MixerSample& list, uint8_t* out, int64_t bytes)
{
    int64_t written = 0;
    int emptyEntries = 0;
    while (written < bytes && list.entryCount > 0 && emptyEntries < kMaxEmptyEntries) {
        if (!cursor.entry) {
            cursor.entryIndex %= list.entryCount;
            cursor.entry = list.entries[cursor.entryIndex];
            cursor.readPosition = 0;
            HVI_CloseSampleCursor(cursor);
        }
        const int64_t chunk = ReadSample(cursor, *cursor.entry, out + written, bytes - written, false);
        written += chunk;
        if (written < bytes) {
            emptyEntries = chunk == 0 ? emptyEntries + 1 : 0;
            cursor.entryIndex = (cursor.entryIndex + 1) % list.entryCount;
            cursor.entry = nullptr;
        }
    }
    return written;
}

}  // namespace

void HVI_StartSampleCursor(HV_SampleCursor& cursor, int32_t firstEntry)
{
    cursor.readPosition = 0;
    cursor.decoderOpen = false;
    cursor.decoderErrorRun = 0;
    cursor.entryIndex = firstEntry;
    cursor.entry = nullptr;
}

void HVI_CloseSampleCursor(HV_SampleCursor& cursor)
{
    if (cursor.decoderOpen) {
        ov_clear(&cursor.decoder);
        cursor.decoderOpen = false;
    }
}

int64_t HVI_ReadSampleFrames(HV_SampleCursor& cursor, const HV_MixerSample& sample, uint8_t* out, int64_t bytes,
                             bool loop)
{
    return sample.kind == HV_MIXER_SAMPLE_PLAY_LIST ? ReadPlayList(cursor, sample, out, bytes)
                                                    : ReadSample(cursor, sample, out, bytes, loop);
}
