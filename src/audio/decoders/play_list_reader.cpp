#include "audio/decoders/play_list_reader.h"

#include "audio/decoders/mixer_sample.h"
#include "foundation/engine_log.h"

namespace {

bool IsLineEnd(uint8_t c) { return c == '\r' || c == '\n'; }

// Reading stops when no more than this many bytes remain before the next line.
constexpr int64_t kShortestTail = 4;

bool Fail(HV_MixerSample* list)
{
    HVI_ClearMixerSample(list);
    return false;
}

void AddEntry(HV_MixerSample* list, const char* listPath, HV_MixerSample* entry, const char* entryPath)
{
    if (!entry || entry->channels == 0) {
        HVI_Log(HV_LOG_WARNING, "VELT LoadPlayList '%s': entry '%s' could not be loaded.", listPath, entryPath);
        HVI_DestroyMixerSample(entry);
        return;
    }
    if (list->entryCount == 0) {
        list->channels = entry->channels;
        list->bitsPerSample = entry->bitsPerSample;
        list->sampleRate = entry->sampleRate;
    } else if (entry->channels != list->channels || entry->bitsPerSample != list->bitsPerSample ||
               entry->sampleRate != list->sampleRate) {
        HVI_Log(HV_LOG_INFO, "Sample format of '%s' differs from the first play list sample.\n", entryPath);
        HVI_DestroyMixerSample(entry);
        return;
    }
    list->entries[list->entryCount++] = entry;
}

}  // namespace

bool HVI_ReadPlayList(HV_MixerSample* list, const char* path, const uint8_t* text, int64_t size,
                      HVI_PlayListEntryLoader load, void* context)
{
    HVI_ClearMixerSample(list);
    list->kind = HV_MIXER_SAMPLE_PLAY_LIST;
    list->channels = 2;
    if (size > HV_PLAY_LIST_MAX_FILE_BYTES) {
        HVI_Log(HV_LOG_WARNING, "VELT LoadPlayList '%s': file of %lld bytes is larger than the %lld-byte limit.", path,
                static_cast<long long>(size), static_cast<long long>(HV_PLAY_LIST_MAX_FILE_BYTES));
        return Fail(list);
    }
    char line[HV_PLAY_LIST_MAX_LINE + 1];
    int64_t at = 0;
    int lineNumber = 0;
    while (list->entryCount < HV_MIXER_MAX_PLAY_LIST_ENTRIES) {
        while (at < size && IsLineEnd(text[at])) {
            ++at;
        }
        if (size - at <= kShortestTail) {
            break;
        }
        ++lineNumber;
        int length = 0;
        for (; at < size && !IsLineEnd(text[at]); ++at) {
            if (length == HV_PLAY_LIST_MAX_LINE) {
                HVI_Log(HV_LOG_WARNING, "VELT LoadPlayList '%s': line %d is longer than %d characters.", path,
                        lineNumber, HV_PLAY_LIST_MAX_LINE);
                return Fail(list);
            }
            line[length++] = static_cast<char>(text[at]);
        }
        line[length] = '\0';
        if (line[0] == ' ' || line[0] == '\t' || line[0] == '\0') {
            continue;
        }
        AddEntry(list, path, load(line, context), line);
    }
    // A list without entries stays loaded: it plays silence.
    if (list->entryCount == 0) {
        HVI_Log(HV_LOG_WARNING, "VELT LoadPlayList '%s': no playable entries.", path);
    }
    return true;
}
