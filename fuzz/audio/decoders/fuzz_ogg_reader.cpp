// Feeds arbitrary bytes to the OGG reader. The first byte chooses the path:
// bit 0 set loads the rest as an always-streamed sample and decodes it through
// a voice's own decoder, twice over as a looping voice does; clear loads it
// with flags 0 (decoded whole at load time when short). Mutations keep page
// checksums right, so that they reach the headers and the decoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_decoding.h"
#include "audio/decoders/ogg_memory_source.h"
#include "audio/decoders/ogg_pages.h"
#include "audio/decoders/ogg_reader.h"
#include "foundation/engine_log.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

void Discard(void*, int, bool, const char*) {}

// Rewrites the checksum of every page found walking the file from its start.
void RepairChecksums(uint8_t* file, int64_t size)
{
    for (int64_t at = 0; at <= size - HV_OGG_PAGE_HEADER_BYTES;) {
        HV_OggPage page;
        if (!HVI_FindOggPageExtent(file, size, at, &page)) {
            ++at;
            continue;
        }
        const uint32_t checksum = HVI_ComputeOggPageChecksum(file, page);
        for (int i = 0; i < 4; ++i) {
            file[at + HV_OGG_PAGE_CHECKSUM_OFFSET + i] = uint8_t(checksum >> (8 * i));
        }
        at += page.headerBytes + page.bodyBytes;
    }
}

void DecodeAsAVoice(const HV_MixerSample& sample)
{
    HV_OggMemorySource source = {sample.data, sample.dataBytes, 0};
    OggVorbis_File decoder;
    if (HVI_OpenOggDecoder(&decoder, &source) != 0) {
        return;
    }
    static uint8_t pcm[1 << 16];
    for (int pass = 0; pass < 2; ++pass) {
        int errors = 0;
        while (HVI_DecodeOgg(&decoder, pcm, sizeof(pcm), &errors) == static_cast<int64_t>(sizeof(pcm))) {}
        if (ov_pcm_seek(&decoder, 0) != 0) {
            break;
        }
    }
    ov_clear(&decoder);
}

}  // namespace

// libvorbisfile 1.3.7 loses the 8-byte list of serial numbers it allocates
// while reading headers on some failed opens; that block is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int)
{
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (size > 1) {
        RepairChecksums(data + 1, static_cast<int64_t>(size - 1));
    }
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    HVI_SetLogSink(Discard, nullptr);
    const bool streamed = (data[0] & 1) != 0;
    HV_MixerSample* sample = HVI_CreateMixerSample("fuzz.ogg", streamed ? HV_MIXER_LOAD_ALWAYS_STREAM : 0);
    const size_t fileSize = size - 1;
    auto* block = static_cast<uint8_t*>(malloc(fileSize + 1));
    memcpy(block, data + 1, fileSize);
    if (HVI_ReadOggSample(sample, "fuzz.ogg", block, static_cast<int64_t>(fileSize)) &&
        sample->kind == HV_MIXER_SAMPLE_OGG_STREAM) {
        DecodeAsAVoice(*sample);
    }
    HVI_DestroyMixerSample(sample);
    return 0;
}
