#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scoped_variable.h"
#include "support/temporary_folder.h"

namespace {

// HOME is a folder of the test's own and XDG_DATA_HOME is unset, for one test.
class ShellFoldersTest : public ::testing::Test {
protected:
    TemporaryFolder temp;
    ScopedVariable m_home{"HOME", temp.Path().string()};
    ScopedVariable m_dataHome{"XDG_DATA_HOME", std::nullopt};
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
