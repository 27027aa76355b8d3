#pragma once

#include "halvo/filesystem.h"

// The scheme of a path. A path is schemed when it begins with letters followed
// by "://"; anything else has no scheme. When rest is given it receives the
// text after "://" (or the whole path when there is no scheme).
HV_PathScheme HVI_GetPathScheme(const char* path, const char** rest = nullptr);
