#include "audio/decoders/ogg_reader.h"

#include <cstdlib>
#include <cstring>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_decoding.h"
#include "audio/decoders/ogg_header_check.h"
#include "audio/decoders/ogg_memory_source.h"
#include "audio/decoders/ogg_pages.h"
#include "foundation/engine_log.h"

namespace {

constexpr int64_t kMaxPcmBytes = 0x7FFFFFFF;

// The largest page: header, 255 lacing values and 255 segments of 255 bytes.
constexpr int64_t kMaxPageBytes = HV_OGG_PAGE_HEADER_BYTES + 255 + 255 * 255;

// A complete file ends exactly with a whole page that closes its stream; a
// cut-off download does not.
bool EndsWithLastPage(const uint8_t* file, int64_t size)
{
    const int64_t lowest = size > kMaxPageBytes ? size - kMaxPageBytes : 0;
    for (int64_t at = size - HV_OGG_PAGE_HEADER_BYTES; at >= lowest; --at) {
        HV_OggPage page;
        if (HVI_FindOggPageExtent(file, size, at, &page) && at + page.headerBytes + page.bodyBytes == size) {
            return (file[at + 5] & HV_OGG_PAGE_END_OF_STREAM) != 0;
        }
    }
    return false;
}

// Reports the problem (when given), frees the file block and leaves the sample cleared.
bool Fail(HV_MixerSample* sample, uint8_t* file, const char* path = nullptr, const char* problem = nullptr)
{
    if (problem) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleOGG '%s': %s.", path, problem);
    }
    free(file);
    HVI_ClearMixerSample(sample);
    return false;
}

}  // namespace

bool HVI_ReadOggSample(HV_MixerSample* sample, const char* path, uint8_t* file, int64_t fileSize)
{
    HVI_ClearMixerSample(sample);
    // The decoder trusts its setup headers: damaged ones must never reach it.
    if (const char* damage = HVI_CheckOggVorbisHeaders(file, fileSize)) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleOGG '%s': its Vorbis headers are damaged: %s.", path,
                  damage);
        return Fail(sample, file);
    }
    HV_OggMemorySource source = {file, fileSize, 0};
    OggVorbis_File decoder;
    const int opened = HVI_OpenOggDecoder(&decoder, &source);
    if (opened != 0) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleOGG '%s': not an OGG Vorbis stream (vorbisfile error %d).",
                  path, opened);
        return Fail(sample, file);
    }
    const vorbis_info* info = ov_info(&decoder, 0);
    const int channels = info ? info->channels : 0;
    const long rate = info ? info->rate : 0;
    bool sameFormat = true;
    for (long link = 1; link < ov_streams(&decoder); ++link) {
        const vorbis_info* linkInfo = ov_info(&decoder, static_cast<int>(link));
        sameFormat = sameFormat && linkInfo && linkInfo->channels == channels && linkInfo->rate == rate;
    }
    const ogg_int64_t frames = ov_pcm_total(&decoder, -1);
    const char* problem = nullptr;
    if (channels != 1 && channels != 2) {
        problem = "only mono and stereo streams are supported";
    } else if (rate <= 0 || rate > 200000) {
        problem = "the sample rate is outside 1..200000";
    } else if (!sameFormat) {
        problem = "its chained streams differ in channels or rate";
    } else if (frames <= 0) {
        problem = "its length is unknown";
    } else if (frames > kMaxPcmBytes / (2 * channels)) {
        problem = "it is too long";
    }
    if (problem) {
        ov_clear(&decoder);
        return Fail(sample, file, path, problem);
    }
    // vorbisfile reads up to the last complete page: what is complete plays.
    if (!EndsWithLastPage(file, fileSize)) {
        HVI_Log(HV_LOG_WARNING, "VELT LoadSampleOGG '%s': the file is truncated; its complete pages are played.", path);
    }
    const int64_t pcmBytes = frames * 2 * channels;
    sample->channels = channels;
    sample->bitsPerSample = 16;
    sample->sampleRate = static_cast<int32_t>(rate);

    const int32_t flags = sample->flags;
    const bool decodeWhole =
        (flags & HV_MIXER_LOAD_ALWAYS_STREAM) == 0 && (pcmBytes <= HV_OGG_DECODE_WHOLE_LIMIT || flags != 0);
    if (!decodeWhole) {
        ov_clear(&decoder);
        sample->kind = HV_MIXER_SAMPLE_OGG_STREAM;
        sample->data = file;
        sample->dataBytes = static_cast<int32_t>(fileSize);
        sample->streamBytes = static_cast<int32_t>(pcmBytes);
        return true;
    }
    auto* pcm = static_cast<uint8_t*>(malloc(static_cast<size_t>(pcmBytes)));
    if (!pcm) {
        ov_clear(&decoder);
        return Fail(sample, file, path, "out of memory");
    }
    int errorRun = 0;
    const int64_t decoded = HVI_DecodeOgg(&decoder, pcm, pcmBytes, &errorRun);
    ov_clear(&decoder);
    free(file);
    if (decoded != pcmBytes) {
        // Decoding ended early: the sound keeps what was read, and the rest is silence.
        memset(pcm + decoded, 0, static_cast<size_t>(pcmBytes - decoded));
        HVI_Log(HV_LOG_WARNING,
                "VELT LoadSampleOGG '%s': decoded %lld of %lld PCM bytes, the file is corrupt; the rest is silence.",
                path, static_cast<long long>(decoded), static_cast<long long>(pcmBytes));
    }
    sample->kind = HV_MIXER_SAMPLE_PCM;
    sample->data = pcm;
    sample->dataBytes = static_cast<int32_t>(pcmBytes);
    return true;
}
