#include "filesystem/scheme_roots.h"

#include <cstring>

#include "filesystem/path_resolution.h"
#include "filesystem/path_scheme.h"
#include "filesystem/whole_file.h"
#include "foundation/array.h"
#include "foundation/critical_section.h"
#include "foundation/engine_log.h"
#include "foundation/text.h"

namespace {

struct SchemeRoots {
    CriticalSection lock;
    String roots[HV_PATH_SCHEME_COUNT];  // guarded by lock; each ends in '/' or is empty
    bool developerMode = false;          // guarded by lock
    Array<String> searchPaths;           // guarded by lock; each ends in '/'
};

SchemeRoots& State()
{
    static SchemeRoots state;
    return state;
}

bool HasNativeRoot(HV_PathScheme scheme)
{
    return scheme >= HV_PATH_SCHEME_CACHE && scheme < HV_PATH_SCHEME_COUNT && scheme != HV_PATH_SCHEME_HTTP;
}

}  // namespace

void HVI_SetSchemeRoot(HV_PathScheme scheme, const char* nativeFolder)
{
    if (!HasNativeRoot(scheme)) {
        HVI_Log(HV_LOG_ERROR, "HVI_SetSchemeRoot: scheme %d has no root folder.", int(scheme));
        return;
    }
    String root(nativeFolder);
    if (!root.IsEmpty() && root[root.GetLength() - 1] != '/' && root[root.GetLength() - 1] != '\\')
        root.AppendChar('/');
    HVI_ConnectDataManagerFiles();
    SchemeRoots& state = State();
    CriticalSectionScope scope(state.lock);
    state.roots[scheme] = root;
}

String HVI_GetSchemeRoot(HV_PathScheme scheme)
{
    if (!HasNativeRoot(scheme)) return String();
    SchemeRoots& state = State();
    CriticalSectionScope scope(state.lock);
    return state.roots[scheme];
}

void HVI_SetFileSystemDeveloperMode(bool enabled) { WriteGuarded(State(), &SchemeRoots::developerMode, enabled); }

bool HVI_IsFileSystemDeveloperMode() { return ReadGuarded(State(), &SchemeRoots::developerMode); }

bool HVI_AddSearchPath(const char* schemedFolder)
{
    const HV_PathScheme scheme = HVI_GetPathScheme(schemedFolder);
    if (!HasNativeRoot(scheme)) {
        HVI_Log(HV_LOG_ERROR, "HVI_AddSearchPath: '%s' does not begin with a scheme that has a folder.",
                schemedFolder ? schemedFolder : "");
        return false;
    }
    String entry(schemedFolder);
    if (!HVI_EndsWith(entry.GetText(), "/")) entry.AppendChar('/');
    HVI_ConnectDataManagerFiles();
    SchemeRoots& state = State();
    CriticalSectionScope scope(state.lock);
    state.searchPaths.Add(entry);
    return true;
}

void HVI_ClearSearchPaths()
{
    SchemeRoots& state = State();
    CriticalSectionScope scope(state.lock);
    state.searchPaths.Clear();
}

Array<String> HVI_GetSearchPaths() { return ReadGuarded(State(), &SchemeRoots::searchPaths); }

void HVI_ResetFileSystem()
{
    SchemeRoots& state = State();
    CriticalSectionScope scope(state.lock);
    for (String& root : state.roots) root.Clear();
    state.developerMode = false;
    state.searchPaths.Clear();
}

String HV_ConvertStaticPathToNativeOSPath(const char* path)
{
    const HV_PathScheme scheme = HVI_GetPathScheme(path);
    if (!HasNativeRoot(scheme)) return String();
    ResolvedPath resolved;
    if (!HVI_ResolveSchemedPath("HV_ConvertStaticPathToNativeOSPath", path, resolved)) return String();
    return resolved.systemPath;
}
