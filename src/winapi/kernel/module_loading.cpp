// Loading shared libraries under their platform names.
//
// How a library name is found:
// - A name that holds '/' or '\\' is a path; backslashes become '/'.
// - A bare name is looked for in each folder of the environment variable
//   HALVO_LIBRARY_PATH (folders separated by ':'), then in the folder of the
//   executable, then in its "modules" subfolder, then in the current folder.
// - In each place the name is compared without regard to case, as the
//   platform compares file names; an exact match is taken first. For a path,
//   only its last part is compared this way.
// - A name without extension gets ".dll", as on the platform; a trailing '.'
//   means "no extension" and is dropped.
// Every LoadLibraryA/LoadLibraryExA of one file (by whatever name) returns
// the same module handle and adds a reference; FreeLibrary drops one, and the
// library is unloaded when none are left. A name found nowhere fails with
// ERROR_MOD_NOT_FOUND, a file that is not a loadable library with
// ERROR_BAD_EXE_FORMAT, a missing entry point with ERROR_PROC_NOT_FOUND.
// LoadLibraryExA accepts the search-order flags; they all mean the order above.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

#include "winapi/kernel/native_paths.h"

using namespace halvo::kernel;

// The record behind an HMODULE.
struct HINSTANCE__ {
    void* library;     // dlopen handle
    std::string path;  // canonical path of the file; empty for the executable
    int references;    // guarded by modulesLock
};

namespace {

std::mutex modulesLock;
std::vector<std::unique_ptr<HINSTANCE__>> loadedModules;  // guarded by modulesLock

std::string ExecutablePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<size_t>(length));
}

HINSTANCE__* ExecutableModule()
{
    static HINSTANCE__ executable{dlopen(nullptr, RTLD_NOW), {}, 1};
    return &executable;
}

bool IsRegularFile(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The file in folder whose name equals name, exactly or else without regard to case.
std::string FindInFolder(const std::string& folder, const std::string& name)
{
    const std::string exact = folder + "/" + name;
    if (IsRegularFile(exact)) return exact;
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) return {};
    std::string found;
    while (const dirent* entry = readdir(directory)) {
        if (EqualNoCase(entry->d_name, name) && IsRegularFile(folder + "/" + entry->d_name)) {
            found = folder + "/" + entry->d_name;
            break;
        }
    }
    closedir(directory);
    return found;
}

std::vector<std::string> SearchFolders()
{
    std::vector<std::string> folders;
    if (const char* list = getenv("HALVO_LIBRARY_PATH")) {
        std::string remaining = list;
        size_t start = 0;
        while (start <= remaining.size()) {
            size_t end = remaining.find(':', start);
            if (end == std::string::npos) end = remaining.size();
            if (end > start) folders.push_back(remaining.substr(start, end - start));
            start = end + 1;
        }
    }
    const std::string executable = ExecutablePath();
    if (!executable.empty()) {
        const std::string folder = FolderOf(executable);
        folders.push_back(folder);
        folders.push_back(folder + "/modules");
    }
    folders.push_back(".");
    return folders;
}

std::string WithDefaultExtension(std::string name)
{
    const size_t slash = name.rfind('/');
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + ".dll";
    if (dot == name.size() - 1) name.pop_back();
    return name;
}

// The canonical path of the file a name stands for, or empty.
std::string ResolveLibrary(const char* requested)
{
    const std::string name = WithDefaultExtension(NativePath(requested));
    std::string found;
    if (name.find('/') != std::string::npos) {
        const size_t slash = name.rfind('/');
        found = FindInFolder(slash == 0 ? "" : name.substr(0, slash), name.substr(slash + 1));
    } else {
        for (const std::string& folder : SearchFolders()) {
            found = FindInFolder(folder, name);
            if (!found.empty()) break;
        }
    }
    if (found.empty()) return {};
    char canonical[PATH_MAX];
    return realpath(found.c_str(), canonical) != nullptr ? std::string(canonical) : found;
}

