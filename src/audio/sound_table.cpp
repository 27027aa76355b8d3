#include "audio/sound_table.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/audio_state.h"
#include "audio/sound_implementation.h"
#include "core/engine_locks.h"
#include "core/features.h"
#include "core/logging.h"
#include "filesystem/file_operations.h"
#include "foundation/text.h"

namespace {

constexpr const char kSoundLock[] = "GET_SOUND";
constexpr int kProbePathBytes = 512;
constexpr const char* kProbedExtensions[] = {"wav", "ogg", "mp3"};

bool IsInternalName(const char* name) { return name[0] == '!'; }
bool IsNoneName(const char* name) { return strcmp(name, "!NONE") == 0; }

// Every reference-count change is traced when PRINT_REFERENCE_COUNT_CHANGES is set.
void TraceCount(const char* format, ...) __attribute__((format(printf, 1, 2)));
void TraceCount(const char* format, ...)
{
    if (!HV_HasFeature("PRINT_REFERENCE_COUNT_CHANGES")) {
        return;
    }
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    HV_Print("%s", text);
}

// The record of the name; GET_SOUND is held.
HV_SoundRecord* Find(const char* name, uint32_t hash)
{
    HV_AudioState& audio = HVI_GetAudioState();
    for (int i = 0; i < audio.soundCount; ++i) {
        HV_SoundRecord& sound = audio.sounds[i];
        if (sound.hash == hash && sound.name && strcmp(sound.name, name) == 0) {
            return &sound;
        }
    }
    return nullptr;
}

// A new record for the name with one reference, in the first free entry;
// null when the table is full. GET_SOUND is held.
HV_SoundRecord* Create(const char* name, uint32_t hash)
{
    HV_Print("..caching sound '%s'", name);
    HV_AudioState& audio = HVI_GetAudioState();
    int index = 0;
    while (index < audio.soundCount && audio.sounds[index].name) {
        ++index;
    }
    if (index == HV_SOUND_TABLE_SIZE) {
        return nullptr;
    }
    if (index == audio.soundCount) {
        ++audio.soundCount;
    }
    HV_SoundRecord& sound = audio.sounds[index];
    free(sound.loadedPath);
    memset(&sound, 0, sizeof(sound));
    sound.name = HVI_StrDup(name);
    sound.hash = hash;
    sound.kind = HV_SOUND_RESOURCE_KIND;
    sound.slot = uint32_t(index);
    sound.referenceCount = 1;
    return &sound;
}

void ReportOutOfSounds() { HV_Popup(HV_LOG_ERROR, " ! Halvo out of free sounds."); }

// A file that exists but failed to load was reported by its reader: only a
// sound without a file is reported here.
void ReportNotFound(const HV_SoundRecord* sound)
{
    if (!HV_Audio_SoundExists(sound->name)) {
        HV_Popup(HV_LOG_WARNING, "Sound resource '%s' not found.", sound->name);
    }
}

// Sets the count within 0..HV_SOUND_MAX_REFERENCES, with the popup for a cap. GET_SOUND is held.
void SetReferenceCount(HV_SoundRecord* sound, int64_t count)
{
    if (count > HV_SOUND_MAX_REFERENCES) {
        count = HV_SOUND_MAX_REFERENCES;
        HV_Popup(HV_LOG_WARNING, "Sound '%s' reference count suspiciously high: capping at %d.", sound->name,
                 HV_SOUND_MAX_REFERENCES);
    }
    sound->referenceCount = int16_t(count < 0 ? 0 : count);
}

void ReleaseSampleOf(HV_SoundRecord* sound)
{
    if (SoundImplementation* backEnd = HVI_GetAudioState().backEnd) {
        backEnd->ReleaseSample(sound);
    }
    sound->sample = nullptr;
    sound->loaded = false;
}

void KeepFileTime(HV_SoundRecord* sound, const char* path)
{
    HV_FileInfo info = {};
    if (HV_IsDeveloperMode() && HV_FileSystem_GetFileInfo(path, &info)) {
        sound->fileTime = info.lastModificationTime;
    }
}

// Whether the name carries its extension: a '.' after its last '/', not as its first character.
bool HasExtension(const char* name)
{
    for (size_t i = strlen(name); i-- > 1;) {
        if (name[i] == '.') {
            return true;
        }
        if (name[i] == '/') {
            return false;
        }
    }
    return false;
}

}  // namespace

bool HVI_CheckSoundName(const char* operation, const char* name)
{
    if (!name) {
        HV_Popup(HV_LOG_WARNING, "%s called with null parameter.", operation);
        return false;
    }
    if (!HV_IsDeveloperMode()) {
        return true;
    }
    const size_t length = strlen(name);
    if (length >= 5 && memchr(name + length - 4, '.', 4)) {
        HV_Popup(HV_LOG_WARNING, "Sound name '%s' has file extension. Remove it from the file name.", name);
    }
    return true;
}

HV_SoundRecord* HV_Audio_GetSound(const char* name)
{
    return HV_Audio_GetSoundWithCacheMode(name, HV_SOUND_CACHE_LOAD);
}

