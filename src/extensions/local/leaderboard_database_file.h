#pragma once

class DMDatabase;

// The local leaderboard database "user://leaderboards-db.xml". Saving goes
// through DataManager::SaveDatabase, which replaces the file only by a
// complete new one.

// What reading the file did to a database.
enum class LeaderboardFileState {
    Missing,    // no file: the database is as it was
    Loaded,     // the database now holds exactly the file's data
    KeptAside,  // the file could not be read and was moved aside; the database is as it was
    Unusable,   // the file could not be read nor moved aside; the database is as it was
};

// Reads the file once and, when it holds a database, replaces the contents
// of the database by it. A file that exists but cannot be read, or holds no
// database, is renamed to the first free name of
// "user://leaderboards-db.xml.damaged", "...damaged-2" ... "-9", so that
// neither the next save nor a later damage replaces it.
LeaderboardFileState HVI_ReadLeaderboardFile(DMDatabase& database);

// The registered database, filled from the file when there is one. Null when
// the file cannot be read nor kept aside: nothing may then be saved over it.
DMDatabase* HVI_OpenLeaderboardDatabase();
