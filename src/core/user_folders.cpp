#include "core/user_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "core/logging.h"
#include "filesystem/scheme_roots.h"
#include "foundation/string.h"

namespace {

struct UserFolderRow {
    HV_PathScheme scheme;
    int folder;
    const char* subfolder;
};
// The scheme, the system folder it lives below, and its own subfolder.
constexpr UserFolderRow kUserFolders[] = {
    {HV_PATH_SCHEME_LOGS, CSIDL_APPDATA, "logs"},  {HV_PATH_SCHEME_USER, CSIDL_APPDATA, "user"},
    {HV_PATH_SCHEME_SAVE, CSIDL_APPDATA, "save"},  {HV_PATH_SCHEME_CACHE, CSIDL_LOCAL_APPDATA, "cache"},
    {HV_PATH_SCHEME_DOCS, CSIDL_PERSONAL, "docs"},
};

bool IsFolder(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates every missing folder of the path. Another process starting at the
// same time may create any of them first: a folder that is there counts,
// whoever made it.
bool CreateFolders(const String& path)
{
    for (int i = 1; i <= path.GetLength(); ++i) {
        if (i == path.GetLength() || path[i] == '/') {
            String part;
            part.Assign(path.GetText(), i);
            if (!CreateDirectoryA(part.GetText(), nullptr) && !IsFolder(part.GetText())) return false;
        }
    }
    return true;
}

// The id names a folder of its own: not "." or "..", and no separator that
// would put the folders elsewhere.
bool IsFolderName(const char* id)
{
    if (std::strcmp(id, ".") == 0 || std::strcmp(id, "..") == 0) return false;
    return std::strpbrk(id, "/\\") == nullptr;
}

}  // namespace

bool HVI_SetUpUserFolders(const char* programId)
{
    const char* name = programId && *programId ? programId : "halvo";
    if (!IsFolderName(name)) {
        HV_Log(HV_LOG_ERROR, "HVI_SetUpUserFolders: the program id '%s' cannot name a folder.", name);
        return false;
    }
    String id;
    for (const char* c = name; *c; ++c) id.AppendChar(*c == ' ' ? '-' : *c);
    for (const UserFolderRow& row : kUserFolders) {
        char base[MAX_PATH] = {};
        if (!SUCCEEDED(SHGetFolderPathA(nullptr, row.folder | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base))) {
            HV_Log(HV_LOG_ERROR, "HVI_SetUpUserFolders: no system folder for '%s://'.", row.subfolder);
            return false;
        }
        const String folder = String::Formatted("%s/%s/%s", base, id.GetText(), row.subfolder);
        if (!CreateFolders(folder)) {
            HV_Log(HV_LOG_ERROR, "HVI_SetUpUserFolders: cannot create '%s'.", folder.GetText());
            return false;
        }
        HVI_SetSchemeRoot(row.scheme, folder.GetText());
    }
    return true;
}
