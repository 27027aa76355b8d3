// File handles: creating and opening files, writing, flushing to the disk,
// byte-range locks shared with other processes, and unique temporary files.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include <windows.h>

#include "winapi/kernel/file_descriptors.h"
#include "winapi/kernel/kernel_objects.h"
#include "winapi/kernel/native_paths.h"

using namespace halvo::kernel;

namespace {

class FileObject : public KernelObject {
public:
    explicit FileObject(int fd) : KernelObject(ObjectKind::File), fd_(fd) {}
    ~FileObject() override { close(fd_); }
    int Descriptor() const { return fd_; }

private:
    const int fd_;
};

// The descriptor behind a file handle, or -1 with ERROR_INVALID_HANDLE set.
// The object stays alive while the caller holds it.
std::shared_ptr<KernelObject> LookupFile(HANDLE handle, int& fd)
{
    std::shared_ptr<KernelObject> object = LookupHandle(handle);
    if (!object || object->Kind() != ObjectKind::File) {
        SetLastError(ERROR_INVALID_HANDLE);
        fd = -1;
        return nullptr;
    }
    fd = static_cast<FileObject*>(object.get())->Descriptor();
    return object;
}

int OpenFlags(DWORD access, DWORD disposition)
{
    const bool reads = (access & GENERIC_READ) != 0;
    const bool writes = (access & GENERIC_WRITE) != 0;
    int flags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
    switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING: return flags;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return writes ? flags | O_TRUNC : -1;
    default: return -1;
    }
}

// The byte range of a lock call as a POSIX lock record; false for an empty range.
bool LockRange(DWORD low, DWORD high, const OVERLAPPED* overlapped, short type, struct flock& range)
{
    const uint64_t length = (uint64_t(high) << 32) | low;
    const uint64_t start = (uint64_t(overlapped->OffsetHigh) << 32) | overlapped->Offset;
    if (length == 0 || start > uint64_t(INT64_MAX) || length > uint64_t(INT64_MAX) - start) return false;
    std::memset(&range, 0, sizeof range);
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(start);
    range.l_len = off_t(length);
    return true;
}

// Open-file-description locks belong to the handle, as the platform's do.
bool SetLock(int fd, bool wait, struct flock& range)
{
    for (;;) {
        if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &range) == 0) return true;
        if (errno != EINTR) return false;
    }
}

}  // namespace

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD, HANDLE)
{
    const int flags = OpenFlags(dwDesiredAccess, dwCreationDisposition);
    if (lpFileName == nullptr || flags < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = NativePath(lpFileName);
    struct stat before;
    const bool existed = stat(path.c_str(), &before) == 0;
    const int fd = open(path.c_str(), flags, 0666);
    if (fd < 0) {
        SetLastError(errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno, path));
        return INVALID_HANDLE_VALUE;
    }
    // Folders are no files, and a read-only file is not written, even by root.
    struct stat status;
    const bool writes = (dwDesiredAccess & GENERIC_WRITE) != 0;
    if (fstat(fd, &status) != 0 || S_ISDIR(status.st_mode) || (writes && (status.st_mode & S_IWUSR) == 0)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const bool reopened = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
    SetLastError(reopened && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return InsertHandle(std::make_shared<FileObject>(fd));
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
    int fd = -1;
    const std::shared_ptr<KernelObject> file = LookupFile(hFile, fd);
    if (!file) return FALSE;
    if ((lpBuffer == nullptr && nNumberOfBytesToWrite > 0) || lpOverlapped != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!WriteAll(fd, static_cast<const char*>(lpBuffer), nNumberOfBytesToWrite)) {
        SetLastError(ErrorFromErrno(errno, std::string()));
        return FALSE;
    }
    if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = nNumberOfBytesToWrite;
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile)
{
    int fd = -1;
    const std::shared_ptr<KernelObject> file = LookupFile(hFile, fd);
    if (!file) return FALSE;
    if (fsync(fd) != 0) {
        SetLastError(ErrorFromErrno(errno, std::string()));
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI LockFileEx(HANDLE hFile, DWORD dwFlags, DWORD, DWORD nNumberOfBytesToLockLow,
                       DWORD nNumberOfBytesToLockHigh, LPOVERLAPPED lpOverlapped)
{
    int fd = -1;
    const std::shared_ptr<KernelObject> file = LookupFile(hFile, fd);
    if (!file) return FALSE;
    const short type = (dwFlags & LOCKFILE_EXCLUSIVE_LOCK) != 0 ? F_WRLCK : F_RDLCK;
    struct flock range;
    if (lpOverlapped == nullptr ||
        !LockRange(nNumberOfBytesToLockLow, nNumberOfBytesToLockHigh, lpOverlapped, type, range)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SetLock(fd, (dwFlags & LOCKFILE_FAIL_IMMEDIATELY) == 0, range)) {
        // An exclusive lock needs a handle that may write, a shared one a handle that may read.
        SetLastError(errno == EBADF ? ERROR_ACCESS_DENIED : ERROR_LOCK_VIOLATION);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI UnlockFileEx(HANDLE hFile, DWORD, DWORD nNumberOfBytesToUnlockLow, DWORD nNumberOfBytesToUnlockHigh,
                         LPOVERLAPPED lpOverlapped)
{
    int fd = -1;
    const std::shared_ptr<KernelObject> file = LookupFile(hFile, fd);
    if (!file) return FALSE;
    struct flock range;
    if (lpOverlapped == nullptr ||
        !LockRange(nNumberOfBytesToUnlockLow, nNumberOfBytesToUnlockHigh, lpOverlapped, F_UNLCK, range)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!SetLock(fd, false, range)) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    return TRUE;
}

UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName)
{
    if (lpPathName == nullptr || lpTempFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string prefix = lpPrefixString != nullptr ? lpPrefixString : "";
    std::string name;
    unsigned number = uUnique & 0xFFFFu;
    if (number != 0) {
        name = UniqueFileName(lpPathName, prefix, number);
    } else {
        const int fd = CreateUniqueFile(NativePath(lpPathName), prefix, 0666, name, number);
        if (fd < 0) {
            SetLastError(ErrorFromErrno(errno, name));
            return 0;
        }
        close(fd);
    }
    if (name.size() >= MAX_PATH) {
        if (uUnique == 0) unlink(name.c_str());
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
    return number;
}
