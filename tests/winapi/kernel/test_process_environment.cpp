#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

TEST(ProcessEnvironment, EnvironmentVariableAndUserNameFollowTheSizeRules)
{
    ASSERT_TRUE(SetEnvironmentVariableA("HALVO_KERNEL_TEST_VALUE", "abcdef"));
    char small[4];
    EXPECT_EQ(GetEnvironmentVariableA("HALVO_KERNEL_TEST_VALUE", small, sizeof small), 7u);
    char buffer[16];
    EXPECT_EQ(GetEnvironmentVariableA("HALVO_KERNEL_TEST_VALUE", buffer, sizeof buffer), 6u);
    EXPECT_STREQ(buffer, "abcdef");
    ASSERT_TRUE(SetEnvironmentVariableA("HALVO_KERNEL_TEST_VALUE", nullptr));
    EXPECT_EQ(GetEnvironmentVariableA("HALVO_KERNEL_TEST_VALUE", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
    DWORD size = 0;
    EXPECT_FALSE(GetUserNameA(nullptr, &size));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(size, 1u);
    std::string name(size, '\0');
    DWORD given = size;
    ASSERT_TRUE(GetUserNameA(name.data(), &given));
    EXPECT_EQ(given, size);
    EXPECT_EQ(std::strlen(name.c_str()), size - 1);
}

TEST(ProcessEnvironment, CurrentDirectoryIsTheProcessFolderTempPathEndsWithASeparatorAndFullPathsResolveDots)
{
    char buffer[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length, std::strlen(buffer));
    EXPECT_EQ(std::filesystem::path(buffer), std::filesystem::current_path());
    char tiny[2];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof tiny, tiny), length + 1);
    const DWORD tempLength = GetTempPathA(sizeof buffer, buffer);
    ASSERT_GT(tempLength, 0u);
    EXPECT_EQ(buffer[tempLength - 1], '/');
    EXPECT_TRUE(std::filesystem::is_directory(buffer));
    LPSTR filePart = nullptr;
    const DWORD fullLength = GetFullPathNameA("\\base\\.\\one\\..\\two\\file.txt", sizeof buffer, buffer, &filePart);
    EXPECT_EQ(std::string(buffer, fullLength), "/base/two/file.txt");
    ASSERT_NE(filePart, nullptr);
    EXPECT_STREQ(filePart, "file.txt");
}

}  // namespace
