#include "audio/decoders/sample_files.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_reader.h"
#include "audio/decoders/play_list_reader.h"
#include "audio/decoders/wav_reader.h"
#include "filesystem/file_operations.h"
#include "foundation/engine_log.h"

namespace {

// Sizes of samples are kept in signed 32 bits.
constexpr int64_t kMaxFileBytes = 0x7FFFFFFF;

bool IsOggPath(const char* path)
{
    const size_t length = strlen(path);
    if (length < 4 || path[length - 4] != '.') {
        return false;
    }
    const char* extension = path + length - 3;
    return tolower(static_cast<unsigned char>(extension[0])) == 'o' &&
           tolower(static_cast<unsigned char>(extension[1])) == 'g' &&
           tolower(static_cast<unsigned char>(extension[2])) == 'g';
}

// The whole file in a block of the C allocator (one byte more, so that an
// empty file still has a block); null when it cannot be read or is over the limit.
uint8_t* ReadWhole(const char* path, int64_t limit, int64_t* size, bool* opened)
{
    // Names are probed with several extensions: a missing file is no error here.
    HV_File* file = HV_FileSystem_FindPath(path) ? HV_FileSystem_OpenFile(path, "r") : nullptr;
    *opened = file != nullptr;
    if (!file) {
        return nullptr;
    }
    *size = file->size;
    uint8_t* block = nullptr;
    if (file->size < 0 || file->size > limit) {
        HVI_Log(HV_LOG_WARNING, "VELT LoadSample '%s': file of %lld bytes is larger than the %lld-byte limit.", path,
                static_cast<long long>(file->size), static_cast<long long>(limit));
    } else if ((block = static_cast<uint8_t*>(malloc(static_cast<size_t>(file->size) + 1))) != nullptr &&
               HV_FileSystem_ReadFile(block, file->size, file) != file->size) {
        HVI_Log(HV_LOG_WARNING, "VELT LoadSample '%s': could not read the file.", path);
        free(block);
        block = nullptr;
    }
    HV_FileSystem_CloseFile(file);
    return block;
}

}  // namespace

HV_MixerSample* HVI_ReadSampleFile(const char* path, int32_t flags)
{
    int64_t size = 0;
    bool opened = false;
    uint8_t* file = ReadWhole(path, kMaxFileBytes, &size, &opened);
    if (!opened) {
        return nullptr;
    }
    HV_MixerSample* sample = HVI_CreateMixerSample(path, flags);
    if (!sample || !file) {
        free(file);
        return sample;
    }
    if (IsOggPath(path)) {
        HVI_ReadOggSample(sample, path, file, size);  // takes the block
    } else {
        HVI_ReadWavSample(sample, path, file, size);
        free(file);
    }
    return sample;
}

bool HVI_ReadPlayListFile(HV_MixerSample* list, const char* path, HVI_PlayListEntryLoader load, void* context)
{
    int64_t size = 0;
    bool opened = false;
    uint8_t* text = ReadWhole(path, HV_PLAY_LIST_MAX_FILE_BYTES, &size, &opened);
    if (!text) {
        if (!opened) {
            HVI_Log(HV_LOG_WARNING, "VELT LoadPlayList '%s': the file cannot be opened.", path);
        }
        HVI_ClearMixerSample(list);
        return false;
    }
    const bool read = HVI_ReadPlayList(list, path, text, size, load, context);
    free(text);
    return read;
}
