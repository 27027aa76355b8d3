#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "core/user_folders.h"
#include "engine_test_support.h"

namespace {

class UserFolders : public ::testing::Test {
protected:
    // Application data below dataHome, documents below home/Documents.
    void UseHome(const std::filesystem::path& home)
    {
        m_dataHome.emplace_back(std::make_unique<ScopedVariable>("XDG_DATA_HOME", (home / "data").string()));
        m_home.emplace_back(std::make_unique<ScopedVariable>("HOME", home.string()));
    }

    TemporaryFolder m_folder{"halvo-user-folders"};
    std::vector<std::unique_ptr<ScopedVariable>> m_dataHome, m_home;
};

}  // namespace

// Hosts started together on a new user folder each find some folders made by
// the others between looking and creating; none of them may fail for it.
TEST_F(UserFolders, SettingUpTheSameNewFoldersAtOnceSucceedsEverywhere)
{
    constexpr int kRounds = 20;
    constexpr int kStarters = 8;
    for (int round = 0; round < kRounds; ++round) {
        const std::filesystem::path home = m_folder.Path() / std::to_string(round);
        UseHome(home);
        std::latch start(kStarters);
        std::atomic<int> failures{0};
        std::vector<std::thread> starters;
        for (int i = 0; i < kStarters; ++i) {
            starters.emplace_back([&] {
                start.arrive_and_wait();
                failures += HVI_SetUpUserFolders("race game") ? 0 : 1;
            });
        }
        for (std::thread& starter : starters) starter.join();
        ASSERT_EQ(failures.load(), 0) << "round " << round;
        for (const char* folder : {"logs", "user", "save", "cache"})
            EXPECT_TRUE(std::filesystem::is_directory(home / "data" / "race-game" / folder));
        EXPECT_TRUE(std::filesystem::is_directory(home / "Documents" / "race-game" / "docs"));
    }
}

TEST_F(UserFolders, AnIdThatIsNoFolderNameIsRefusedAndNothingIsMade)
{
    UseHome(m_folder.Path() / "home");
    for (const char* id : {"..", ".", "a/b", "../b", "a\\b"}) {
        EXPECT_FALSE(HVI_SetUpUserFolders(id)) << id;
        EXPECT_TRUE(
            WasLogged(std::string("[ERROR] HVI_SetUpUserFolders: the program id '") + id + "' cannot name a folder."))
            << id;
    }
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "home" / "user"));
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "home" / "data" / "user"));
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() / "home" / "data" / "a"));
}

TEST_F(UserFolders, SpacesInTheIdBecomeDashes)
{
    UseHome(m_folder.Path() / "home");
    ASSERT_TRUE(HVI_SetUpUserFolders("My Game"));
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.Path() / "home" / "data" / "My-Game" / "user"));
    ASSERT_TRUE(HVI_SetUpUserFolders("..a"));
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.Path() / "home" / "data" / "..a" / "user"));
}
