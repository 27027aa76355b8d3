#include "winapi/kernel/native_paths.h"

#include <errno.h>
#include <unistd.h>

#include <strings.h>

#include "winapi/kernel/civil_time.h"

namespace halvo::kernel {

std::string NativePath(const char* path)
{
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

std::string FolderOf(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return trimmed.substr(0, slash);
}

DWORD ErrorFromErrno(int error, const std::string& path)
{
    switch (error) {
    case ENOENT: {
        struct stat status;
        const std::string folder = FolderOf(path);
        return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                             : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBUSY: return ERROR_BUSY;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EACCES:
    case EPERM:
    case EISDIR:
    default: return ERROR_ACCESS_DENIED;
    }
}

DWORD AttributesFromStat(const struct stat& status)
{
    DWORD attributes = 0;
    if (S_ISDIR(status.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((status.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

void FillFileTimes(const struct stat& status, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite)
{
    // This system keeps no creation time in stat; the earlier of the change and
    // modification times stands in for it.
    const timespec& created = status.st_ctim.tv_sec < status.st_mtim.tv_sec ? status.st_ctim : status.st_mtim;
    *creation = FileTimeFromUnix(created.tv_sec, created.tv_nsec);
    *lastAccess = FileTimeFromUnix(status.st_atim.tv_sec, status.st_atim.tv_nsec);
    *lastWrite = FileTimeFromUnix(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

}  // namespace halvo::kernel
