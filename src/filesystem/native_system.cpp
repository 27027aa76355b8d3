#include "filesystem/native_system.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "filesystem/critical_section.h"
#include "filesystem/native_file.h"
#include "foundation/log.h"
#include "foundation/string.h"

namespace {

// FILETIME counts 100 ns steps from 1601; this many lie before 1970.
constexpr uint64_t kFileTimeAt1970 = 116444736000000000ull;
constexpr uint64_t kFileTimeStepsPerSecond = 10000000ull;

uint32_t ToSecondsSince1970(const FILETIME& time)
{
    const uint64_t steps = (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (steps <= kFileTimeAt1970)
        return 0;
    const uint64_t seconds = (steps - kFileTimeAt1970) / kFileTimeStepsPerSecond;
    return seconds > UINT32_MAX ? UINT32_MAX : uint32_t(seconds);
}

// Atomic writes of one target share its temporary file, so they take turns.
CriticalSection& AtomicWriteLock()
{
    static CriticalSection lock;
    return lock;
}

bool IsFolder(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Writes every byte and flushes; false at the first shortfall.
bool WriteAllAndFlush(std::FILE* stream, const void* bytes, int64_t size)
{
    const uint8_t* cursor = static_cast<const uint8_t*>(bytes);
    int64_t remaining = size;
    while (remaining > 0) {
        const size_t chunk = remaining > (1 << 20) ? size_t(1 << 20) : size_t(remaining);
        if (std::fwrite(cursor, 1, chunk, stream) != chunk)
            return false;
        cursor += chunk;
        remaining -= int64_t(chunk);
    }
    return std::fflush(stream) == 0;
}

}  // namespace

namespace HVFileSystem {

File* NativeSystem::OpenFile(const char* path, OpenMode mode)
{
    // fopen opens folders for reading on some systems; they are not files.
    if (path == nullptr || IsFolder(path))
        return nullptr;
    const char* modeText = mode == OpenMode::Read ? "rb" : (mode == OpenMode::Write ? "wb" : "ab");
    std::FILE* stream = std::fopen(path, modeText);
    if (stream == nullptr)
        return nullptr;
    return new NativeFile(stream);
}

bool NativeSystem::FindPath(const char* path)
{
    if (path == nullptr)
        return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool NativeSystem::GetFileInfo(const char* path, HV_FileInfo& info)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path == nullptr || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    info.creationTime = ToSecondsSince1970(data.ftCreationTime);
    info.lastModificationTime = ToSecondsSince1970(data.ftLastWriteTime);
    info.lastAccessTime = ToSecondsSince1970(data.ftLastAccessTime);
    return true;
}

bool NativeSystem::WriteFileAtomically(const char* path, const void* bytes, int64_t size)
{
    // HVI_WriteFileAtomically reports bad arguments before folders are made.
    if (path == nullptr || size < 0 || (bytes == nullptr && size > 0))
        return false;
    const String temporaryPath = String::Formatted("%s.tmp", path);
    CriticalSectionScope scope(AtomicWriteLock());
    std::FILE* stream = IsFolder(temporaryPath.GetText()) ? nullptr : std::fopen(temporaryPath.GetText(), "wb");
    if (stream == nullptr) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to create '%s'.", temporaryPath.GetText());
        return false;
    }
    const bool written = WriteAllAndFlush(stream, bytes, size);
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to write %lld bytes to '%s'.",
                static_cast<long long>(size), temporaryPath.GetText());
        DeleteFileA(temporaryPath.GetText());
        return false;
    }
    if (!MoveFileExA(temporaryPath.GetText(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to replace '%s'.", path);
        DeleteFileA(temporaryPath.GetText());
        return false;
    }
    return true;
}

}  // namespace HVFileSystem

bool HVI_CreateFoldersBelow(const char* rootFolder, const char* relativePath)
{
    String folder(rootFolder);
    for (const char* cursor = relativePath; *cursor != '\0'; ++cursor) {
        if (*cursor != '/' && *cursor != '\\') {
            folder.AppendChar(*cursor);
            continue;
        }
        if (!folder.IsEmpty() && !IsFolder(folder.GetText()) && !CreateDirectoryA(folder.GetText(), nullptr) &&
            !IsFolder(folder.GetText())) {
            HVI_Log(HV_LOG_ERROR, "HVI_CreateFoldersBelow: unable to create folder '%s'.", folder.GetText());
            return false;
        }
        folder.AppendChar('/');
    }
    return true;
}
