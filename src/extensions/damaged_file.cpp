#include "extensions/damaged_file.h"

#include <windows.h>

#include "filesystem/scheme_roots.h"

namespace {

constexpr int kMaxDamagedCopies = 9;

}  // namespace

String HVI_KeepDamagedFile(const char* path)
{
    const String from = HV_ConvertStaticPathToNativeOSPath(path);
    for (int copy = 1; !from.IsEmpty() && copy <= kMaxDamagedCopies; ++copy) {
        const String name =
            copy == 1 ? String::Formatted("%s.damaged", path) : String::Formatted("%s.damaged-%d", path, copy);
        const String to = HV_ConvertStaticPathToNativeOSPath(name.GetText());
        if (to.IsEmpty()) continue;
        // A move without MOVEFILE_REPLACE_EXISTING fails on a taken name.
        if (MoveFileExA(from.GetText(), to.GetText(), MOVEFILE_WRITE_THROUGH)) return name;
    }
    return String();
}
