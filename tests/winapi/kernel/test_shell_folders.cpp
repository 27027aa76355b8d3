#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temporary_folder.h"

namespace {

// Points HOME and XDG_DATA_HOME elsewhere for one test.
class ShellFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_home = Read("HOME");
        saved_data = Read("XDG_DATA_HOME");
        SetEnvironmentVariableA("HOME", temp.Path().c_str());
        SetEnvironmentVariableA("XDG_DATA_HOME", nullptr);
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("HOME", saved_home ? saved_home->c_str() : nullptr);
        SetEnvironmentVariableA("XDG_DATA_HOME", saved_data ? saved_data->c_str() : nullptr);
    }
    static std::optional<std::string> Read(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }

    TemporaryFolder temp;
    std::optional<std::string> saved_home, saved_data;
};

TEST_F(ShellFoldersTest, DocumentsFolderIsCreatedWhenAskedAppDataFollowsXdgDataHomeAndUnknownFoldersAreInvalid)
{
    char path[MAX_PATH];
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path), S_FALSE);
    EXPECT_EQ(std::string(path), temp.Path().string() + "/Documents");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(std::string(path), temp.Path().string() + "/Documents");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(std::string(path), temp.Path().string() + "/.local/share");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    SetEnvironmentVariableA("XDG_DATA_HOME", temp.File("data").c_str());
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(std::string(path), temp.File("data"));
    EXPECT_EQ(SHGetFolderPathA(nullptr, 0x0077, nullptr, SHGFP_TYPE_CURRENT, path), E_INVALIDARG);
}

}  // namespace
