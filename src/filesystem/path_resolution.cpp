#include "filesystem/path_resolution.h"

#include <cstring>

#include "filesystem/http_system.h"
#include "filesystem/native_system.h"
#include "filesystem/path_scheme.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"

namespace {

// True when ".." segments would take the path above the folder it starts in;
// '/' and '\\' both separate segments.
bool ClimbsAboveRoot(const char* relative)
{
    int depth = 0;
    const char* segment = relative;
    while (true) {
        size_t length = 0;
        while (segment[length] != '\0' && segment[length] != '/' && segment[length] != '\\') ++length;
        if (length == 2 && segment[0] == '.' && segment[1] == '.') {
            if (--depth < 0) return true;
        } else if (length > 0 && !(length == 1 && segment[0] == '.')) {
            ++depth;
        }
        if (segment[length] == '\0') return false;
        segment += length + 1;
    }
}

}  // namespace

HVFileSystem::System* HVI_GetSchemeSystem(HV_PathScheme scheme)
{
    static HVFileSystem::NativeSystem nativeSystem;
    static HVFileSystem::HttpSystem httpSystem;
    if (scheme == HV_PATH_SCHEME_HTTP) return &httpSystem;
    if (scheme >= HV_PATH_SCHEME_CACHE && scheme < HV_PATH_SCHEME_COUNT) return &nativeSystem;
    return nullptr;
}

bool HVI_ResolveSchemedPath(const char* operation, const char* path, ResolvedPath& out)
{
    const char* rest = nullptr;
    const HV_PathScheme scheme = HVI_GetPathScheme(path, &rest);
    if (scheme == HV_PATH_SCHEME_NONE || scheme == HV_PATH_SCHEME_UNKNOWN) {
        HVI_Log(HV_LOG_ERROR, "%s: path '%s' has no known scheme.", operation, path ? path : "");
        return false;
    }
    out.scheme = scheme;
    out.system = HVI_GetSchemeSystem(scheme);
    out.relative.Assign(rest);
    if (scheme == HV_PATH_SCHEME_HTTP) {
        out.root.Clear();
        out.systemPath.Assign(path);
        return true;
    }
    if (scheme == HV_PATH_SCHEME_PROJECT && !HVI_IsFileSystemDeveloperMode()) {
        HVI_Log(HV_LOG_ERROR, "%s: 'project://' is only available in developer mode ('%s').", operation, path);
        return false;
    }
    out.root = HVI_GetSchemeRoot(scheme);
    if (out.root.IsEmpty()) {
        HVI_Log(HV_LOG_ERROR, "%s: the scheme of '%s' has no folder.", operation, path);
        return false;
    }
    if (ClimbsAboveRoot(rest)) {
        HVI_Log(HV_LOG_ERROR, "%s: path '%s' leaves the folder of its scheme.", operation, path);
        return false;
    }
    out.systemPath = out.root;
    out.systemPath.Append(rest);
    return true;
}

bool HVI_ResolvePathForReading(const char* operation, const char* path, ResolvedPath& out)
{
    if (HVI_GetPathScheme(path) != HV_PATH_SCHEME_NONE) return HVI_ResolveSchemedPath(operation, path, out);
    if (path == nullptr) return false;
    for (const String& searchPath : HVI_GetSearchPaths()) {
        String candidate(searchPath);
        candidate.Append(path);
        ResolvedPath resolved;
        if (HVI_ResolveSchemedPath(operation, candidate.GetText(), resolved) &&
            resolved.system->FindPath(resolved.systemPath.GetText())) {
            out = resolved;
            return true;
        }
    }
    return false;
}

bool HVI_ResolvePathForWriting(const char* operation, const char* path, ResolvedPath& out)
{
    if (HVI_GetPathScheme(path) != HV_PATH_SCHEME_NONE) return HVI_ResolveSchemedPath(operation, path, out);
    const Array<String> searchPaths = HVI_GetSearchPaths();
    if (path == nullptr || searchPaths.GetCount() == 0) {
        HVI_Log(HV_LOG_ERROR, "%s: there is no search path to write '%s' to.", operation, path ? path : "");
        return false;
    }
    String candidate(searchPaths[0]);
    candidate.Append(path);
    return HVI_ResolveSchemedPath(operation, candidate.GetText(), out);
}
