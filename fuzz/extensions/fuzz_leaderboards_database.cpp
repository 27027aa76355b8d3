// Feeds arbitrary bytes to the local leaderboard database reader: the data
// manager's loader (plain XML or the scrambled container), then every node
// read as a stored score. No crash, no overread, and every record it fills
// keeps its data length within the record.
#include <cstdint>
#include <cstdlib>

#include "data/database_loader.h"
#include "extensions/local/local_leaderboard_store.h"
#include "foundation/log.h"

namespace {
void Quiet(void*, int, bool, const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HVI_SetLogSink(Quiet, nullptr);
    DMDatabase database("user://leaderboards-db.xml");
    if (!HVI_LoadDatabaseFromBytes("fuzz", "user://leaderboards-db.xml", data, int64_t(size), database))
        return 0;
    for (int a = 0; a < database.GetArrayCount(); ++a) {
        const DMArray* scores = database.GetArray(a);
        for (int n = 0; n < scores->GetNodeCount(); ++n) {
            HV_LeaderboardScore score = {};
            LocalLeaderboardStore::ReadScore(score, *scores->GetNode(n));
            if (score.dataLength < 0 || score.dataLength > HV_LEADERBOARD_DATA_SIZE ||
                score.player[sizeof score.player - 1] != '\0' || score.id[sizeof score.id - 1] != '\0')
                std::abort();
        }
    }
    return 0;
}
