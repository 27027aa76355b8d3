// Feeds arbitrary text to the play-list reader; every entry path loads as a
// small mono sample, except paths that begin with 'x', which fail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/play_list_reader.h"
#include "foundation/engine_log.h"

namespace {

void Discard(void*, int, bool, const char*) {}

HV_MixerSample* LoadEntry(const char* path, void*)
{
    HV_MixerSample* entry = HVI_CreateMixerSample(path, HV_MIXER_LOAD_ALWAYS_STREAM);
    if (path[0] != 'x') {
        entry->kind = HV_MIXER_SAMPLE_PCM;
        entry->channels = path[0] == 's' ? 2 : 1;
        entry->bitsPerSample = 16;
        entry->sampleRate = 22050;
        entry->data = static_cast<uint8_t*>(calloc(1, 4));
        entry->dataBytes = 4;
    }
    return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HVI_SetLogSink(Discard, nullptr);
    HV_MixerSample* list = HVI_CreateMixerSample("fuzz.mpl", HV_MIXER_LOAD_EMPTY);
    if (HVI_ReadPlayList(list, "fuzz.mpl", data, static_cast<int64_t>(size), LoadEntry, nullptr)) {
        // A read list holds up to 64 entries; one without any is an empty stereo list.
        if (list->kind != HV_MIXER_SAMPLE_PLAY_LIST || list->entryCount < 0 ||
            list->entryCount > HV_MIXER_MAX_PLAY_LIST_ENTRIES || (list->entryCount == 0 && list->channels != 2)) {
            __builtin_trap();
        }
    }
    HVI_DestroyMixerSample(list);
    return 0;
}
