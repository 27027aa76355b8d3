#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/temporary_folder.h"

namespace {

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.txt", "b.TXT", "ab.txt", "c.dat", "readme"}) temp.Write(name, "data");
        std::filesystem::create_directory(temp.File("sub"));
    }

    std::set<std::string> Find(const std::string& pattern)
    {
        std::set<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA((temp.Path().string() + pattern).c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return {"<error " + std::to_string(GetLastError()) + ">"};
        do {
            names.insert(data.cFileName);
        } while (FindNextFileA(search, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(search));
        return names;
    }

    TemporaryFolder temp;
};

TEST_F(FileSearchTest, StarMatchesEveryNameWithDotEntries)
{
    const std::set<std::string> all = {".", "..", "a.txt", "ab.txt", "b.TXT", "c.dat", "readme", "sub"};
    EXPECT_EQ(Find("/*"), all);
    EXPECT_EQ(Find("\\*.*"), all);
}

TEST_F(FileSearchTest, ExtensionPatternIgnoresCase)
{
    EXPECT_EQ(Find("/*.txt"), (std::set<std::string>{"a.txt", "ab.txt", "b.TXT"}));
}

TEST_F(FileSearchTest, QuestionMarkMatchesOneCharacter)
{
    EXPECT_EQ(Find("/?.txt"), (std::set<std::string>{"a.txt", "b.TXT"}));
    EXPECT_EQ(Find("/??.txt"), (std::set<std::string>{"ab.txt"}));
}

TEST_F(FileSearchTest, ExactNameFindsOneEntry) { EXPECT_EQ(Find("/README"), (std::set<std::string>{"readme"})); }

TEST_F(FileSearchTest, NoMatchFailsWithFileNotFound)
{
    EXPECT_EQ(Find("/*.png"), (std::set<std::string>{"<error 2>"}));
}

TEST_F(FileSearchTest, MissingFolderFailsWithPathNotFound)
{
    EXPECT_EQ(Find("/absent/*"), (std::set<std::string>{"<error 3>"}));
}

TEST_F(FileSearchTest, FoundEntriesCarryAttributesAndSize)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((temp.Path().string() + "/sub").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    FindClose(search);
    search = FindFirstFileA((temp.Path().string() + "/c.dat").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(data.nFileSizeLow, 4u);
    FindClose(search);
}

TEST_F(FileSearchTest, ClosedSearchHandleIsInvalid)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((temp.Path().string() + "/*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CloseHandle(search));  // searches are closed with FindClose only
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
