#include "audio/decoders/wav_reader.h"

#include <cstdlib>
#include <cstring>

#include "audio/decoders/mixer_sample.h"
#include "foundation/engine_log.h"

namespace {

constexpr int64_t kHeaderBytes = 44;
// The highest rate a DirectSound buffer plays at.
constexpr uint32_t kMaxSampleRate = 200000;
// Sizes are kept in signed 32 bits.
constexpr int64_t kMaxDataBytes = 0x7FFFFFFF;

uint16_t ReadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t ReadU32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16) |
           (static_cast<uint32_t>(at[3]) << 24);
}

// Bytes of a tag as they appear in messages; '?' stands for a byte that is not printable.
struct TagText {
    explicit TagText(const uint8_t* tag)
    {
        for (int i = 0; i < 4; ++i) {
            text[i] = tag[i] >= 0x20 && tag[i] < 0x7F ? static_cast<char>(tag[i]) : '?';
        }
    }
    char text[4];
};

bool Fail(HV_MixerSample* sample)
{
    HVI_ClearMixerSample(sample);
    return false;
}

}  // namespace

bool HVI_ReadWavSample(HV_MixerSample* sample, const char* path, const uint8_t* file, int64_t fileSize)
{
    if (fileSize < kHeaderBytes) {
        HVI_Popup(HV_LOG_WARNING,
                  "Bad format VELT LoadSampleWAV '%s': file of %lld bytes is shorter than the 44-byte header.", path,
                  static_cast<long long>(fileSize));
        return Fail(sample);
    }
    const uint8_t* h = file;
    const TagText riff(h), fmt(h + 12), data(h + 36);
    if (memcmp(h, "RIFF", 4) != 0) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': Header '%c%c%c%c' is not RIFF as expected.",
                  path, riff.text[0], riff.text[1], riff.text[2], riff.text[3]);
        return Fail(sample);
    }
    if (memcmp(h + 36, "data", 4) != 0 && memcmp(h + 36, "DATA", 4) != 0) {
        HVI_Popup(HV_LOG_WARNING,
                  "Bad format VELT LoadSampleWAV '%s': DATA value '%c%c%c%c' is not 'DATA' or 'data' as expected.",
                  path, data.text[0], data.text[1], data.text[2], data.text[3]);
        return Fail(sample);
    }
    if (memcmp(h + 12, "fmt ", 4) != 0) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': Format '%c%c%c%c' is not 'fmt ' as expected.",
                  path, fmt.text[0], fmt.text[1], fmt.text[2], fmt.text[3]);
        return Fail(sample);
    }
    const int bits = ReadU16(h + 34);
    if (bits != 16) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': Bits per sample %d is not 16 as expected.", path,
                  bits);
        return Fail(sample);
    }
    // The mixer has mono and stereo voices only, and the rate below divides by the count.
    const int channels = ReadU16(h + 22);
    if (channels != 1 && channels != 2) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': %d channels, only 1 or 2 are supported.", path,
                  channels);
        return Fail(sample);
    }
    const uint32_t rate = ReadU32(h + 28) / (bits / 8) / channels;
    if (rate == 0 || rate > kMaxSampleRate) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': sample rate %u is outside 1..%u.", path, rate,
                  kMaxSampleRate);
        return Fail(sample);
    }
    const int64_t dataBytes = ReadU32(h + 40);
    if (dataBytes > fileSize - kHeaderBytes) {
        HVI_Popup(HV_LOG_WARNING,
                  "Bad format VELT LoadSampleWAV '%s': data size %lld is past the end of the file (%lld bytes).", path,
                  static_cast<long long>(dataBytes), static_cast<long long>(fileSize));
        return Fail(sample);
    }
    if (dataBytes > kMaxDataBytes) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': data size %lld is too large.", path,
                  static_cast<long long>(dataBytes));
        return Fail(sample);
    }
    // A trailing partial frame cannot be played; it is left out.
    const int64_t frameBytes = 2LL * channels;
    const int64_t wholeBytes = dataBytes - dataBytes % frameBytes;
    auto* pcm = static_cast<uint8_t*>(malloc(wholeBytes > 0 ? static_cast<size_t>(wholeBytes) : 1));
    if (!pcm) {
        HVI_Popup(HV_LOG_WARNING, "Bad format VELT LoadSampleWAV '%s': out of memory for %lld bytes.", path,
                  static_cast<long long>(wholeBytes));
        return Fail(sample);
    }
    memcpy(pcm, h + kHeaderBytes, static_cast<size_t>(wholeBytes));
    HVI_ClearMixerSample(sample);
    sample->kind = HV_MIXER_SAMPLE_PCM;
    sample->channels = channels;
    sample->bitsPerSample = bits;
    sample->sampleRate = static_cast<int32_t>(rate);
    sample->data = pcm;
    sample->dataBytes = static_cast<int32_t>(wholeBytes);
    return true;
}
