// Paths of the platform's interfaces on this system: '\\' becomes '/', and
// POSIX errors become the platform's error codes. Drive letters have no
// meaning here; "C:/x" is a relative path like any other.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace halvo::kernel {

std::string NativePath(const char* path);

// The folder part of a native path ("." when it has none).
std::string FolderOf(const std::string& path);

// The platform's error for a POSIX error on path: a missing file gives
// ERROR_FILE_NOT_FOUND when its folder exists and ERROR_PATH_NOT_FOUND when
// it does not.
DWORD ErrorFromErrno(int error, const std::string& path);

// Attributes, times and size of a file as the platform reports them.
DWORD AttributesFromStat(const struct stat& status);
void FillFileTimes(const struct stat& status, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);

// Case-insensitive comparison of ASCII names, as the platform compares file names.
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace halvo::kernel
