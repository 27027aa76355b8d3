#include "data/data_manager.h"

#include <cstring>
#include <memory>

#include "data/data_manager_lock.h"
#include "data/data_messages.h"
#include "data/database_files.h"
#include "data/database_loader.h"
#include "data/scrambled_container.h"
#include "data/xml_database_reader.h"
#include "data/xml_database_writer.h"
#include "foundation/byte_buffer.h"
#include "foundation/engine_log.h"
#include "foundation/text.h"

namespace {

// Registered databases, each under the name it was asked for, found by the
// name hash and then a full comparison; guarded by the DATAMAN lock.
Array<std::unique_ptr<DMDatabase>>& Registry()
{
    static Array<std::unique_ptr<DMDatabase>> registry;
    return registry;
}

// The index of the registered database of the name, or -1. The caller holds
// the DATAMAN lock.
int FindRegistered(const char* name)
{
    const uint32_t hash = HVI_HashName(name);
    Array<std::unique_ptr<DMDatabase>>& registry = Registry();
    for (int i = 0; i < registry.GetCount(); ++i) {
        if (registry[i]->GetNameHash() == hash && std::strcmp(registry[i]->GetName(), name) == 0) return i;
    }
    return -1;
}

// The registered database of the name, else a new empty one registered under
// it. The caller holds the DATAMAN lock.
DMDatabase* FindOrRegister(const char* name, bool& created)
{
    const int index = FindRegistered(name);
    created = index < 0;
    if (!created) return Registry()[index].get();
    Registry().Add(std::make_unique<DMDatabase>(name));
    return Registry()[Registry().GetCount() - 1].get();
}

}  // namespace

DMDatabase* DataManager::GetDatabase(const char* nameOrPath)
{
    static constexpr const char* kOperation = "DataManager::GetDatabase";
    if (nameOrPath == nullptr) {
        HVI_Log(HV_LOG_ERROR, kMessageNullName, kOperation);
        return nullptr;
    }
    DataManagerLockScope lock;
    bool created = false;
    DMDatabase* database = FindOrRegister(nameOrPath, created);
    if (!created) return database;
    const DatabaseFiles* files = HVI_GetDatabaseFiles();
    ByteBuffer bytes;
    if (files == nullptr || !files->readWholeFile(nameOrPath, bytes)) {
        HVI_Log(HV_LOG_WARNING, kMessageUnreadable, kOperation, nameOrPath);
        return database;
    }
    HVI_LoadDatabaseFromBytes(kOperation, nameOrPath, bytes.GetData(), bytes.GetSize(), *database);
    return database;
}

DMDatabase* DataManager::GetLeaderboardsDatabase()
{
    DataManagerLockScope lock;
    bool created = false;
    return FindOrRegister(kLeaderboardsDatabasePath, created);
}

DMDatabase* DataManager::LoadFromMemory(const char* xmlText)
{
    auto database = std::make_unique<DMDatabase>(kMemoryDatabaseName);
    XMLDatabaseFault fault;
    const int64_t size = xmlText ? int64_t(std::strlen(xmlText)) : 0;
    if (!HVI_ParseXMLDatabase(xmlText, size, *database, fault)) {
        HVI_Log(HV_LOG_ERROR, kMessageMemoryInvalid);
        return nullptr;
    }
    return database.release();
}

bool DataManager::SaveDatabase(const DMDatabase* database, bool scrambled)
{
    return SaveDatabaseAs(database, kLeaderboardsDatabasePath, scrambled);
}

bool DataManager::SaveDatabaseAs(const DMDatabase* database, const char* path, bool scrambled)
{
    static constexpr const char* kOperation = "DataManager::SaveDatabase";
    if (database == nullptr || path == nullptr) {
        HVI_Log(HV_LOG_ERROR, database ? kMessageNullName : kMessageNullDatabase, kOperation);
        return false;
    }
    ByteBuffer text;
    const char* reason = "";
    if (!HVI_WriteXMLDatabase(*database, text, reason)) {
        HVI_Log(HV_LOG_ERROR, kMessageNotWritable, kOperation, database->GetName(), reason);
        return false;
    }
    ByteBuffer container;
    if (scrambled && !HVI_ScrambleIntoContainer(text.GetData(), text.GetSize(), container)) {
        HVI_Log(HV_LOG_ERROR, kMessageNotWritable, kOperation, database->GetName(), kReasonTooLarge);
        return false;
    }
    const ByteBuffer& file = scrambled ? container : text;
    const DatabaseFiles* files = HVI_GetDatabaseFiles();
    if (files == nullptr) {
        HVI_Log(HV_LOG_ERROR, kMessageNoFileSystem, kOperation, path);
        return false;
    }
    const char* failureText = "";
    if (!files->writeWholeFile(path, file.GetData(), file.GetSize(), failureText)) {
        HVI_Popup(HV_LOG_WARNING, failureText, path);
        return false;
    }
    return true;
}

void DataManager::UnloadDatabase(const char* path)
{
    if (path == nullptr) {
        HVI_Log(HV_LOG_ERROR, kMessageNullName, "DataManager::UnloadDatabase");
        return;
    }
    DataManagerLockScope lock;
    Registry().DeleteAt(FindRegistered(path));
}

void DataManager::UnloadAllDatabases()
{
    DataManagerLockScope lock;
    Registry().Clear();
}
