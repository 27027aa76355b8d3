#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Backslashed(std::string path)
{
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void MakeReadOnly(const std::string& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(FileOperations, CreatesAndRemovesFolders)
{
    TemporaryFolder temp;
    const std::string folder = temp.File("made");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(RemoveDirectoryA(Backslashed(folder).c_str()));
    EXPECT_FALSE(fs::exists(folder));
}

TEST(FileOperations, CreateDirectoryInMissingFolderFailsWithPathNotFound)
{
    TemporaryFolder temp;
    EXPECT_FALSE(CreateDirectoryA(temp.File("missing/child").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FileOperations, RemoveDirectoryReportsNonEmptyAndMissingFolders)
{
    TemporaryFolder temp;
    fs::create_directory(temp.File("full"));
    temp.Write("full/file.txt", "x");
    EXPECT_FALSE(RemoveDirectoryA(temp.File("full").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_TRUE(fs::exists(temp.File("full/file.txt")));
    EXPECT_FALSE(RemoveDirectoryA(temp.File("absent").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(FileOperations, DeletesFilesButNotReadOnlyOnes)
{
    TemporaryFolder temp;
    temp.Write("plain.txt", "x");
    temp.Write("locked.txt", "keep");
    MakeReadOnly(temp.File("locked.txt"));
    EXPECT_TRUE(DeleteFileA(Backslashed(temp.File("plain.txt")).c_str()));
    EXPECT_FALSE(fs::exists(temp.File("plain.txt")));
    EXPECT_FALSE(DeleteFileA(temp.File("locked.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(temp.Read("locked.txt"), "keep");
    std::filesystem::create_directory(temp.File("folder"));
    EXPECT_FALSE(DeleteFileA(temp.File("folder").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(FileOperations, DeleteOfMissingFileTellsFileFromPath)
{
    TemporaryFolder temp;
    EXPECT_FALSE(DeleteFileA(temp.File("absent.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA(temp.File("absent/file.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FileOperations, MoveWithReplaceSwapsInTheNewFile)
{
    TemporaryFolder temp;
    temp.Write("settings.xml", "old");
    temp.Write("settings.xml.tmp", "new");
    ASSERT_TRUE(MoveFileExA(temp.File("settings.xml.tmp").c_str(), Backslashed(temp.File("settings.xml")).c_str(),
                            MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(temp.Read("settings.xml"), "new");
    EXPECT_FALSE(fs::exists(temp.File("settings.xml.tmp")));
}

TEST(FileOperations, WriteThroughMoveReplacesFilesAndMovesFolders)
{
    TemporaryFolder temp;
    temp.Write("scores.xml", "old");
    temp.Write("scores.xml.tmp", "new");
    ASSERT_TRUE(MoveFileExA(temp.File("scores.xml.tmp").c_str(), temp.File("scores.xml").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(temp.Read("scores.xml"), "new");
    EXPECT_FALSE(fs::exists(temp.File("scores.xml.tmp")));
    fs::create_directories(temp.File("folder/inner"));
    ASSERT_TRUE(MoveFileExA(temp.File("folder").c_str(), temp.File("moved").c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_TRUE(fs::is_directory(temp.File("moved/inner")));
    EXPECT_FALSE(MoveFileExA(temp.File("absent").c_str(), temp.File("b").c_str(), MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(FileOperations, MoveWithoutReplaceKeepsBothFiles)
{
    TemporaryFolder temp;
    temp.Write("a.txt", "a");
    temp.Write("b.txt", "b");
    EXPECT_FALSE(MoveFileExA(temp.File("a.txt").c_str(), temp.File("b.txt").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(temp.Read("a.txt"), "a");
    EXPECT_EQ(temp.Read("b.txt"), "b");
    EXPECT_TRUE(MoveFileA(temp.File("a.txt").c_str(), temp.File("c.txt").c_str()));
    EXPECT_EQ(temp.Read("c.txt"), "a");
}

TEST(FileOperations, MoveOfMissingFileFails)
{
    TemporaryFolder temp;
    EXPECT_FALSE(MoveFileExA(temp.File("absent").c_str(), temp.File("b").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(FileOperations, CopyFileHonoursFailIfExists)
{
    TemporaryFolder temp;
    temp.Write("source.bin", std::string("\0\1\2data", 7));
    temp.Write("target.bin", "old");
    EXPECT_FALSE(CopyFileA(temp.File("source.bin").c_str(), temp.File("target.bin").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(temp.Read("target.bin"), "old");
    EXPECT_TRUE(CopyFileA(temp.File("source.bin").c_str(), temp.File("target.bin").c_str(), FALSE));
    EXPECT_EQ(temp.Read("target.bin"), std::string("\0\1\2data", 7));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path().string()), fs::directory_iterator()), 2);
}

TEST(FileOperations, AttributesOfMissingFileAreInvalid)
{
    TemporaryFolder temp;
    EXPECT_EQ(GetFileAttributesA(temp.File("absent.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA(temp.File("absent/file.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FileOperations, AttributesTellFoldersPlainAndReadOnlyFiles)
{
    TemporaryFolder temp;
    temp.Write("plain.txt", "x");
    temp.Write("locked.txt", "x");
    MakeReadOnly(temp.File("locked.txt"));
    EXPECT_EQ(GetFileAttributesA(temp.Path().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA(Backslashed(temp.File("plain.txt")).c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(temp.File("locked.txt").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(SetFileAttributesA(temp.File("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(temp.File("locked.txt").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
}

TEST(FileOperations, ExtendedAttributesGiveSizeAndWriteTime)
{
    TemporaryFolder temp;
    temp.Write("five.txt", "12345");
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(temp.File("five.txt").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    const ULONGLONG written =
        (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    const ULONGLONG now = (static_cast<ULONGLONG>(before.dwHighDateTime) << 32) | before.dwLowDateTime;
    // Written within the last minute (FILETIME counts 100 ns).
    EXPECT_LE(written, now + 10000000ull);
    EXPECT_GE(written + 600000000ull, now);
    EXPECT_FALSE(GetFileAttributesExA(temp.File("absent").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
