// The shell's well-known user folders on this system: documents are
// $HOME/Documents; roaming and local application data are $XDG_DATA_HOME,
// or $HOME/.local/share when it is not set. With CSIDL_FLAG_CREATE the folder
// and its missing parents are created; without it, a missing folder answers
// S_FALSE with the path filled in, as the platform's ANSI function does.
#include <errno.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include <shlobj.h>

namespace {

std::string HomeFolder()
{
    if (const char* home = getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    if (const passwd* entry = getpwuid(geteuid())) return entry->pw_dir;
    return {};
}

std::string FolderFor(int folderId)
{
    const std::string home = HomeFolder();
    switch (folderId) {
    case CSIDL_PERSONAL: return home.empty() ? std::string() : home + "/Documents";
    case CSIDL_APPDATA:
    case CSIDL_LOCAL_APPDATA:
        if (const char* data = getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') return data;
        return home.empty() ? std::string() : home + "/.local/share";
    default: return {};
    }
}

bool IsDirectory(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool CreateWithParents(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

}  // namespace

HRESULT WINAPI SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD dwFlags, LPSTR pszPath)
{
    if (pszPath == nullptr || (dwFlags != SHGFP_TYPE_CURRENT && dwFlags != SHGFP_TYPE_DEFAULT)) return E_INVALIDARG;
    pszPath[0] = '\0';
    const int folderId = csidl & ~CSIDL_FLAG_MASK;
    if (folderId != CSIDL_PERSONAL && folderId != CSIDL_APPDATA && folderId != CSIDL_LOCAL_APPDATA) return E_INVALIDARG;
    const std::string folder = FolderFor(folderId);
    if (folder.empty()) return E_FAIL;
    if (folder.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    if (!IsDirectory(folder)) {
        if ((csidl & CSIDL_FLAG_CREATE) == 0) {
            std::memcpy(pszPath, folder.c_str(), folder.size() + 1);
            return S_FALSE;
        }
        if (!CreateWithParents(folder))
            return HRESULT_FROM_WIN32(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    }
    std::memcpy(pszPath, folder.c_str(), folder.size() + 1);
    return S_OK;
}
