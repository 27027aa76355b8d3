#include "extensions/local/leaderboard_database_file.h"

#include <cstdio>

#include "core/logging.h"
#include "data/data_manager.h"
#include "data/database_loader.h"
#include "filesystem/file_operations.h"
#include "filesystem/scheme_roots.h"
#include "filesystem/whole_file.h"

namespace {

constexpr const char* kDamagedPath = "user://leaderboards-db.xml.damaged";

bool IsReadable(const char* path)
{
    ByteBuffer bytes;
    if (!HVI_ReadWholeFile(path, bytes))
        return false;
    DMDatabase scratch(path);
    return HVI_LoadDatabaseFromBytes("HVI_OpenLeaderboardDatabase", path, bytes.GetData(), bytes.GetSize(), scratch);
}

bool KeepAside(const char* path)
{
    const String from = HV_ConvertStaticPathToNativeOSPath(path);
    const String to = HV_ConvertStaticPathToNativeOSPath(kDamagedPath);
    return !from.IsEmpty() && !to.IsEmpty() && std::rename(from.GetText(), to.GetText()) == 0;
}

}  // namespace

DMDatabase* HVI_OpenLeaderboardDatabase()
{
    const char* path = DataManager::kLeaderboardsDatabasePath;
    if (!HV_FileSystem_FindPath(path))
        return DataManager::GetLeaderboardsDatabase();
    if (IsReadable(path))
        return DataManager::GetDatabase(path);
    if (!KeepAside(path)) {
        HV_Log(HV_LOG_ERROR,
               "HVI_OpenLeaderboardDatabase: '%s' cannot be read nor kept aside; local scores are not kept this run.",
               path);
        return nullptr;
    }
    HV_Log(HV_LOG_ERROR, "HVI_OpenLeaderboardDatabase: '%s' cannot be read; it is kept aside as '%s'.", path,
           kDamagedPath);
    return DataManager::GetLeaderboardsDatabase();
}
