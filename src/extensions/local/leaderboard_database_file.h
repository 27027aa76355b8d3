#pragma once

class DMDatabase;

// The local leaderboard database "user://leaderboards-db.xml". Saving goes
// through DataManager::SaveDatabase, which replaces the file only by a
// complete new one.

// The registered database: loaded from the file when there is one, else a
// new empty one. A file that exists but cannot be read is first renamed to
// the first free name of "user://leaderboards-db.xml.damaged",
// "user://leaderboards-db.xml.damaged-2" ... "-9", so that neither the next
// save nor a later damage replaces it; when even that fails the answer is
// null and nothing is saved.
DMDatabase* HVI_OpenLeaderboardDatabase();

