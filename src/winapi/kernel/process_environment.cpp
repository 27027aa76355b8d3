// The current folder, environment variables, the temporary folder and full
// path names. Paths handed back use '/' as separator.
#include <errno.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <windows.h>

#include "winapi/kernel/native_paths.h"
#include "winapi/kernel/result_text.h"

using namespace halvo::kernel;

namespace {

bool CurrentDirectory(std::string& out)
{
    std::vector<char> buffer(256);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            out = buffer.data();
            return true;
        }
        if (errno != ERANGE) return false;
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::string current;
    if (!CurrentDirectory(current)) {
        SetLastError(ErrorFromErrno(errno, "."));
        return 0;
    }
    return CopyResultText(current, lpBuffer, nBufferLength);
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName)
{
    if (lpPathName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = NativePath(lpPathName);
    if (chdir(path.c_str()) != 0) {
        SetLastError(errno == ENOTDIR ? ERROR_DIRECTORY : ErrorFromErrno(errno, path));
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize)
{
    if (lpName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* value = getenv(lpName);
    if (value == nullptr) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    return CopyResultText(value, lpBuffer, nSize);
}

BOOL WINAPI SetEnvironmentVariableA(LPCSTR lpName, LPCSTR lpValue)
{
    if (lpName == nullptr || lpName[0] == '\0' || std::string(lpName).find('=') != std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int result = lpValue == nullptr ? unsetenv(lpName) : setenv(lpName, lpValue, 1);
    if (result != 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}

// $TMPDIR, else "/tmp", always with a closing separator.
DWORD WINAPI GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer)
{
    const char* variable = getenv("TMPDIR");
    std::string folder = variable != nullptr && variable[0] != '\0' ? variable : "/tmp";
    if (folder.back() != '/') folder += '/';
    return CopyResultText(folder, lpBuffer, nBufferLength);
}

DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart)
{
    if (lpFileName == nullptr || lpFileName[0] == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    std::string path = NativePath(lpFileName);
    if (path[0] != '/') {
        std::string current;
        if (!CurrentDirectory(current)) {
            SetLastError(ErrorFromErrno(errno, "."));
            return 0;
        }
        path = current + "/" + path;
    }
    // Drop "." and empty parts and resolve ".." by text, as the platform does.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string full;
    for (const std::string& part : parts) full += "/" + part;
    const bool endsWithSeparator = path.back() == '/';
    if (full.empty())
        full = "/";
    else if (endsWithSeparator)
        full += '/';
    const DWORD result = CopyResultText(full, lpBuffer, nBufferLength);
    if (lpFilePart != nullptr && result == full.size()) {
        const size_t slash = full.rfind('/');
        *lpFilePart = endsWithSeparator || slash + 1 == full.size() ? nullptr : lpBuffer + slash + 1;
    }
    return result;
}
