#include "extensions/local/leaderboard_database_file.h"

#include "core/logging.h"
#include "data/data_manager.h"
#include "data/database_loader.h"
#include "extensions/damaged_file.h"
#include "filesystem/file_operations.h"
#include "filesystem/whole_file.h"

namespace {

constexpr const char* kOperation = "HVI_ReadLeaderboardFile";

}  // namespace

LeaderboardFileState HVI_ReadLeaderboardFile(DMDatabase& database)
{
    const char* path = DataManager::kLeaderboardsDatabasePath;
    if (!HV_FileSystem_FindPath(path)) return LeaderboardFileState::Missing;
    // One read: the bytes that were checked are the bytes that are loaded.
    ByteBuffer bytes;
    DMDatabase checked(path);
    if (HVI_ReadWholeFile(path, bytes) &&
        HVI_LoadDatabaseFromBytes(kOperation, path, bytes.GetData(), bytes.GetSize(), checked)) {
        database.Clear();
        HVI_LoadDatabaseFromBytes(kOperation, path, bytes.GetData(), bytes.GetSize(), database);
        return LeaderboardFileState::Loaded;
    }
    const String keptAs = HVI_KeepDamagedFile(path);
    if (keptAs.IsEmpty()) {
        HV_Log(HV_LOG_ERROR, "%s: '%s' cannot be read nor kept aside; local scores are not saved over it.", kOperation,
               path);
        return LeaderboardFileState::Unusable;
    }
    HV_Log(HV_LOG_ERROR, "%s: '%s' cannot be read; it is kept aside as '%s'.", kOperation, path, keptAs.GetText());
    return LeaderboardFileState::KeptAside;
}

DMDatabase* HVI_OpenLeaderboardDatabase()
{
    DMDatabase* database = DataManager::GetLeaderboardsDatabase();
    if (database->GetArrayCount() > 0) return database;
    return HVI_ReadLeaderboardFile(*database) == LeaderboardFileState::Unusable ? nullptr : database;
}