HV_SoundRecord* HV_Audio_GetSoundWithCacheMode(const char* name, int32_t cacheMode)
{
    if (!HVI_CheckSoundName("HV_Audio_GetSoundWithCacheMode", name)) {
        return nullptr;
    }
    const uint32_t hash = HVI_HashName(name);
    HVI_EnterEngineLock(kSoundLock);
    if (HV_SoundRecord* sound = Find(name, hash)) {
        if (cacheMode == HV_SOUND_CACHE_NOTHING || cacheMode == HV_SOUND_CACHE_LOOKUP || IsInternalName(name) ||
            (sound->flags & HV_SOUND_FLAG_COUNTED_BY_GET)) {
            HVI_LeaveEngineLock(kSoundLock);
            return sound;
        }
        SetReferenceCount(sound, int64_t(sound->referenceCount) + 1);
        sound->flags |= HV_SOUND_FLAG_COUNTED_BY_GET;
        const int count = sound->referenceCount;
        HVI_LeaveEngineLock(kSoundLock);
        TraceCount("'%s' ref count++ (GetSound): now %d", name, count);
        return sound;
    }
    if (cacheMode == HV_SOUND_CACHE_LOOKUP) {
        HVI_LeaveEngineLock(kSoundLock);
        return nullptr;
    }
    HV_SoundRecord* sound = Create(name, hash);
    if (!sound) {
        HVI_LeaveEngineLock(kSoundLock);
        ReportOutOfSounds();
        return nullptr;
    }
    if (cacheMode == HV_SOUND_CACHE_NOTHING) {
        sound->referenceCount = 0;
        HVI_LeaveEngineLock(kSoundLock);
        TraceCount("'%s' ref count = 0 (CACHE_NOTHING)", name);
        return sound;
    }
    sound->flags |= HV_SOUND_FLAG_COUNTED_BY_GET;
    if (IsNoneName(name)) {
        sound->appliedCacheMode = uint8_t(cacheMode);
    }
    HVI_LeaveEngineLock(kSoundLock);
    TraceCount("'%s' ref count = 1 (GetSound)", name);
    if (!IsNoneName(name) && HVI_GetAudioState().backEnd) {
        HVI_LoadSoundResource(sound, cacheMode);
    }
    return sound;
}

HV_SoundRecord* HV_Audio_LoadSound(const char* name)
{
    if (!HVI_CheckSoundName("HV_Audio_LoadSound", name)) {
        return nullptr;
    }
    const uint32_t hash = HVI_HashName(name);
    HVI_EnterEngineLock(kSoundLock);
    if (HV_SoundRecord* sound = Find(name, hash)) {
        if (!IsInternalName(name)) {
            SetReferenceCount(sound, int64_t(sound->referenceCount) + 1);
            TraceCount("'%s' ref count++: now %d", name, sound->referenceCount);
        }
        const bool load = sound->referenceCount == 1 || !(sound->appliedCacheMode & HV_SOUND_CACHE_LOAD);
        HVI_LeaveEngineLock(kSoundLock);
        if (load) {
            HVI_LoadSoundResource(sound, HV_SOUND_CACHE_LOAD);
        }
        return sound;
    }
    HV_SoundRecord* sound = Create(name, hash);
    if (sound && IsNoneName(name)) {
        sound->appliedCacheMode = HV_SOUND_CACHE_LOAD;
    }
    HVI_LeaveEngineLock(kSoundLock);
    if (!sound) {
        ReportOutOfSounds();
        return nullptr;
    }
    TraceCount("'%s' ref count = 1", name);
    if (!IsNoneName(name) && HVI_GetAudioState().backEnd) {
        HVI_LoadSoundResource(sound, HV_SOUND_CACHE_LOAD);
    }
    return sound;
}

void HVI_LoadSoundResource(HV_SoundRecord* sound, int32_t cacheMode)
{
    const bool loads = (cacheMode & HV_SOUND_CACHE_LOAD) != 0;
    if (!loads && cacheMode != HV_SOUND_CACHE_NOTHING) {
        return;
    }
    // The mode is claimed under the lock before the work, so that of several
    // threads asking at once exactly one loads (or releases) the sample.
    HVI_EnterEngineLock(kSoundLock);
    const bool claimed = sound->appliedCacheMode != cacheMode;
    sound->appliedCacheMode = uint8_t(cacheMode);
    HVI_LeaveEngineLock(kSoundLock);
    if (!claimed) {
        return;
    }
    if (loads) {
        if (!HVI_LoadSoundData(sound)) {
            ReportNotFound(sound);
        }
    } else {
        ReleaseSampleOf(sound);
        sound->byteSize = 0;
    }
}

