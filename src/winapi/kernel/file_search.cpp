// FindFirstFileA / FindNextFileA / FindClose. A search reads its folder once,
// keeps the names that match the pattern ('*' any run, '?' one character,
// compared without regard to case as on the platform; "*.*" matches every
// name), sorted by name without regard to case, "." and ".." included, and
// hands them out one by one.
#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "winapi/kernel/kernel_objects.h"
#include "winapi/kernel/native_paths.h"

using namespace halvo::kernel;

namespace {

struct FoundFile {
    std::string name;
    struct stat status;
};

class FileSearch : public KernelObject {
public:
    FileSearch() : KernelObject(ObjectKind::FileSearch) {}
    std::mutex lock;
    std::vector<FoundFile> files;  // guarded by lock
    size_t next = 0;               // guarded by lock
};

bool MatchesNoCase(const char* pattern, const char* name)
{
    // Iterative wildcard match with one backtrack point for the last '*'.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name != '\0') {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                                          std::tolower(static_cast<unsigned char>(*name))) {
            ++pattern;
            ++name;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

bool LessNoCase(const FoundFile& a, const FoundFile& b) { return strcasecmp(a.name.c_str(), b.name.c_str()) < 0; }

void Fill(const FoundFile& file, LPWIN32_FIND_DATAA data)
{
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = AttributesFromStat(file.status);
    FillFileTimes(file.status, &data->ftCreationTime, &data->ftLastAccessTime, &data->ftLastWriteTime);
    const uint64_t size = S_ISDIR(file.status.st_mode) ? 0 : static_cast<uint64_t>(file.status.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    std::memcpy(data->cFileName, file.name.c_str(), file.name.size() + 1);
}

}  // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (lpFileName == nullptr || lpFindFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = NativePath(lpFileName);
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
    if (pattern.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (pattern == "*.*") pattern.erase(1);  // keeps "*"
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno, folder));
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<FileSearch>();
    while (const dirent* entry = readdir(directory)) {
        if (std::strlen(entry->d_name) >= MAX_PATH || !MatchesNoCase(pattern.c_str(), entry->d_name)) continue;
        FoundFile file{entry->d_name, {}};
        const std::string full = folder + "/" + file.name;
        if (stat(full.c_str(), &file.status) != 0) continue;  // a dangling link or a file just removed
        search->files.push_back(std::move(file));
    }
    closedir(directory);
    if (search->files.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(search->files.begin(), search->files.end(), LessNoCase);
    Fill(search->files[0], lpFindFileData);
    search->next = 1;
    return InsertHandle(search);
}

BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData)
{
    std::shared_ptr<KernelObject> object = LookupHandle(hFindFile);
    if (!object || object->Kind() != ObjectKind::FileSearch) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpFindFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* search = static_cast<FileSearch*>(object.get());
    std::lock_guard guard(search->lock);
    if (search->next >= search->files.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    Fill(search->files[search->next++], lpFindFileData);
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (!RemoveHandle(hFindFile, ObjectKind::FileSearch)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
