#include "filesystem/path_scheme.h"

#include <cstring>

#include "filesystem/path_scheme_names.h"

namespace {

bool IsSchemeLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

HV_PathScheme HVI_GetPathScheme(const char* path, const char** rest)
{
    if (rest) *rest = path;
    if (path == nullptr) return HV_PATH_SCHEME_NONE;
    size_t length = 0;
    while (IsSchemeLetter(path[length])) ++length;
    if (length == 0 || std::strncmp(path + length, "://", 3) != 0) return HV_PATH_SCHEME_NONE;
    if (rest) *rest = path + length + 3;
    for (const PathSchemeName& row : kPathSchemeNames) {
        if (std::strlen(row.name) == length && std::strncmp(row.name, path, length) == 0) return row.scheme;
    }
    return HV_PATH_SCHEME_UNKNOWN;
}
