#pragma once

#include "halvo/filesystem.h"

// The scheme names as they stand before "://" in a path.
struct PathSchemeName {
    HV_PathScheme scheme;
    const char* name;
};

// One row per scheme: the id and its name.
inline constexpr PathSchemeName kPathSchemeNames[] = {
    {HV_PATH_SCHEME_CACHE, "cache"}, {HV_PATH_SCHEME_DOCS, "docs"},       {HV_PATH_SCHEME_HTTP, "http"},
    {HV_PATH_SCHEME_LOGS, "logs"},   {HV_PATH_SCHEME_PROJECT, "project"}, {HV_PATH_SCHEME_RES, "res"},
    {HV_PATH_SCHEME_SAVE, "save"},   {HV_PATH_SCHEME_USER, "user"},       {HV_PATH_SCHEME_UGC, "ugc"},
};
static_assert(sizeof(kPathSchemeNames) / sizeof(kPathSchemeNames[0]) == HV_PATH_SCHEME_COUNT, "nine schemes");