bool HasElfMagic(const std::string& path)
{
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return false;
    char magic[4] = {};
    const bool elf = read(file, magic, sizeof magic) == 4 && std::memcmp(magic,
                                                                         "\x7f"
                                                                         "ELF",
                                                                         4) == 0;
    close(file);
    return elf;
}

HINSTANCE__* FindLoaded(HMODULE module)
{
    if (module == ExecutableModule()) return module;
    for (const auto& loaded : loadedModules) {
        if (loaded.get() == module) return loaded.get();
    }
    return nullptr;
}

}  // namespace

HMODULE WINAPI LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    constexpr DWORD kSearchFlags = LOAD_WITH_ALTERED_SEARCH_PATH | LOAD_IGNORE_CODE_AUTHZ_LEVEL |
                                   LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                                   LOAD_LIBRARY_SEARCH_USER_DIRS | LOAD_LIBRARY_SEARCH_SYSTEM32 |
                                   LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
    if (lpLibFileName == nullptr || lpLibFileName[0] == '\0' || hFile != nullptr || (dwFlags & ~kSearchFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string path = ResolveLibrary(lpLibFileName);
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard guard(modulesLock);
    for (const auto& loaded : loadedModules) {
        if (loaded->path == path) {
            ++loaded->references;
            return loaded.get();
        }
    }
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        // A file that is a library of this system but cannot be loaded lacks a
        // library it depends on; anything else is not a library at all.
        const char* reason = dlerror();
        const bool wrongClass = reason != nullptr && std::strstr(reason, "wrong ELF class") != nullptr;
        SetLastError(HasElfMagic(path) && !wrongClass ? ERROR_MOD_NOT_FOUND : ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    loadedModules.push_back(std::make_unique<HINSTANCE__>(HINSTANCE__{library, path, 1}));
    return loadedModules.back().get();
}

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) { return LoadLibraryExA(lpLibFileName, nullptr, 0); }

BOOL WINAPI FreeLibrary(HMODULE hLibModule)
{
    void* unload = nullptr;
    {
        std::lock_guard guard(modulesLock);
        HINSTANCE__* module = FindLoaded(hLibModule);
        if (module == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (module == ExecutableModule()) return TRUE;
        if (--module->references > 0) return TRUE;
        unload = module->library;
        for (auto it = loadedModules.begin(); it != loadedModules.end(); ++it) {
            if (it->get() == module) {
                loadedModules.erase(it);
                break;
            }
        }
    }
    dlclose(unload);
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    void* library;
    {
        std::lock_guard guard(modulesLock);
        HINSTANCE__* module = FindLoaded(hModule == nullptr ? ExecutableModule() : hModule);
        if (module == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        library = module->library;
    }
    // Entry points by ordinal (a name pointer below 65536) are not kept.
    if (reinterpret_cast<uintptr_t>(lpProcName) < 0x10000) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* symbol = dlsym(library, lpProcName);
    if (symbol == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    if (lpModuleName == nullptr) return ExecutableModule();
    std::string name = WithDefaultExtension(NativePath(lpModuleName));
    std::lock_guard guard(modulesLock);
    for (const auto& loaded : loadedModules) {
        const std::string fileName = loaded->path.substr(loaded->path.rfind('/') + 1);
        const bool byPath = name.find('/') != std::string::npos;
        if (byPath ? EqualNoCase(loaded->path, name) : EqualNoCase(fileName, name)) return loaded.get();
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    std::string path;
    if (hModule == nullptr || hModule == ExecutableModule()) {
        path = ExecutablePath();
    } else {
        std::lock_guard guard(modulesLock);
        HINSTANCE__* module = FindLoaded(hModule);
        if (module == nullptr) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path = module->path;
    }
    if (lpFilename == nullptr || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // Too long a name is cut to the buffer, terminated, and reported.
    if (path.size() >= nSize) {
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}
