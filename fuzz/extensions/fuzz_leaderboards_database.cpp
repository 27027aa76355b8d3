// Feeds arbitrary bytes to the local leaderboards as their database file.
// The first byte chooses whether the rest is stored as it is or packed into
// a scrambled container first (whose checksum then holds, so the unscrambled
// text is reached), and the window of the requests. The store reads the
// file, every node is read as a score, every category is asked for its
// window (ranking), and one more score is saved into the first category
// (trimming, then rewriting the file). No crash, no overread; every result
// lies within its window, ranked best first; a saved category holds at most
// 100 scores.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/events.h"
#include "core/logging.h"
#include "core/threading.h"
#include "data/data_manager.h"
#include "data/database_loader.h"
#include "data/scrambled_container.h"
#include "extensions/leaderboard_events.h"
#include "extensions/local/local_leaderboard_store.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"

namespace {

void Quiet(void*, int, bool, const char*) {}

// The user folder, in memory where the system offers it: every save is
// flushed to its disk.
std::filesystem::path UserFolder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::filesystem::path path = base / ("halvo-fuzz-leaderboards-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void SetUpOnce()
{
    static const bool done = [] {
        HVI_SetLogSink(Quiet, nullptr);
        HVI_SetLogThreshold(HV_LOG_SYSTEM + 1);
        HVI_ResetThreading();
        HVI_RegisterMainThread();
        HVI_SetSchemeRoot(HV_PATH_SCHEME_USER, UserFolder().c_str());
        HVI_RegisterEventPayloadFreer(HV_EVENT_LEADERBOARD_RESULT, HVI_FreeLeaderboardResultEvent);
        std::atexit([] { std::filesystem::remove_all(UserFolder()); });
        return true;
    }();
    (void)done;
}

struct Window {
    int32_t start;
    int32_t count;
};

// Every score result lies within the window, is ranked from its first rank
// on and has no record beating the one before it.
void CheckResult(void* context, HV_Event* event)
{
    const Window& window = *static_cast<const Window*>(context);
    const auto result = HVI_ReadEvent<HV_LeaderboardResultEvent>(*event);
    if (result.success == 0) return;
    if (result.count < 0 || result.count > result.total || (result.count > 0 && result.scores == nullptr) ||
        (window.count >= 0 && result.count > window.count))
        std::abort();
    const int32_t first = window.start > 1 ? window.start : 1;
    for (int32_t k = 0; k < result.count; ++k) {
        const HV_LeaderboardScore& score = result.scores[k];
        if (score.rank != first + k || score.dataLength < 0 || score.dataLength > HV_LEADERBOARD_DATA_SIZE ||
            score.player[sizeof score.player - 1] != '\0' || score.id[sizeof score.id - 1] != '\0')
            std::abort();
        if (k > 0 && score.points > result.scores[k - 1].points) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpOnce();
    if (size < 1) return 0;
    const uint8_t choice = data[0];
    const uint8_t* text = data + 1;
    const int64_t textSize = int64_t(size - 1);
    ByteBuffer container;
    if ((choice & 1) != 0 && !HVI_ScrambleIntoContainer(text, int(textSize), container)) return 0;
    const uint8_t* file = (choice & 1) != 0 ? container.GetData() : text;
    const int64_t fileSize = (choice & 1) != 0 ? container.GetSize() : textSize;
    std::filesystem::remove_all(UserFolder());
    std::filesystem::create_directories(UserFolder());
    std::ofstream(UserFolder() / "leaderboards-db.xml", std::ios::binary)
        .write(reinterpret_cast<const char*>(file), std::streamsize(fileSize));
    DataManager::UnloadDatabase(DataManager::kLeaderboardsDatabasePath);

    LocalLeaderboardStore store;
    DMDatabase* database = DataManager::GetLeaderboardsDatabase();
    // Requests from before the first rank to past the last, negative counts too.
    const Window window = {int32_t(choice >> 4) - 2, int32_t((choice >> 1) & 7) * 5 - 5};
    for (int a = 0; a < database->GetArrayCount(); ++a) {
        const DMArray* scores = database->GetArray(a);
        for (int n = 0; n < scores->GetNodeCount(); ++n) {
            HV_LeaderboardScore score = {};
            LocalLeaderboardStore::ReadScore(score, *scores->GetNode(n));
            if (score.dataLength < 0 || score.dataLength > HV_LEADERBOARD_DATA_SIZE ||
                score.player[sizeof score.player - 1] != '\0' || score.id[sizeof score.id - 1] != '\0')
                std::abort();
        }
        store.QueryScores(window.start, window.count, HV_LEADERBOARD_FILTER_GLOBAL, scores->GetId());
    }
    HVI_DeliverQueuedEvents(CheckResult, const_cast<Window*>(&window));

    const char* first = database->GetArrayCount() > 0 ? database->GetArray(0)->GetId() : nullptr;
    if (first != nullptr) {
        const String category(first);
        HV_LeaderboardScore score = {};
        score.points = int32_t(choice) - 128;
        score.dataLength = 2;
        store.SaveScore(score, category.GetText());
        const DMArray* saved = database->FindArray(category.GetText());
        if (saved == nullptr || saved->GetNodeCount() > LocalLeaderboardStore::kMaxScoresPerCategory) std::abort();
    }
    HVI_DiscardQueuedEvents();
    return 0;
}