bool HVI_LoadSoundData(HV_SoundRecord* sound)
{
    if (HasExtension(sound->name)) {
        return HVI_LoadSoundFile(sound, sound->name);
    }
    SoundImplementation* backEnd = HVI_GetAudioState().backEnd;
    char path[kProbePathBytes];
    bool found = false;
    for (const char* extension : kProbedExtensions) {
        if (snprintf(path, sizeof(path), "%s.%s", sound->name, extension) >= int(sizeof(path))) {
            break;  // a name this long names no file
        }
        if (!backEnd) {
            found = true;
            break;
        }
        sound->loaded = backEnd->LoadSample(sound, path);
        if (sound->loaded) {
            KeepFileTime(sound, path);
            found = true;
            break;
        }
    }
    if (!found) {
        return false;
    }
    free(sound->loadedPath);
    sound->loadedPath = HVI_StrDup(path);
    return true;
}

bool HVI_LoadSoundFile(HV_SoundRecord* sound, const char* path)
{
    SoundImplementation* backEnd = HVI_GetAudioState().backEnd;
    if (!backEnd) {
        return true;
    }
    sound->loaded = backEnd->LoadSample(sound, path);
    if (sound->loaded) {
        KeepFileTime(sound, path);
    }
    return sound->loaded;
}

void HV_Audio_IncreaseSoundReferenceCount(HV_SoundRecord* sound, const int32_t* count)
{
    if (!sound || !count || *count == 0) {
        return;
    }
    HVI_EnterEngineLock(kSoundLock);
    // The load is claimed under the lock, so that one thread loads it.
    const bool load = sound->referenceCount == 0 && sound->appliedCacheMode != HV_SOUND_CACHE_LOAD;
    SetReferenceCount(sound, int64_t(sound->referenceCount) + *count);
    if (load) {
        sound->appliedCacheMode = HV_SOUND_CACHE_LOAD;
    }
    HVI_LeaveEngineLock(kSoundLock);
    if (load && !HVI_LoadSoundData(sound)) {
        ReportNotFound(sound);
    }
}

void HV_Audio_ReleaseSound(HV_SoundRecord* sound)
{
    if (!sound || !sound->name || IsInternalName(sound->name)) {
        return;
    }
    HV_AudioState& audio = HVI_GetAudioState();
    HVI_EnterEngineLock(kSoundLock);
    if (!audio.referenceCounting) {
        ReleaseSampleOf(sound);
        free(sound->name);
        sound->name = nullptr;
        sound->byteSize = 0;
        HVI_LeaveEngineLock(kSoundLock);
        return;
    }
    const int count = sound->referenceCount - 1;
    TraceCount("ReleaseSound: '%s' ref count--: now %d", sound->name, count);
    if ((sound->flags & HV_SOUND_FLAG_COUNTED_BY_GET) && count == 0) {
        HV_Popup(HV_LOG_WARNING,
                 "Releasing sound '%s' too many times: ref counting will get messed up. NOTE: sound has been accessed "
                 "using GetSound which increses ref count by 1 once.",
                 sound->name);
    }
    if (count < 0) {
        sound->referenceCount = 0;
        HV_Popup(HV_LOG_WARNING, "Sound '%s' reference count less than zero.", sound->name);
    } else {
        sound->referenceCount = int16_t(count);
    }
    if (count == 0) {
        HV_Print("Hibernating sound '%s'..", sound->name);
        if (sound->appliedCacheMode != 0) {
            ReleaseSampleOf(sound);
        }
        sound->appliedCacheMode = 0;
        sound->byteSize = 0;
    }
    HVI_LeaveEngineLock(kSoundLock);
}

bool HV_Audio_IsSoundLoaded(HV_SoundRecord* sound)
{
    if (!sound) {
        return false;
    }
    return HVI_IsAudioDisabled() || sound->loaded;
}

bool HV_Audio_SoundExists(const char* name)
{
    if (!name) {
        return false;
    }
    if (HasExtension(name)) {
        return HV_FileSystem_FindPath(name);
    }
    char path[kProbePathBytes];
    for (const char* extension : kProbedExtensions) {
        if (snprintf(path, sizeof(path), "%s.%s", name, extension) < int(sizeof(path)) &&
            HV_FileSystem_FindPath(path)) {
            return true;
        }
    }
    return false;
}

void HVI_ReloadSounds()
{
    HV_AudioState& audio = HVI_GetAudioState();
    for (int i = 0; i < audio.soundCount; ++i) {
        HV_SoundRecord& sound = audio.sounds[i];
        if (!sound.name || IsInternalName(sound.name) || !(sound.appliedCacheMode & HV_SOUND_CACHE_LOAD)) {
            continue;
        }
        if (!HVI_LoadSoundData(&sound)) {
            HV_Log(HV_LOG_WARNING, "Unable to reload sound '%s'", sound.name);
        }
    }
}

void HVI_ReleaseAllSoundSamples()
{
    HV_AudioState& audio = HVI_GetAudioState();
    HVI_EnterEngineLock(kSoundLock);
    for (int i = 0; i < audio.soundCount; ++i) {
        if (audio.sounds[i].sample) {
            ReleaseSampleOf(&audio.sounds[i]);
        }
    }
    HVI_LeaveEngineLock(kSoundLock);
}
