// The name of the user running the process.
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <windows.h>

#include <cstring>

BOOL WINAPI GetUserNameA(LPSTR lpBuffer, LPDWORD pcbBuffer)
{
    if (pcbBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string name;
    passwd entry;
    passwd* found = nullptr;
    std::vector<char> scratch(16384);
    if (getpwuid_r(geteuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found != nullptr) {
        name = found->pw_name;
    } else if (const char* variable = getenv("USER")) {
        name = variable;
    }
    if (name.empty()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    // The count is in characters including the terminating zero, both ways.
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (lpBuffer == nullptr || *pcbBuffer < needed) {
        *pcbBuffer = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(lpBuffer, name.c_str(), needed);
    *pcbBuffer = needed;
    return TRUE;
}
