#include "filesystem/native_system.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "filesystem/native_file.h"
#include "foundation/engine_log.h"
#include "foundation/string.h"

namespace {

// FILETIME counts 100 ns steps from 1601; this many lie before 1970.
constexpr uint64_t kFileTimeAt1970 = 116444736000000000ull;
constexpr uint64_t kFileTimeStepsPerSecond = 10000000ull;

uint32_t ToSecondsSince1970(const FILETIME& time)
{
    const uint64_t steps = (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (steps <= kFileTimeAt1970) return 0;
    const uint64_t seconds = (steps - kFileTimeAt1970) / kFileTimeStepsPerSecond;
    return seconds > UINT32_MAX ? UINT32_MAX : uint32_t(seconds);
}

bool IsFolder(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Writes every byte; false at the first shortfall.
bool WriteAll(HANDLE file, const void* bytes, int64_t size)
{
    const uint8_t* cursor = static_cast<const uint8_t*>(bytes);
    int64_t remaining = size;
    while (remaining > 0) {
        const DWORD chunk = remaining > (1 << 20) ? DWORD(1 << 20) : DWORD(remaining);
        DWORD written = 0;
        if (!WriteFile(file, cursor, chunk, &written, nullptr) || written != chunk) return false;
        cursor += chunk;
        remaining -= chunk;
    }
    return true;
}

// The folder part of a native path, "." when it has none.
String FolderOf(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr) return String(".");
    String folder;
    folder.Assign(path, int(slash - path));
    return folder.IsEmpty() ? String("/") : folder;
}

// Writes the bytes to the new temporary file and hands them to the disk; the
// step that failed, or None.
WriteStep FillTemporaryFile(const char* temporaryPath, const void* bytes, int64_t size)
{
    HANDLE file =
        CreateFileA(temporaryPath, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to open '%s'.", temporaryPath);
        return WriteStep::Create;
    }
    WriteStep failed = WriteStep::None;
    if (!WriteAll(file, bytes, size)) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to write %lld bytes to '%s'.",
                static_cast<long long>(size), temporaryPath);
        failed = WriteStep::Write;
    } else if (!FlushFileBuffers(file)) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to flush '%s' to disk.", temporaryPath);
        failed = WriteStep::Flush;
    }
    CloseHandle(file);
    return failed;
}

}  // namespace

namespace HVFileSystem {

File* NativeSystem::OpenFile(const char* path, OpenMode mode)
{
    // fopen opens folders for reading on some systems; they are not files.
    if (path == nullptr || IsFolder(path)) return nullptr;
    const char* modeText = mode == OpenMode::Read ? "rb" : (mode == OpenMode::Write ? "wb" : "ab");
    std::FILE* stream = std::fopen(path, modeText);
    if (stream == nullptr) return nullptr;
    return new NativeFile(stream);
}

bool NativeSystem::FindPath(const char* path)
{
    if (path == nullptr) return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool NativeSystem::GetFileInfo(const char* path, HV_FileInfo& info)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path == nullptr || !GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    info.creationTime = ToSecondsSince1970(data.ftCreationTime);
    info.lastModificationTime = ToSecondsSince1970(data.ftLastWriteTime);
    info.lastAccessTime = ToSecondsSince1970(data.ftLastAccessTime);
    return true;
}

WriteStep NativeSystem::WriteFileAtomically(const char* path, const void* bytes, int64_t size)
{
    // HVI_WriteFileAtomically reports bad arguments before folders are made.
    if (path == nullptr || size < 0 || (bytes == nullptr && size > 0)) return WriteStep::Create;
    // A name of its own for every writer, in this process or another: no
    // writer can truncate or fill another's new file.
    char temporaryPath[MAX_PATH];
    if (GetTempFileNameA(FolderOf(path).GetText(), "hvw", 0, temporaryPath) == 0) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to create a temporary file beside '%s'.", path);
        return WriteStep::Create;
    }
    WriteStep failed = FillTemporaryFile(temporaryPath, bytes, size);
    // The rename replaces the old file in one step: readers see the old file or the new one.
    if (failed == WriteStep::None &&
        !MoveFileExA(temporaryPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        HVI_Log(HV_LOG_ERROR, "HVI_WriteFileAtomically: unable to replace '%s'.", path);
        failed = WriteStep::Replace;
    }
    if (failed != WriteStep::None) DeleteFileA(temporaryPath);
    return failed;
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
