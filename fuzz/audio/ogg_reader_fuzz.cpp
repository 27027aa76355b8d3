// Feeds arbitrary bytes to the OGG reader as a whole file, then plays a
// streamed result through a decoder as a voice would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/mixer/mixer_sample.h"
#include "audio/mixer/ogg_decoding.h"
#include "audio/mixer/ogg_memory_source.h"
#include "audio/mixer/ogg_reader.h"
#include "foundation/log.h"

namespace {
void Discard(void*, int, bool, const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HVI_SetLogSink(Discard, nullptr);
    const int32_t flags = size > 0 && (data[0] & 1) ? HV_MIXER_LOAD_ALWAYS_STREAM : 0;
    HV_MixerSample* sample = HVI_CreateMixerSample("fuzz.ogg", flags);
    auto* block = static_cast<uint8_t*>(malloc(size + 1));
    memcpy(block, data, size);
    if (HVI_ReadOggSample(sample, "fuzz.ogg", block, static_cast<int64_t>(size)) &&
        sample->kind == HV_MIXER_SAMPLE_OGG_STREAM) {
        HV_OggMemorySource source = {sample->data, sample->dataBytes, 0};
        OggVorbis_File decoder;
        if (HVI_OpenOggDecoder(&decoder, &source) == 0) {
            static uint8_t pcm[1 << 16];
            int errors = 0;
            while (HVI_DecodeOgg(&decoder, pcm, sizeof(pcm), &errors) == static_cast<int64_t>(sizeof(pcm))) {
            }
            ov_clear(&decoder);
        }
    }
    HVI_DestroyMixerSample(sample);
    return 0;
}
