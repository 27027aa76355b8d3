#pragma once

#include "filesystem/file_system_classes.h"
#include "foundation/string.h"
#include "halvo/filesystem.h"

// Where a path leads: the file system of its scheme and the path that system
// understands (a native path, or the URL for "http://").
struct ResolvedPath {
    HVFileSystem::System* system = nullptr;
    HV_PathScheme scheme = HV_PATH_SCHEME_NONE;
    String root;        // the scheme's native folder ending in '/', empty for "http://"
    String relative;    // the path below the root (for "http://" the text after the scheme)
    String systemPath;  // root + relative, or the whole URL
};

// Resolves a path that has a scheme. False, with a log line that begins with
// the operation's name, for an unknown scheme, "project://" outside developer
// mode, a scheme without a root, or a path that climbs above its root.
bool HVI_ResolveSchemedPath(const char* operation, const char* path, ResolvedPath& out);

// A schemed path as above; a path without a scheme is tried in each search
// path in order and the first in which the file exists wins. False without a
// log line when no search path holds it.
bool HVI_ResolvePathForReading(const char* operation, const char* path, ResolvedPath& out);

// A schemed path as above; a path without a scheme goes to the first search
// path (false, with a log line, when there is none).
bool HVI_ResolvePathForWriting(const char* operation, const char* path, ResolvedPath& out);

// The file system that serves the scheme, null for NONE and UNKNOWN.
HVFileSystem::System* HVI_GetSchemeSystem(HV_PathScheme scheme);
