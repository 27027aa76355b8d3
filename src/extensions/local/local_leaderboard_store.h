#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"
#include "halvo/services.h"
#include "halvo/threading.h"

class DMDatabase;
class DMNode;

// The local score lists in "user://leaderboards-db.xml": one array per
// category, one node per score ("player", "points", "data") in the order
// saved, at most 100 per category. Every access to the database holds the
// named mutex "LOCAL_LEADERBOARDS".
class LocalLeaderboardStore {
public:
    static constexpr int kMaxScoresPerCategory = 100;

    // Takes the database registered under the file's name, loading the file
    // when there is one. A file that cannot be read is renamed aside first.
    LocalLeaderboardStore();
    LocalLeaderboardStore(const LocalLeaderboardStore&) = delete;
    LocalLeaderboardStore& operator=(const LocalLeaderboardStore&) = delete;

    // Stores the score with the local time as its player text and rewrites
    // the file from what it holds now (other processes may have saved
    // scores since), the scores this process could not save yet and this one.
    void SaveScore(HV_LeaderboardScore& score, const char* category);
    // Posts one result event for the request.
    void QueryScores(int32_t start, int32_t count, int32_t filter, const char* category);
    // Fills a zeroed record from a stored node.
    static void ReadScore(HV_LeaderboardScore& score, const DMNode& node);

    HV_Mutex* GetMutex() const { return m_mutex; }

private:
    // A submitted score as it is stored.
    struct PendingScore {
        String category;
        String player;
        int32_t points = 0;
        String data;  // empty without data
    };
    // Appends the score to its category's array and trims the category.
    void AddToDatabase(const PendingScore& score);

    DMDatabase* m_database = nullptr;  // guarded by m_mutex; registered with the data manager
    // Scores the file has not taken yet (its last save failed); guarded by m_mutex.
    Array<PendingScore> m_pending;
    HV_Mutex* m_mutex = nullptr;
};
