// Feeds arbitrary bytes to the WAV reader as a whole file.
#include <cstddef>
#include <cstdint>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/wav_reader.h"
#include "foundation/engine_log.h"

namespace {
void Discard(void*, int, bool, const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HVI_SetLogSink(Discard, nullptr);
    HV_MixerSample* sample = HVI_CreateMixerSample("fuzz.wav", 0);
    if (HVI_ReadWavSample(sample, "fuzz.wav", data, static_cast<int64_t>(size))) {
        // The PCM must be readable in full and hold whole frames.
        volatile uint8_t sum = 0;
        for (int32_t i = 0; i < sample->dataBytes; ++i) {
            sum = sum + sample->data[i];
        }
        if (sample->dataBytes % (2 * sample->channels) != 0) {
            __builtin_trap();
        }
    }
    HVI_DestroyMixerSample(sample);
    return 0;
}
