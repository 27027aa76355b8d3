#pragma once

#include "foundation/array.h"
#include "foundation/string.h"
#include "halvo/filesystem.h"

// Where each scheme lives on disk, whether "project://" is available, and the
// search paths for paths without a scheme. The engine sets these at start-up;
// tests point them at temporary folders. All functions are thread-safe.

// Setting a root or a search path also connects the data manager to the file
// system (HVI_ConnectDataManagerFiles), since from then on files can be found.

// Sets the native folder of a scheme (cache, docs, logs, project, res, save,
// user, ugc); a '/' is added when missing. Null or "" removes the root.
// "http://" has no root: its files are fetched into "cache://".
void HVI_SetSchemeRoot(HV_PathScheme scheme, const char* nativeFolder);
// The native folder of the scheme, ending in '/'; empty when none is set.
String HVI_GetSchemeRoot(HV_PathScheme scheme);

// "project://" works only while developer mode is on.
void HVI_SetFileSystemDeveloperMode(bool enabled);
bool HVI_IsFileSystemDeveloperMode();

// Search paths: an ordered list of schemed folders ("res://", "res://gfx/",
// "user://"). A path without a scheme is tried in each, in order; the first
// that holds the file wins. Writing goes to the first. False, with a log
// line, for an entry without a known scheme.
bool HVI_AddSearchPath(const char* schemedFolder);
void HVI_ClearSearchPaths();
// A copy of the search paths in order, each ending in '/'.
Array<String> HVI_GetSearchPaths();

// Forgets every root, the search paths and developer mode (shutdown and tests).
void HVI_ResetFileSystem();

// The native path of a path with a scheme ("res://" gives the resource
// folder); the empty text for a path without a scheme, with an unknown one,
// for "http://", for "project://" outside developer mode, for a scheme without
// a root and for a path that would leave its root.
String HV_ConvertStaticPathToNativeOSPath(const char* path);
