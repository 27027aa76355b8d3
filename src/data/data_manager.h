#pragma once

#include "data/dm_database.h"

// The database registry: databases loaded from files stay registered by the
// name they were asked for until they are unloaded. The registry is guarded
// by the "DATAMAN" lock; a database itself is guarded by whoever shares it.
class DataManager {
public:
    // The database file every local score list is kept in.
    static constexpr const char* kLeaderboardsDatabasePath = "user://leaderboards-db.xml";
    // The name of a database built by LoadFromMemory.
    static constexpr const char* kMemoryDatabaseName = "FromMem";

    // The database registered under the name, else a newly registered one
    // loaded from the file of that name (plain XML or the scrambled
    // container; a name without a scheme is found through the search paths).
    // A missing, unreadable or damaged file gives an empty database and a
    // log line. Null only for a null name.
    static DMDatabase* GetDatabase(const char* nameOrPath);

    // The database registered as the leaderboards file, else a newly
    // registered empty one under that name; no file is read.
    static DMDatabase* GetLeaderboardsDatabase();

    // A database named "FromMem" built from XML text, not registered: the
    // caller deletes it. Null, with a log line, for text that is not an XML
    // database.
    static DMDatabase* LoadFromMemory(const char* xmlText);

    // Writes the database to the leaderboards file, as the scrambled
    // container or as plain XML.
    static bool SaveDatabase(const DMDatabase* database, bool scrambled);

    // Writes the database to the file at the path: a temporary file beside
    // it is renamed over the old one only when complete, so a failed save
    // leaves the old file as it was. A file that cannot be written gives a
    // popup that names the failed step ("Unable to open file '%s' for
    // writing." when the new file cannot be made) and false.
    static bool SaveDatabaseAs(const DMDatabase* database, const char* path, bool scrambled);

    // Removes the database registered under the name and destroys it.
    static void UnloadDatabase(const char* path);

    // Removes and destroys every registered database (tests).
    static void UnloadAllDatabases();
};
