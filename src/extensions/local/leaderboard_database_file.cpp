#include "extensions/local/leaderboard_database_file.h"

#include <windows.h>

#include "core/logging.h"
#include "data/data_manager.h"
#include "data/database_loader.h"
#include "filesystem/file_operations.h"
#include "filesystem/scheme_roots.h"
#include "filesystem/whole_file.h"

namespace {

// A damaged file is kept under the first free one of these names, so that an
// earlier damaged copy is never replaced.
constexpr const char* kDamagedPath = "user://leaderboards-db.xml.damaged";
constexpr int kMaxDamagedCopies = 9;

bool IsReadable(const char* path)
{
    ByteBuffer bytes;
    if (!HVI_ReadWholeFile(path, bytes))
        return false;
    DMDatabase scratch(path);
    return HVI_LoadDatabaseFromBytes("HVI_OpenLeaderboardDatabase", path, bytes.GetData(), bytes.GetSize(), scratch);
}

// Moves the file to a free damaged-copy name; the name used, or empty.
String KeepAside(const char* path)
{
    const String from = HV_ConvertStaticPathToNativeOSPath(path);
    for (int copy = 1; !from.IsEmpty() && copy <= kMaxDamagedCopies; ++copy) {
        const String name = copy == 1 ? String(kDamagedPath) : String::Formatted("%s-%d", kDamagedPath, copy);
        const String to = HV_ConvertStaticPathToNativeOSPath(name.GetText());
        // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
        if (!to.IsEmpty() && MoveFileExA(from.GetText(), to.GetText(), MOVEFILE_WRITE_THROUGH))
            return name;
    }
    return String();
}

}  // namespace

DMDatabase* HVI_OpenLeaderboardDatabase()
{
    const char* path = DataManager::kLeaderboardsDatabasePath;
    if (!HV_FileSystem_FindPath(path))
        return DataManager::GetLeaderboardsDatabase();
    if (IsReadable(path))
        return DataManager::GetDatabase(path);
    const String keptAs = KeepAside(path);
    if (keptAs.IsEmpty()) {
        HV_Log(HV_LOG_ERROR,
               "HVI_OpenLeaderboardDatabase: '%s' cannot be read nor kept aside; local scores are not kept this run.",
               path);
        return nullptr;
    }
    HV_Log(HV_LOG_ERROR, "HVI_OpenLeaderboardDatabase: '%s' cannot be read; it is kept aside as '%s'.", path,
           keptAs.GetText());
    return DataManager::GetLeaderboardsDatabase();
}
