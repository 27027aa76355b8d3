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

// Patterns match without case; "*" and "*.*" match every name, "?" one character.
TEST_F(FileSearchTest, PatternsFindTheirNamesOrTheError)
{
    const struct {
        const char* pattern;
        std::set<std::string> names;
    } searches[] = {
        {"/*", {".", "..", "a.txt", "ab.txt", "b.TXT", "c.dat", "readme", "sub"}},
        {"\\*.*", {".", "..", "a.txt", "ab.txt", "b.TXT", "c.dat", "readme", "sub"}},
        {"/*.txt", {"a.txt", "ab.txt", "b.TXT"}},
        {"/?.txt", {"a.txt", "b.TXT"}},
        {"/??.txt", {"ab.txt"}},
        {"/README", {"readme"}},
        {"/*.png", {"<error 2>"}},     // ERROR_FILE_NOT_FOUND
        {"/absent/*", {"<error 3>"}},  // ERROR_PATH_NOT_FOUND
    };
    for (const auto& search : searches) EXPECT_EQ(Find(search.pattern), search.names) << search.pattern;
}

TEST_F(FileSearchTest, FoundEntriesCarryAttributesAndSizeAndAClosedSearchIsInvalid)
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
    search = FindFirstFileA((temp.Path().string() + "/*").c_str(), &data);
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
