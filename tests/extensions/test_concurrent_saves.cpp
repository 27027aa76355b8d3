// Several processes save the cloud store and the local scores to one user
// folder through the engine's own paths, and are killed at any moment: every
// file on disk is always the old one or a new one, complete, and no process
// loses what another saved.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "data/database_loader.h"
#include "extension_test_environment.h"
#include "extensions/simulated/cloud_file_format.h"
#include "filesystem/whole_file.h"

extern char** environ;

namespace {

class SaveWorker {
public:
    SaveWorker(const std::filesystem::path& folder, const std::string& name, int count)
    {
        const std::string folderText = folder.string();
        const std::string countText = std::to_string(count);
        char* arguments[] = {const_cast<char*>(HALVO_SAVE_WORKER), const_cast<char*>(folderText.c_str()),
                             const_cast<char*>(name.c_str()), const_cast<char*>(countText.c_str()), nullptr};
        if (posix_spawn(&m_pid, HALVO_SAVE_WORKER, nullptr, nullptr, arguments, environ) != 0) m_pid = -1;
    }
    ~SaveWorker() { Kill(); }

    bool Started() const { return m_pid > 0; }
    // The exit code, or -1 when it did not exit by itself.
    int Wait()
    {
        int status = 0;
        if (m_pid <= 0 || waitpid(m_pid, &status, 0) != m_pid) return -1;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Kill()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
    }

private:
    pid_t m_pid = -1;
};

class ConcurrentSaves : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        WriteResFile("leaderboards/leaderboards.xml",
                     "<database><array id=\"CATEGORIES\"><node id=\"alltime\"/></array></database>");
    }

    std::filesystem::path Folder() const { return UserFolder().parent_path(); }

    // Whether each file that exists reads whole; the entries and scores it holds.
    ::testing::AssertionResult FilesAreWhole(int* cloudEntries = nullptr, int* scores = nullptr)
    {
        ByteBuffer bytes;
        if (std::filesystem::exists(UserFolder() / "simulated.cloud")) {
            CloudStore store;
            if (!HVI_ReadWholeFile("user://simulated.cloud", bytes) ||
                !HVI_ReadSimulatedCloud(bytes.GetData(), bytes.GetSize(), store))
                return ::testing::AssertionFailure() << "the cloud file is damaged";
            if (cloudEntries != nullptr) *cloudEntries = store.GetCount();
        }
        if (std::filesystem::exists(UserFolder() / "leaderboards-db.xml")) {
            DMDatabase database("check");
            if (!HVI_ReadWholeFile("user://leaderboards-db.xml", bytes) ||
                !HVI_LoadDatabaseFromBytes("check", "check", bytes.GetData(), bytes.GetSize(), database))
                return ::testing::AssertionFailure() << "the leaderboard database is damaged";
            const DMArray* alltime = database.FindArray("alltime");
            if (scores != nullptr) *scores = alltime != nullptr ? alltime->GetNodeCount() : 0;
        }
        for (const char* kept : {"simulated.cloud.damaged", "leaderboards-db.xml.damaged"}) {
            if (std::filesystem::exists(UserFolder() / kept))
                return ::testing::AssertionFailure() << "a file was found damaged and kept as " << kept;
        }
        return ::testing::AssertionSuccess();
    }
};

}  // namespace

TEST_F(ConcurrentSaves, TwoProcessesSavingAtOnceKeepEachOthersEntriesAndScores)
{
    SaveWorker first(Folder(), "first", 40);
    SaveWorker second(Folder(), "second", 40);
    ASSERT_TRUE(first.Started() && second.Started());
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
    int entries = 0;
    int scores = 0;
    EXPECT_TRUE(FilesAreWhole(&entries, &scores));
    EXPECT_EQ(entries, 80);
    EXPECT_EQ(scores, 80);
}

TEST_F(ConcurrentSaves, ProcessesKilledAtAnyMomentNeverLeaveADamagedFile)
{
    std::mt19937 random(20261206);
    constexpr int kRounds = 12;
    int readsWhileSaving = 0;
    for (int round = 0; round < kRounds; ++round) {
        SaveWorker first(Folder(), "first" + std::to_string(round), 1000000);
        SaveWorker second(Folder(), "second" + std::to_string(round), 1000000);
        ASSERT_TRUE(first.Started() && second.Started());
        // Readers meanwhile see only whole files.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(50 + random() % 300);
        while (std::chrono::steady_clock::now() < end) {
            ASSERT_TRUE(FilesAreWhole()) << "while saving, round " << round;
            ++readsWhileSaving;
        }
        first.Kill();
        if (random() % 2 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(random() % 30));
        second.Kill();
        ASSERT_TRUE(FilesAreWhole()) << "after the kill, round " << round;
    }
    EXPECT_GT(readsWhileSaving, 0);
    // The folder holds the two files, their lock files and at most the
    // temporary files of writers killed before their rename.
    for (const auto& entry : std::filesystem::directory_iterator(UserFolder())) {
        const std::string name = entry.path().filename().string();
        const bool known = name == "simulated.cloud" || name == "leaderboards-db.xml" ||
                           name == "simulated.cloud.lock" || name == "leaderboards-db.xml.lock" ||
                           (name.size() == 11 && name.rfind("hvw", 0) == 0 && name.substr(7) == ".TMP");
        EXPECT_TRUE(known) << name;
    }
}
