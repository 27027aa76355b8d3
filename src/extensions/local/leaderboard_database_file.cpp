#include "extensions/local/leaderboard_database_file.h"

#include "core/logging.h"
#include "data/data_manager.h"
#include "data/database_loader.h"
#include "extensions/damaged_file.h"
#include "filesystem/file_operations.h"
#include "filesystem/whole_file.h"

namespace {

bool IsReadable(const char* path)
{
    ByteBuffer bytes;
    if (!HVI_ReadWholeFile(path, bytes))
        return false;
    DMDatabase scratch(path);
    return HVI_LoadDatabaseFromBytes("HVI_OpenLeaderboardDatabase", path, bytes.GetData(), bytes.GetSize(), scratch);
}

}  // namespace

DMDatabase* HVI_OpenLeaderboardDatabase()
{
    const char* path = DataManager::kLeaderboardsDatabasePath;
    if (!HV_FileSystem_FindPath(path))
        return DataManager::GetLeaderboardsDatabase();
    if (IsReadable(path))
        return DataManager::GetDatabase(path);
    const String keptAs = HVI_KeepDamagedFile(path, false);
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
