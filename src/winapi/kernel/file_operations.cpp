// Creating, removing, moving, copying and inspecting files and folders.
// A file is read-only when its owner may not write it; the platform refuses
// to delete or replace a read-only file, and so do these functions.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <windows.h>

#include "winapi/kernel/file_descriptors.h"
#include "winapi/kernel/native_paths.h"

using namespace halvo::kernel;

namespace {

bool Fail(DWORD error)
{
    SetLastError(error);
    return false;
}

bool FailFromErrno(const std::string& path) { return Fail(ErrorFromErrno(errno, path)); }

bool IsReadOnlyFile(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

bool Exists(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

bool IsDirectory(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Copies source's bytes to fd; false with errno set on failure.
bool CopyBytes(int source, int target)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(source, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!WriteAll(target, buffer, static_cast<size_t>(got))) return false;
    }
}

// Hands what the path holds (a file's bytes, a folder's entries) to the disk.
bool SyncToDisk(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

// Copies a regular file's bytes and permissions to a new file beside the
// target, then moves that into place, so that no half-copied target is seen.
bool CopyRegularFile(const std::string& from, const std::string& to, bool failIfExists, bool writeThrough)
{
    const int source = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) return FailFromErrno(from);
    struct stat status;
    if (fstat(source, &status) != 0 || S_ISDIR(status.st_mode)) {
        close(source);
        return Fail(ERROR_ACCESS_DENIED);
    }
    std::string temporary;
    unsigned number = 0;
    const int target = CreateUniqueFile(FolderOf(to), "cpy", status.st_mode & 07777, temporary, number);
    if (target < 0) {
        const int error = errno;
        close(source);
        return Fail(ErrorFromErrno(error, to));
    }
    bool copied = CopyBytes(source, target) && (!writeThrough || fsync(target) == 0);
    int error = copied ? 0 : errno;
    close(source);
    if (close(target) != 0 && copied) {
        copied = false;
        error = errno;
    }
    if (copied) {
        // link() refuses an existing target, which makes the check and the move one step.
        copied = failIfExists ? link(temporary.c_str(), to.c_str()) == 0 : rename(temporary.c_str(), to.c_str()) == 0;
        if (!copied) error = errno;
    }
    unlink(temporary.c_str());
    if (!copied) return Fail(error == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(error, to));
    return true;
}

}  // namespace

BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    if (lpPathName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (lpPathName[0] == '\0') return Fail(ERROR_PATH_NOT_FOUND);
    const std::string path = NativePath(lpPathName);
    if (mkdir(path.c_str(), 0777) != 0) return FailFromErrno(path);
    return TRUE;
}

BOOL WINAPI RemoveDirectoryA(LPCSTR lpPathName)
{
    if (lpPathName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const std::string path = NativePath(lpPathName);
    if (rmdir(path.c_str()) != 0) {
        if (errno == ENOTDIR && Exists(path)) return Fail(ERROR_DIRECTORY);
        return FailFromErrno(path);
    }
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName)
{
    if (lpFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const std::string path = NativePath(lpFileName);
    if (IsReadOnlyFile(path)) return Fail(ERROR_ACCESS_DENIED);
    if (unlink(path.c_str()) != 0) return FailFromErrno(path);
    return TRUE;
}

BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags)
{
    constexpr DWORD kKnownFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
    if (lpExistingFileName == nullptr || lpNewFileName == nullptr || (dwFlags & ~kKnownFlags) != 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::string from = NativePath(lpExistingFileName);
    const std::string to = NativePath(lpNewFileName);
    if (!Exists(from)) return FailFromErrno(from);
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
    // Write-through: the moved bytes reach the disk before the new name can
    // point at them, and the new name before the call returns. Without this a
    // crash just after replacing a file could leave it empty.
    const bool writeThrough = (dwFlags & MOVEFILE_WRITE_THROUGH) != 0;
    if (writeThrough && !SyncToDisk(from)) return FailFromErrno(from);
    // The folder's sync is best effort: some file systems cannot sync a folder.
    auto moved = [&] {
        if (writeThrough) SyncToDisk(FolderOf(to));
        return TRUE;
    };
    if (replace) {
        if (IsDirectory(to) || IsReadOnlyFile(to)) return Fail(ERROR_ACCESS_DENIED);
        // rename() replaces the target in one atomic step.
        if (rename(from.c_str(), to.c_str()) == 0) return moved();
    } else {
        // RENAME_NOREPLACE makes the existence check and the move one step.
        if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return moved();
        if (errno == EINVAL && !Exists(to) && rename(from.c_str(), to.c_str()) == 0) return moved();
        if (errno == EEXIST || Exists(to)) return Fail(ERROR_ALREADY_EXISTS);
    }
    if (errno == EXDEV && (dwFlags & MOVEFILE_COPY_ALLOWED) != 0 && !IsDirectory(from)) {
        if (!CopyRegularFile(from, to, !replace, writeThrough)) return FALSE;
        unlink(from.c_str());
        return moved();
    }
    if (errno == ENOENT && Exists(from)) return Fail(ERROR_PATH_NOT_FOUND);
    return FailFromErrno(to);
}

BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName)
{
    return MoveFileExA(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists)
{
    if (lpExistingFileName == nullptr || lpNewFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const std::string from = NativePath(lpExistingFileName);
    const std::string to = NativePath(lpNewFileName);
    if (!bFailIfExists && (IsDirectory(to) || IsReadOnlyFile(to))) return Fail(ERROR_ACCESS_DENIED);
    return CopyRegularFile(from, to, bFailIfExists != FALSE, false);
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName)
{
    if (lpFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string path = NativePath(lpFileName);
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        SetLastError(ErrorFromErrno(errno, path));
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesFromStat(status);
}

BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes)
{
    if (lpFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const std::string path = NativePath(lpFileName);
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return FailFromErrno(path);
    if (S_ISDIR(status.st_mode)) return TRUE;  // a folder's read-only mark has no meaning here
    mode_t mode = status.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    if (chmod(path.c_str(), mode) != 0) return FailFromErrno(path);
    return TRUE;
}

BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation)
{
    if (lpFileName == nullptr || lpFileInformation == nullptr || fInfoLevelId != GetFileExInfoStandard) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::string path = NativePath(lpFileName);
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return FailFromErrno(path);
    auto* data = static_cast<LPWIN32_FILE_ATTRIBUTE_DATA>(lpFileInformation);
    data->dwFileAttributes = AttributesFromStat(status);
    FillFileTimes(status, &data->ftCreationTime, &data->ftLastAccessTime, &data->ftLastWriteTime);
    const uint64_t size = S_ISDIR(status.st_mode) ? 0 : static_cast<uint64_t>(status.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    return TRUE;
}
