#pragma once

class DMDatabase;

// The local leaderboard database "user://leaderboards-db.xml". Saving goes
// through DataManager::SaveDatabase, which replaces the file only by a
// complete new one.

// The registered database: loaded from the file when there is one, else a
// new empty one. A file that exists but cannot be read is renamed to
// "user://leaderboards-db.xml.damaged" first, so that the next save does not
// overwrite it; when even that fails the answer is null and nothing is saved.
DMDatabase* HVI_OpenLeaderboardDatabase();

